// The main widget's frame: tool bar, tree, tabs and columns per class, status labels and the
// first-load handshake the host waits for.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/UserInfo.h"
#include "plugin/VumoClassLayout.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/hostservices/AppShareHelp.h"

#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

using Quorvia::vumo::VumoMainWidget;

namespace {

void setStockMode(int stockMode)
{
    Quorvia::core::plugin::LoginRecord record;
    record.stockMode = stockMode;
    Quorvia::vumo::UserInfo::instance()->SetLogin(record);
}

QStringList tabTitles(const VumoMainWidget& widget)
{
    auto* bar = widget.findChild<QTabBar*>(QStringLiteral("vumo_tabbar"));
    QStringList titles;
    for (int i = 0; bar && i < bar->count(); ++i)
        titles << bar->tabText(i);
    return titles;
}

QTreeWidgetItem* classNode(const VumoMainWidget& widget, int vumoClass)
{
    auto* tree = widget.findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
    QTreeWidgetItem* shop = tree->topLevelItem(0);
    for (int i = 0; i < shop->childCount(); ++i) {
        if (shop->child(i)->data(0, Qt::UserRole).toInt() == vumoClass)
            return shop->child(i);
    }
    return nullptr;
}

QList<int> hiddenColumns(const VumoMainWidget& widget)
{
    auto* view = widget.findChild<QTableView*>(QStringLiteral("m_vumoTableView"));
    QList<int> hidden;
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        if (view->isColumnHidden(column))
            hidden << column;
    }
    return hidden;
}

} // namespace

class TestMainWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
    }
    void cleanup() { setStockMode(-1); }

    void toolBarCommandsAreVisiblyUnavailable()
    {
        VumoMainWidget widget;
        auto* row = widget.findChild<QWidget*>(QStringLiteral("vumomanage_toolbar"));
        QVERIFY(row);
        const QStringList expected = {
            QStringLiteral("新建新品"), QStringLiteral("更新类目"), QStringLiteral("下载商品"), QStringLiteral("上传商品"),
            QStringLiteral("批量修改"), QStringLiteral("高级搜索"), QStringLiteral("商品导入"), QStringLiteral("商品导出"),
            QStringLiteral("删除商品"), QStringLiteral("设置"), QStringLiteral("收起搜索栏")};
        QStringList texts;
        for (int i = 0; i < VumoMainWidget::CommandCount; ++i) {
            QToolButton* button = widget.CommandButton(VumoMainWidget::Command(i));
            QVERIFY(button && row->isAncestorOf(button));
            texts << button->text();
            QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->text())); // our SVG set renders
            QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
            QCOMPARE(button->toolTip(), QStringLiteral("此功能尚未开放"));
        }
        QCOMPARE(texts, expected);

        // The settings button and the search toggle sit on their own tool bar.
        auto* settingsBar = row->findChild<QToolBar*>(QStringLiteral("SettingsToolBar"));
        QVERIFY(settingsBar);
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandSettings)->parentWidget(), settingsBar);
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandToggleSearch)->parentWidget(), settingsBar);
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandBatchEdit)->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandDownloadVumo)->popupMode(), QToolButton::DelayedPopup);
        QVERIFY(widget.CommandButton(VumoMainWidget::CommandCount) == nullptr);
    }

    void firstLoadRunsOnceAfterConstruction()
    {
        VumoMainWidget widget;
        QSignalSpy spy(&widget, &VumoMainWidget::FirstLoadFinishedSignal);
        QCOMPARE(widget.property("vumoFirstLoadDone").toBool(), false);
        QVERIFY(tabTitles(widget).isEmpty()); // nothing is laid out before the first load
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(widget.property("vumoFirstLoadDone").toBool(), true);
        QCOMPARE(widget.CurrentClass(), int(Quorvia::vumo::VumoClassLocal));
        QCOMPARE(tabTitles(widget), QStringList({QStringLiteral("所有商品"), QStringLiteral("上传失败的商品")}));
        QTest::qWait(20);
        QCOMPARE(spy.count(), 1);
    }

    void treeShowsShopAndClasses()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin login;
        login.shopName = QStringLiteral("测试旗舰店");
        home.writeLogin(login);
        {
            VumoMainWidget widget;
            auto* tree = widget.findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
            QCOMPARE(tree->topLevelItemCount(), 1);
            QCOMPARE(tree->topLevelItem(0)->text(0), login.shopName);
            QStringList names;
            for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i)
                names << tree->topLevelItem(0)->child(i)->text(0);
            QCOMPARE(names, QStringList({QStringLiteral("商品模板"), QStringLiteral("线上在售商品"),
                                         QStringLiteral("线上待售商品"), QStringLiteral("本地仓库商品"),
                                         QStringLiteral("本地回收站"), QStringLiteral("搜索结果")}));
            QCOMPARE(tree->currentItem(), classNode(widget, Quorvia::vumo::VumoClassLocal));
        }
        VumoTest::TempHome noLogin;
        VumoMainWidget widget;
        auto* tree = widget.findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Yv商城-【店铺名称】"));
    }

    void switchingClassesRelaysOutTable()
    {
        VumoMainWidget widget;
        QTRY_VERIFY(widget.IsFirstLoadDone());
        auto* tree = widget.findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
        auto* bar = widget.findChild<QTabBar*>(QStringLiteral("vumo_tabbar"));

        QCOMPARE(hiddenColumns(widget), QList<int>({1, 2, 4, 12}));

        tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassOnSale));
        QCOMPARE(widget.CurrentClass(), 2);
        QCOMPARE(hiddenColumns(widget), QList<int>({1, 4}));
        QCOMPARE(tabTitles(widget).size(), 3);
        bar->setCurrentIndex(2); // "上传失败的商品"

        // The failed-uploads tab exists in the local store too and stays current.
        tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassLocal));
        QCOMPARE(bar->tabText(bar->currentIndex()), QStringLiteral("上传失败的商品"));

        tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassTemplate));
        QCOMPARE(hiddenColumns(widget), QList<int>({2, 4, 12, 13}));
        QVERIFY(tabTitles(widget).isEmpty());
        QVERIFY(!bar->isVisibleTo(&widget));

        tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassRecycle));
        QCOMPARE(tabTitles(widget), QStringList({QStringLiteral("所有商品")}));
        QCOMPARE(bar->currentIndex(), 0);

        tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassSearch));
        QCOMPARE(hiddenColumns(widget), QList<int>({1, 4, 12, 13}));
        QCOMPARE(tabTitles(widget), QStringList({QStringLiteral("所有商品")}));

        // The shop node has no class: the last class stays in force.
        tree->setCurrentItem(tree->topLevelItem(0));
        QCOMPARE(widget.CurrentClass(), 6);
    }

    void stockColumnFollowsStockMode()
    {
        setStockMode(1);
        {
            VumoMainWidget widget;
            QTRY_VERIFY(widget.IsFirstLoadDone());
            QVERIFY(hiddenColumns(widget).contains(Quorvia::vumo::ColumnStock));
            auto* tree = widget.findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
            tree->setCurrentItem(classNode(widget, Quorvia::vumo::VumoClassOnSale));
            QVERIFY(hiddenColumns(widget).contains(Quorvia::vumo::ColumnStock));
        }
        setStockMode(-1);
        VumoMainWidget widget;
        QTRY_VERIFY(widget.IsFirstLoadDone());
        QVERIFY(!hiddenColumns(widget).contains(Quorvia::vumo::ColumnStock));
        auto* view = widget.findChild<QTableView*>(QStringLiteral("m_vumoTableView"));
        QCOMPARE(view->model()->headerData(11, Qt::Horizontal).toString(), QStringLiteral("库存数"));
    }

    void statusMessages()
    {
        VumoMainWidget widget;
        auto* status = widget.findChild<QLabel*>(QStringLiteral("VumoStatusLabel"));
        auto* error = widget.findChild<QLabel*>(QStringLiteral("VumoErrorLabel"));
        QVERIFY(status && error);
        QVERIFY(widget.findChild<QWidget*>(QStringLiteral("VumoStatusBar")));

        widget.OnShowStatusMsg(QStringLiteral("已保存"), 0);
        QCOMPARE(status->text(), QStringLiteral("已保存"));
        QVERIFY(error->text().isEmpty());

        // Listing text may hold markup; it must be shown, not interpreted.
        widget.OnShowStatusMsg(QStringLiteral("价格<b>无效</b>"), 1);
        QCOMPARE(error->text(), QStringLiteral("<font color=#FF0000>价格&lt;b&gt;无效&lt;/b&gt;</font>"));
        QCOMPARE(status->text(), QStringLiteral("已保存"));

        widget.OnShowStatusMsg(QStringLiteral("x"), 2); // index 2 clears only with an empty text
        QVERIFY(!status->text().isEmpty());
        widget.OnShowStatusMsg(QString(), 2);
        QVERIFY(status->text().isEmpty());
        QVERIFY(error->text().isEmpty());
        widget.OnShowStatusMsg(QStringLiteral("y"), 7); // unknown index: ignored
        QVERIFY(status->text().isEmpty());
    }
};

VUMO_TEST_CLASS(TestMainWidget)
#include "TestMainWidget.moc"
