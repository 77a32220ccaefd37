// The tree widget over a seeded store: node texts and counts after a refill, the increments
// after moves, the guard below zero, the current node and its condition.
#include "TreeStoreFixture.h"
#include "plugin/LogCapture.h"
#include "support/TestMain.h"

#include "plugin/VumoClassification.h"
#include "plugin/VumoCountThread.h"

#include <QSignalSpy>
#include <QTest>

using namespace Quorvia::vumo;
using VumoTest::TreeStoreFixture;

namespace {

bool refillAndWait(VumoClassification& tree)
{
    QSignalSpy finished(&tree, &VumoClassification::CountFinishedSignal);
    tree.Refill();
    return finished.wait(20000);
}

QString textOf(const VumoClassification& tree, const VUMO_CLASS& node)
{
    const QTreeWidgetItem* item = tree.FindNode(node);
    return item ? item->text(0) : QStringLiteral("<no node>");
}

QStringList childTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

class TestClassification : public QObject
{
    Q_OBJECT

private slots:
    void constructionShowsClassesWithLocalStoreCurrent()
    {
        VumoTest::TempHome home; // nobody logged in: no shop name, no store
        VumoClassification tree;
        QCOMPARE(tree.topLevelItemCount(), 1);
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("Yv商城-【店铺名称】(0)"));
        QCOMPARE(childTexts(tree.topLevelItem(0)),
                 QStringList({"商品模板(0)", "线上在售商品(0)", "线上待售商品(0)", "本地仓库商品(0)", "本地回收站(0)",
                              "搜索结果(0)"}));
        QCOMPARE(tree.CurrentClass(), 4);
        QCOMPARE(tree.ConditionOfNode(), QStringLiteral("(vumo_status=2014)"));
        const VUMO_CLASS value = tree.currentItem()->data(0, Qt::UserRole).value<VUMO_CLASS>();
        QCOMPARE(value.classType, 4);
        QCOMPARE(value.nParentCid, qint64(1));
        QCOMPARE(value.nCid, qint64(2));
    }

    void refillCountsTemplatesAndOnSale()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        for (int i = 0; i < 3; ++i)
            QVERIFY(fx.add({QStringLiteral("t%1").arg(i), 2013, QString()}));
        for (int i = 0; i < 5; ++i)
            QVERIFY(fx.add({QStringLiteral("s%1").arg(i), i % 2 ? 8 : 520, QString()}));

        VumoClassification tree;
        QVERIFY(refillAndWait(tree));
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("演示小店(8)"));
        QCOMPARE(textOf(tree, VumoClassNode(1)), QStringLiteral("商品模板(3)"));
        QCOMPARE(textOf(tree, VumoClassNode(2)), QStringLiteral("线上在售商品(5)"));
        for (int c : {3, 4, 5, 6})
            QCOMPARE(tree.NodeCount(VumoClassNode(c)), 0);
        // No shop categories: only the node for listings without one, under 2 and 3.
        QCOMPARE(childTexts(tree.ClassItem(2)), QStringList({"未分配店内分类(5)"}));
        QCOMPARE(childTexts(tree.ClassItem(3)), QStringList({"未分配店内分类(0)"}));
        QCOMPARE(tree.ClassItem(1)->childCount(), 0);
    }

    void shopCategoriesUnderOnlineClasses()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.seedEveryStatus());

        VumoClassification tree;
        QVERIFY(refillAndWait(tree));
        const QTreeWidgetItem* onSale = tree.ClassItem(2);
        QCOMPARE(childTexts(onSale), QStringList({"夏装(新)(6)", "鞋(3)", "包(2)", "未分配店内分类(4)"}));
        QCOMPARE(childTexts(onSale->child(0)), QStringList({"T恤(2)", "裙(2)"}));
        QCOMPARE(childTexts(tree.ClassItem(3)), QStringList({"夏装(新)(24)", "鞋(8)", "包(8)", "未分配店内分类(16)"}));
        for (int c : {1, 4, 5, 6})
            QCOMPARE(tree.ClassItem(c)->childCount(), 0);
        QCOMPARE(textOf(tree, VumoClassNode(3)), QStringLiteral("线上待售商品(56)"));
        // Every node's count agrees with what its listings are.
        for (int c : {2, 3}) {
            for (const VUMO_CLASS& node : {VumoClassNode(c), VumoTopCategoryNode(c, 5), VumoSubCategoryNode(c, 5, 51),
                                           VumoSubCategoryNode(c, 5, 7052), VumoTopCategoryNode(c, 15),
                                           VumoTopCategoryNode(c, 52), VumoNoCategoryNode(c)})
                QCOMPARE(tree.NodeCount(node), fx.expectedCount(node));
        }
        // The shop counts classes 1 to 5 once each.
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("演示小店(92)"));
    }

    void movesShiftCountsWithoutQuery()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.add({QStringLiteral("l1"), 2014, QString()}));
        QVERIFY(fx.add({QStringLiteral("l2"), 2014, QString()}));
        QVERIFY(fx.add({QStringLiteral("f1"), 1, QStringLiteral("5-51|夏装(新)/T恤")}));
        QVERIFY(fx.add({QStringLiteral("o1"), 8, QStringLiteral("15-15|鞋")}));

        VumoClassification tree;
        QVERIFY(refillAndWait(tree));
        // The store is emptied behind the tree: what follows can only come from increments.
        QVERIFY(fx.store->ExecSql(QStringLiteral("DELETE FROM vumo_data")));

        tree.MoveCount(4, 5, QString(), QString());
        QCOMPARE(textOf(tree, VumoClassNode(4)), QStringLiteral("本地仓库商品(1)"));
        QCOMPARE(textOf(tree, VumoClassNode(5)), QStringLiteral("本地回收站(1)"));
        QVERIFY(!tree.CountThread()->isRunning());

        // Unchanged class and categories: nothing moves.
        tree.MoveCount(3, 3, QStringLiteral("5-51|a"), QStringLiteral("5-51|b"));
        QCOMPARE(tree.NodeCount(VumoClassNode(3)), 1);
        QCOMPARE(tree.NodeCount(VumoSubCategoryNode(3, 5, 51)), 1);

        // Uploaded: for sale in 5-51 -> on sale in 5-51 and 15.
        tree.MoveCount(3, 2, QStringLiteral("5-51|x"), QStringLiteral("5-51;15-15|x"));
        QCOMPARE(tree.NodeCount(VumoClassNode(3)), 0);
        QCOMPARE(tree.NodeCount(VumoTopCategoryNode(3, 5)), 0);
        QCOMPARE(tree.NodeCount(VumoSubCategoryNode(3, 5, 51)), 0);
        QCOMPARE(tree.NodeCount(VumoClassNode(2)), 2);
        QCOMPARE(textOf(tree, VumoTopCategoryNode(2, 5)), QStringLiteral("夏装(新)(1)"));
        QCOMPARE(tree.NodeCount(VumoSubCategoryNode(2, 5, 51)), 1);
        QCOMPARE(tree.NodeCount(VumoTopCategoryNode(2, 15)), 2);
        QCOMPARE(tree.NodeCount(VumoNoCategoryNode(2)), 0);

        // Same class, categories changed: the class node stays, 15 -> none.
        tree.MoveCount(2, 2, QStringLiteral("15-15|鞋"), QString());
        QCOMPARE(tree.NodeCount(VumoClassNode(2)), 2);
        QCOMPARE(tree.NodeCount(VumoTopCategoryNode(2, 15)), 1);
        QCOMPARE(tree.NodeCount(VumoNoCategoryNode(2)), 1);

        // A new listing (no class before) and a restore of two listings.
        tree.MoveCount(-1, 1, QString(), QString());
        QCOMPARE(textOf(tree, VumoClassNode(1)), QStringLiteral("商品模板(1)"));
        tree.MoveCount(4, 5, QString(), QString());
        tree.AddCount(5, 4, 2);
        QCOMPARE(tree.NodeCount(VumoClassNode(5)), 0);
        QCOMPARE(tree.NodeCount(VumoClassNode(4)), 2);
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("演示小店(5)"));
    }

    void countBelowZeroKeepsTextAndLogs()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.add({QStringLiteral("r1"), 2015, QString()}));
        VumoClassification tree;
        QVERIFY(refillAndWait(tree));

        LogCapture log;
        tree.AddCount(5, 4, 2);
        QCOMPARE(textOf(tree, VumoClassNode(5)), QStringLiteral("本地回收站(1)"));
        QCOMPARE(tree.NodeCount(VumoClassNode(5)), 1);
        QVERIFY(LogCapture::Contains("vumo", QStringLiteral("商品类别计数错误！")));
        QVERIFY(LogCapture::Contains("contol", QStringLiteral("VumoClassification[")));

        // Nodes already at 0 keep their texts; the node above 0 still moves.
        tree.MoveCount(2, 4, QString(), QString());
        QCOMPARE(textOf(tree, VumoNoCategoryNode(2)), QStringLiteral("未分配店内分类(0)"));
        QCOMPARE(textOf(tree, VumoClassNode(2)), QStringLiteral("线上在售商品(0)"));
        QCOMPARE(tree.NodeCount(VumoClassNode(4)), 3);
    }

    void currentNodeConditionAndSwitching()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.seedEveryStatus());
        VumoClassification tree;
        QVERIFY(refillAndWait(tree));

        QSignalSpy changed(&tree, &VumoClassification::ClassificationChangedSignal);
        QTreeWidgetItem* none = tree.FindNode(VumoNoCategoryNode(2));
        QVERIFY(none);
        tree.setCurrentItem(none);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree.CurrentClass(), 2);
        QStringList wanted;
        for (const auto& seed : fx.listings) {
            if ((seed.status == 8 || seed.status == 520) && seed.shopCategorys.isEmpty())
                wanted << seed.clientId;
        }
        wanted.sort();
        QCOMPARE(wanted.size(), 4);
        QCOMPARE(fx.clientIdsOf(tree.ConditionOfNode()), wanted);

        QVERIFY(tree.NodeShowsClass(2, QString()));
        QVERIFY(!tree.NodeShowsClass(2, QStringLiteral("15-15|鞋")));
        QVERIFY(!tree.NodeShowsClass(3, QString()));

        // A refill keeps the current node and does not announce a switch.
        changed.clear();
        QVERIFY(refillAndWait(tree));
        QVERIFY(tree.CurrentNode().sameNode(VumoNoCategoryNode(2)));
        QCOMPARE(changed.count(), 0);

        // The shop item is no listing node: the last class stays current.
        tree.setCurrentItem(tree.topLevelItem(0));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(tree.CurrentClass(), 2);
        QCOMPARE(tree.ConditionOfNode(), QStringLiteral("(vumo_status=8 or vumo_status=520)"));
        QVERIFY(!(tree.topLevelItem(0)->flags() & Qt::ItemIsSelectable));

        tree.SetCurrentClass(1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree.CurrentClass(), 1);
        QCOMPARE(tree.ClassOfStatus(2014), 4);
        tree.SetCurrentClass(42);
        QCOMPARE(tree.CurrentClass(), 1);

        // Categories removed from the store: the refill drops their nodes, and a current node
        // that is gone gives way to the local store.
        tree.setCurrentItem(tree.FindNode(VumoTopCategoryNode(3, 15)));
        QVERIFY(fx.store->ClearSellerCategories());
        changed.clear();
        QVERIFY(refillAndWait(tree));
        QCOMPARE(childTexts(tree.ClassItem(3)), QStringList({"未分配店内分类(16)"}));
        QCOMPARE(tree.CurrentClass(), 4);
        QCOMPARE(changed.count(), 1);
    }

    void refillWhileCountingEndsWithRightCounts()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.seedEveryStatus());
        VumoClassification tree;
        tree.Refill();
        tree.Refill(); // stops and waits for the first count
        QVERIFY(refillAndWait(tree));
        // Finished signals of the stopped runs may come first: wait for the last run.
        QTRY_VERIFY(!tree.CountThread()->isRunning());
        QCoreApplication::processEvents();
        QCOMPARE(textOf(tree, VumoClassNode(3)), QStringLiteral("线上待售商品(56)"));
        QCOMPARE(textOf(tree, VumoTopCategoryNode(2, 5)), QStringLiteral("夏装(新)(6)"));

        // Search results are counted when asked for.
        tree.SetCountSearch(true);
        QVERIFY(refillAndWait(tree));
        QCOMPARE(textOf(tree, VumoClassNode(6)), QStringLiteral("搜索结果(78)"));
        tree.SetClassCount(6, 3);
        QCOMPARE(textOf(tree, VumoClassNode(6)), QStringLiteral("搜索结果(3)"));
    }
};

VUMO_TEST_CLASS(TestClassification)
#include "TestClassification.moc"
