#include "sync/VumoUploadStore.h"

#include "database/VumoDbInterface.h"
#include "editor/SkuRules.h"
#include "entity/PropertyValue.h"
#include "entity/VumoDataEntity.h"
#include "utils/Log.h"
#include "utils/SqlText.h"

#include <QHash>

namespace Quorvia::vumo {

using database::VumoDbInterface;
using editor::SkuKey;
using utils::SqlText;

namespace {

const char* const kDuplicateOuterId = "11200033";
constexpr int kOnSale = 8;
constexpr int kOnSaleOther = 520;
constexpr int kForSale = 2;
constexpr int kLocalStore = 2014;
constexpr int kAfterLocalStore = 1;

QString IdList(const QList<qint64>& ids)
{
    QStringList parts;
    for (qint64 id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(','));
}

// The table exists from the first write on; a store without it simply has no times yet.
bool EnsureOnlineTable(VumoDbInterface& store)
{
    return store.ExecSql(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_online(client_id TEXT PRIMARY KEY, modified INTEGER(8))"));
}

bool HasOnlineTable(VumoDbInterface& store)
{
    QList<VumoDbInterface::TextPair> rows;
    return store.QueryTextPairs(QStringLiteral("SELECT name, type FROM sqlite_master WHERE type='table' AND "
                                               "name='vumo_online'"),
                                rows)
        && !rows.isEmpty();
}

struct SkuRow
{
    QString attributes; // as stored
    int status = 0;
};

bool WriteSkus(VumoDbInterface& store, const entity::VumoDataEntity& record, const UploadAnswer& answer)
{
    const QString clientId = record.client_id();
    QList<VumoDbInterface::TextPair> rows;
    if (!store.QueryTextPairs(QStringLiteral("SELECT attributes, ifnull(status, 2) FROM vumo_sku WHERE client_id='%1'")
                                  .arg(SqlText(clientId)),
                              rows))
        return false;
    QHash<QString, SkuRow> byKey;
    for (const auto& row : rows)
        byKey.insert(SkuKey(row.first), SkuRow{row.first, row.second.toInt()});

    bool answerHasDefault = false;
    for (const UploadAnswerSku& sku : answer.skus) {
        const QString key = SkuKey(sku.attributes);
        if (key.isEmpty() && !sku.attributes.trimmed().isEmpty())
            continue; // not a sale-attribute text we can keep
        answerHasDefault = answerHasDefault || key.isEmpty();
        const QString modified = entity::DateTimeText(sku.modified);
        const auto found = byKey.constFind(key);
        if (found != byKey.constEnd()) {
            // A row still marked deleted keeps its mark: its removal is pending.
            const int status = found->status == 0 ? 0 : 2;
            if (!store.ExecSql(QStringLiteral("UPDATE vumo_sku SET sku_id=%1, vumo_id=%2, status=%3, modified='%4' "
                                              "WHERE client_id='%5' AND attributes='%6'")
                                   .arg(QString::number(sku.skuId), QString::number(answer.vumoId),
                                        QString::number(status), SqlText(modified), SqlText(clientId),
                                        SqlText(found->attributes))))
                return false;
            continue;
        }
        if (!store.ExecSql(QStringLiteral("INSERT INTO vumo_sku (sku_id,vumo_id,client_id,attributes,status,created,"
                                          "modified) VALUES (%1,%2,'%3','%4',2,'%5','%6')")
                               .arg(QString::number(sku.skuId), QString::number(answer.vumoId), SqlText(clientId),
                                    SqlText(sku.attributes.trimmed()), SqlText(entity::DateTimeText(sku.created)),
                                    SqlText(modified))))
            return false;
        byKey.insert(key, SkuRow{sku.attributes.trimmed(), 2});
    }
    if (!answerHasDefault
        && !store.ExecSql(
            QStringLiteral("DELETE FROM vumo_sku WHERE attributes='' AND client_id='%1'").arg(SqlText(clientId))))
        return false;
    return true;
}

} // namespace

QString UploadSuccessText()
{
    return QStringLiteral("上传成功");
}

QString UploadOutcomeText(const QString& errorCode, const QString& errorMessage, const QString& fallback)
{
    if (errorCode == QLatin1String(kDuplicateOuterId))
        return QStringLiteral("11200033:该商品“商家SKUID”与其他商品重复，请修改后再次上传");
    return errorMessage.isEmpty() ? fallback : errorMessage;
}

int UploadedVumoStatus(int mode, int status)
{
    if (mode == 1)
        return kOnSale;
    if (mode == 2 && (status == kOnSale || status == kOnSaleOther))
        return kForSale;
    if (status == kLocalStore)
        return kAfterLocalStore;
    return status;
}

QString OnlineConflictText(const QDateTime& stored, const QDateTime& online)
{
    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    return QStringLiteral("线上商品已被修改（下载时 %1，线上 %2），未覆盖；如需覆盖请勾选“覆盖线上修改”后重新上传")
        .arg(stored.toString(format), online.toString(format));
}

UploadAnswer ReadUploadAnswer(const QVariant& answer)
{
    UploadAnswer read;
    const QVariantMap map = answer.toMap();
    read.vumoId = map.value(QStringLiteral("vumo_id")).toLongLong();
    read.modified = entity::ParseDateTime(map.value(QStringLiteral("modified")));
    for (const QVariant& item : map.value(QStringLiteral("skus")).toList()) {
        const QVariantMap sku = item.toMap();
        if (sku.isEmpty())
            continue;
        UploadAnswerSku one;
        one.skuId = sku.value(QStringLiteral("sku_id")).toLongLong();
        one.attributes = sku.value(QStringLiteral("attribute")).toString();
        one.created = entity::ParseDateTime(sku.value(QStringLiteral("created")));
        one.modified = entity::ParseDateTime(sku.value(QStringLiteral("modified")));
        if (one.skuId > 0)
            read.skus << one;
    }
    return read;
}

bool StoreNewVumoId(VumoDbInterface& store, const QString& clientId, qint64 vumoId)
{
    return store.ExecSql(QStringLiteral("UPDATE vumo_data SET vumo_id=%1 WHERE client_id='%2'")
                             .arg(QString::number(vumoId), SqlText(clientId)));
}

bool WriteUploadBack(VumoDbInterface& store, const entity::VumoDataEntity& record, int mode,
                     const UploadAnswer& answer)
{
    if (answer.vumoId < 1)
        return false;
    if (!store.Transaction())
        return false;
    const bool written =
        store.ExecSql(QStringLiteral("UPDATE vumo_data SET vumo_id=%1, vumo_status=%2, status=%3, upload_status=1, "
                                     "error_msg='' WHERE client_id='%4'")
                          .arg(QString::number(answer.vumoId),
                               QString::number(UploadedVumoStatus(mode, record.vumo_status())),
                               QString::number(record.status()), SqlText(record.client_id())))
        && WriteSkus(store, record, answer);
    if (written && store.Commit())
        return true;
    store.Rollback();
    qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "upload write-back rolled back" << record.client_id();
    return false;
}

bool DropRemovedSkuRows(VumoDbInterface& store, const QString& clientId, const QList<qint64>& removed)
{
    if (removed.isEmpty())
        return true;
    return store.ExecSql(QStringLiteral("DELETE FROM vumo_sku WHERE status=0 AND client_id='%1' AND sku_id IN (%2)")
                             .arg(SqlText(clientId), IdList(removed)));
}

bool StoreUploadOutcome(VumoDbInterface& store, const QString& clientId, qint16 state, const QString& outcome)
{
    const QString text = outcome == UploadSuccessText() ? QString() : outcome;
    // One arg() call: a "%1" inside the server's text is not a placeholder here.
    return store.ExecSql(QStringLiteral("UPDATE vumo_data SET error_msg='%1', upload_status=%2 WHERE client_id='%3'")
                             .arg(SqlText(text), QString::number(state), SqlText(clientId)));
}

bool StoreOnlineModified(VumoDbInterface& store, const QString& clientId, const QDateTime& modified)
{
    if (!modified.isValid())
        return true;
    return EnsureOnlineTable(store)
        && store.ExecSql(QStringLiteral("REPLACE INTO vumo_online(client_id, modified) VALUES ('%1', %2)")
                             .arg(SqlText(clientId), QString::number(modified.toSecsSinceEpoch())));
}

QDateTime StoredOnlineModified(VumoDbInterface& store, const QString& clientId)
{
    if (!HasOnlineTable(store))
        return QDateTime();
    QList<VumoDbInterface::TextPair> rows;
    if (!store.QueryTextPairs(QStringLiteral("SELECT modified, client_id FROM vumo_online WHERE client_id='%1'")
                                  .arg(SqlText(clientId)),
                              rows)
        || rows.isEmpty() || rows.first().first.isEmpty())
        return QDateTime();
    return QDateTime::fromSecsSinceEpoch(rows.first().first.toLongLong());
}

} // namespace Quorvia::vumo
