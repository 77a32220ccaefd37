// The tree: its rules without widgets (class of a status, which node shows what, the
// shop-category keys of a listing, the count guard, every node condition run against a seeded
// store), the count thread over that store (right counts, delivered through queued signals on the
// receiver's thread, read on the thread's own connection) and the tree widget over it: node
// texts and counts after a refill, the increments after moves, the guard below zero, the current
// node and its condition.
#include "TreeStoreFixture.h"
#include "plugin/LogCapture.h"
#include "support/TestMain.h"

#include "plugin/VumoClassification.h"
#include "plugin/VumoCountThread.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

using namespace Quorvia::vumo;
using VumoTest::TreeStoreFixture;

Q_DECLARE_METATYPE(QVector<Quorvia::vumo::VumoCategoryKey>)

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

struct Result
{
    VUMO_CLASS node;
    int count = 0;
    QThread* deliveredOn = nullptr;
};

QVector<VumoCategoryKey> categoryNodes()
{
    return {{VUMO_CLASS::NodeTopCategory, 2, 5},
            {VUMO_CLASS::NodeSubCategory, 5, 51},
            {VUMO_CLASS::NodeSubCategory, 5, 7052},
            {VUMO_CLASS::NodeTopCategory, 2, 15},
            {VUMO_CLASS::NodeTopCategory, 2, 52}};
}

// Runs one count and collects what arrives on this (the GUI) thread.
QList<Result> runCount(VumoCountThread& thread, bool* finishedInTime = nullptr)
{
    QList<Result> results;
    QObject receiver;
    QObject::connect(&thread, qOverload<VUMO_CLASS, int, int, int>(&VumoCountThread::classificationCountSignal),
                     &receiver, [&results](VUMO_CLASS node, int, int, int count) {
                         results.append({node, count, QThread::currentThread()});
                     });
    QSignalSpy finished(&thread, &QThread::finished);
    thread.StartCount();
    // finished() comes from the count thread itself and may be in the spy before a wait starts.
    const bool ok = QTest::qWaitFor([&finished] { return !finished.isEmpty(); }, 20000);
    if (finishedInTime)
        *finishedInTime = ok;
    if (!ok)
        return {};
    // Queued results that were posted before finished() are handed out now.
    QCoreApplication::processEvents();
    return results;
}

const Result* find(const QList<Result>& results, const VUMO_CLASS& node)
{
    for (const Result& r : results) {
        if (r.node.sameNode(node))
            return &r;
    }
    return nullptr;
}

VumoCategoryKey top(qint64 cid)
{
    return {VUMO_CLASS::NodeTopCategory, 2, cid};
}
VumoCategoryKey sub(qint64 parent, qint64 cid)
{
    return {VUMO_CLASS::NodeSubCategory, parent, cid};
}
VumoCategoryKey none()
{
    return {VUMO_CLASS::NodeNoCategory, 2, 3};
}
} // namespace

class TestClassification : public QObject
{
    Q_OBJECT

private slots:
    void classOfStatus_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("expected");
        const QList<QPair<int, int>> table = {{2013, 1}, {8, 2},   {520, 2}, {1, 3},     {2, 3},    {4, 3},
                                              {513, 3},  {514, 3}, {516, 3}, {1026, 3},  {1028, 3}, {2014, 4},
                                              {2015, 5}, {-1, -1}, {0, -1},  {9999, -1}, {512, -1}};
        for (const auto& row : table) {
            // The current class never takes over a status it does not contain, and search
            // results (6) are never the answer.
            for (int current : {-1, 1, 2, 3, 4, 5, 6})
                QTest::addRow("%d in %d", row.first, current) << row.first << current << row.second;
        }
    }
    void classOfStatus()
    {
        QFETCH(int, status);
        QFETCH(int, current);
        QFETCH(int, expected);
        QCOMPARE(ClassOfStatus(status, current), expected);
    }

    void shopCategoryKeys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<VumoCategoryKey>>("keys");
        QTest::newRow("null") << QString() << QVector<VumoCategoryKey>{none()};
        QTest::newRow("empty") << QStringLiteral("") << QVector<VumoCategoryKey>{none()};
        QTest::newRow("names only") << QStringLiteral("|服装") << QVector<VumoCategoryKey>{none()};
        QTest::newRow("pair") << QStringLiteral("12-34|a/b") << QVector<VumoCategoryKey>{top(12), sub(12, 34)};
        QTest::newRow("top twice") << QStringLiteral("56-56|x") << QVector<VumoCategoryKey>{top(56)};
        QTest::newRow("top alone") << QStringLiteral("56") << QVector<VumoCategoryKey>{top(56)};
        QTest::newRow("two children, parent once") << QStringLiteral("5-51;5-52;15-15|...")
                                                   << QVector<VumoCategoryKey>{top(5), sub(5, 51), sub(5, 52), top(15)};
        QTest::newRow("comma separated") << QStringLiteral("5-51,7-8")
                                         << QVector<VumoCategoryKey>{top(5), sub(5, 51), top(7), sub(7, 8)};
        QTest::newRow("names with digits ignored")
            << QStringLiteral("9-10|2024新款/5件") << QVector<VumoCategoryKey>{top(9), sub(9, 10)};
        QTest::newRow("damaged entries skipped")
            << QStringLiteral("abc;012-3;;-4;8-x;8 -9") << QVector<VumoCategoryKey>{top(8)};
        QTest::newRow("64-bit ids") << QStringLiteral("5000000000-5000000001")
                                    << QVector<VumoCategoryKey>{top(5000000000LL), sub(5000000000LL, 5000000001LL)};
    }
    void shopCategoryKeys()
    {
        QFETCH(QString, text);
        QFETCH(QVector<VumoCategoryKey>, keys);
        QCOMPARE(VumoShopCategoryKeys(text), keys);
    }

    void nodeShowsClass()
    {
        const QString cats = QStringLiteral("5-51|夏装/T恤");
        QVERIFY(VumoNodeShowsClass(VumoClassNode(4), 4, cats));
        QVERIFY(!VumoNodeShowsClass(VumoClassNode(4), 5, cats));
        QVERIFY(!VumoNodeShowsClass(VumoClassNode(-1), -1, cats));
        // Search results show what the search found, not a class.
        QVERIFY(!VumoNodeShowsClass(VumoClassNode(6), 6, cats));
        QVERIFY(VumoNodeShowsClass(VumoTopCategoryNode(2, 5), 2, cats));
        QVERIFY(!VumoNodeShowsClass(VumoTopCategoryNode(3, 5), 2, cats));
        QVERIFY(VumoNodeShowsClass(VumoSubCategoryNode(2, 5, 51), 2, cats));
        QVERIFY(!VumoNodeShowsClass(VumoSubCategoryNode(2, 5, 52), 2, cats));
        QVERIFY(!VumoNodeShowsClass(VumoTopCategoryNode(2, 51), 2, cats));
        QVERIFY(!VumoNodeShowsClass(VumoNoCategoryNode(2), 2, cats));
        QVERIFY(VumoNodeShowsClass(VumoNoCategoryNode(2), 2, QString()));
        // A top category whose id equals the no-category marker is still a category.
        QVERIFY(VumoNodeShowsClass(VumoTopCategoryNode(3, 3), 3, QStringLiteral("3-3|x")));
        QVERIFY(!VumoNodeShowsClass(VumoNoCategoryNode(3), 3, QStringLiteral("3-3|x")));
    }

    void countGuard()
    {
        int result = 77;
        QVERIFY(VumoApplyCountDelta(3, -3, &result));
        QCOMPARE(result, 0);
        result = 77;
        QVERIFY(!VumoApplyCountDelta(0, -1, &result));
        QCOMPARE(result, 77);
        QVERIFY(!VumoApplyCountDelta(2, -5, &result));
        QCOMPARE(result, 77);
        QVERIFY(VumoApplyCountDelta(std::numeric_limits<int>::max(), 1, &result));
        QCOMPARE(result, std::numeric_limits<int>::max());
        QCOMPARE(VumoNodeText(QStringLiteral("夏装(新)"), 4), QStringLiteral("夏装(新)(4)"));
        // A seller's category name is shown as typed, even one holding "%1".
        QCOMPARE(VumoNodeText(QStringLiteral("满100%1送"), 4), QStringLiteral("满100%1送(4)"));
    }

    // Each node's condition selects exactly the listings the node stands for.
    void conditionsAgainstStore()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.seedAll());

        struct Expect
        {
            VUMO_CLASS node;
            int count;
        };
        // Per online status the seeds hold: top 5 three times ("5-51", "5-7052;52-52", "5"),
        // top 15, top 52, 5-51 and 5-7052 once, no category twice (NULL and ""); "152-1" in
        // none. Class 2 has two statuses plus one more "15-15", class 3 eight statuses.
        const QList<Expect> expected = {
            {VumoClassNode(1), 7},
            {VumoClassNode(2), 15},
            {VumoClassNode(3), 56},
            {VumoClassNode(4), 7},
            {VumoClassNode(5), 7},
            {VumoClassNode(6), 78},
            {VumoTopCategoryNode(2, 5), 6},
            {VumoTopCategoryNode(2, 15), 3},
            {VumoTopCategoryNode(2, 52), 2},
            {VumoSubCategoryNode(2, 5, 51), 2},
            {VumoSubCategoryNode(2, 5, 7052), 2},
            {VumoNoCategoryNode(2), 4},
            {VumoTopCategoryNode(3, 5), 24},
            {VumoSubCategoryNode(3, 5, 7052), 8},
            {VumoNoCategoryNode(3), 16},
        };
        for (const Expect& e : expected) {
            const QString condition = VumoNodeCondition(e.node);
            qint64 count = -1;
            QVERIFY2(fx.store->CountVumos(condition, count), qPrintable(condition));
            QVERIFY2(count == e.count,
                     qPrintable(QStringLiteral("%1: %2 instead of %3").arg(condition).arg(count).arg(e.count)));
            // The rows of the table query under the same condition are the listings the
            // increments of moved listings assume.
            QCOMPARE(fx.clientIdsOf(condition).size(), e.count);
            QCOMPARE(fx.expectedCount(e.node), e.count);
        }

        // The no-category node under class 2 loads exactly the on-sale listings without one.
        QStringList wanted;
        for (const auto& seed : fx.listings) {
            if ((seed.status == 8 || seed.status == 520) && seed.shopCategorys.isEmpty())
                wanted << seed.clientId;
        }
        wanted.sort();
        QCOMPARE(fx.clientIdsOf(VumoNodeCondition(VumoNoCategoryNode(2))), wanted);
    }

    void countsEveryNodeAndDeliversQueued()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.seedAll());

        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        thread.SetCategoryNodes(categoryNodes());
        QList<VUMO_CLASS> classTotals;
        QObject receiver;
        connect(&thread, qOverload<VUMO_CLASS, int>(&VumoCountThread::classificationCountSignal), &receiver,
                [&classTotals](VUMO_CLASS node, int count) {
                    QCOMPARE(node.count, count);
                    classTotals.append(node);
                });
        const QList<Result> results = runCount(thread);

        // Five classes (search results are not counted unless asked), and under 2 and 3 the
        // no-category node and five category nodes.
        QCOMPARE(results.size(), 5 + 2 * 6);
        QCOMPARE(classTotals.size(), 5);
        QCOMPARE(thread.Total(), 5 + 2 * 6);
        QCOMPARE(thread.Succeeded(), 5 + 2 * 6);
        QVERIFY(!thread.Cancelled());
        for (const Result& r : results) {
            QCOMPARE(r.deliveredOn, QThread::currentThread());
            QCOMPARE(r.count, fx.expectedCount(r.node));
        }
        QVERIFY(find(results, VumoNoCategoryNode(2)));
        QVERIFY(!find(results, VumoClassNode(6)));
        QVERIFY(!find(results, VumoTopCategoryNode(1, 5))); // categories only under 2 and 3

        thread.SetCountSearch(true);
        const QList<Result> withSearch = runCount(thread);
        QVERIFY(find(withSearch, VumoClassNode(6)));
        QCOMPARE(find(withSearch, VumoClassNode(6))->count, 78);
    }

    // The GUI thread holds an open write transaction with an extra listing: the count thread
    // is not blocked by it and, reading on its own connection, does not see it.
    void ownConnectionBesideAWriteTransaction()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        for (int i = 0; i < 8; ++i) // three templates, five on sale
            QVERIFY(fx.add({QStringLiteral("l%1").arg(i), i < 3 ? 2013 : 8, QString()}));

        QVERIFY(fx.store->Transaction());
        QVERIFY(fx.add({QStringLiteral("uncommitted"), 2013, QString()}));

        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        bool finished = false;
        const QList<Result> results = runCount(thread, &finished);
        QVERIFY(fx.store->Rollback());
        QVERIFY(finished);

        QCOMPARE(results.size(), 5 + 2);
        QCOMPARE(find(results, VumoClassNode(1))->count, 3);
        QCOMPARE(find(results, VumoClassNode(2))->count, 5);
        QCOMPARE(find(results, VumoNoCategoryNode(2))->count, 5);
        for (int c : {3, 4, 5})
            QCOMPARE(find(results, VumoClassNode(c))->count, 0);
    }

    // A count that fails (a store without tables) reports nothing rather than zeros.
    void failingCountsReportNothing()
    {
        VumoTest::StoreFixture empty; // the file is never checked, so it has no tables
        QVERIFY(empty.connection);
        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(std::make_shared<Quorvia::vumo::database::VumoDb>(empty.connection));
        bool finished = false;
        QVERIFY(runCount(thread, &finished).isEmpty());
        QVERIFY(finished);
        QCOMPARE(thread.Failed(), 5 + 2);
        QCOMPARE(thread.Succeeded(), 0);
        QVERIFY(!thread.LastError().isEmpty());
    }

    void constructionWithoutStoreHasTheLocalStoreCurrent()
    {
        VumoTest::TempHome home; // nobody logged in: no shop name, no store
        VumoClassification tree;
        QCOMPARE(tree.CurrentClass(), 4);
        QCOMPARE(tree.ConditionOfNode(), VumoNodeCondition(VumoClassNode(4)));
    }

    void shopCategoriesUnderOnlineClasses()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.seedAll());

        VumoClassification tree;
        QVERIFY(refillAndWait(tree));
        const QTreeWidgetItem* onSale = tree.ClassItem(2);
        QCOMPARE(childTexts(onSale), QStringList({"夏装(新)(6)", "鞋(3)", "包(2)", "未分配店内分类(4)"}));
        QCOMPARE(childTexts(onSale->child(0)), QStringList({"T恤(2)", "裙(2)"}));
        QCOMPARE(childTexts(tree.ClassItem(3)), QStringList({"夏装(新)(24)", "鞋(8)", "包(8)", "未分配店内分类(16)"}));
        for (int c : {1, 4, 5, 6})
            QCOMPARE(tree.ClassItem(c)->childCount(), 0);
        QCOMPARE(textOf(tree, VumoClassNode(3)), QStringLiteral("线上待售商品(56)"));
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
        QCOMPARE(tree.NodeCount(VumoSubCategoryNode(3, 5, 51)), 0);
        QCOMPARE(tree.NodeCount(VumoClassNode(2)), 2);
        QCOMPARE(textOf(tree, VumoTopCategoryNode(2, 5)), QStringLiteral("夏装(新)(1)"));
        QCOMPARE(tree.NodeCount(VumoSubCategoryNode(2, 5, 51)), 1);
        QCOMPARE(tree.NodeCount(VumoTopCategoryNode(2, 15)), 2);

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

        // Nodes already at 0 keep their texts; the node above 0 still moves.
        tree.MoveCount(2, 4, QString(), QString());
        QCOMPARE(textOf(tree, VumoNoCategoryNode(2)), QStringLiteral("未分配店内分类(0)"));
        QCOMPARE(textOf(tree, VumoClassNode(2)), QStringLiteral("线上在售商品(0)"));
        QCOMPARE(tree.NodeCount(VumoClassNode(4)), 3);
    }

    void currentNodeConditionAndSwitching()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.seedAll());
        VumoClassification tree;
        QVERIFY(refillAndWait(tree));

        QSignalSpy changed(&tree, &VumoClassification::ClassificationChangedSignal);
        QTreeWidgetItem* none = tree.FindNode(VumoNoCategoryNode(2));
        QVERIFY(none);
        tree.setCurrentItem(none);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree.CurrentClass(), 2);
        QCOMPARE(tree.ConditionOfNode(), VumoNodeCondition(VumoNoCategoryNode(2))); // run by conditionsAgainstStore

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

        tree.SetCurrentClass(1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree.CurrentClass(), 1);
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
        QVERIFY(fx.seedAll());
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
    }
};

VUMO_TEST_CLASS(TestClassification)
#include "TestClassification.moc"
