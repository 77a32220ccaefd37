#pragma once
// The listing page over a store of the demo seller's on a temporary file, which the whole plug-in
// reaches through VumoDBMgr: the page as a seller sees it once its first load and counts are in.
#include "database/VumoDBMgr.h"
#include "database/VumoStoreFixture.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCountThread.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/MsgBox.h"
#include "utils/VumoIni.h"

#include <QTest>

#include <memory>

namespace VumoTest {

using Quorvia::vumo::VumoClassNode;
using Quorvia::vumo::VumoMainWidget;
using Quorvia::vumo::VumoTableViewModel;

// A store on a temporary file that the whole plug-in reaches through VumoDBMgr.
struct SharedStore
{
    SharedStore()
    {
        store = fixture.sellerStore();
        Quorvia::utils::AppShareHelp::instance()->Reload();
        valid = store->CheckDatabase();
    }
    ~SharedStore()
    {
        store.reset();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
    }
    // Templates get a name of their own.
    bool add(const QString& clientId, qint64 vumoId, int status)
    {
        auto record = makeListing(clientId, vumoId);
        record->set_vumo_status(status);
        if (status == 2013)
            record->set_template_name(QStringLiteral("模板") + clientId);
        return store->SaveVumo(*record);
    }
    int statusOf(const QString& clientId) const
    {
        const QVariant v = fixture.scalar(
            QStringLiteral("SELECT vumo_status FROM vumo_data WHERE client_id='%1'").arg(clientId));
        return v.isValid() ? v.toInt() : -1;
    }

    StoreFixture fixture;
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> store;
    bool valid = false; // the store checked out
};

// A seller with a store reached through VumoDBMgr, and the page over it.
struct Page : SharedStore
{
    explicit Page(const QList<QPair<QString, int>>& listings = {})
    {
        qint64 vumoId = 1000000001;
        for (const auto& listing : listings)
            add(listing.first, listing.second == 2014 || listing.second == 2013 ? 0 : vumoId++, listing.second);
        // Today's category update is done: the page starts none of its own here.
        auto* appShare = Quorvia::utils::AppShareHelp::instance();
        Quorvia::utils::VumoIni::SetCategoryUpdateTime(appShare->GetUid(), appShare->GetServerTime());
        widget = std::make_unique<VumoMainWidget>();
        widget->resize(1200, 800);
        widget->show();
    }
    ~Page()
    {
        Quorvia::core::ui::SetMsgBoxHook({});
        widget.reset();
        Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear();
    }
    bool ready()
    {
        if (!QTest::qWaitFor([this] { return widget->IsFirstLoadDone(); }, 5000)
            || !QTest::qWaitFor([this] { return !widget->Classification()->CountThread()->isRunning(); }, 5000))
            return false;
        QCoreApplication::processEvents(); // the counts the thread posted before it ended
        return true;
    }
    void switchTo(int vumoClass)
    {
        widget->Classification()->SetCurrentClass(vumoClass);
        QCoreApplication::processEvents();
    }
    VumoTableViewModel* model() const { return widget->TableView()->VumoModel(); }
    int rows() const { return model()->rowCount(); }
    int count(int vumoClass) const { return widget->Classification()->NodeCount(VumoClassNode(vumoClass)); }
    QPoint rowPoint(int row) const
    {
        QTableView* view = widget->TableView();
        return view->visualRect(view->model()->index(row, 3)).center();
    }
    void selectRows(const QList<int>& rows)
    {
        widget->TableView()->clearSelection();
        for (int r : rows)
            widget->TableView()->selectionModel()->select(widget->TableView()->model()->index(r, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Answers every message box with `answer` and keeps the texts.
    void answerBoxes(QMessageBox::StandardButton answer)
    {
        Quorvia::core::ui::SetMsgBoxHook([this, answer](Quorvia::core::ui::MsgBox& box) {
            questions << box.Text();
            return answer;
        });
    }

    std::unique_ptr<VumoMainWidget> widget;
    QStringList questions;
};

} // namespace VumoTest
