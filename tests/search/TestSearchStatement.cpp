// The statements of the quick and the advanced search and of the canned searches, and the range
// checks of the advanced form.
#include "support/TestMain.h"

#include "plugin/VumoSearchStatement.h"

#include <QHash>
#include <QTest>

using namespace Quorvia::vumo;

namespace {
// The table's own query with a condition.
QString table(const QString& rest)
{
    return VumoTableQuery() + rest;
}

// An advanced form from "field=value" entries; times in ISO form.
AdvanceSearchFields advancedForm(const QStringList& entries)
{
    AdvanceSearchFields f;
    const QHash<QString, QString*> texts = {{"title", &f.title},     {"vumoId", &f.vumoId},
                                            {"itemNum", &f.itemNum}, {"shopCategorys", &f.shopCategorys},
                                            {"skuId", &f.skuId},     {"priceFrom", &f.priceFrom},
                                            {"priceTo", &f.priceTo}, {"stockFrom", &f.stockFrom},
                                            {"stockTo", &f.stockTo}};
    for (const QString& entry : entries) {
        const QString key = entry.section(QLatin1Char('='), 0, 0);
        const QString value = entry.section(QLatin1Char('='), 1);
        if (QString* text = texts.value(key))
            *text = value;
        else if (key == QLatin1String("cid"))
            f.cid = value.toLongLong();
        else if (key == QLatin1String("status"))
            f.status = value.toInt();
        else if (key == QLatin1String("stockMode"))
            f.stockMode = value.toInt();
        else if (key == QLatin1String("onlineFrom"))
            f.onlineFrom = QDateTime::fromString(value, Qt::ISODate);
        else if (key == QLatin1String("onlineTo"))
            f.onlineTo = QDateTime::fromString(value, Qt::ISODate);
        else
            qFatal("unknown form field %s", qPrintable(key));
    }
    return f;
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

    // The advanced form: the condition of a form that passes the checks, or the message of one
    // that does not. A null condition is not compared.
    void advancedSearch_data()
    {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("message");
        const QString onSale = QStringLiteral(" AND (vumo_status=8 OR vumo_status=520) AND (%1)");
        const QString price = QStringLiteral("终止价格需大于开始价格");
        const QString stock = QStringLiteral("终止库存需大于开始库存");
        QTest::newRow("empty") << QStringList() << QStringLiteral("where (%1)") << QString();
        QTest::newRow("every text field")
            << QStringList{"title=杯_",           "vumoId=1000000001", "itemNum=K%", "cid=655",
                           "shopCategorys=12-34", "skuId=2000000002",  "status=2"}
            << QStringLiteral("where title like '%杯/_%'  escape '/' AND vumo_id=1000000001 AND item_num like "
                              "'%K/%%' escape '/' AND cid=655 AND shop_categorys like '%12-34%' AND client_id in "
                              "(select client_id from vumo_sku where sku_id=2000000002) AND vumo_status=2014  AND (%1)")
            << QString();
        QTest::newRow("for sale") << QStringList{"status=1"}
                                  << QStringLiteral("where vumo_status in (1,2,4,513,514,516,1026,1028)  AND (%1)")
                                  << QString();
        QTest::newRow("online from") << QStringList{"onlineFrom=2024-01-02T03:04:05"}
                                     << QStringLiteral("where online_time >= '2024-01-02T03:04:05'") + onSale
                                     << QString();
        QTest::newRow("online to") << QStringList{"onlineTo=2024-02-03T23:00:00"}
                                   << QStringLiteral("where online_time <= '2024-02-03T23:00:00'") + onSale
                                   << QString();
        QTest::newRow("online both") << QStringList{"onlineFrom=2024-01-02T03:04:05", "onlineTo=2024-02-03T23:00:00"}
                                     << QStringLiteral("where (online_time >= '2024-01-02T03:04:05' AND online_time <= "
                                                       "'2024-02-03T23:00:00')")
                + onSale << QString();
        QTest::newRow("online inverted") << QStringList{"onlineFrom=2024-02-03T23:00:00",
                                                        "onlineTo=2024-01-02T03:04:05"}
                                         << QString() << QStringLiteral("终止时间需大于开始时间");
        QTest::newRow("online same moment")
            << QStringList{"onlineFrom=2024-02-03T23:00:00", "onlineTo=2024-02-03T23:00:00"} << QString() << QString();
        QTest::newRow("price both") << QStringList{"priceFrom=10", "priceTo=20"}
                                    << QStringLiteral(
                                           "where (client_id in (select client_id from vumo_sku where yv_price "
                                           ">= 1000 AND yv_price <= 2000)  OR ( yv_price >= 1000 AND "
                                           "yv_price <= 2000)) AND (%1)")
                                    << QString();
        // One bound: the SKUs' prices, and the listing's own.
        const auto oneBound = [](const QString& c) {
            return QStringLiteral("where (client_id in (select client_id from vumo_sku where %1) AND (%1)) AND (%2)")
                .arg(c, QStringLiteral("%1"));
        };
        QTest::newRow("price to") << QStringList{"priceTo=19.99"} << oneBound("yv_price <= 1999") << QString();
        QTest::newRow("price from") << QStringList{"priceFrom=0.5"} << oneBound("yv_price >= 50") << QString();
        // Blanks around a number are no reason to refuse it.
        QTest::newRow("price blanks") << QStringList{"priceFrom= 7 "} << oneBound("yv_price >= 700") << QString();
        QTest::newRow("stock from") << QStringList{"stockFrom=3"} << QStringLiteral("where stock_num >= 3 AND (%1)")
                                    << QString();
        QTest::newRow("stock both") << QStringList{"stockFrom=3", "stockTo=9"}
                                    << QStringLiteral("where stock_num>=3 AND stock_num <= 9 AND (%1)") << QString();
        QTest::newRow("stock to") << QStringList{"stockTo=9"} << QStringLiteral("where stock_num <= 9 AND (%1)")
                                  << QString();
        // stockMode 1: the stock takes no part, not even in the checks.
        QTest::newRow("stock not managed")
            << QStringList{"stockMode=1", "stockFrom=9", "stockTo=3"} << QStringLiteral("where (%1)") << QString();
        QTest::newRow("price inverted") << QStringList{"priceFrom=20", "priceTo=10"} << QString() << price;
        QTest::newRow("price cents inverted") << QStringList{"priceFrom=10.01", "priceTo=10"} << QString() << price;
        QTest::newRow("price equal") << QStringList{"priceFrom=10", "priceTo=10.00"} << QString() << QString();
        QTest::newRow("stock inverted") << QStringList{"stockFrom=5", "stockTo=3"} << QString() << stock;
        QTest::newRow("stock equal") << QStringList{"stockFrom=5", "stockTo=5"} << QString() << QString();
        QTest::newRow("stock numeric not textual")
            << QStringList{"stockFrom=9", "stockTo=10"} << QString() << QString();
        QTest::newRow("price three decimals")
            << QStringList{"priceFrom=1.234"} << QString() << QStringLiteral("请输入正确的价格");
        QTest::newRow("stock ten digits")
            << QStringList{"stockFrom=1234567890"} << QString() << QStringLiteral("请输入正确的库存");
        QTest::newRow("both inverted: price first")
            << QStringList{"priceFrom=2", "priceTo=1", "stockFrom=5", "stockTo=3"} << QString() << price;
        QTest::newRow("sku number") << QStringList{"skuId=99"} << QString()
                                    << QStringLiteral("请输入10位数字的SKU编号");
        QTest::newRow("listing number first")
            << QStringList{"vumoId=1", "skuId=99"} << QString() << QStringLiteral("请输入10位数字的商品编号");
        QTest::newRow("both numbers right")
            << QStringList{"vumoId=1234567890", "skuId=2000000002"} << QString() << QString();
        // A stock that is not a number is refused even where a range would be inverted too.
        QTest::newRow("stock not a number before inverted")
            << QStringList{"stockFrom=3.5", "stockTo=1"} << QString() << QStringLiteral("请输入正确的库存");
    }
    void advancedSearch()
    {
        QFETCH(QStringList, form);
        QFETCH(QString, condition);
        QFETCH(QString, message);
        const AdvanceSearchFields f = advancedForm(form);
        QCOMPARE(AdvanceSearchCheck(f), message);
        if (!condition.isNull())
            QCOMPARE(AdvanceSearchCondition(f), condition);
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

    void quickNumberMessage()
    {
        QuickSearchFields quick;
        QVERIFY(QuickSearchCheck(quick).isEmpty());
        quick.vumoId = QStringLiteral("12ab");
        QCOMPARE(QuickSearchCheck(quick), QStringLiteral("请输入10位数字的商品编号"));
        quick.vumoId = QStringLiteral("1234567890");
        QVERIFY(QuickSearchCheck(quick).isEmpty());
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
