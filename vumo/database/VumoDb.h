#pragma once
// The listing store: one object over the listing database, used from every thread. Each
// operation runs on the calling thread's own connection. Multi-table writes are
// all-or-nothing: they run inside a savepoint, which is its own transaction when the caller
// has none and nests inside the caller's transaction otherwise.
#include "database/DbConnection.h"
#include "database/SqlStore.h"
#include "database/VumoDbInterface.h"

#include <QHash>
#include <QMetaProperty>
#include <QMutex>
#include <QVector>

#include <atomic>
#include <memory>

class QSqlQuery;

namespace Quorvia::vumo::database::dml {
class VumoDataDml;
class VumoExtDml;
class VumoSkuDml;
class SellerCatsDml;
class VumoImgDml;
class VumoRedDml;
} // namespace Quorvia::vumo::database::dml

namespace Quorvia::vumo::database {

class PreparedStatements;

class VumoDb : public VumoDbInterface
{
    Q_OBJECT
public:
    explicit VumoDb(DbConnectionPtr connection, QObject* parent = nullptr);
    ~VumoDb() override;

    static constexpr const char* kCurrentVersion = "2.0";

    bool Transaction() override;
    bool Commit() override;
    bool Rollback() override;
    bool CheckDatabase() override;
    bool SaveDownloadedVumo(VumoDataEntity& record, bool* existed = nullptr, QString* checkMessage = nullptr) override;
    bool SaveVumo(VumoDataEntity& record, QString* checkMessage = nullptr,
                  const QList<qint64>& removedSkuIds = {}) override;
    bool ReplaceSellerCategories(const QList<SellerCatsEntity*>& list) override;
    bool GetVumo(const QString& clientId, VumoDataEntity& record) override;
    bool GetSellerCategories(QList<SellerCatsEntity*>& list, QMap<qint64, SellerCatsEntity*>& map) override;
    bool GetVumosByClientIds(const QStringList& clientIds, QList<VumoDataEntity*>& list) override;
    bool CountVumos(const QString& condition, qint64& count) override;
    bool QueryTextPairs(const QString& sql, QList<TextPair>& list) override;
    bool QueryVumoRows(const QString& sql, QList<VUMO_LIST_STRUCT>& list) override;
    bool GetVumoField(const QString& clientId, const QString& column, QVariant& value) override;
    bool GetSkus(const QString& clientId, QList<VumoSkuEntity*>& list, bool withDefault = false) override;
    bool GetSkuIdsByVumoId(qint64 vumoId, QList<qint64>& list) override;
    bool GetDeletedSkuIds(const QString& clientId, QList<qint64>& list) override;
    bool SelectImages(const ColumnValues& conditions, QList<VumoImgEntity*>& list) override;
    bool InsertImages(const QList<VumoImgEntity*>& list) override;
    bool DeleteLocalImages(const QString& clientId) override;
    bool DeleteImages(const ColumnValues& conditions) override;
    bool UpdateImages(const ColumnValues& conditions, const ColumnValues& values) override;
    bool CountPictureUses(const QString& name, qint64& uses) override;
    bool GetDescription(const QString& clientId, QString& text) override;
    bool SetDescription(const QString& clientId, const QString& text) override;
    bool GetPackListing(const QString& clientId, QString& text) override;
    bool SetPackListing(const QString& clientId, const QString& text) override;
    bool GetService(const QString& clientId, QString& text) override;
    bool SetService(const QString& clientId, const QString& text) override;
    bool ExecSql(const QString& sql) override;
    bool DeleteVumos(const QList<VumoDataEntity*>& list) override;
    bool DeleteVumo(const VumoDataEntity& record) override;
    bool MoveToRecycleBin(const VumoDataEntity& record) override;
    bool RemoveVumo(const VumoDataEntity& record, bool permanent) override;
    bool QueryImages(const QString& sql, QList<VumoImgEntity*>& list) override;
    bool QueryImagesEx(const QString& sql, QList<VumoImgEntity*>& list) override;
    bool CheckAttributeValues(qint64 cid, const QString& attributes, CategoryDbInterface* categoryDb,
                              QString* errorText = nullptr) override;
    bool ClearSellerCategories() override;
    bool FindVumoById(qint64 vumoId, QString& clientId, int& status, QString& shopCategorys) override;
    bool SetUploadResult(const VumoDataEntity& record, bool succeeded, const QString& errorText = QString()) override;
    bool GetSyncComments(QList<RedSyncCommentEntity*>& list) override;
    bool DeleteSyncComment(qint64 newSkuId) override;
    bool SaveSyncComment(const RedSyncCommentEntity& record) override;
    bool GetConfig(const QString& key, QString& value) override;
    bool SetConfig(const QString& key, const QString& value) override;
    bool UpdateExecBatchSql(const QStringList& statements) override;

    void SetStockMode(int stockMode) override { m_stockMode.store(stockMode); }
    // Where RemoveVumo looks for main pictures (the store manager gives the seller's folder);
    // empty: no picture is removed. Set before the store is shared between threads.
    void SetImageFolder(const QString& folder) { m_imageFolder = folder; }

private:
    // Columns of one table as the generic replace writes them, with the prepared statement
    // text; built once per table.
    struct RowLayout
    {
        QString sql;
        QStringList names;
        QVector<QMetaProperty> properties;
    };
    class WriteScope;

    template <class Dml>
    RowLayout buildLayout(const Dml& dml, const QMetaObject& meta) const;
    template <class Dml, class Entity>
    bool replaceRow(const Dml& dml, const RowLayout& layout, const Entity& record);

    bool upgrade();
    bool writeListing(VumoDataEntity& record, bool fromLocalEdit, bool isNew, const QList<qint64>& removedSkuIds = {});
    bool writeImageGroups(VumoDataEntity& record, bool bound, bool isNew);
    bool execPrepared(const QString& sql, const QVariantList& values, QSqlQuery** out = nullptr);
    bool queryText(const QString& sql, QString& text);
    bool queryIds(const QString& sql, QList<qint64>& list);
    bool updateOneRow(const QString& sql);
    bool fillImages(const QString& sql, int columns, QList<VumoImgEntity*>& list);
    bool referencedElsewhere(const QString& clientId, const QString& picture);

    SqlStore m_store;
    std::shared_ptr<dml::VumoDataDml> m_dataDml;
    std::shared_ptr<dml::VumoExtDml> m_extDml;
    std::shared_ptr<dml::VumoSkuDml> m_skuDml;
    std::shared_ptr<dml::SellerCatsDml> m_sellerCatsDml;
    std::shared_ptr<dml::VumoImgDml> m_imgDml;
    std::shared_ptr<dml::VumoRedDml> m_redDml;
    std::unique_ptr<PreparedStatements> m_prepared;
    RowLayout m_dataLayout;
    RowLayout m_extLayout;
    RowLayout m_skuLayout;
    RowLayout m_imgLayout;
    RowLayout m_sellerCatsLayout;
    RowLayout m_redLayout;
    QString m_imageFolder;
    std::atomic<int> m_stockMode{-1}; // as a login without stock_mode
};

} // namespace Quorvia::vumo::database
