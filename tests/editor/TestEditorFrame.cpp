// The editor frame: what each open mode sets up, the close question through the real modal
// loop, and saving as the listing page uses it (embedded and as a dialog).
#include "../plugin/ListingPage.h"
#include "../plugin/SellerDriver.h"
#include "DemoListing.h"
#include "PickerStoreFixture.h"
#include "support/MessageCollector.h"
#include "support/TestMain.h"

#include "editor/VumoBasisInfo.h"
#include "editor/VumoEditerWidget.h"
#include "editor/VumoEditorCommands.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoTableViewModel.h"
#include "sync/VumoDownloadRules.h"
#include "ui/BaseDialog.h"
#include "utils/Money.h"
#include "utils/SellerPaths.h"
#include "utils/VumoIni.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace Quorvia::vumo;
using VumoTest::Page;
using VumoTest::SellerDriver;
using VumoTest::SharedStore;

using VumoTest::demoContext;
using VumoTest::demoListing;

class TestEditorFrame : public QObject
{
    Q_OBJECT

private slots:
    void openModesSetUpTheRecord()
    {
        SharedStore shared;
        QVERIFY(shared.valid);
        QVERIFY(shared.add(QStringLiteral("tpl"), 0, 2013));
        QVERIFY(shared.add(QStringLiteral("live"), 7001, 8));
        editor::VumoEditContext context;
        context.store = shared.store;
        VumoEditerWidget editor(nullptr, context);
        QSignalSpy status(&editor, &VumoEditerWidget::VumoStatusChanged);

        QVERIFY(editor.open(QString(), VumoEditerWidget::NewVumoMode));
        QCOMPARE(editor.Vumo()->vumo_status(), 2014);
        QCOMPARE(editor.SaveButton()->text(), QStringLiteral("保存本地仓库"));
        QVERIFY(!editor.SaveButton()->isEnabled());
        QVERIFY(editor.TemplateRow()->isHidden());

        QVERIFY(editor.open(QString(), VumoEditerWidget::NewTemplateMode));
        QCOMPARE(editor.Vumo()->vumo_status(), 2013);
        QVERIFY(!editor.TemplateRow()->isHidden());
        QVERIFY(editor.TemplateNameEdit()->text().contains(QRegularExpression(QStringLiteral("^模板\\d{10}$"))));

        QVERIFY(editor.open(QStringLiteral("tpl"), VumoEditerWidget::EditMode));
        QCOMPARE(editor.SaveButton()->text(), QStringLiteral("保存该模板"));
        QCOMPARE(editor.TemplateNameEdit()->text(), QStringLiteral("模板tpl"));

        // A new listing from an online one shares nothing online with it.
        QVERIFY(editor.open(QStringLiteral("live"), VumoEditerWidget::CopyMode));
        QVERIFY(editor.ClientId() != QStringLiteral("live"));
        QCOMPARE(editor.Vumo()->vumo_id(), 0);
        QCOMPARE(editor.Vumo()->vumo_status(), 2014);
        QCOMPARE(editor.SaveButton()->text(), QStringLiteral("保存本地仓库"));

        QVERIFY(status.isEmpty());
        QVERIFY(!editor.open(QStringLiteral("missing"), VumoEditerWidget::EditMode));
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.first().at(0).toString(), QStringLiteral("获取商品信息失败"));
        QCOMPARE(status.first().at(1).toInt(), 0);
        QVERIFY(editor.ClientId().isEmpty());
        // Nothing open: nothing to preview.
        QVERIFY(editor.Tabs()->isTabEnabled(VumoEditerWidget::TabDescription));
        QVERIFY(!editor.PreviewButton()->isEnabled());
    }

    // Closing a dialog with changes asks inside the real modal loop; "否" closes without
    // writing anything.
    void closeWithChangesAsksThroughTheRealLoop()
    {
        SharedStore shared;
        QVERIFY(shared.valid);
        QVERIFY(shared.add(QStringLiteral("a"), 0, 2014));
        editor::VumoEditContext context;
        context.store = shared.store;
        Quorvia::core::ui::BaseDialog<VumoEditerWidget> dialog(nullptr, context);
        VumoEditerWidget* editor = dialog.content();
        dialog.SetCloseGuard([editor] { return editor->CanClose(); });
        QVERIFY(editor->open(QStringLiteral("a"), VumoEditerWidget::EditMode));
        emit editor->BasisPage()->VumoChangedSignal();
        QVERIFY(editor->IsChanged());
        QVERIFY(editor->SaveButton()->isEnabled());

        SellerDriver seller;
        seller.answer = QMessageBox::No;
        QTimer::singleShot(50, &dialog, [&dialog] { dialog.reject(); });
        const QDateTime before =
            shared.fixture.scalar("SELECT modified FROM vumo_data WHERE client_id='a'").toDateTime();
        dialog.exec();
        QCOMPARE(seller.asked, QStringList({QStringLiteral("提示：商品有修改是否保存？")}));
        QVERIFY(!editor->IsChanged());
        QCOMPARE(shared.fixture.scalar("SELECT modified FROM vumo_data WHERE client_id='a'").toDateTime(), before);
    }

    // A save that fails on the SKU page writes nothing, although the basic page passed; once
    // the seller mends it, the listing is stored as changed and not uploaded.
    void failedSkuPageLeavesTheStoreUnchanged()
    {
        VumoTest::PickerStoreFixture stores;
        QVERIFY(stores.valid);
        auto record = demoListing(QStringLiteral("d1"), 8);
        QVERIFY(record);
        record->set_upload_status(1);
        QVERIFY(stores.listings->SaveVumo(*record));
        qint64 lowest = -1;
        for (const entity::VumoSkuEntity* sku : record->Skus())
            lowest = lowest < 0 ? sku->yv_price() : qMin(lowest, sku->yv_price());
        QVERIFY2(lowest > 1, "the demo listing has SKUs");

        VumoEditerWidget editor(nullptr, demoContext());
        editor.resize(1000, 600);
        editor.show();
        QVERIFY(editor.open(QStringLiteral("d1"), VumoEditerWidget::EditMode));
        auto* title = editor.findChild<QLineEdit*>(QStringLiteral("m_ptitleEdit"));
        auto* yvPrice = editor.findChild<QLineEdit*>(QStringLiteral("m_pYVPriceEdit"));
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Edited title"));
        QVERIFY(editor.SaveButton()->isEnabled());
        yvPrice->setText(Quorvia::utils::FormatMoney(lowest - 1));

        {
            VumoTest::MessageCollector boxes;
            QVERIFY(!editor.OnSave());
            QCOMPARE(boxes.texts().size(), 1);
            QVERIFY2(boxes.texts().first().contains(QStringLiteral("商品Yv价不能超出销售属性表中的价格范围")),
                     qPrintable(boxes.texts().first()));
        }
        QCOMPARE(editor.Tabs()->currentIndex(), int(VumoEditerWidget::TabSku));
        entity::VumoDataEntity stored;
        QVERIFY(stores.listings->GetVumo(QStringLiteral("d1"), stored));
        QCOMPARE(stored.title(), record->title());
        QCOMPARE(stored.yv_price(), record->yv_price());
        QCOMPARE(stored.upload_status(), 1);

        yvPrice->setText(Quorvia::utils::FormatMoney(lowest));
        QSignalSpy saved(&editor, &VumoEditerWidget::SaveChangeSuccess);
        QVERIFY(editor.OnSave());
        QVERIFY(stores.listings->GetVumo(QStringLiteral("d1"), stored));
        QCOMPARE(stored.title(), QStringLiteral("Edited title"));
        QCOMPARE(stored.upload_status(), 0);
        QCOMPARE(stored.Skus().size(), record->Skus().size());
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.first().at(0).value<VUMO_LIST_STRUCT>().title, QStringLiteral("Edited title"));
        QVERIFY(!editor.SaveButton()->isEnabled());
    }

    // The seller makes a listing from a template through the real dialog: the new listing is
    // local, the local store's count grows by one and the page switches there to show it.
    void newListingFromATemplateThroughTheRealDialog()
    {
        VumoTest::PickerStoreFixture stores;
        QVERIFY(stores.valid);
        auto record = demoListing(QStringLiteral("tpl"), 2013);
        QVERIFY(record);
        QVERIFY(stores.listings->SaveVumo(*record));
        auto* appShare = Quorvia::utils::AppShareHelp::instance();
        appShare->Reload();
        Quorvia::utils::VumoIni::SetCategoryUpdateTime(appShare->GetUid(), appShare->GetServerTime());
        VumoMainWidget page;
        page.resize(1280, 800);
        page.show();
        QVERIFY(QTest::qWaitFor([&page] { return page.IsFirstLoadDone(); }, 5000));
        page.Classification()->SetCurrentClass(VumoClassTemplate);
        QTRY_COMPARE(page.TableView()->VumoModel()->rowCount(), 1);
        const int localBefore = page.Classification()->NodeCount(VumoClassNode(VumoClassLocal));

        // Boxes are answered at once (and kept); the dialog runs its real loop.
        VumoTest::MessageCollector boxes(QMessageBox::No);
        SellerDriver seller;
        QString dialogTitle;
        int looks = 0;
        seller.onWindow = [&dialogTitle, &looks](QWidget* modal) {
            auto* editor = modal->findChild<VumoEditerWidget*>();
            if (!editor)
                return;
            if (++looks > 1) {
                modal->close(); // the save did not close it
                return;
            }
            dialogTitle = modal->windowTitle();
            auto* title = editor->findChild<QLineEdit*>(QStringLiteral("m_ptitleEdit"));
            title->selectAll();
            QTest::keyClicks(title, QStringLiteral("From a template"));
            QTest::mouseClick(editor->SaveButton(), Qt::LeftButton);
        };
        QVERIFY(page.Commands().Run(VumoCommand::TemplateToNewVumo, QStringLiteral("tpl")));
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(dialogTitle, QStringLiteral("添加新品"));
        QCOMPARE(page.CurrentClass(), int(VumoClassLocal));
        QTRY_COMPARE(page.Classification()->NodeCount(VumoClassNode(VumoClassLocal)), localBefore + 1);
        const QList<VUMO_LIST_STRUCT> selected = page.TableView()->GetSelectedVumos();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().title, QStringLiteral("From a template"));
        QCOMPARE(selected.first().vumo_id, 0);
        QCOMPARE(selected.first().vumo_status, 2014);
        // The embedded editor shows it; the template is as it was.
        QCOMPARE(page.EmbeddedEditor()->ClientId(), selected.first().client_id);
        QVERIFY(page.EmbeddedEditor()->BasisPage()->isEnabled());
        entity::VumoDataEntity source;
        QVERIFY(stores.listings->GetVumo(QStringLiteral("tpl"), source));
        QCOMPARE(source.title(), record->title());
        QCOMPARE(source.vumo_status(), 2013);
    }
};

VUMO_TEST_CLASS(TestEditorFrame)
#include "TestEditorFrame.moc"
