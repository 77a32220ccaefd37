#include "sync/CatsSyncWorker.h"

#include "database/VumoDBMgr.h"
#include "entity/SellerCatsEntity.h"
#include "request/PopSellerCatsGet.h"
#include "utils/Log.h"

namespace Quorvia::vumo::sync {

using database::VumoDBMgr;

CatsSyncWorker::CatsSyncWorker(const QString& uid, qint64 venderId, QObject* parent)
    : VumoWorker(parent)
    , m_uid(uid)
    , m_venderId(venderId)
{
    SetTotal(1);
}

void CatsSyncWorker::SetPercent(int percent)
{
    percent = qBound(0, percent, 100);
    // Records come by the thousand: only a new value is worth a queued signal.
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    emit SetValue(percent);
    emit ProgressSignal(percent, 100);
}

void CatsSyncWorker::Fail(const QString& error)
{
    qCWarning(lcVumo).noquote() << error;
    ItemFailed(error);
}

bool CatsSyncWorker::ApplyRecords(const QVector<database::CategoryRecordRows>& records, bool replaceAll, int from,
                                  int to)
{
    qint64 failedCid = 0;
    const auto progress = [&](int written, int total) {
        SetPercent(from + (to - from) * written / total);
        return !IsStopped();
    };
    if (VumoDBMgr::instance()->GetCategoryDb()->ApplyCategoryRecords(records, replaceAll, progress, &failedCid))
        return true;
    if (LeaveIfStopped())
        return false;
    if (failedCid == 0 && replaceAll) {
        qCWarning(lcVumo).noquote() << QStringLiteral("类目相关表清理失败");
        Fail(QStringLiteral("Yv类目相关数据库表清理失败"));
    } else {
        Fail(QStringLiteral("类目cid=%1信息保存失败").arg(failedCid));
    }
    return false;
}

bool CatsSyncWorker::RefreshShopCategories()
{
    if (LeaveIfStopped())
        return false;
    request::PopSellerCatsGet request;
    if (!request.SyncRequest(ShopCatsTimeoutMs)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("店铺分内更新失败");
        Fail(request.errorMessage);
        return false;
    }
    QList<entity::SellerCatsEntity*> list;
    for (const QVariantMap& item : request.GetItems()) {
        auto* category = new entity::SellerCatsEntity;
        for (auto it = item.cbegin(); it != item.cend(); ++it)
            category->SetApiValue(it.key(), it.value());
        list.append(category);
    }
    auto store = VumoDBMgr::instance()->GetVumoDb();
    const bool saved = list.isEmpty() ? store->ClearSellerCategories() : store->ReplaceSellerCategories(list);
    qDeleteAll(list);
    if (!saved) {
        Fail(QStringLiteral("店铺分内更新失败"));
        return false;
    }
    return true;
}

bool AutomaticCategoryUpdateDue(const QDateTime& lastUpdate, const QDateTime& serverNow)
{
    return !lastUpdate.isValid() || lastUpdate.date() != serverNow.date();
}

} // namespace Quorvia::vumo::sync
