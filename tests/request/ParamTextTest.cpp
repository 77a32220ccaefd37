// Parameter texts of the listing operations.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "network/utils/YvJsonParser.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "request/ParamText.h"
#include "request/PopVumoAdd.h"
#include "request/PopVumoGetAttribute.h"
#include "request/PopVumoPropimgAdd.h"
#include "request/PopVumoPropimgUpdate.h"
#include "request/PopVumoRedCommentSync.h"
#include "request/PopVumoSkuPriceUpdate.h"
#include "request/PopVumoUpdate.h"
#include "request/PopVumosSearch.h"
#include "utils/SellerPaths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Quorvia::vumo::request;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

QVariantMap ParseObject(QByteArray text)
{
    QVariant value;
    Quorvia::utils::YvJsonParser parser;
    if (!parser.parse(text, value, true))
        return {};
    return value.toMap();
}

// The member names of a flat parameter text, in the order written.
QStringList MemberOrder(const QByteArray& text)
{
    QStringList names;
    static const QRegularExpression member(QStringLiteral("[{,] ?\"([a-z_]+)\":\""));
    for (auto it = member.globalMatch(QString::fromUtf8(text)); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

VumoSkuEntity* Sku(qint64 price, qint64 stock, const QString& attributes, const QString& outerId)
{
    auto* sku = new VumoSkuEntity;
    sku->set_yv_price(price);
    sku->set_stock_num(stock);
    sku->set_attributes(attributes);
    sku->set_outer_id(outerId);
    return sku;
}

} // namespace

class ParamTextTest : public QObject
{
    Q_OBJECT

private slots:
    void typedTextsAreEscaped()
    {
        QCOMPARE(EscapeJsonText(QStringLiteral("a\\b\"c/d\be\ff\rg\nh\ti")),
                 QStringLiteral("a\\\\b\\\"c\\/d\\be\\ff\\rg\\nh\\ti"));
        QCOMPARE(EscapeJsonText(QStringLiteral("中文 plain")), QStringLiteral("中文 plain"));
        // Other control characters would make the text invalid JSON.
        QCOMPARE(EscapeJsonText(QString(QChar(0x01))), QStringLiteral("\\u0001"));
        QCOMPARE(ParamText().Close(), QByteArrayLiteral("{}"));
        QCOMPARE(ParamText().AddText("t", QStringLiteral("x\"y")).AddFlag("f", false).Close(),
                 QByteArrayLiteral("{\"t\":\"x\\\"y\",\"f\":\"false\"}"));
    }

    void searchSendsOnlyTheConditionsGiven()
    {
        PopVumosSearch search;
        search.SetEndTime(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
        QCOMPARE(search.GetParamJson(),
                 QByteArrayLiteral("{\"page\":\"1\",\"page_size\":\"40\",\"start_time\":\"1970-01-01 00:00:00\","
                                   "\"end_time\":\"2024-05-06 07:08:09\",\"fields\":\"vumo_id,status\"}"));

        search.SetPage(3);
        search.SetPageSize(20);
        search.SetStartPrice(10);
        search.SetEndPrice(99);
        search.SetTitle(QStringLiteral("红\"T恤\""));
        search.SetCid(1355);
        search.SetVumoStatus(8);
        search.SetStartTime(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
        const QByteArray text = search.GetParamJson();
        QCOMPARE(MemberOrder(text),
                 QStringList({"page", "page_size", "start_price", "end_price", "title", "cid", "vumo_status",
                              "start_time", "end_time", "fields"}));
        QCOMPARE(ParseObject(text).value("title").toString(), QStringLiteral("红\"T恤\""));

        // Zero or negative conditions count as not given.
        search.SetStartPrice(-1);
        search.SetCid(-1);
        search.SetVumoStatus(0);
        search.SetTitle(QString());
        QCOMPARE(MemberOrder(search.GetParamJson()),
                 QStringList({"page", "page_size", "end_price", "start_time", "end_time", "fields"}));
    }

    void getAsksForTheListingFields()
    {
        PopVumoGet get;
        get.SetVumoId(1000123456);
        const QVariantMap map = ParseObject(get.GetParamJson());
        QCOMPARE(map.value("vumo_id").toString(), QStringLiteral("1000123456"));
        QStringList fields = map.value("fields").toString().split(QLatin1Char(','));
        QCOMPARE(fields.size(), 47);
        QCOMPARE(fields.removeDuplicates(), 0);
        PopVumoGetAttribute attributes;
        attributes.SetVumoId(7);
        QCOMPARE(attributes.GetParamJson(), QByteArrayLiteral("{\"vumo_id\":\"7\",\"fields\":\"attributes\"}"));
    }

    void priceUpdateWithAndWithoutMarketPrice()
    {
        PopVumoSkuPriceUpdate update;
        update.SetSkuId(1234567);
        update.SetPrice(1250);
        QCOMPARE(update.GetParamJson(), QByteArrayLiteral("{\"sku_id\":\"1234567\",\"price\":\"12.50\"}"));
        update.SetMarketPrice(1999);
        QCOMPARE(update.GetParamJson(),
                 QByteArrayLiteral("{\"sku_id\":\"1234567\",\"price\":\"12.50\",\"market_price\":\"19.99\"}"));
    }

    void propertyImagesSendZeroValueIdAsTenZeros()
    {
        PopVumoPropimgAdd add;
        add.SetVumoId(11);
        add.SetAttributeValueId(0);
        add.SetIsMainPic(true);
        QCOMPARE(
            add.GetParamJson(),
            QByteArrayLiteral("{\"vumo_id\":\"11\",\"attribute_value_id\":\"0000000000\",\"is_main_pic\":\"true\"}"));
        PopVumoPropimgUpdate update;
        update.SetVumoId(11);
        update.SetAttributeValueId(0);
        update.SetImageId(99);
        QCOMPARE(update.GetParamJson(),
                 QByteArrayLiteral("{\"vumo_id\":\"11\",\"attribute_value_id\":\"0000000000\",\"is_main_pic\":"
                                   "\"false\",\"image_id\":\"99\"}"));
    }

    void commentSyncText()
    {
        PopVumoRedCommentSync sync;
        sync.SetSkuPair(111, 222);
        sync.SetVenderId(3);
        sync.SetShopId(4);
        QCOMPARE(sync.GetParamJson(),
                 QByteArrayLiteral(
                     "{\"original_skuid\":\"111\", \"red_skuid\":\"222\", \"vender_id\":\"3\", \"shop_id\":\"4\"}"));
        Quorvia::network::request::ParamMap params;
        sync.FillParams(params);
        QCOMPARE(params.value("v"), QByteArrayLiteral("1.0"));
        QCOMPARE(params.value("method"), QByteArrayLiteral("quorvia.good.synchro"));
    }

    void listingTextForAddAndUpdate()
    {
        VumoDataEntity vumo;
        vumo.set_title(QStringLiteral("新款\"连衣裙\"\n2024/夏"));
        vumo.set_ad_content(QStringLiteral("包邮"));
        vumo.set_cid(1355);
        vumo.set_vumo_id(1000000001);
        vumo.set_stock_num(30);
        vumo.set_weight(1.25);
        vumo.set_attributes(QStringLiteral("1001:2001|1002:2002,2003"));
        vumo.set_yv_price(9900);
        vumo.set_desc(QStringLiteral("<p style=\"a\">x</p>"));
        vumo.set_is_pay_first(true);
        vumo.set_shelf_life_days(30);
        vumo.AddSku(Sku(9900, 10, QStringLiteral("1000:1^2000:2"), QStringLiteral("A-1")));
        vumo.AddSku(Sku(10900, 20, QStringLiteral("1000:1^2000:3"), QString()));
        vumo.AddSku(Sku(11900, 0, QStringLiteral("1000:4^2000:3"), QStringLiteral("C-3")));

        PopVumoUpdate update;
        update.SetVumo(&vumo);
        update.SetUploadMode(IPopVumoUpload::UploadOffSale);
        const QByteArray text = update.GetParamJson();
        QCOMPARE(
            MemberOrder(text).join(QLatin1Char(',')),
            QStringLiteral("ad_content,property_alias,stock_num,service,pack_listing,weight,high,wide,length,wrap,"
                           "producter,item_num,upc_code,title,vumo_id,attributes,yv_price,option_type,notes,sku_prices,"
                           "sku_properties,sku_stocks,outer_id,is_can_vat,is_special_wet,is_pay_first,is_imported,"
                           "is_appliances_card,is_health_product,is_serial_no,is_shelf_life,shelf_life_days,"
                           "vumo_big_small_model,vumo_pack_type"));

        const QVariantMap map = ParseObject(text);
        QVERIFY2(!map.isEmpty(), text.constData()); // the whole text is valid JSON
        QCOMPARE(map.value("title").toString(), vumo.title());
        QCOMPARE(map.value("notes").toString(), vumo.desc());
        QCOMPARE(map.value("weight").toString(), QStringLiteral("1.25"));
        QCOMPARE(map.value("yv_price").toString(), QStringLiteral("99.00"));
        QCOMPARE(map.value("option_type").toString(), QStringLiteral("offsale"));
        QCOMPARE(map.value("sku_prices").toString(), QStringLiteral("99.00|109.00|119.00"));
        QCOMPARE(map.value("sku_stocks").toString(), QStringLiteral("10|20|0"));
        QCOMPARE(map.value("sku_properties").toString(), QStringLiteral("1000:1^2000:2|1000:1^2000:3|1000:4^2000:3"));
        QCOMPARE(map.value("outer_id").toString(), QStringLiteral("A-1| |C-3"));
        QCOMPARE(map.value("is_pay_first").toString(), QStringLiteral("true"));
        QVERIFY(!map.contains("cid") && !map.contains("vumo_image") && !map.contains("cost_price"));

        // Upload mode 1 puts the listing on sale; mode 0 says nothing about it.
        update.SetUploadMode(IPopVumoUpload::UploadOnSale);
        QCOMPARE(ParseObject(update.GetParamJson()).value("option_type").toString(), QStringLiteral("onsale"));
        update.SetUploadMode(IPopVumoUpload::UploadOnly);
        QVERIFY(!ParseObject(update.GetParamJson()).contains("option_type"));

        // Without SKUs the listing's own outer id goes out.
        vumo.ClearSkus();
        vumo.set_outer_id(QStringLiteral("OWN-1"));
        PopVumoAdd add;
        add.SetVumo(&vumo);
        const QVariantMap added = ParseObject(add.GetParamJson());
        QCOMPARE(added.value("outer_id").toString(), QStringLiteral("OWN-1"));
        QCOMPARE(added.value("cid").toString(), QStringLiteral("1355"));
        QVERIFY(!added.contains("vumo_id") && !added.contains("sku_prices"));
    }

    void addCarriesTheLocalMainPicture()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Quorvia::utils::AppShareHelp::instance()->Reload();
        const QString folder = Quorvia::utils::SellerImageFolder(Quorvia::utils::AppShareHelp::instance()->GetUid());
        if (folder.isEmpty())
            QSKIP("AppShare service not available beside the test");
        QVERIFY(Quorvia::utils::EnsureFolder(folder));
        const QByteArray picture("\x89PNG\r\n\x1a\n-picture-bytes", 23);
        QVERIFY(VumoTest::WriteBytes(QDir(folder).filePath(QStringLiteral("main.png")), picture));
        QVERIFY(VumoTest::WriteBytes(QDir(folder).filePath(QStringLiteral("empty.png")), QByteArray()));

        VumoDataEntity vumo;
        vumo.set_cid(1);
        PopVumoAdd add;
        add.SetVumo(&vumo);

        vumo.set_logo(QStringLiteral("main.png"));
        QByteArray text = add.GetParamJson();
        QCOMPARE(ParseObject(text).value("vumo_image").toString(), QString::fromLatin1(picture.toBase64()));
        QCOMPARE(MemberOrder(text).last(), QStringLiteral("vumo_image"));
        vumo.set_logo(QDir(folder).filePath(QStringLiteral("main.png"))); // absolute path
        QVERIFY(ParseObject(add.GetParamJson()).contains("vumo_image"));

        for (const QString& logo : {QStringLiteral("http://img.example/n1/main.png"), QStringLiteral("empty.png"),
                                    QStringLiteral("missing.png")}) {
            vumo.set_logo(logo);
            text = add.GetParamJson();
            QVERIFY2(!ParseObject(text).contains("vumo_image"), qPrintable(logo));
            QVERIFY(!text.isEmpty() && ParseObject(text).contains("cid"));
        }

        // An update never sends the picture.
        vumo.set_logo(QStringLiteral("main.png"));
        PopVumoUpdate update;
        update.SetVumo(&vumo);
        QVERIFY(!ParseObject(update.GetParamJson()).contains("vumo_image"));
        Quorvia::utils::AppShareHelp::instance()->Reload();
    }
};

VUMO_TEST_CLASS(ParamTextTest)
#include "ParamTextTest.moc"
