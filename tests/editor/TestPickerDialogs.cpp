// The pickers as a seller meets them: opened by the search forms' "选择" buttons and run through
// their real modal loops, and the attribute browser edited in its grid. With
// $QUORVIA_SCREENSHOT_DIR set, each writes what it shows there as PNG.
#include "support/TestMain.h"

#include "PickerStoreFixture.h"
#include "editor/CategoryAttributeBrowser.h"
#include "editor/CatsBrowserDlg.h"
#include "editor/SellerCategoryDlg.h"
#include "plugin/AdvanceSearchWidget.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoSearchStatement.h"
#include "propertybrowser/QtProperty.h"
#include "propertybrowser/QtTreePropertyBrowser.h"
#include "support/MessageCollector.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

using namespace Quorvia::vumo;
using propertybrowser::QtFlagEditor;
using propertybrowser::QtProperty;

namespace {

void Shot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("QUORVIA_SCREENSHOT_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        w->window()->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// The content of the modal dialog that is open now.
template <class T>
T* OpenContent()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        // Dialogs are children of the form that opened them: only the shown dialog counts.
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible()) {
            if (T* content = dialog->findChild<T*>())
                return content;
        }
    }
    return nullptr;
}

template <class T = QPushButton>
T* Child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QString::fromLatin1(name));
}

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text, const QString& parentText = QString())
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == text
            && (parentText.isEmpty() || ((*it)->parent() && (*it)->parent()->text(0) == parentText)))
            return *it;
    }
    return nullptr;
}

void DoubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    // The view takes a double-click only on the item the button went down on.
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// A click into the value cell of a row opens its editor.
void ClickValue(QTreeWidget* grid, QTreeWidgetItem* row)
{
    const QPoint at(grid->columnViewportPosition(1) + 8, grid->visualItemRect(row).center().y());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Runs `steps` once the dialog's loop runs; whatever happens, the dialog is closed after them.
template <class T>
void WhenOpen(std::function<void(T*)> steps, int tries = 50)
{
    QTimer::singleShot(20, [steps, tries] {
        T* content = OpenContent<T>();
        if (!content) {
            if (tries > 0)
                WhenOpen<T>(steps, tries - 1);
            return;
        }
        steps(content);
        if ((content = OpenContent<T>()))
            qobject_cast<QDialog*>(content->window())->reject();
    });
}

} // namespace

class TestPickerDialogs : public QObject
{
    Q_OBJECT

private slots:
    void categoryPickedFromTheSearchBar()
    {
        VumoTest::MessageCollector messages;
        VumoTest::PickerStoreFixture store;
        QVERIFY(store.valid);
        const qint64 tshirt = store.categoryId(QStringLiteral("男装"), QStringLiteral("T恤"));
        QVERIFY(tshirt > 0);

        struct Seen
        {
            bool noMatchNext = true, noMatchPre = true;
            int matches = 0;
            QString endMessage, startMessage, parentPath, leafPath, current;
            bool parentOk = true, leafOk = false, parentDoubleClickCloses = true;
        } seen;
        VumoSearch bar;
        bar.show();
        WhenOpen<CatsBrowserDlg>([&](CatsBrowserDlg* dlg) {
            auto* search = Child<QLineEdit>(dlg, "m_SearchCats");
            auto* next = Child(dlg, "m_SearchNextBtn");
            auto* pre = Child(dlg, "m_SearchPreBtn");
            auto* tree = Child<QTreeWidget>(dlg, "m_CatsTreeWidget");
            auto* path = Child<QLineEdit>(dlg, "m_CurrSelectedCats");
            QTest::keyClicks(search, QStringLiteral("zzqx"));
            seen.noMatchNext = next->isEnabled();
            seen.noMatchPre = pre->isEnabled();
            search->setText(QStringLiteral("衫"));
            for (seen.matches = 1; next->isEnabled() && seen.matches < 100; ++seen.matches)
                QTest::mouseClick(next, Qt::LeftButton);
            seen.current = tree->currentItem()->text(0);
            seen.endMessage = Child<QLabel>(dlg, "m_SearchMessage")->text();
            while (pre->isEnabled())
                QTest::mouseClick(pre, Qt::LeftButton);
            seen.startMessage = Child<QLabel>(dlg, "m_SearchMessage")->text();

            QTreeWidgetItem* parent = FindItem(tree, QStringLiteral("男装"));
            tree->setCurrentItem(parent);
            seen.parentPath = path->text();
            seen.parentOk = Child(dlg, "m_OkBtn")->isEnabled();
            DoubleClick(tree, parent);
            seen.parentDoubleClickCloses = !dlg->window()->isVisible();
            QTreeWidgetItem* leaf = FindItem(tree, QStringLiteral("T恤"), QStringLiteral("男装"));
            tree->setCurrentItem(leaf);
            seen.leafPath = path->text();
            seen.leafOk = Child(dlg, "m_OkBtn")->isEnabled();
            Shot(dlg, QStringLiteral("category-browser"));
            DoubleClick(tree, leaf);
        });
        QTest::mouseClick(Child(&bar, "m_SelectCategoryBtn"), Qt::LeftButton);

        QVERIFY(!seen.noMatchNext);
        QVERIFY(!seen.noMatchPre);
        QVERIFY2(seen.matches > 1, "the search should find several categories");
        QVERIFY(seen.current.contains(QStringLiteral("衫")));
        QCOMPARE(seen.endMessage, QStringLiteral("<font color=red>已到达结尾！</font>"));
        QCOMPARE(seen.startMessage, QStringLiteral("<font color=red>已到达开始位置！</font>"));
        QCOMPARE(seen.parentPath, QStringLiteral("服装>>男装"));
        QVERIFY(!seen.parentOk);
        QVERIFY(!seen.parentDoubleClickCloses);
        QCOMPARE(seen.leafPath, QStringLiteral("服装>>男装>>T恤"));
        QVERIFY(seen.leafOk);
        // The double-clicked leaf is what the search looks for.
        QCOMPARE(bar.Fields().cid, tshirt);
        QCOMPARE(Child<QLineEdit>(&bar, "lineEdit_Category")->text(), QStringLiteral("T恤"));
        QVERIFY(messages.texts().isEmpty());
    }

    void emptyCategoryStoreAsksForAnUpdate()
    {
        VumoTest::MessageCollector messages;
        VumoTest::PickerStoreFixture store(false);
        QVERIFY(store.valid);
        qint64 cid = 0;
        QString name;
        WhenOpen<CatsBrowserDlg>([](CatsBrowserDlg*) { QCoreApplication::processEvents(); });
        QVERIFY(!CatsBrowserDlg::Pick(nullptr, cid, name));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("类目数据为空，请更新类目！")});
    }

    void shopCategoriesPickedFromTheAdvancedSearch()
    {
        VumoTest::MessageCollector messages;
        VumoTest::PickerStoreFixture store;
        QVERIFY(store.valid);
        AdvanceSearchWidget adv(nullptr, 0);
        adv.show();
        QString tickedTop;
        bool refusedStaysOpen = false;
        WhenOpen<SellerCategoryDlg>([&](SellerCategoryDlg* dlg) {
            auto* tree = Child<QTreeWidget>(dlg, "m_CatsTreeWidget");
            const auto tick = [tree](const QString& name, bool on) {
                FindItem(tree, name)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
            };
            tick(QStringLiteral("服装鞋帽"), true); // its four children
            tick(QStringLiteral("女装"), false);
            QTreeWidgetItem* clothes = FindItem(tree, QStringLiteral("服装鞋帽"));
            tickedTop = QString::number(clothes->checkState(0)) + QString::number(clothes->child(0)->checkState(0));
            tick(QStringLiteral("新品推荐"), true); // no children: counts as one
            tick(QStringLiteral("手机数码"), true);
            tick(QStringLiteral("家用电器"), true);
            tick(QStringLiteral("清仓特价"), true); // the eleventh
            QTest::mouseClick(Child(dlg, "m_OkBtn"), Qt::LeftButton);
            refusedStaysOpen = dlg->window()->isVisible();
            Shot(dlg, QStringLiteral("shop-category-dialog"));
            tick(QStringLiteral("清仓特价"), false);
            QTest::mouseClick(Child(dlg, "m_OkBtn"), Qt::LeftButton);
        });
        QTest::mouseClick(Child(&adv, "SelectShopCategoryBtn"), Qt::LeftButton);

        QCOMPARE(tickedTop, QStringLiteral("12")); // partly ticked top, first child ticked
        QVERIFY(refusedStaysOpen);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("提示：店内分类最多只能设置10个！")});
        QCOMPARE(adv.Fields().shopCategorys,
                 QStringLiteral("5001-5001;5002-5101;5002-5103;5002-5104;5003-5201;"
                                "5003-5202;5003-5203;5004-5301;5004-5302;5004-5303"));
        QVERIFY(Child<QLineEdit>(&adv, "ShopCategoryEdit")
                    ->text()
                    .startsWith(QStringLiteral("新品推荐/新品推荐;服装鞋帽/男装;")));
    }

    void attributeBrowserEditsInItsGrid()
    {
        VumoTest::PickerStoreFixture store;
        QVERIFY(store.valid);
        const qint64 cid = store.categoryId(QStringLiteral("男装"), QStringLiteral("T恤"));
        const qint64 brand = store.attributeId(cid, QStringLiteral("品牌"));
        const qint64 material = store.attributeId(cid, QStringLiteral("材质"));
        const qint64 season = store.attributeId(cid, QStringLiteral("适用季节"));
        const qint64 fabric = store.attributeId(cid, QStringLiteral("面料成分"));
        const qint64 brandVid = store.valueId(brand, QStringLiteral("北岸"));
        QVERIFY(brand && material && season && fabric && brandVid);

        CategoryAttributeBrowser browser(nullptr);
        browser.resize(420, 360);
        browser.show();
        QTest::ignoreMessage(QtWarningMsg, "类目cid=987654321非法");
        browser.load(987654321, {}, {}, {});
        QCOMPARE(browser.Browser()->topLevelItemCount(), 0);

        browser.load(cid, QStringLiteral("%1:%2").arg(brand).arg(brandVid), QString::number(fabric),
                     QStringLiteral("纯棉"));
        QSignalSpy changed(&browser, &CategoryAttributeBrowser::ValueChangedSignal);
        QtProperty* brandProp = browser.PropertyOf(brand);
        QCOMPARE(brandProp->valueText(), QStringLiteral("北岸"));
        QCOMPARE(browser.PropertyOf(fabric)->text(), QStringLiteral("纯棉"));
        QVERIFY(!brandProp->icon().isNull());
        QVERIFY(browser.PropertyOf(season)->icon().isNull());
        QVERIFY(!browser.PropertyOf(store.attributeId(cid, QStringLiteral("颜色")))); // a sale attribute: SKU page

        // 材质 is required and empty: its row gets a red frame.
        QVERIFY(!browser.check());
        QtProperty* materialProp = browser.PropertyOf(material);
        QVERIFY(materialProp->isInvalid());
        propertybrowser::QtTreePropertyBrowser* grid = browser.Browser();
        QTreeWidgetItem* materialRow = grid->itemOf(materialProp);
        const QRect rowRect = grid->visualItemRect(materialRow);
        const QImage shot = grid->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(rowRect.left() + 1, rowRect.top()), QColor(Qt::red));
        Shot(&browser, QStringLiteral("attribute-browser"));

        // Enumeration: a choice in the combo box commits at once and lifts the frame.
        ClickValue(grid, materialRow);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        combo->setCurrentIndex(2);
        QCOMPARE(materialProp->enumIndex(), 2);
        QVERIFY(!materialProp->isInvalid());
        QCOMPARE(changed.count(), 1);

        // String: "|" is refused while typing; Enter commits.
        ClickValue(grid, grid->itemOf(browser.PropertyOf(fabric)));
        auto* edit = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("TC|65"));
        QTest::keyClick(edit, Qt::Key_Return); // the view commits on its next turn
        QTRY_COMPARE(browser.PropertyOf(fabric)->text(), QStringLiteral("TC65"));

        // Flags: ticking in the popup list commits.
        ClickValue(grid, grid->itemOf(browser.PropertyOf(season)));
        auto* flags = grid->viewport()->findChild<QtFlagEditor*>();
        QVERIFY(flags);
        QTest::mouseClick(flags->findChild<QToolButton*>(QStringLiteral("flagButton")), Qt::LeftButton);
        flags->list()->item(1)->setCheckState(Qt::Checked);
        QCOMPARE(browser.PropertyOf(season)->flags(), QList<int>{1});
        QCOMPARE(changed.count(), 3);

        QVERIFY(browser.check());
        QString attributes, pids, strs;
        qint64 outVid = 0, outAid = 0;
        browser.get(attributes, pids, strs, outVid, outAid);
        QVERIFY(attributes.contains(QStringLiteral("%1:%2").arg(brand).arg(brandVid)));
        QVERIFY(attributes.contains(QStringLiteral("%1:").arg(season)));
        QCOMPARE(pids, QString::number(fabric));
        QCOMPARE(strs, QStringLiteral("TC65"));
        QCOMPARE(outVid, brandVid);
        QCOMPARE(outAid, brand);
    }
};

VUMO_TEST_CLASS(TestPickerDialogs)
#include "TestPickerDialogs.moc"
