#pragma once
// What a simulator seed hands the marketplace store on first start. Plain data, filled by
// MakeSeedCatalogue; the store owns everything afterwards (uploads change the store, not this).
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

namespace Quorvia::marketplace {

// The one seller of a seed and the application registered for it.
struct SeedSeller
{
    QString uid;      // workbench user id, e.g. "demo_seller"
    QString shopName; // e.g. "演示小店"
    qint64 venderId = 0;
    qint64 shopId = 0;
    int shopType = 0;
    int stockMode = -1;
    QByteArray appKey;
    QByteArray appSecret;
    QByteArray accessToken;
};

// Marketplace category tree node (the "item_cats" / "category" member shape).
struct SeedCategory
{
    qint64 id = 0;
    qint64 fid = 0; // parent id, 0 at the top
    QString name;
    int lev = 1; // 1..3
    bool isParent = false;
    int indexId = 0;
    int status = 1;
};

// Attribute of a leaf category (the "attributes" member shape).
struct SeedAttribute
{
    qint64 aid = 0;
    qint64 cid = 0;
    QString name;
    bool isKeyProp = false;
    bool isSaleProp = false;
    int indexId = 0;
    int status = 1;
    int attType = 0;
    int inputType = 0;
    int isReq = 0;
    int isFet = 0;
    int isNav = 0;
    qint64 groupId = 0;
    QString features;
};

// Value of an attribute (the "att_values" member shape).
struct SeedAttrValue
{
    qint64 aid = 0;
    qint64 vid = 0;
    QString name;
    int status = 1;
    int indexId = 0;
    QString features;
};

// Attribute group of a category (the "groups" member shape).
struct SeedGroup
{
    qint64 groupId = 0;
    qint64 cid = 0;
    QString name;
    int status = 1;
    int indexId = 0;
};

// The seller's own shop category (the "shopCats" member shape).
struct SeedShopCategory
{
    qint64 cid = 0;
    qint64 parentId = 0;
    QString name;
    bool isParent = false;
    bool isOpen = true;
    bool isHomeShow = false;
    int indexId = 0;
};

// A picture of a listing on the image host. `path` starts with "/imgzone/"; a path with
// "/n0/" is the full-size variant, the host derives "/n2/" and "/n5/" from it.
struct SeedImage
{
    qint64 imageId = 0;
    qint64 attributeValueId = 0; // 0: the listing's own main pictures, else a colour value id
    QString path;
    bool isMain = false;
    int indexId = 0;
};

// Text that stands for the image host's base URL ("http://127.0.0.1:PORT", no trailing "/") in
// the texts of a seeded listing: its "desc" HTML and its "logo". The host's port is only known
// at run time, so the store replaces every occurrence with the base URL when it takes the seed.
inline constexpr char kImageHostPlaceholder[] = "{IMAGE_HOST}";

struct SeedListing
{
    // Every member of the listing answer except "skus", named and typed as the plug-in reads
    // them (prices as decimal text such as "129.00", flags, "vumo_status", "cubage", ...).
    QJsonObject vumo;
    // One object per SKU: "sku_id", "vumo_id", "attributes", "stock_num", "yv_price",
    // "cost_price", "market_price", "outer_id", "status", "created", "modified".
    QVector<QJsonObject> skus;
    QVector<SeedImage> images;
};

struct SeedCatalogue
{
    SeedSeller seller;
    QVector<SeedCategory> categories;
    QVector<SeedAttribute> attributes;
    QVector<SeedAttrValue> attrValues;
    QVector<SeedGroup> groups;
    QVector<SeedAttrValue> venderAttrValues; // seller-specific values (e.g. own brands)
    QVector<SeedShopCategory> shopCategories;
    QVector<SeedListing> listings;
};

// kind: "demo", "empty" or "scale" (with `listings` listings; its category tree is the demo
// tree followed by some thousand generated categories). The same kind and count give the same
// catalogue on every call. Unknown kinds give an empty catalogue with `ok` false.
SeedCatalogue MakeSeedCatalogue(const QString& kind, int listings = 0, bool* ok = nullptr);

// Bytes of a seeded picture for an image-host path of a seeded listing (any size variant
// folder: the picture is drawn at 800 x 800 and scaled for "/n2/" and "/n5/"). False for a
// path the seed does not know.
// Text is drawn only when a QGuiApplication exists (fonts need one); run the simulator with
// QGuiApplication and QT_QPA_PLATFORM=offscreen to get the listing's name on its pictures.
bool RenderSeedPicture(const QString& path, QByteArray* bytes, QByteArray* contentType);

// The category tree of the seeds as CSV (UTF-8, title row "类目ID,类目路径,层级,是否叶子"),
// the source of the category lookup workbook served as a template.
QByteArray SeedCategoryLookupCsv(const SeedCatalogue& catalogue);

} // namespace Quorvia::marketplace
