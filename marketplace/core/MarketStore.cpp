#include "MarketStore.h"

#include "MarketJson.h"

#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <algorithm>

namespace Quorvia::marketplace {

namespace {

// New numbers start far from seeded ones, with the 10 digits the plug-in expects of a
// listing number.
constexpr qint64 kFirstListingId = 1100000000;
constexpr qint64 kFirstSkuId = 2100000000;
constexpr qint64 kFirstImageId = 3100000000;

QByteArray Compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject ImageToJson(const MarketImage& image)
{
    return QJsonObject{{"image_id", QString::number(image.imageId)},
                       {"value_id", QString::number(image.valueId)},
                       {"path", image.path},
                       {"is_main", image.isMain},
                       {"index_id", image.index}};
}

MarketImage ImageFromJson(const QJsonObject& object)
{
    MarketImage image;
    image.imageId = JsonInt(object.value("image_id"));
    image.valueId = JsonInt(object.value("value_id"));
    image.path = object.value("path").toString();
    image.isMain = object.value("is_main").toBool();
    image.index = int(JsonInt(object.value("index_id")));
    return image;
}

QJsonObject CategoryToJson(const SeedCategory& c)
{
    return QJsonObject{{"id", c.id},
                       {"fid", c.fid},
                       {"name", c.name},
                       {"lev", c.lev},
                       {"is_parent", c.isParent ? 1 : 0},
                       {"index_id", c.indexId},
                       {"status", c.status}};
}

QJsonObject AttributeToJson(const SeedAttribute& a)
{
    return QJsonObject{{"aid", a.aid},
                       {"cid", a.cid},
                       {"name", a.name},
                       {"is_key_prop", a.isKeyProp ? 1 : 0},
                       {"is_sale_prop", a.isSaleProp ? 1 : 0},
                       {"index_id", a.indexId},
                       {"status", a.status},
                       {"att_type", a.attType},
                       {"input_type", a.inputType},
                       {"is_req", a.isReq},
                       {"is_fet", a.isFet},
                       {"is_nav", a.isNav},
                       {"group_id", a.groupId},
                       {"features", a.features}};
}

QJsonObject ValueToJson(const SeedAttrValue& v)
{
    return QJsonObject{{"aid", v.aid},       {"vid", v.vid},          {"name", v.name},
                       {"status", v.status}, {"index_id", v.indexId}, {"features", v.features}};
}

QJsonObject GroupToJson(const SeedGroup& g)
{
    return QJsonObject{
        {"group_id", g.groupId}, {"cid", g.cid}, {"name", g.name}, {"status", g.status}, {"index_id", g.indexId}};
}

QJsonObject ShopCatToJson(const SeedShopCategory& s)
{
    return QJsonObject{
        {"cid", s.cid},        {"parent_id", s.parentId},      {"name", s.name},       {"is_parent", s.isParent},
        {"is_open", s.isOpen}, {"is_home_show", s.isHomeShow}, {"index_id", s.indexId}};
}

QJsonObject CategoryRecordToJson(const MarketCategory& c)
{
    return QJsonObject{{"category", c.category},
                       {"attributes", c.attributes},
                       {"att_values", c.attValues},
                       {"groups", c.groups},
                       {"vender_att_values", c.venderAttValues}};
}

MarketCategory CategoryRecordFromJson(const QJsonObject& o, qint64 version)
{
    MarketCategory c;
    c.category = o.value("category").toObject();
    c.attributes = o.value("attributes").toArray();
    c.attValues = o.value("att_values").toArray();
    c.groups = o.value("groups").toArray();
    c.venderAttValues = o.value("vender_att_values").toArray();
    c.version = version;
    return c;
}

QJsonObject ListingToJson(const MarketListing& listing)
{
    QJsonArray skus, images;
    for (const QJsonObject& sku : listing.skus)
        skus.append(sku);
    for (const MarketImage& image : listing.images)
        images.append(ImageToJson(image));
    return QJsonObject{{"vumo", listing.vumo}, {"skus", skus}, {"images", images}};
}

MarketListing ListingFromJson(const QJsonObject& o)
{
    MarketListing listing;
    listing.vumo = o.value("vumo").toObject();
    for (const QJsonValue& sku : o.value("skus").toArray())
        listing.skus.append(sku.toObject());
    for (const QJsonValue& image : o.value("images").toArray())
        listing.images.append(ImageFromJson(image.toObject()));
    return listing;
}

} // namespace

qint64 MarketListing::id() const
{
    return JsonInt(vumo.value("vumo_id"));
}

bool MarketListing::deleted() const
{
    return vumo.value("status").toString() == QLatin1String("DELETE");
}

QJsonObject SellerToJson(const SeedSeller& s)
{
    return QJsonObject{{"uid", s.uid},
                       {"shop_name", s.shopName},
                       {"vender_id", QString::number(s.venderId)},
                       {"shop_id", QString::number(s.shopId)},
                       {"shop_type", s.shopType},
                       {"stock_mode", s.stockMode},
                       {"app_key", QString::fromUtf8(s.appKey)},
                       {"app_secret", QString::fromUtf8(s.appSecret)},
                       {"access_token", QString::fromUtf8(s.accessToken)}};
}

SeedSeller SellerFromJson(const QJsonObject& o)
{
    SeedSeller s;
    s.uid = o.value("uid").toString();
    s.shopName = o.value("shop_name").toString();
    s.venderId = JsonInt(o.value("vender_id"));
    s.shopId = JsonInt(o.value("shop_id"));
    s.shopType = int(JsonInt(o.value("shop_type")));
    s.stockMode = int(JsonInt(o.value("stock_mode"), -1));
    s.appKey = o.value("app_key").toString().toUtf8();
    s.appSecret = o.value("app_secret").toString().toUtf8();
    s.accessToken = o.value("access_token").toString().toUtf8();
    return s;
}

QString MarketTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString MarketNow()
{
    return MarketTime(QDateTime::currentDateTime());
}

MarketStore::MarketStore()
    : m_connection(QStringLiteral("marketplace-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

MarketStore::~MarketStore()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool MarketStore::Open(const QString& dataDir, QString* error)
{
    if (!QDir().mkpath(dataDir)) {
        if (error)
            *error = QStringLiteral("cannot create the data folder %1").arg(dataDir);
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(QDir(dataDir).filePath(QStringLiteral("marketplace.db")));
    if (!m_db.open()) {
        if (error)
            *error = m_db.lastError().text();
        return false;
    }
    const bool ok = Exec(QStringLiteral("PRAGMA journal_mode=WAL"))
        && Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value TEXT)"))
        && Exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS category(cid INTEGER PRIMARY KEY, version INTEGER, data TEXT)"))
        && Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS listing(vumo_id INTEGER PRIMARY KEY, data TEXT)"))
        && Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS picture(path TEXT PRIMARY KEY, bytes BLOB)"));
    if (!ok) {
        if (error)
            *error = m_db.lastError().text();
        return false;
    }
    Load();
    return true;
}

bool MarketStore::Exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

bool MarketStore::SetMeta(const QString& key, const QString& value)
{
    return Exec(QStringLiteral("REPLACE INTO meta(key, value) VALUES(?, ?)"), {key, value});
}

QString MarketStore::Meta(const QString& key) const
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT value FROM meta WHERE key = ?"));
    query.addBindValue(key);
    if (query.exec() && query.next())
        return query.value(0).toString();
    return QString();
}

void MarketStore::Load()
{
    m_seeded = Meta(QStringLiteral("seeded")) == QLatin1String("1");
    m_seller = SellerFromJson(QJsonDocument::fromJson(Meta(QStringLiteral("seller")).toUtf8()).object());
    m_categoryVersion = qMax<qint64>(1, Meta(QStringLiteral("category_version")).toLongLong());
    m_shopCats = QJsonDocument::fromJson(Meta(QStringLiteral("shop_categories")).toUtf8()).array();
    m_categories.clear();
    m_listings.clear();
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("SELECT cid, version, data FROM category"))) {
        while (query.next()) {
            const QJsonObject o = QJsonDocument::fromJson(query.value(2).toByteArray()).object();
            m_categories.insert(query.value(0).toLongLong(), CategoryRecordFromJson(o, query.value(1).toLongLong()));
        }
    }
    if (query.exec(QStringLiteral("SELECT data FROM listing"))) {
        while (query.next()) {
            MarketListing listing = ListingFromJson(QJsonDocument::fromJson(query.value(0).toByteArray()).object());
            if (listing.id() > 0)
                m_listings.insert(listing.id(), listing);
        }
    }
    Reindex();
}

void MarketStore::Reindex()
{
    m_valuesByAid.clear();
    for (const MarketCategory& c : qAsConst(m_categories)) {
        // The one seller's own values (brands) are answered with the attribute's others.
        for (const QJsonArray* values : {&c.attValues, &c.venderAttValues}) {
            for (const QJsonValue& v : *values) {
                const qint64 aid = JsonInt(v.toObject().value("aid"));
                QJsonArray& list = m_valuesByAid[aid];
                // Values shared by several categories are listed once.
                if (!list.contains(v))
                    list.append(v);
            }
        }
    }
    m_skuOwner.clear();
    qint64 maxListing = kFirstListingId - 1, maxSku = kFirstSkuId - 1, maxImage = kFirstImageId - 1;
    for (auto it = m_listings.cbegin(); it != m_listings.cend(); ++it) {
        maxListing = qMax(maxListing, it.key());
        for (const QJsonObject& sku : it->skus) {
            const qint64 skuId = JsonInt(sku.value("sku_id"));
            m_skuOwner.insert(skuId, it.key());
            maxSku = qMax(maxSku, skuId);
        }
        for (const MarketImage& image : it->images)
            maxImage = qMax(maxImage, image.imageId);
    }
    m_nextListing = qMax(maxListing + 1, Meta(QStringLiteral("next_listing")).toLongLong());
    m_nextSku = qMax(maxSku + 1, Meta(QStringLiteral("next_sku")).toLongLong());
    m_nextImage = qMax(maxImage + 1, Meta(QStringLiteral("next_image")).toLongLong());
}

bool MarketStore::LoadCatalogue(const SeedCatalogue& catalogue)
{
    if (!m_db.transaction())
        return false;
    bool ok = Exec(QStringLiteral("DELETE FROM category")) && Exec(QStringLiteral("DELETE FROM listing"))
        && Exec(QStringLiteral("DELETE FROM picture")) && Exec(QStringLiteral("DELETE FROM meta"));

    QMap<qint64, MarketCategory> categories;
    QHash<qint64, qint64> cidOfAid;
    for (const SeedCategory& c : catalogue.categories)
        categories[c.id].category = CategoryToJson(c);
    for (const SeedAttribute& a : catalogue.attributes) {
        if (!categories.contains(a.cid))
            continue;
        categories[a.cid].attributes.append(AttributeToJson(a));
        cidOfAid.insert(a.aid, a.cid);
    }
    // An attribute id may serve several categories: each of them carries its values.
    QHash<qint64, QList<qint64>> cidsOfAid;
    for (const SeedAttribute& a : catalogue.attributes)
        cidsOfAid[a.aid].append(a.cid);
    for (const SeedAttrValue& v : catalogue.attrValues) {
        for (const qint64 cid : cidsOfAid.value(v.aid))
            if (categories.contains(cid))
                categories[cid].attValues.append(ValueToJson(v));
    }
    for (const SeedAttrValue& v : catalogue.venderAttrValues) {
        for (const qint64 cid : cidsOfAid.value(v.aid))
            if (categories.contains(cid))
                categories[cid].venderAttValues.append(ValueToJson(v));
    }
    for (const SeedGroup& g : catalogue.groups) {
        if (categories.contains(g.cid))
            categories[g.cid].groups.append(GroupToJson(g));
    }
    for (auto it = categories.begin(); it != categories.end() && ok; ++it) {
        it->version = 1;
        ok = SaveCategory(it.key(), *it);
    }

    QJsonArray shopCats;
    for (const SeedShopCategory& s : catalogue.shopCategories)
        shopCats.append(ShopCatToJson(s));

    QMap<qint64, MarketListing> listings;
    for (const SeedListing& seed : catalogue.listings) {
        MarketListing listing;
        listing.vumo = seed.vumo;
        listing.skus = seed.skus;
        for (const SeedImage& image : seed.images) {
            MarketImage m;
            m.imageId = image.imageId;
            m.valueId = image.attributeValueId;
            m.path = image.path;
            m.isMain = image.isMain;
            m.index = image.indexId;
            listing.images.append(m);
        }
        if (listing.id() <= 0)
            continue;
        listings.insert(listing.id(), listing);
        ok = ok
            && Exec(QStringLiteral("REPLACE INTO listing(vumo_id, data) VALUES(?, ?)"),
                    {listing.id(), Compact(ListingToJson(listing))});
    }
    ok = ok && SetMeta(QStringLiteral("seller"), QString::fromUtf8(Compact(SellerToJson(catalogue.seller))))
        && SetMeta(QStringLiteral("category_version"), QStringLiteral("1"))
        && SetMeta(QStringLiteral("shop_categories"),
                   QString::fromUtf8(QJsonDocument(shopCats).toJson(QJsonDocument::Compact)))
        && SetMeta(QStringLiteral("seeded"), QStringLiteral("1"));
    if (!ok || !m_db.commit()) {
        m_db.rollback();
        Load();
        return false;
    }
    Load();
    return true;
}

bool MarketStore::SaveCategory(qint64 cid, const MarketCategory& category)
{
    return Exec(QStringLiteral("REPLACE INTO category(cid, version, data) VALUES(?, ?, ?)"),
                {cid, category.version, Compact(CategoryRecordToJson(category))});
}

bool MarketStore::IsLeafCategory(qint64 cid) const
{
    const auto it = m_categories.constFind(cid);
    return it != m_categories.cend() && JsonInt(it->category.value("is_parent")) == 0;
}

QJsonArray MarketStore::AttributeValues(qint64 aid) const
{
    return m_valuesByAid.value(aid);
}

bool MarketCategory::IsValid() const
{
    return JsonInt(category.value("status"), 1) == 1;
}

bool MarketStore::CommitCategoryChange(qint64 cid, MarketCategory changed)
{
    const qint64 version = m_categoryVersion + 1;
    changed.version = version;
    if (!m_db.transaction())
        return false;
    if (!SaveCategory(cid, changed) || !SetMeta(QStringLiteral("category_version"), QString::number(version))
        || !m_db.commit()) {
        m_db.rollback();
        return false;
    }
    m_categories[cid] = changed;
    m_categoryVersion = version;
    Reindex();
    return true;
}

bool MarketStore::ChangeCategory(qint64 cid, const QString& name)
{
    const auto it = m_categories.constFind(cid);
    if (it == m_categories.cend())
        return false;
    MarketCategory changed = *it;
    changed.category.insert("name", name);
    return CommitCategoryChange(cid, changed);
}

bool MarketStore::DeleteCategory(qint64 cid)
{
    const auto it = m_categories.constFind(cid);
    if (it == m_categories.cend())
        return false;
    MarketCategory changed = *it;
    changed.category.insert("status", 0);
    return CommitCategoryChange(cid, changed);
}

bool MarketStore::SetCategoryAttributes(qint64 cid, const QJsonArray& attributes)
{
    const auto it = m_categories.constFind(cid);
    if (it == m_categories.cend())
        return false;
    MarketCategory changed = *it;
    changed.attributes = attributes;
    QSet<qint64> kept;
    for (const QJsonValue& a : attributes)
        kept.insert(JsonInt(a.toObject().value("aid")));
    const auto keepValues = [&kept](const QJsonArray& values) {
        QJsonArray out;
        for (const QJsonValue& v : values) {
            if (kept.contains(JsonInt(v.toObject().value("aid"))))
                out.append(v);
        }
        return out;
    };
    changed.attValues = keepValues(changed.attValues);
    changed.venderAttValues = keepValues(changed.venderAttValues);
    return CommitCategoryChange(cid, changed);
}

const MarketListing* MarketStore::Listing(qint64 vumoId) const
{
    const auto it = m_listings.constFind(vumoId);
    return it == m_listings.cend() ? nullptr : &*it;
}

bool MarketStore::SaveListing(const MarketListing& listing)
{
    const qint64 id = listing.id();
    if (id <= 0)
        return false;
    if (!Exec(QStringLiteral("REPLACE INTO listing(vumo_id, data) VALUES(?, ?)"),
              {id, Compact(ListingToJson(listing))}))
        return false;
    // SKUs that left the listing no longer belong to it.
    for (auto it = m_skuOwner.begin(); it != m_skuOwner.end();) {
        if (it.value() == id)
            it = m_skuOwner.erase(it);
        else
            ++it;
    }
    for (const QJsonObject& sku : listing.skus)
        m_skuOwner.insert(JsonInt(sku.value("sku_id")), id);
    m_listings.insert(id, listing);
    return true;
}

qint64 MarketStore::ListingOfOuterId(const QString& outerId) const
{
    const QString wanted = outerId.trimmed();
    if (wanted.isEmpty())
        return 0;
    for (auto it = m_listings.cbegin(); it != m_listings.cend(); ++it) {
        if (it->deleted())
            continue;
        if (it->skus.isEmpty() && it->vumo.value("outer_id").toString().trimmed() == wanted)
            return it.key();
        for (const QJsonObject& sku : it->skus) {
            if (sku.value("outer_id").toString().trimmed() == wanted)
                return it.key();
        }
    }
    return 0;
}

qint64 MarketStore::NextListingId()
{
    const qint64 id = m_nextListing++;
    SetMeta(QStringLiteral("next_listing"), QString::number(m_nextListing));
    return id;
}

qint64 MarketStore::NextSkuId()
{
    const qint64 id = m_nextSku++;
    SetMeta(QStringLiteral("next_sku"), QString::number(m_nextSku));
    return id;
}

qint64 MarketStore::NextImageId()
{
    const qint64 id = m_nextImage++;
    SetMeta(QStringLiteral("next_image"), QString::number(m_nextImage));
    return id;
}

bool MarketStore::SavePicture(const QString& path, const QByteArray& bytes)
{
    return Exec(QStringLiteral("REPLACE INTO picture(path, bytes) VALUES(?, ?)"), {path, bytes});
}

bool MarketStore::Picture(const QString& path, QByteArray* bytes) const
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT bytes FROM picture WHERE path = ?"));
    query.addBindValue(path);
    if (!query.exec() || !query.next())
        return false;
    if (bytes)
        *bytes = query.value(0).toByteArray();
    return true;
}

} // namespace Quorvia::marketplace
