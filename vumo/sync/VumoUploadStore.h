#pragma once
// The rules of the listing upload that need no thread and no widget: the outcome texts, the
// status a listing gets per upload mode, the writing back of an add or update answer into the
// listing store, the SKU rows after removals, and the marketplace "modified" time kept per
// listing, which tells an online change since the download from our own upload.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

// Upload state of one listing, as sent with UploadSignal and stored in upload_status.
enum VumoUploadState : qint16 { UploadRunning = 0, UploadSucceeded = 1, UploadFailed = 2 };

QString UploadSuccessText(); // "上传成功"

// The text shown and stored for a failed request. The platform's code travels apart from its
// message, so the duplicate outer-id refusal is recognised by the code:
//   ("11200033", "外部编号已被其他商品使用：A1") -> "11200033:该商品“商家SKUID”与其他商品重复，请修改后再次上传"
//   ("17", "业务参数错误")                       -> "业务参数错误"
//   ("", "")                                   -> `fallback`
QString UploadOutcomeText(const QString& errorCode, const QString& errorMessage, const QString& fallback = QString());

// The listing status after an upload: mode 1 -> 8; mode 2 from 8 or 520 -> 2; else 2014 -> 1;
// else unchanged.
int UploadedVumoStatus(int mode, int status);

// The outcome of an update refused because the listing changed online after it was stored.
QString OnlineConflictText(const QDateTime& stored, const QDateTime& online);

// What an add or update answer carries for the write-back.
struct UploadAnswerSku
{
    qint64 skuId = 0;
    QString attributes;
    QDateTime created;
    QDateTime modified;
};
struct UploadAnswer
{
    qint64 vumoId = 0;
    QDateTime modified;
    QList<UploadAnswerSku> skus;
};
UploadAnswer ReadUploadAnswer(const QVariant& answer);

// The number the marketplace gave a new listing, in a statement of its own: stored before
// anything else can fail, so the next upload updates instead of adding a duplicate.
bool StoreNewVumoId(database::VumoDbInterface& store, const QString& clientId, qint64 vumoId);

// After an add or update, in one transaction: the listing's number, status (UploadedVumoStatus)
// and upload_status 1 with error_msg cleared; each SKU of the answer updates the row with the
// same sale attributes (compared as sets of pairs, so "2:20^1:10" finds "1:10^2:20"), keeping
// its price, stock and outer id; only an SKU without such a row is inserted. The row of the
// default SKU (empty attributes) goes when the answer has none. False (nothing written) on any
// failure.
bool WriteUploadBack(database::VumoDbInterface& store, const entity::VumoDataEntity& record, int mode,
                     const UploadAnswer& answer);

// After SKU removals: the rows whose removal went through are deleted; the rest stay marked
// deleted (status 0), so the next upload tries them again.
bool DropRemovedSkuRows(database::VumoDbInterface& store, const QString& clientId, const QList<qint64>& removed);

// error_msg (empty for success) and upload_status of one listing; the text is stored exactly.
bool StoreUploadOutcome(database::VumoDbInterface& store, const QString& clientId, qint16 state,
                        const QString& outcome);

// The marketplace "modified" of a listing as last seen: at download and after each upload.
// Kept apart from vumo_data.modified, which the local editor overwrites.
bool StoreOnlineModified(database::VumoDbInterface& store, const QString& clientId, const QDateTime& modified);
// Invalid when none is stored (a listing uploaded before this was kept, or never downloaded).
QDateTime StoredOnlineModified(database::VumoDbInterface& store, const QString& clientId);

} // namespace Quorvia::vumo
