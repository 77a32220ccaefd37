// The editor frame: what each open mode sets up, the close question through the real modal
// loop, and saving as the listing page uses it (embedded and as a dialog).
#include "../plugin/ListingPage.h"
#include "../plugin/SellerDriver.h"
#include "support/TestMain.h"

#include "editor/VumoBasisInfo.h"
#include "editor/VumoEditerWidget.h"
#include "editor/VumoEditorCommands.h"
#include "entity/VumoDataEntity.h"
#include "ui/BaseDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace Quorvia::vumo;
using VumoTest::Page;
using VumoTest::SellerDriver;
using VumoTest::SharedStore;

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
        // The description tab is not built yet: visibly disabled, never silently empty.
        QVERIFY(!editor.Tabs()->isTabEnabled(VumoEditerWidget::TabDescription));
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
};

VUMO_TEST_CLASS(TestEditorFrame)
#include "TestEditorFrame.moc"
