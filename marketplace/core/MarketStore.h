#pragma once
// The simulator's state: seller and application, category tree with its change versions, the
// seller's shop categories, listings with SKUs and pictures, uploaded picture bytes. Kept in
// memory and written through to one SQLite file, so uploads survive a restart.
#include "../seed/SeedCatalogue.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

namespace Quorvia::marketplace {

struct MarketImage
{
    qint64 imageId = 0;
    qint64 valueId = 0; // 0: the listing's own pictures
    QString path;       // "/imgzone/n0/..."
    bool isMain = false;
    int index = 0;
};

struct MarketListing
{
    QJsonObject vumo;          // answer members except "skus", as the get answers them
    QVector<QJsonObject> skus; // answer shape of one SKU
    QVector<MarketImage> images;

    qint64 id() const;
    bool deleted() const; // "status" is "DELETE"
};

// One category with everything the category package carries for it.
struct MarketCategory
{
    QJsonObject category; // id, fid, name, lev, is_parent, index_id, status
    QJsonArray attributes;
    QJsonArray attValues;
    QJsonArray groups;
    QJsonArray venderAttValues;
    qint64 version = 1; // category version in which it last changed

    // "status" 1; a deleted category keeps its record with status 0.
    bool IsValid() const;
};

class MarketStore final
{
public:
    MarketStore();
    ~MarketStore();
    MarketStore(const MarketStore&) = delete;
    MarketStore& operator=(const MarketStore&) = delete;

    // Opens (creating) "marketplace.db" in `dataDir` and loads it.
    bool Open(const QString& dataDir, QString* error = nullptr);
    bool IsSeeded() const { return m_seeded; }
    // Replaces everything with the catalogue (first start only, or tests).
    bool LoadCatalogue(const SeedCatalogue& catalogue);

    const SeedSeller& Seller() const { return m_seller; }

    // Categories
    const QMap<qint64, MarketCategory>& Categories() const { return m_categories; }
    qint64 CategoryVersion() const { return m_categoryVersion; }
    bool IsLeafCategory(qint64 cid) const;
    QJsonArray AttributeValues(qint64 aid) const;
    // Renames a category (and raises the version); false for an unknown id.
    bool ChangeCategory(qint64 cid, const QString& name);
    // Marks a category deleted (status 0), raising the version; false for an unknown id.
    bool DeleteCategory(qint64 cid);
    // Gives a category a new attribute list (added, removed or changed attributes); values
    // of attributes no longer listed go. Raises the version; false for an unknown id.
    bool SetCategoryAttributes(qint64 cid, const QJsonArray& attributes);
    const QJsonArray& ShopCategories() const { return m_shopCats; }

    // Listings
    const QMap<qint64, MarketListing>& Listings() const { return m_listings; }
    const MarketListing* Listing(qint64 vumoId) const;
    // Writes the listing (new or changed).
    bool SaveListing(const MarketListing& listing);
    // The listing holding the SKU, or 0.
    qint64 ListingOfSku(qint64 skuId) const { return m_skuOwner.value(skuId, 0); }
    // The listing whose SKU (or, without SKUs, itself) carries this outer id, or 0.
    qint64 ListingOfOuterId(const QString& outerId) const;

    qint64 NextListingId();
    qint64 NextSkuId();
    qint64 NextImageId();

    // Uploaded picture bytes by their full-size path.
    bool SavePicture(const QString& path, const QByteArray& bytes);
    bool Picture(const QString& path, QByteArray* bytes) const;

private:
    bool Exec(const QString& sql, const QVariantList& values = {});
    bool SetMeta(const QString& key, const QString& value);
    QString Meta(const QString& key) const;
    bool SaveCategory(qint64 cid, const MarketCategory& category);
    // Stores `changed` as the category's state in a new version.
    bool CommitCategoryChange(qint64 cid, MarketCategory changed);
    void Reindex();
    void Load();

    QString m_connection;
    QSqlDatabase m_db;
    bool m_seeded = false;
    SeedSeller m_seller;
    QMap<qint64, MarketCategory> m_categories;
    QHash<qint64, QJsonArray> m_valuesByAid;
    qint64 m_categoryVersion = 1;
    QJsonArray m_shopCats;
    QMap<qint64, MarketListing> m_listings;
    QHash<qint64, qint64> m_skuOwner;
    qint64 m_nextListing = 0;
    qint64 m_nextSku = 0;
    qint64 m_nextImage = 0;
};

// Seller and application as stored JSON, and back.
QJsonObject SellerToJson(const SeedSeller& seller);
SeedSeller SellerFromJson(const QJsonObject& object);

// "2024-01-02 03:04:05" for answers.
QString MarketTime(const QDateTime& time);
QString MarketNow();

} // namespace Quorvia::marketplace
