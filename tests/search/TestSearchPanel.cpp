// The advanced-search panel inside the listing page: the tool-bar toggle swaps it with the quick
// bar, and its search loads the search results.
#include "support/TestMain.h"

#include "database/VumoDBMgr.h"
#include "database/VumoStoreFixture.h"
#include "plugin/AdvanceSearchWidget.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCountThread.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "ui/MsgBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Quorvia::vumo;

class TestSearchPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::StoreFixture> f;
    std::unique_ptr<VumoMainWidget> widget;
    QStringList messages;

    AdvanceSearchWidget* panel() const
    {
        return widget->findChild<AdvanceSearchWidget*>(QStringLiteral("VumoAdvanceSearchPanel"));
    }
    VumoSearch* quickBar() const { return widget->findChild<VumoSearch*>(); }
    QToolButton* toggle() const { return widget->CommandButton(VumoMainWidget::CommandToggleSearch); }

private slots:
    void init()
    {
        messages.clear();
        Quorvia::core::ui::SetMsgBoxHook([this](Quorvia::core::ui::MsgBox& box) {
            messages << box.Text();
            return QMessageBox::Ok;
        });
        f = std::make_unique<VumoTest::StoreFixture>();
        auto store = f->sellerStore();
        QVERIFY(store->CheckDatabase());
        const QList<QPair<QString, QString>> listings = {{"a", "保温杯"}, {"b", "雨伞"}};
        for (const auto& listing : listings) {
            auto record = VumoTest::makeListing(listing.first, 0);
            record->set_title(listing.second);
            record->set_vumo_status(2014);
            QVERIFY(store->SaveVumo(*record));
        }
        widget = std::make_unique<VumoMainWidget>();
        widget->resize(1200, 800);
        widget->show();
        QVERIFY(QTest::qWaitFor([this] { return widget->IsFirstLoadDone(); }, 5000));
        QVERIFY(QTest::qWaitFor([this] { return !widget->Classification()->CountThread()->isRunning(); }, 5000));
        QCoreApplication::processEvents();
    }
    void cleanup()
    {
        widget.reset();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        f.reset();
        Quorvia::core::ui::SetMsgBoxHook({});
    }

    void toggleSwapsPanelAndQuickBar()
    {
        QVERIFY(panel());
        QVERIFY(quickBar());
        // The page opens with the panel shown, and the button says what a click does next.
        QVERIFY(panel()->isVisible());
        QVERIFY(!quickBar()->isVisible());

        QTest::mouseClick(toggle(), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QVERIFY(quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("展开搜索栏"));

        QTest::mouseClick(toggle(), Qt::LeftButton);
        QVERIFY(panel()->isVisible());
        QVERIFY(!quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("收起搜索栏"));

        // "关闭" on the panel collapses it like the toggle.
        QTest::mouseClick(panel()->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QVERIFY(quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("展开搜索栏"));
    }

    void panelSearchLoadsTheResults()
    {
        AdvanceSearchWidget* form = panel();
        QVERIFY(form && form->isVisible());
        form->findChild<QLineEdit*>(QStringLiteral("VumoNameEdit"))->setText(QStringLiteral("保温"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("SearchBtn")), Qt::LeftButton);
        QVERIFY(messages.isEmpty());
        QCOMPARE(widget->SearchText(), QStringLiteral("where title like '%保温%'  escape '/' AND (%1)"));
        QCOMPARE(widget->CurrentClass(), int(VumoClassSearch));
        VumoTableViewModel* model = widget->TableView()->VumoModel();
        QCOMPARE(model->rowCount(), 1);
        // The panel stays open for the next search.
        QVERIFY(form->isVisible());

        // A refused entry leaves the results as they were.
        QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("VumoStockEdit1")), QStringLiteral("3.5"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("SearchBtn")), Qt::LeftButton);
        QCOMPARE(messages, QStringList({QStringLiteral("请输入正确的库存")}));
        QCOMPARE(widget->SearchText(), QStringLiteral("where title like '%保温%'  escape '/' AND (%1)"));
        QCOMPARE(model->rowCount(), 1);
    }
};

VUMO_TEST_CLASS(TestSearchPanel)
#include "TestSearchPanel.moc"
