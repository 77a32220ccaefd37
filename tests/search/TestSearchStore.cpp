// The search statements run against a real store: typed "%", "_", "/" and "'" match only
// literally, the status choice does not swallow the other conditions, and the canned searches
// return rows.
#include "support/TestMain.h"

#include "database/VumoStoreFixture.h"
#include "plugin/VumoSearchStatement.h"

#include <QTest>

using namespace Quorvia::vumo;
using namespace VumoTest;

namespace {
// The statuses of the search-results class: for sale, on sale, local store.
const QString kSearchClass = QStringLiteral(
    "vumo_status=1 or vumo_status=2 or vumo_status=4 or vumo_status=513 or vumo_status=514 or "
    "vumo_status=516 or vumo_status=1026 or vumo_status=1028 or vumo_status=8 or vumo_status=520 or "
    "vumo_status=2014");
} // namespace

class TestSearchStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<StoreFixture> f;
    VumoDb* store = nullptr;

    void add(const QString& clientId, qint64 vumoId, const QString& title, int status,
             const QString& itemNum = QString(), const QString& shopCats = QString())
    {
        auto record = makeListing(clientId, vumoId);
        record->set_title(title);
        record->set_vumo_status(status);
        record->set_item_num(itemNum);
        record->set_shop_categorys(shopCats);
        QString message;
        QVERIFY2(store->SaveVumo(*record, &message), qPrintable(message));
    }

    QStringList found(const QString& statement) { return ClientIdsOf(*store, statement); }

    QStringList quickTitle(const QString& title, int status = SearchStatusNone)
    {
        QuickSearchFields fields;
        fields.title = title;
        fields.status = status;
        return found(QuickSearchStatement(fields));
    }
    QStringList advanced(const AdvanceSearchFields& fields)
    {
        return found(SearchResultsStatement(AdvanceSearchCondition(fields), kSearchClass));
    }
    static QStringList ids(const char* list) { return QString::fromLatin1(list).split(QLatin1Char(' ')); }

private slots:
    void init()
    {
        f = std::make_unique<StoreFixture>();
        store = f->make();
        QVERIFY(store->CheckDatabase());
        add(QStringLiteral("c01"), 1000000001, QStringLiteral("100%纯棉T恤"), 2014, QStringLiteral("K_1"));
        add(QStringLiteral("c02"), 1000000002, QStringLiteral("100元纯棉T恤"), 2014, QStringLiteral("KX1"));
        add(QStringLiteral("c03"), 1000000003, QStringLiteral("a_b杯"), 2014);
        add(QStringLiteral("c04"), 1000000004, QStringLiteral("axb杯"), 2014);
        add(QStringLiteral("c05"), 1000000005, QStringLiteral("Tom's 杯"), 2014);
        add(QStringLiteral("c06"), 1000000006, QStringLiteral("Toms 杯"), 2014, QString(), QStringLiteral("12-34"));
        add(QStringLiteral("c07"), 1000000007, QStringLiteral("甲"), 520);
        add(QStringLiteral("c08"), 1000000008, QStringLiteral("乙"), 520);
        add(QStringLiteral("c09"), 1000000009, QStringLiteral("甲"), 1);
        add(QStringLiteral("c10"), 1000000010, QStringLiteral("路径a/b"), 2014);
        add(QStringLiteral("c11"), 1000000011, QStringLiteral("路径ab"), 2014);
        add(QStringLiteral("c12"), 1000000012, QStringLiteral("码%1号"), 8);
        add(QStringLiteral("c13"), 1000000013, QStringLiteral("甲"), 2015);
        QVERIFY(f->exec(QStringLiteral("UPDATE vumo_sku SET yv_price=3000 WHERE client_id='c08'")));
        QVERIFY(f->exec(QStringLiteral("UPDATE vumo_data SET yv_price=3000 WHERE client_id='c08'")));
    }
    void cleanup() { f.reset(); }

    void typedWildcardsMatchLiterally()
    {
        QCOMPARE(quickTitle(QStringLiteral("100%纯棉")), ids("c01"));
        QCOMPARE(quickTitle(QStringLiteral("a_b")), ids("c03"));
        QCOMPARE(quickTitle(QStringLiteral("a/b")), ids("c10"));
        QCOMPARE(quickTitle(QStringLiteral("Tom's")), ids("c05"));
        QCOMPARE(quickTitle(QStringLiteral("纯棉")), ids("c01 c02"));

        QuickSearchFields byItem;
        byItem.itemNum = QStringLiteral("K_");
        QCOMPARE(found(QuickSearchStatement(byItem)), ids("c01"));

        AdvanceSearchFields adv;
        adv.title = QStringLiteral("100%");
        QCOMPARE(advanced(adv), ids("c01"));
        adv.title = QStringLiteral("%1");
        QCOMPARE(advanced(adv), ids("c12"));
        adv.title = QStringLiteral("'");
        QCOMPARE(advanced(adv), ids("c05"));
    }

    void statusChoiceNarrowsTheOtherFields()
    {
        QCOMPARE(quickTitle(QStringLiteral("甲"), SearchStatusOnSale), ids("c07"));
        QCOMPARE(quickTitle(QStringLiteral("甲"), SearchStatusForSale), ids("c09"));
        QCOMPARE(quickTitle(QStringLiteral("甲")), ids("c07 c09 c13"));

        AdvanceSearchFields adv;
        adv.title = QStringLiteral("甲");
        adv.status = SearchStatusOnSale;
        QCOMPARE(advanced(adv), ids("c07"));
        // The recycle bin is outside the search results.
        adv.status = SearchStatusNone;
        QCOMPARE(advanced(adv), ids("c07 c09"));
    }

    void advancedRangesAndIdentifiers()
    {
        AdvanceSearchFields adv;
        adv.status = SearchStatusOnSale;
        adv.priceFrom = QStringLiteral("10");
        adv.priceTo = QStringLiteral("20");
        QCOMPARE(advanced(adv), ids("c07 c12"));
        adv.priceFrom = QStringLiteral("25");
        adv.priceTo = QStringLiteral("30");
        QCOMPARE(advanced(adv), ids("c08"));

        AdvanceSearchFields bySku;
        bySku.skuId = QStringLiteral("10000000071");
        QCOMPARE(advanced(bySku), ids("c07"));
        AdvanceSearchFields byShop;
        byShop.shopCategorys = QStringLiteral("12-34");
        QCOMPARE(advanced(byShop), ids("c06"));

        QuickSearchFields byId;
        byId.vumoId = QStringLiteral("1000000008");
        QCOMPARE(found(QuickSearchStatement(byId)), ids("c08"));
        // Text in an identifier field finds nothing and breaks nothing.
        byId.vumoId = QStringLiteral("1' OR '1'='1");
        QCOMPARE(found(QuickSearchStatement(byId)), QStringList());
    }

    void cannedSearchesReturnRows()
    {
        // c13 shares the title but lies in the recycle bin, outside the class.
        QCOMPARE(found(RepeatVumoStatement(kSearchClass)), ids("c07 c09"));
        QCOMPARE(found(RepeatVumoStatement(QStringLiteral("vumo_status=2014"))), QStringList());
        QVERIFY(f->exec(QStringLiteral("UPDATE vumo_data SET shop_categorys=NULL WHERE client_id='c04'")));
        QCOMPARE(found(NoShopCategoryStatement(QStringLiteral("vumo_status=2014"))),
                 ids("c01 c02 c03 c04 c05 c10 c11"));
    }
};

VUMO_TEST_CLASS(TestSearchStore)
#include "TestSearchStore.moc"
