// The statements of the quick and the advanced search and of the canned searches, and the range
// checks of the advanced form.
#include "support/TestMain.h"

#include "plugin/VumoSearchStatement.h"

#include <QTest>

using namespace Quorvia::vumo;

namespace {
// The table's own query with a condition.
QString table(const QString& rest)
{
    return VumoTableQuery() + rest;
}
} // namespace

class TestSearchStatement : public QObject
{
    Q_OBJECT

private slots:
    void likeTextIsEscaped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("percent") << QStringLiteral("100%") << QStringLiteral("100/%");
        QTest::newRow("slash first") << QStringLiteral("a/%") << QStringLiteral("a///%");
        QTest::newRow("quote") << QStringLiteral("Tom's") << QStringLiteral("Tom''s");
        QTest::newRow("all") << QStringLiteral("50%_off/it's") << QStringLiteral("50/%/_off//it''s");
    }
    void likeTextIsEscaped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, escaped);
        QCOMPARE(EscapeLikeText(typed), escaped);
    }

    void quickSearch_data()
    {
        QTest::addColumn<QString>("vumoId");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("itemNum");
        QTest::addColumn<qint64>("cid");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("where");

        QTest::newRow("nothing") << QString() << QString() << QString() << qint64(0) << -1 << QString();
        QTest::newRow("local store only")
            << QString() << QString() << QString() << qint64(0) << 2 << QStringLiteral("vumo_status=2014");
        QTest::newRow("number") << QStringLiteral("1234567890") << QString() << QString() << qint64(0) << -1
                                << QStringLiteral("vumo_id=1234567890 ");
        QTest::newRow("every field, on sale")
            << QStringLiteral("1234567890") << QStringLiteral("a%b") << QStringLiteral("X_1") << qint64(655) << 0
            << QStringLiteral("vumo_id=1234567890 AND title like '%a/%b%' escape '/' AND item_num like "
                              "'%X/_1%' escape '/' AND cid=655 AND (vumo_status=8 OR vumo_status=520) ");
        QTest::newRow("non-digit number stays a quoted text")
            << QStringLiteral("12' OR 1=1") << QString() << QString() << qint64(0) << -1
            << QStringLiteral("vumo_id='12'' OR 1=1' ");
    }
    void quickSearch()
    {
        QFETCH(QString, vumoId);
        QFETCH(QString, title);
        QFETCH(QString, itemNum);
        QFETCH(qint64, cid);
        QFETCH(int, status);
        QFETCH(QString, where);
        QuickSearchFields fields;
        fields.vumoId = vumoId;
        fields.title = title;
        fields.itemNum = itemNum;
        fields.cid = cid;
        fields.status = status;
        const QString statement = QuickSearchStatement(fields);
        if (where.isEmpty())
            QVERIFY(statement.isEmpty());
        else
            QCOMPARE(statement, table(QStringLiteral(" WHERE ") + where));
    }

    void advancedConditions()
    {
        AdvanceSearchFields f;
        QCOMPARE(AdvanceSearchCondition(f), QStringLiteral("where (%1)"));

        f.title = QStringLiteral("杯_");
        f.vumoId = QStringLiteral("1000000001");
        f.itemNum = QStringLiteral("K%");
        f.cid = 655;
        f.shopCategorys = QStringLiteral("12-34");
        f.skuId = QStringLiteral("2000000002");
        f.status = SearchStatusLocal;
        QCOMPARE(
            AdvanceSearchCondition(f),
            QStringLiteral("where title like '%杯/_%'  escape '/' AND vumo_id=1000000001 AND item_num like "
                           "'%K/%%' escape '/' AND cid=655 AND shop_categorys like '%12-34%' AND client_id in "
                           "(select client_id from vumo_sku where sku_id=2000000002) AND vumo_status=2014  AND (%1)"));
        AdvanceSearchFields forSale;
        forSale.status = SearchStatusForSale;
        QCOMPARE(AdvanceSearchCondition(forSale),
                 QStringLiteral("where vumo_status in (1,2,4,513,514,516,1026,1028)  AND (%1)"));
    }

    void advancedTimes()
    {
        const QDateTime from(QDate(2024, 1, 2), QTime(3, 4, 5));
        const QDateTime to(QDate(2024, 2, 3), QTime(23, 0, 0));
        AdvanceSearchFields f;
        f.onlineFrom = from;
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral(
                     "where online_time >= '2024-01-02T03:04:05' AND (vumo_status=8 OR vumo_status=520) AND (%1)"));
        f.onlineFrom = QDateTime();
        f.onlineTo = to;
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral(
                     "where online_time <= '2024-02-03T23:00:00' AND (vumo_status=8 OR vumo_status=520) AND (%1)"));
        f.onlineFrom = from;
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral("where (online_time >= '2024-01-02T03:04:05' AND online_time <= '2024-02-03T23:00:00') "
                                "AND (vumo_status=8 OR vumo_status=520) AND (%1)"));
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
        f.onlineFrom = to;
        f.onlineTo = from;
        QCOMPARE(AdvanceSearchCheck(f), QStringLiteral("终止时间需大于开始时间"));
        f.onlineTo = to; // the same moment is a valid range
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
    }

    void advancedPrices()
    {
        AdvanceSearchFields f;
        f.priceFrom = QStringLiteral("10");
        f.priceTo = QStringLiteral("20");
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
        QCOMPARE(
            AdvanceSearchCondition(f),
            QStringLiteral("where (client_id in (select client_id from vumo_sku where yv_price >= 1000 AND yv_price "
                           "<= 2000)  OR ( yv_price >= 1000 AND yv_price <= 2000)) AND (%1)"));
        f.priceFrom.clear();
        f.priceTo = QStringLiteral("19.99");
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral("where (client_id in (select client_id from vumo_sku where yv_price <= 1999) AND "
                                "(yv_price <= 1999)) AND (%1)"));
        f.priceFrom = QStringLiteral("0.5");
        f.priceTo.clear();
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral("where (client_id in (select client_id from vumo_sku where yv_price >= 50) AND "
                                "(yv_price >= 50)) AND (%1)"));
        // Blanks around a number are no reason to refuse it.
        f.priceFrom = QStringLiteral(" 7 ");
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
        QCOMPARE(AdvanceSearchCondition(f),
                 QStringLiteral("where (client_id in (select client_id from vumo_sku where yv_price >= 700) AND "
                                "(yv_price >= 700)) AND (%1)"));
    }

    void advancedStocks()
    {
        AdvanceSearchFields f;
        f.stockFrom = QStringLiteral("3");
        QCOMPARE(AdvanceSearchCondition(f), QStringLiteral("where stock_num >= 3 AND (%1)"));
        f.stockTo = QStringLiteral("9");
        QCOMPARE(AdvanceSearchCondition(f), QStringLiteral("where stock_num>=3 AND stock_num <= 9 AND (%1)"));
        f.stockFrom.clear();
        QCOMPARE(AdvanceSearchCondition(f), QStringLiteral("where stock_num <= 9 AND (%1)"));

        // stockMode 1: the stock takes no part, not even in the checks.
        f.stockMode = 1;
        f.stockFrom = QStringLiteral("9");
        f.stockTo = QStringLiteral("3");
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
        QCOMPARE(AdvanceSearchCondition(f), QStringLiteral("where (%1)"));
    }

    void rangeMessages_data()
    {
        QTest::addColumn<QString>("priceFrom");
        QTest::addColumn<QString>("priceTo");
        QTest::addColumn<QString>("stockFrom");
        QTest::addColumn<QString>("stockTo");
        QTest::addColumn<QString>("message");
        QTest::newRow("price inverted") << QStringLiteral("20") << QStringLiteral("10") << QString() << QString()
                                        << QStringLiteral("终止价格需大于开始价格");
        QTest::newRow("price cents inverted") << QStringLiteral("10.01") << QStringLiteral("10") << QString()
                                              << QString() << QStringLiteral("终止价格需大于开始价格");
        QTest::newRow("price equal") << QStringLiteral("10") << QStringLiteral("10.00") << QString() << QString()
                                     << QString();
        QTest::newRow("stock inverted") << QString() << QString() << QStringLiteral("5") << QStringLiteral("3")
                                        << QStringLiteral("终止库存需大于开始库存");
        QTest::newRow("stock equal") << QString() << QString() << QStringLiteral("5") << QStringLiteral("5")
                                     << QString();
        QTest::newRow("stock numeric not textual")
            << QString() << QString() << QStringLiteral("9") << QStringLiteral("10") << QString();
        QTest::newRow("price three decimals")
            << QStringLiteral("1.234") << QString() << QString() << QString() << QStringLiteral("请输入正确的价格");
        QTest::newRow("stock ten digits") << QString() << QString() << QStringLiteral("1234567890") << QString()
                                          << QStringLiteral("请输入正确的库存");
        QTest::newRow("both inverted: price first") << QStringLiteral("2") << QStringLiteral("1") << QStringLiteral("5")
                                                    << QStringLiteral("3") << QStringLiteral("终止价格需大于开始价格");
    }
    void rangeMessages()
    {
        QFETCH(QString, priceFrom);
        QFETCH(QString, priceTo);
        QFETCH(QString, stockFrom);
        QFETCH(QString, stockTo);
        QFETCH(QString, message);
        AdvanceSearchFields f;
        f.priceFrom = priceFrom;
        f.priceTo = priceTo;
        f.stockFrom = stockFrom;
        f.stockTo = stockTo;
        QCOMPARE(AdvanceSearchCheck(f), message);
    }

    void numberFieldTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        const int id = int(SearchNumberKind::Id);
        const int price = int(SearchNumberKind::Price);
        const int stock = int(SearchNumberKind::Stock);
        QTest::newRow("id ten digits") << id << "1234567890" << true;
        QTest::newRow("id blanks around") << id << " 1234567890 " << true;
        QTest::newRow("id nine digits") << id << "123456789" << false;
        QTest::newRow("id eleven digits") << id << "12345678901" << false;
        QTest::newRow("id letter inside") << id << "12a4567890" << false;
        QTest::newRow("price two decimals") << price << "12.34" << true;
        QTest::newRow("price leading dot") << price << ".5" << true;
        QTest::newRow("price trailing dot") << price << "5." << true;
        QTest::newRow("price nine integer digits") << price << "999999999.99" << true;
        QTest::newRow("price ten integer digits") << price << "1234567890" << false;
        QTest::newRow("price three decimals") << price << "3.456" << false;
        QTest::newRow("price negative") << price << "-5" << false;
        QTest::newRow("price plus") << price << "+5" << false;
        QTest::newRow("price exponent") << price << "1e3" << false;
        QTest::newRow("price lone dot") << price << "." << false;
        QTest::newRow("stock zero") << stock << "0" << true;
        QTest::newRow("stock decimal") << stock << "3.5" << false;
        QTest::newRow("stock ten digits") << stock << "1234567890" << false;
        QTest::newRow("stock full-width digits") << stock << "３５" << false;
    }
    void numberFieldTexts()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QCOMPARE(IsSearchNumber(SearchNumberKind(kind), text), isNumber);
    }

    void numberMessages()
    {
        QuickSearchFields quick;
        QVERIFY(QuickSearchCheck(quick).isEmpty());
        quick.vumoId = QStringLiteral("12ab");
        QCOMPARE(QuickSearchCheck(quick), QStringLiteral("请输入10位数字的商品编号"));
        quick.vumoId = QStringLiteral("1234567890");
        QVERIFY(QuickSearchCheck(quick).isEmpty());

        AdvanceSearchFields f;
        f.skuId = QStringLiteral("99");
        QCOMPARE(AdvanceSearchCheck(f), QStringLiteral("请输入10位数字的SKU编号"));
        f.vumoId = QStringLiteral("1");
        QCOMPARE(AdvanceSearchCheck(f), QStringLiteral("请输入10位数字的商品编号"));
        f.vumoId = QStringLiteral("1234567890");
        f.skuId = QStringLiteral("2000000002");
        QVERIFY(AdvanceSearchCheck(f).isEmpty());
        // A stock that is not a number is refused even where a range would be inverted too.
        f.stockFrom = QStringLiteral("3.5");
        f.stockTo = QStringLiteral("1");
        QCOMPARE(AdvanceSearchCheck(f), QStringLiteral("请输入正确的库存"));
    }

    void receivingRule()
    {
        const QString cls = QStringLiteral("vumo_status=1 or vumo_status=2014");
        QuickSearchFields quick;
        quick.status = SearchStatusLocal;
        const QString whole = QuickSearchStatement(quick);
        QVERIFY(IsWholeSearchStatement(whole));
        QCOMPARE(SearchResultsStatement(whole, cls), whole);
        QCOMPARE(SearchResultsStatement(RepeatVumoStatement(cls), cls), RepeatVumoStatement(cls));

        AdvanceSearchFields adv;
        QVERIFY(!IsWholeSearchStatement(AdvanceSearchCondition(adv)));
        QCOMPARE(SearchResultsStatement(AdvanceSearchCondition(adv), cls),
                 table(QStringLiteral("where (vumo_status=1 or vumo_status=2014)")));
        // A typed "%1" is the seller's text, not the placeholder.
        adv.title = QStringLiteral("码%1");
        QCOMPARE(
            SearchResultsStatement(AdvanceSearchCondition(adv), cls),
            table(QStringLiteral("where title like '%码/%1%'  escape '/' AND (vumo_status=1 or vumo_status=2014)")));
    }
};

VUMO_TEST_CLASS(TestSearchStatement)
#include "TestSearchStatement.moc"
