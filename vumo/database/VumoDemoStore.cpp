#include "database/VumoDemoStore.h"

#include "database/VumoDbInterface.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "entity/VumoStatus.h"

#include <QDateTime>
#include <QStringList>

namespace Quorvia::vumo::database {

using namespace Quorvia::vumo::entity;

namespace {

constexpr int kMaxListings = 1000000;

// A fixed scramble of the listing number, so neighbouring rows differ in every respect but
// listing n is always the same.
quint32 mix(quint32 x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

struct ShopCategory
{
    qint64 cid;
    qint64 parent; // 0 for a top category
    const char* name;
};

const ShopCategory kShopCategories[] = {
    {100, 0, "服装"},       {101, 100, "女装"},     {102, 100, "男装"},   {103, 100, "童装"},   {200, 0, "家居"},
    {201, 200, "厨房用品"}, {202, 200, "收纳整理"}, {300, 0, "数码配件"}, {301, 300, "手机壳"}, {302, 300, "数据线"},
    {303, 300, "耳机"},     {400, 0, "新品上市"},   {500, 0, "特价清仓"},
};

struct Product
{
    const char* noun;
    qint64 cid;        // marketplace category
    qint64 shopParent; // its usual shop category
    qint64 shopChild;
    qint64 basePrice; // hundredths
    const char* code;
    const char* skuAxis; // what the SKUs vary by
};

const Product kProducts[] = {
    {"纯棉短袖T恤", 1355, 100, 101, 5900, "TX", "颜色"},
    {"雪纺连衣裙", 1356, 100, 101, 12900, "LY", "尺码"},
    {"免烫商务衬衫", 1354, 100, 102, 15900, "CS", "尺码"},
    {"儿童防晒外套", 1357, 100, 103, 8900, "ET", "尺码"},
    {"不锈钢保温杯 500ml", 1581, 200, 201, 4900, "BW", "颜色"},
    {"麦饭石不粘炒锅", 1582, 200, 201, 16900, "CG", "规格"},
    {"透明收纳箱 三件套", 1583, 200, 202, 6900, "SN", "规格"},
    {"磨砂硅胶手机壳", 866, 300, 301, 2900, "SJ", "型号"},
    {"编织快充数据线 1.5米", 867, 300, 302, 3900, "SX", "接口"},
    {"降噪蓝牙耳机", 868, 300, 303, 19900, "EJ", "颜色"},
};

const char* const kBrands[] = {"优品生活", "简木", "北岸", "星禾", "悦然", "青柚"};
const char* const kWords[] = {"夏季新款", "经典款", "加厚", "轻薄便携", "升级版", "网红同款", "简约", "大容量"};
const char* const kTitleTags[] = {"", "包邮", "送礼佳品", "官方正品", "限时特惠", "多色可选"};
const char* const kVariants[] = {"黑色", "白色", "灰色", "蓝色", "粉色", "S", "M", "L", "XL"};
const char* const kErrors[] = {"上传失败：商品标题包含违禁词", "上传失败：类目属性值已失效", "网络超时，请稍后重试"};

// 20 slots, weighted as a shop usually looks: mostly on sale, some for sale, a few local ones.
const int kStatusSlots[20] = {8, 8, 8, 8, 8, 520, 1, 2, 4, 513, 514, 516, 1026, 1028, 2013, 2014, 2014, 2014, 2015, 8};

QString categoryName(qint64 cid)
{
    for (const ShopCategory& c : kShopCategories) {
        if (c.cid == cid)
            return QString::fromUtf8(c.name);
    }
    return QString();
}

// "12-34;56-56|服装/女装;新品上市/新品上市"
QString shopCategoryText(const QList<QPair<qint64, qint64>>& pairs)
{
    QStringList ids;
    QStringList names;
    for (const auto& pair : pairs) {
        ids << QStringLiteral("%1-%2").arg(pair.first).arg(pair.second);
        names << QStringLiteral("%1/%2").arg(categoryName(pair.first), categoryName(pair.second));
    }
    if (ids.isEmpty())
        return QString();
    return ids.join(QLatin1Char(';')) + QLatin1Char('|') + names.join(QLatin1Char(';'));
}

} // namespace

std::unique_ptr<VumoDataEntity> MakeDemoListing(int index)
{
    const quint32 h = mix(quint32(index) * 2654435761U + 17U);
    const Product& product = kProducts[h % 10];
    const int status = kStatusSlots[(h >> 4) % 20];
    const bool online = IsMarketplaceVumoStatus(status);

    auto r = std::make_unique<VumoDataEntity>();
    const QString clientId = QStringLiteral("demo-%1").arg(index, 6, 10, QLatin1Char('0'));
    r->set_client_id(clientId);
    // Ten digits, as the marketplace hands them out; a recycled listing may have had one.
    const bool hasVumoId = online || (status == VUMO_STATUS_RECYCLE_BIN && (h & 1));
    r->set_vumo_id(hasVumoId ? 1000000000LL + index : 0);
    r->set_cid(product.cid);
    r->set_vumo_status(status);
    r->set_status(online ? 2 : -1);

    QString title = QStringLiteral("%1 %2%3").arg(QString::fromUtf8(kBrands[(h >> 9) % 6]),
                                                  QString::fromUtf8(kWords[(h >> 12) % 8]),
                                                  QString::fromUtf8(product.noun));
    const QString tag = QString::fromUtf8(kTitleTags[(h >> 15) % 6]);
    if (!tag.isEmpty())
        title += QLatin1Char(' ') + tag;
    r->set_title(title);
    r->set_ad_content((h >> 18) % 3 == 0 ? QStringLiteral("满99包邮，7天无理由退换") : QString());
    r->set_item_num(QStringLiteral("QV-%1-%2").arg(QLatin1String(product.code)).arg(index, 5, 10, QLatin1Char('0')));
    r->set_outer_id(r->item_num());
    if (status == VUMO_STATUS_TEMPLATE)
        r->set_template_name(QStringLiteral("%1模板%2")
                                 .arg(QString::fromUtf8(product.noun).section(QLatin1Char(' '), 0, 0))
                                 .arg(index % 100, 2, 10, QLatin1Char('0')));

    // Prices: the SKUs may differ, which gives the listing a price range.
    const int skuCount = int((h >> 20) % 4); // 0 = single default SKU
    const qint64 base = product.basePrice + qint64((h >> 22) % 20) * 100;
    qint64 minPrice = base;
    qint64 maxPrice = base;
    qint64 stockTotal = 0;
    const bool priceRange = skuCount > 1 && ((h >> 24) & 1);
    const QDateTime modified = QDateTime(QDate(2024, 5, 1), QTime(8, 0)).addSecs(qint64(index) * 2237 % (86400 * 180));
    for (int s = 0; s < skuCount; ++s) {
        auto* sku = new VumoSkuEntity;
        sku->set_client_id(clientId);
        sku->set_vumo_id(r->vumo_id());
        sku->set_sku_id(hasVumoId ? (1000000000LL + index) * 10 + s : 0);
        sku->set_status(2);
        sku->set_attributes(QStringLiteral("1000:%1^1001:1").arg(2000 + s));
        const qint64 price = priceRange ? base + s * 350 : base;
        sku->set_yv_price(price);
        sku->set_market_price(price + product.basePrice / 2);
        sku->set_cost_price(price * 6 / 10);
        const qint64 stock = qint64((h >> (s * 3)) % 60);
        sku->set_stock_num(stock);
        sku->set_outer_id(QStringLiteral("%1-%2").arg(r->item_num(), QString::fromUtf8(kVariants[(h + s) % 9])));
        sku->set_created(modified.addDays(-30));
        sku->set_modified(modified);
        stockTotal += stock;
        maxPrice = std::max(maxPrice, price);
        r->AddSku(sku);
    }
    if (skuCount == 0)
        stockTotal = qint64((h >> 8) % 200);
    r->set_yv_price(minPrice);
    r->set_min_yvprice(minPrice);
    r->set_max_yvprice(maxPrice);
    r->set_market_price(maxPrice + product.basePrice / 2);
    r->set_cost_price((h >> 26) % 5 == 0 ? 0 : minPrice * 6 / 10);
    r->set_stock_num(stockTotal);

    // Shop categories: most have their product's own, some a second, about one in six none.
    QList<QPair<qint64, qint64>> shop;
    if ((h >> 27) % 6 != 0) {
        shop.append({product.shopParent, product.shopChild});
        if ((h >> 29) % 3 == 0)
            shop.append((h >> 30) & 1 ? QPair<qint64, qint64>(400, 400) : QPair<qint64, qint64>(500, 500));
    }
    r->set_shop_categorys(shopCategoryText(shop));

    // Upload state: what a seller sees after some edits and a few failed uploads.
    int upload = -1;
    if (status == VUMO_STATUS_TEMPLATE) {
        upload = -1;
    } else {
        switch ((h >> 5) % 8) {
        case 0:
            upload = 0;
            break;
        case 1:
            upload = 2;
            break;
        case 2:
        case 3:
            upload = 1;
            break;
        default:
            upload = -1;
            break;
        }
    }
    r->set_upload_status(upload);
    if (upload == 2)
        r->set_error_msg(QString::fromUtf8(kErrors[(h >> 7) % 3]));

    r->set_length(10 + (h >> 3) % 30);
    r->set_wide(10 + (h >> 6) % 20);
    r->set_high(5 + (h >> 11) % 20);
    r->set_weight(0.2 + double((h >> 13) % 30) / 10.0);
    r->set_created(modified.addDays(-30));
    r->set_modified(modified);
    if (online)
        r->set_online_time(modified.addDays(-1));
    r->set_attributes(QStringLiteral("1001:%1|1002:2002").arg(2000 + (h >> 14) % 5));
    // One in about twenty is missing its description, so the completeness flag varies too.
    if ((h >> 19) % 20 != 0)
        r->set_desc(
            QStringLiteral("<p>%1</p><p><img src=\"http://img.example/demo/%2.jpg\"/></p>").arg(title, clientId));
    r->set_pack_listing(QStringLiteral("%1 x1，说明书 x1").arg(QString::fromUtf8(product.noun)));
    r->set_service(QStringLiteral("全国联保，七天无理由退换"));
    r->set_producter(QString::fromUtf8(kBrands[(h >> 9) % 6]));
    r->set_wrap(QStringLiteral("纸盒"));

    const QString logo = QStringLiteral("%1-0.jpg").arg(clientId);
    r->set_logo(logo);
    for (int p = 0; p < 2; ++p) {
        auto* image = new VumoImgEntity;
        image->set_client_id(clientId);
        image->set_name(QStringLiteral("%1-%2.jpg").arg(clientId, QString::number(p)));
        image->set_img_url(online ? QStringLiteral("jfs/demo/%1-%2.jpg").arg(clientId, QString::number(p)) : QString());
        image->set_is_main(p == 0);
        image->set_state(online ? 0 : 1);
        image->set_index_id(p);
        image->set_color_id(0);
        image->set_img_id(online ? (1000000000LL + index) * 10 + p : 0);
        r->AddImage(image);
    }
    r->SetImagesOnline(online);
    return r;
}

QList<SellerCatsEntity*> MakeDemoSellerCategories()
{
    QList<SellerCatsEntity*> list;
    int index = 0;
    for (const ShopCategory& c : kShopCategories) {
        auto* category = new SellerCatsEntity;
        category->set_cid(c.cid);
        category->set_parent_id(c.parent);
        category->set_name(QString::fromUtf8(c.name));
        category->set_index_id(index++);
        bool hasChildren = false;
        for (const ShopCategory& other : kShopCategories)
            hasChildren = hasChildren || other.parent == c.cid;
        category->set_is_parent(hasChildren);
        category->set_is_open(true);
        category->set_is_home_show(c.parent == 0);
        list.append(category);
    }
    return list;
}

bool FillDemoStore(VumoDbInterface& store, int count, QString* error, VumoDemoSummary* summary)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (count < 0 || count > kMaxListings)
        return fail(QStringLiteral("商品数量必须在0到%1之间").arg(kMaxListings));

    VumoDemoSummary result;
    if (!store.Transaction())
        return fail(QStringLiteral("无法开始数据库事务"));
    QList<SellerCatsEntity*> categories = MakeDemoSellerCategories();
    const bool categoriesSaved = store.ReplaceSellerCategories(categories);
    result.sellerCategories = int(categories.size());
    qDeleteAll(categories);
    if (!categoriesSaved) {
        store.Rollback();
        return fail(QStringLiteral("保存店内分类失败"));
    }
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<VumoDataEntity> listing = MakeDemoListing(i);
        if (!store.SaveDownloadedVumo(*listing)) {
            store.Rollback();
            return fail(QStringLiteral("保存演示商品失败：%1").arg(listing->client_id()));
        }
        ++result.listings;
        ++result.byStatus[listing->vumo_status()];
        if (listing->shop_categorys().isEmpty())
            ++result.withoutShopCategory;
    }
    if (!store.Commit()) {
        store.Rollback();
        return fail(QStringLiteral("提交数据库事务失败"));
    }
    if (summary)
        *summary = result;
    return true;
}

} // namespace Quorvia::vumo::database
