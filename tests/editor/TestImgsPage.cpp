// The picture page as a seller meets it: files added to the QML strip, its buttons pressed, the
// colour combo following the SKU page, and what a save hands the editor.
#include "support/TestMain.h"

#include "ImageFixtures.h"
#include "editor/ImagePageRules.h"
#include "editor/VumoImgsManager.h"
#include "editor/VumoImgsPage.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "support/MessageCollector.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvia::vumo;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoImgEntity;

namespace {

QQuickItem* FindItem(QQuickItem* parent, const QString& name)
{
    if (!parent)
        return nullptr;
    for (QQuickItem* child : parent->childItems()) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem* found = FindItem(child, name))
            return found;
    }
    return nullptr;
}

// Presses a button of the strip with the mouse, as the seller would.
bool Click(QQuickWidget* view, const QString& name)
{
    QQuickItem* item = nullptr;
    if (!QTest::qWaitFor([&] { return (item = FindItem(view->rootObject(), name)) != nullptr; }, 2000))
        return false;
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}

editor::VumoEditContext Context()
{
    editor::VumoEditContext context;
    context.uid = QStringLiteral("demo_seller");
    return context;
}

} // namespace

class TestImgsPage : public QObject
{
    Q_OBJECT

private slots:
    void stripAddDeleteSave()
    {
        VumoTest::TempHome home;
        QTemporaryDir disk;
        const QString first = VumoTest::Picture(disk, 1);
        const QString second = VumoTest::Picture(disk, 2);
        VumoImgsPage page(Context());
        page.resize(1000, 600);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(page.StripView()->status() == QQuickWidget::Ready);
        VumoDataEntity record;
        record.set_client_id(QStringLiteral("L1"));
        page.LoadVumo(&record);
        QSignalSpy changed(&page, &VumoEditInterface::VumoChangedSignal);

        QCOMPARE(page.AddPickedFiles({first, second}), 2);
        QCOMPARE(page.Manager()->StripRowCount(), 2);
        QCOMPARE(changed.count(), 1);
        // The strip really draws (software backend, offscreen): the main tile shows the picture.
        QQuickItem* thumb = nullptr;
        QVERIFY(QTest::qWaitFor(
            [&] { return (thumb = FindItem(page.StripView()->rootObject(), QStringLiteral("thumb0"))); }));
        const QPoint centre = thumb->mapToScene(QPointF(thumb->width() / 2, thumb->height() / 2)).toPoint();
        QTRY_COMPARE(page.StripView()->grabFramebuffer().pixel(centre), VumoTest::PictureColour(1).rgb());

        VumoTest::MessageCollector boxes(QMessageBox::Yes);
        // The main picture cannot go: a hint, no question.
        QVERIFY(Click(page.StripView(), QStringLiteral("deleteBtn0")));
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("m_TipMessage"))->text(),
                 QStringLiteral("主图是不能删除的！~~"));
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(Click(page.StripView(), QStringLiteral("deleteBtn1")));
        QTRY_COMPARE(boxes.texts(), QStringList{QStringLiteral("请确认是否删除？")});
        QCOMPARE(page.Manager()->StripRowCount(), 1);

        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY(page.CheckAndSave(errors, save));
        QVERIFY(errors.isEmpty());
        const QList<VumoImgEntity*> rows = record.Images().value(0);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0)->state(), 2);
        QVERIFY(rows.at(0)->is_main());
        const QString folder = Context().ImageFolder();
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{rows.at(0)->name()});
        QVERIFY(save.releasedFiles.isEmpty());
        QVERIFY(QFileInfo::exists(first) && QFileInfo::exists(second));
    }

    void colourCombo()
    {
        VumoTest::TempHome home;
        VumoImgsPage page(Context());
        auto* combo = page.findChild<QComboBox*>(QStringLiteral("m_SKUColorCombo"));
        SKU_ATT_VALUE_TYPE red{1, 11, QStringLiteral("红色"), QString(), QStringLiteral("red")};
        SKU_ATT_VALUE_TYPE blue{1, 12, QStringLiteral("蓝色"), QStringLiteral("天蓝"), QString()};
        page.SetColors({red, blue}, true);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(2), QStringLiteral("天蓝"));
        QVERIFY(!combo->itemIcon(1).isNull());
        combo->setCurrentIndex(2);
        QCOMPARE(page.Manager()->CurrentColor(), qint64(12));
        page.SetColors({red}, false);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(page.Manager()->CurrentColor(), qint64(0));
    }

    void unchangedSaveKeepsRecord()
    {
        VumoTest::TempHome home;
        VumoDataEntity record;
        auto* deleted = new VumoImgEntity;
        deleted->set_name(QStringLiteral("b.jpg"));
        deleted->set_img_id(10);
        deleted->set_state(1);
        deleted->set_color_id(5);
        record.AddImage(deleted);
        VumoImgsPage page(Context());
        page.LoadVumo(&record);
        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY(page.CheckAndSave(errors, save));
        QCOMPARE(record.Images().value(5), QList<VumoImgEntity*>{deleted});
        QVERIFY(save.releasedFiles.isEmpty());

        // An empty set 0 shows the basic page's picture as its main one; it cannot be deleted.
        VumoDataEntity bare;
        bare.set_logo(QStringLiteral("logo.jpg"));
        page.LoadVumo(&bare);
        QCOMPARE(page.Manager()->StripRowCount(), 1);
        QSignalSpy asked(page.Manager(), &VumoImgsManager::DelBtnClicked);
        page.Manager()->OnDelBtnClicked(0);
        QCOMPARE(asked.count(), 0);
    }
};

VUMO_TEST_CLASS(TestImgsPage)
#include "TestImgsPage.moc"
