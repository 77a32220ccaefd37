#pragma once
// The listing store as callers see it. Every operation returns true on success. List outputs
// of record pointers are filled with new records that the caller owns (qDeleteAll); outputs
// are appended to, never cleared first. Every operation runs on the calling thread's own
// connection; a transaction belongs to the thread that began it.
#include "database/VumoListStruct.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
class VumoSkuEntity;
class VumoImgEntity;
class SellerCatsEntity;
class RedSyncCommentEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::database {

class CategoryDbInterface;

class VumoDbInterface : public QObject
{
    Q_OBJECT
public:
    using VumoDataEntity = Quorvia::vumo::entity::VumoDataEntity;
    using VumoSkuEntity = Quorvia::vumo::entity::VumoSkuEntity;
    using VumoImgEntity = Quorvia::vumo::entity::VumoImgEntity;
    using SellerCatsEntity = Quorvia::vumo::entity::SellerCatsEntity;
    using RedSyncCommentEntity = Quorvia::vumo::entity::RedSyncCommentEntity;
    // Column name -> value; values are quoted into the statement.
    using ColumnValues = QMap<QString, QString>;
    using TextPair = QPair<QString, QString>;

    explicit VumoDbInterface(QObject* parent = nullptr)
        : QObject(parent)
    {
    }
    ~VumoDbInterface() override = default;

    virtual bool Transaction() = 0;
    virtual bool Commit() = 0;
    virtual bool Rollback() = 0;
    virtual bool CheckDatabase() = 0;

    // A listing from the marketplace or an import. When a row with the same vumo_id exists,
    // the record takes over its client_id (and *existed is set). checkMessage receives the
    // completeness result (empty = complete).
    virtual bool SaveDownloadedVumo(VumoDataEntity& record, bool* existed = nullptr,
                                    QString* checkMessage = nullptr) = 0;
    // A listing edited locally; is_vumoinfo_complete of the record is set from the check. The
    // record's SKUs replace the stored ones that are not marked deleted; SKU rows whose
    // marketplace id is in removedSkuIds are kept, marked deleted, for the next upload. The
    // listing's default SKU (empty attributes) stays unless the record carries one. Picture
    // sets the record carries replace the stored sets of those colours, rows of any state.
    virtual bool SaveVumo(VumoDataEntity& record, QString* checkMessage = nullptr,
                          const QList<qint64>& removedSkuIds = {}) = 0;
    // The seller's stock mode, which picks the completeness rule of both saves (1: the package
    // fields instead of the stock); -1 until the login gives one.
    virtual void SetStockMode(int stockMode) = 0;
    virtual bool ReplaceSellerCategories(const QList<SellerCatsEntity*>& list) = 0;
    // Full record: data, extension, pictures (by colour, every state: a picture deleted here
    // but still online stays until the upload) and SKUs.
    virtual bool GetVumo(const QString& clientId, VumoDataEntity& record) = 0;
    // list owns the records; map points at the same records by cid.
    virtual bool GetSellerCategories(QList<SellerCatsEntity*>& list, QMap<qint64, SellerCatsEntity*>& map) = 0;
    virtual bool GetVumosByClientIds(const QStringList& clientIds, QList<VumoDataEntity*>& list) = 0;
    virtual bool CountVumos(const QString& condition, qint64& count) = 0;
    virtual bool QueryTextPairs(const QString& sql, QList<TextPair>& list) = 0;
    virtual bool QueryVumoRows(const QString& sql, QList<VUMO_LIST_STRUCT>& list) = 0;
    virtual bool GetVumoField(const QString& clientId, const QString& column, QVariant& value) = 0;
    // withDefault also returns the listing's default SKU (empty attributes).
    virtual bool GetSkus(const QString& clientId, QList<VumoSkuEntity*>& list, bool withDefault = false) = 0;
    virtual bool GetSkuIdsByVumoId(qint64 vumoId, QList<qint64>& list) = 0;
    virtual bool GetDeletedSkuIds(const QString& clientId, QList<qint64>& list) = 0;
    virtual bool SelectImages(const ColumnValues& conditions, QList<VumoImgEntity*>& list) = 0;
    virtual bool InsertImages(const QList<VumoImgEntity*>& list) = 0;
    virtual bool DeleteLocalImages(const QString& clientId) = 0;
    virtual bool DeleteImages(const ColumnValues& conditions) = 0;
    virtual bool UpdateImages(const ColumnValues& conditions, const ColumnValues& values) = 0;
    // How many picture rows and listing logos still need this file of the picture folder. A row
    // deleted here (state 1) only waits for the upload and does not need its file.
    virtual bool CountPictureUses(const QString& name, qint64& uses) = 0;
    virtual bool GetDescription(const QString& clientId, QString& text) = 0;
    virtual bool SetDescription(const QString& clientId, const QString& text) = 0;
    virtual bool GetPackListing(const QString& clientId, QString& text) = 0;
    virtual bool SetPackListing(const QString& clientId, const QString& text) = 0;
    virtual bool GetService(const QString& clientId, QString& text) = 0;
    virtual bool SetService(const QString& clientId, const QString& text) = 0;
    virtual bool ExecSql(const QString& sql) = 0;
    virtual bool DeleteVumos(const QList<VumoDataEntity*>& list) = 0;
    virtual bool DeleteVumo(const VumoDataEntity& record) = 0;
    virtual bool MoveToRecycleBin(const VumoDataEntity& record) = 0;
    virtual bool RemoveVumo(const VumoDataEntity& record, bool permanent) = 0;
    // Nine columns in the order of the GetVumo picture query.
    virtual bool QueryImages(const QString& sql, QList<VumoImgEntity*>& list) = 0;
    // Ten columns: the nine, then one more read by name into the record when it has such a
    // property.
    virtual bool QueryImagesEx(const QString& sql, QList<VumoImgEntity*>& list) = 0;
    // Every attribute value of the record that names a category attribute must be a known
    // value of it; errorText gets the reason.
    virtual bool CheckAttributeValues(qint64 cid, const QString& attributes, CategoryDbInterface* categoryDb,
                                      QString* errorText = nullptr) = 0;
    virtual bool ClearSellerCategories() = 0;
    virtual bool FindVumoById(qint64 vumoId, QString& clientId, int& status, QString& shopCategorys) = 0;
    // succeeded: writes vumo_id, vumo_status, status and upload_status of the record (a
    // restore to 2014 also clears the SKU ids); otherwise errorText and the record's
    // upload_status.
    virtual bool SetUploadResult(const VumoDataEntity& record, bool succeeded,
                                 const QString& errorText = QString()) = 0;
    virtual bool GetSyncComments(QList<RedSyncCommentEntity*>& list) = 0;
    virtual bool DeleteSyncComment(qint64 newSkuId) = 0;
    virtual bool SaveSyncComment(const RedSyncCommentEntity& record) = 0;

    virtual bool GetConfig(const QString& key, QString& value) = 0;
    virtual bool SetConfig(const QString& key, const QString& value) = 0;
    virtual bool UpdateExecBatchSql(const QStringList& statements) = 0;
};

} // namespace Quorvia::vumo::database
