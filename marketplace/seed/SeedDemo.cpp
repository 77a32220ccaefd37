// Placeholder seed so the simulator builds and runs on its own: one seller, a small tree, a
// few listings. The full demo catalogue replaces this file.
#include "SeedCatalogue.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

namespace Quorvia::marketplace {

namespace {

SeedSeller DemoSeller()
{
    SeedSeller s;
    s.uid = QStringLiteral("demo_seller");
    s.shopName = QStringLiteral("演示小店");
    s.venderId = 10001;
    s.shopId = 20001;
    s.appKey = "demo-app-key";
    s.appSecret = "demo-app-secret";
    s.accessToken = "demo-access-token";
    return s;
}

void AddTree(SeedCatalogue& c)
{
    c.categories = {{1000, 0, QStringLiteral("服饰"), 1, true, 1, 1},
                    {1100, 1000, QStringLiteral("女装"), 2, true, 1, 1},
                    {1101, 1100, QStringLiteral("连衣裙"), 3, false, 1, 1}};
    SeedAttribute brand;
    brand.aid = 5001; brand.cid = 1101; brand.name = QStringLiteral("品牌"); brand.isKeyProp = true; brand.inputType = 1;
    SeedAttribute colour;
    colour.aid = 5002; colour.cid = 1101; colour.name = QStringLiteral("颜色"); colour.isSaleProp = true; colour.inputType = 2;
    c.attributes = {brand, colour};
    c.attrValues = {{5001, 60001, QStringLiteral("演示牌"), 1, 1, QString()},
                    {5002, 60002, QStringLiteral("红色"), 1, 1, QString()}};
    c.groups = {{7001, 1101, QStringLiteral("基本信息"), 1, 1}};
    c.shopCategories = {{9001, 0, QStringLiteral("新品"), false, true, false, 1}};
}

} // namespace

SeedCatalogue MakeSeedCatalogue(const QString& kind, int listings, bool* ok)
{
    SeedCatalogue c;
    const bool known = kind == QLatin1String("demo") || kind == QLatin1String("empty") || kind == QLatin1String("scale");
    if (ok)
        *ok = known;
    if (!known)
        return c;
    c.seller = DemoSeller();
    AddTree(c);
    const int count = kind == QLatin1String("empty") ? 0 : kind == QLatin1String("scale") ? listings : 3;
    for (int i = 0; i < count; ++i) {
        SeedListing l;
        const qint64 id = 1000000001 + i;
        const QString pic = QStringLiteral("/imgzone/n0/seed/%1.png").arg(id);
        l.vumo = QJsonObject{{"vumo_id", QString::number(id)}, {"cid", "1101"}, {"title", QStringLiteral("演示连衣裙 %1").arg(i + 1)},
                             {"vumo_status", "ON_SALE"}, {"status", "VALID"}, {"yv_price", "129.00"},
                             {"market_price", "199.00"}, {"cost_price", "80.00"}, {"stock_num", 10},
                             {"logo", pic}, {"created", "2024-01-01 10:00:00"}, {"modified", "2024-01-02 10:00:00"},
                             {"cubage", "10:20:30"}, {"vender_id", "10001"}, {"shop_id", "20001"}};
        l.skus.append(QJsonObject{{"sku_id", QString::number(2000000001 + i)}, {"vumo_id", QString::number(id)},
                                  {"attributes", "5002:60002"}, {"stock_num", 10}, {"yv_price", "129.00"},
                                  {"cost_price", "80.00"}, {"market_price", "199.00"},
                                  {"outer_id", QStringLiteral("SEED-%1").arg(i + 1)}, {"status", "Valid"},
                                  {"created", "2024-01-01 10:00:00"}, {"modified", "2024-01-02 10:00:00"}});
        l.images.append(SeedImage{3000000001 + i, 0, pic, true, 0});
        c.listings.append(l);
    }
    return c;
}

bool RenderSeedPicture(const QString& path, QByteArray* bytes, QByteArray* contentType)
{
    static const QRegularExpression seeded(QStringLiteral("^/imgzone/(n[025])/seed/([0-9]+)\\.png$"));
    const QRegularExpressionMatch match = seeded.match(path);
    if (!match.hasMatch())
        return false;
    const int size = match.captured(1) == QLatin1String("n0") ? 800 : match.captured(1) == QLatin1String("n2") ? 350 : 160;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(int(match.captured(2).toLongLong() % 360), 120, 230));
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    *contentType = "image/png";
    return true;
}

} // namespace Quorvia::marketplace
