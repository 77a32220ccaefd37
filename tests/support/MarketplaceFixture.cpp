#include "MarketplaceFixture.h"

#include "TempHome.h"

#include <QDir>

using namespace Quorvia::marketplace;

namespace VumoTest {

MarketplaceFixture::MarketplaceFixture() = default;

MarketplaceFixture::~MarketplaceFixture()
{
    stop();
}

QString MarketplaceFixture::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

bool MarketplaceFixture::start(const TempHome& home, const SeedCatalogue* catalogue, const QString& seed)
{
    stop();
    m_options = MarketplaceOptions();
    m_options.port = 0;
    m_options.seed = seed;
    m_options.dataDir = home.filePath(QStringLiteral("marketplace"));
    m_options.templatesDir = home.filePath(QStringLiteral("marketplace-templates"));
    QDir().mkpath(m_options.templatesDir);
    if (catalogue) {
        m_catalogue = *catalogue;
        m_options.catalogue = &m_catalogue;
    }
    m_server = std::make_unique<MarketplaceServer>();
    if (!m_server->Start(m_options, &m_error)) {
        m_server.reset();
        return false;
    }
    m_port = m_server->Port();
    return WriteNetworkIni(home.filePath(QStringLiteral("config/network.ini")), baseUrl(), &m_error)
        && WriteLoginIni(home.filePath(QStringLiteral("config/login.ini")), m_server->Store().Seller(), &m_error);
}

bool MarketplaceFixture::restart()
{
    if (!m_server)
        return false;
    m_server.reset();
    MarketplaceOptions options = m_options;
    options.port = m_port;
    m_server = std::make_unique<MarketplaceServer>();
    if (!m_server->Start(options, &m_error)) {
        m_server.reset();
        return false;
    }
    return true;
}

void MarketplaceFixture::stop()
{
    m_server.reset();
}

SeedCatalogue MarketplaceFixture::SmallCatalogue(int listings)
{
    SeedCatalogue c;
    const DemoLogin login;
    c.seller.uid = login.uid;
    c.seller.shopName = login.shopName;
    c.seller.venderId = login.venderId;
    c.seller.shopId = login.shopId;
    c.seller.shopType = login.shopType;
    c.seller.stockMode = login.stockMode;
    c.seller.appKey = login.appKey.toUtf8();
    c.seller.appSecret = login.appSecret.toUtf8();
    c.seller.accessToken = login.accessToken.toUtf8();

    c.categories = {{1000, 0, QStringLiteral("服饰"), 1, true, 1, 1},
                    {1100, 1000, QStringLiteral("女装"), 2, true, 1, 1},
                    {1101, 1100, QStringLiteral("连衣裙"), 3, false, 1, 1},
                    {1102, 1100, QStringLiteral("半身裙"), 3, false, 2, 1},
                    {2000, 0, QStringLiteral("图书"), 1, true, 2, 1},
                    {2100, 2000, QStringLiteral("小说"), 2, true, 1, 1},
                    {2101, 2100, QStringLiteral("中国当代小说"), 3, false, 1, 1}};
    // Fields in order: aid, cid, name, key, sale, index, status, type, input type, required,
    // featured, navigation, group, features.
    for (const qint64 cid : {1101, 1102}) {
        c.attributes.append({5001, cid, QStringLiteral("品牌"), true, false, 0, 1, 0, 1, 1, 0, 0, 7000 + cid, {}});
        c.attributes.append({5002, cid, QStringLiteral("颜色"), false, true, 2, 1, 0, 2, 0, 0, 0, 0, {}});
        c.groups.append({7000 + cid, cid, QStringLiteral("基本信息"), 1, 1});
    }
    c.attributes.append({6001, 2101, QStringLiteral("作者"), false, false, 0, 1, 0, 3, 0, 0, 0, 0, {}});
    c.attrValues = {{5001, 60001, QStringLiteral("演示牌"), 1, 1, QString()},
                    {5002, 60002, QStringLiteral("红色"), 1, 1, QString()},
                    {5002, 60003, QStringLiteral("蓝色"), 1, 2, QString()}};
    c.venderAttrValues = {{5001, 69001, QStringLiteral("自有品牌"), 1, 1, QString()}};
    c.shopCategories = {{9001, 0, QStringLiteral("新品"), true, true, true, 1},
                        {9002, 9001, QStringLiteral("春季"), false, true, false, 1}};

    for (int n = 1; n <= listings; ++n) {
        SeedListing l;
        const qint64 id = 1000000000 + n;
        const QString price = QStringLiteral("%1.00").arg(10 + n);
        l.vumo = QJsonObject{
            {"vumo_id", QString::number(id)},
            {"spu_id", QString::number(id)},
            {"cid", "1101"},
            {"vender_id", "10001"},
            {"shop_id", "20001"},
            {"brand_id", "60001"},
            {"title", QStringLiteral("测试连衣裙%1").arg(n)},
            {"vumo_status", n % 5 == 0 ? "CUSTORMER_DOWN" : "ON_SALE"},
            {"status", "VALID"},
            {"item_num", QStringLiteral("ITEM-%1").arg(n)},
            {"yv_price", price},
            {"market_price", "99.90"},
            {"cost_price", "5.50"},
            {"stock_num", 7},
            {"attributes", "5001:60001"},
            {"vumo_attribute", "5001:60001^6001:0,张三,李四"},
            {"cubage", "30:20:10"},
            {"weight", "0.5"},
            {"desc",
             QStringLiteral("<p>描述%1</p><img src=\"%2/imgzone/n0/seed/%3.png\">")
                 .arg(n)
                 .arg(QLatin1String(kImageHostPlaceholder))
                 .arg(id)},
            {"logo", QStringLiteral("/imgzone/n0/seed/%1.png").arg(id)},
            {"shop_categorys", "9001-9002"},
            {"ad_content", QStringLiteral("热卖")},
            {"is_can_vat", true},
            {"is_pay_first", false},
            {"shelf_life_days", 30},
            {"vumo_pack_type", 2},
            {"vumo_big_small_model", 1},
            {"property_alias", ""},
            {"outer_id", ""},
            {"created", "2024-01-01 08:00:00"},
            {"modified", QStringLiteral("2024-01-%1 08:00:00").arg(n % 28 + 1, 2, 10, QLatin1Char('0'))}};
        l.skus.append(QJsonObject{{"sku_id", QString::number(2000000000 + n)},
                                  {"vumo_id", QString::number(id)},
                                  {"attributes", "5002:60002"},
                                  {"stock_num", 7},
                                  {"yv_price", price},
                                  {"cost_price", "5.50"},
                                  {"market_price", "99.90"},
                                  {"outer_id", QStringLiteral("OUT-%1").arg(n)},
                                  {"status", "Valid"},
                                  {"created", "2024-01-01 08:00:00"},
                                  {"modified", "2024-01-01 08:00:00"}});
        l.images.append({3000000000 + n, 0, QStringLiteral("/imgzone/n0/seed/%1.png").arg(id), true, 0});
        c.listings.append(l);
    }
    return c;
}

} // namespace VumoTest
