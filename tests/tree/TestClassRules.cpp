// Rules of the tree without widgets: class of a status, which node shows what, the
// shop-category keys of a listing, the count guard, and every node condition run against a
// seeded store.
#include "TreeStoreFixture.h"
#include "support/TestMain.h"

#include "plugin/VumoClassRules.h"

#include <QTest>

using namespace Quorvia::vumo;
using VumoTest::TreeStoreFixture;

Q_DECLARE_METATYPE(QVector<Quorvia::vumo::VumoCategoryKey>)

namespace {
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

class TestClassRules : public QObject
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

    void searchClassHoldsOnlineAndLocalStatuses()
    {
        const VumoClassMap& map = VumoClassStatusMap();
        QCOMPARE(map.keys(), QList<int>({1, 2, 3, 4, 5, 6}));
        QCOMPARE(map.value(6), map.value(3) + map.value(2) + map.value(4));
        QCOMPARE(VumoClassStatusPart(2), QStringLiteral("vumo_status=8 or vumo_status=520"));
        QCOMPARE(VumoNodeCondition(VumoClassNode(4)), QStringLiteral("(vumo_status=2014)"));
        QVERIFY(VumoNodeCondition(VumoClassNode(7)).isEmpty());
        QVERIFY(VumoNodeCondition(VUMO_CLASS()).isEmpty());
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
        for (int c = 1; c <= 6; ++c)
            QVERIFY(!VumoNodeShowsClass(VumoClassNode(6), c, cats));
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
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.seedEveryStatus());

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
            {VumoTopCategoryNode(3, 15), 8},
            {VumoTopCategoryNode(3, 52), 8},
            {VumoSubCategoryNode(3, 5, 51), 8},
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
};

VUMO_TEST_CLASS(TestClassRules)
#include "TestClassRules.moc"
