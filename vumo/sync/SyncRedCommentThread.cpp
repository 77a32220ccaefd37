#include "sync/SyncRedCommentThread.h"

#include "database/VumoDBMgr.h"
#include "entity/RedSyncCommentEntity.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "request/PopVumoRedCommentSync.h"
#include "utils/Log.h"

#include <QMutexLocker>

#include <memory>

namespace Quorvia::vumo {

using entity::RedSyncCommentEntity;

namespace {

constexpr int kTries = 3;
constexpr int kExpiryDays = 7;

QDateTime ServerNow()
{
    return utils::AppShareHelp::instance()->GetServerTime();
}

std::shared_ptr<database::VumoDbInterface> Store()
{
    return database::VumoDBMgr::instance()->GetVumoDb();
}

QString DateText(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

SyncRedCommentThread::SyncRedCommentThread(QObject* parent)
    : QThread(parent)
{
}

SyncRedCommentThread::~SyncRedCommentThread()
{
    Stop();
    wait();
}

bool SyncRedCommentThread::Start()
{
    if (isRunning())
        return false;
    // The host service loads itself on first use without a lock: make that happen here, on the
    // starting thread, not on two threads at once.
    ServerNow();
    {
        QMutexLocker locker(&m_mutex);
        m_stop = false;
    }
    start();
    return true;
}

void SyncRedCommentThread::Stop()
{
    QMutexLocker locker(&m_mutex);
    m_stop = true;
    m_wake.wakeAll();
}

bool SyncRedCommentThread::IsStopped() const
{
    QMutexLocker locker(&m_mutex);
    return m_stop;
}

bool SyncRedCommentThread::AddPair(qint64 newSkuId, qint64 oriSkuId)
{
    const QDateTime now = ServerNow();
    RedSyncCommentEntity record;
    record.set_new_skuid(newSkuId);
    record.set_ori_skuid(oriSkuId);
    record.set_create_date(now);
    record.set_last_req_date(now);
    if (!Store()->SaveSyncComment(record)) {
        qCWarning(lcVumo).noquote() << QStringLiteral(
                                           "闪购商品同步：数据库中添加条目失败：商品新Sku编号：%1，商品旧Sku编号%2")
                                           .arg(newSkuId)
                                           .arg(oriSkuId);
        return false;
    }
    QMutexLocker locker(&m_mutex);
    if (m_loaded) {
        m_queue.insert(newSkuId, {newSkuId, oriSkuId, now});
        ++m_pending;
        m_wake.wakeAll();
    }
    return true;
}

int SyncRedCommentThread::loadStored()
{
    auto store = Store();
    QList<RedSyncCommentEntity*> stored;
    if (!store->GetSyncComments(stored))
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "synccomment could not be read";
    const QDateTime limit = ServerNow().addDays(-kExpiryDays);
    QList<Pair> kept;
    for (const RedSyncCommentEntity* r : std::as_const(stored)) {
        // A pair without a readable date could never age out; it counts as expired.
        if (!r->create_date().isValid() || r->create_date() < limit) {
            qCInfo(lcVumo).noquote()
                << QStringLiteral(
                       "同步闪购商品评论失败：商品新Sku编号：%1，商品旧Sku编号：%2，最后更新时间为%3，已过期")
                       .arg(r->new_skuid())
                       .arg(r->ori_skuid())
                       .arg(DateText(r->last_req_date()));
            if (!store->DeleteSyncComment(r->new_skuid()))
                qCWarning(lcVumo).noquote() << QStringLiteral("同步闪购商品：删除同步条目失败，详情：%1！")
                                                   .arg(QStringLiteral("new_skuid=%1").arg(r->new_skuid()));
            continue;
        }
        kept.append({r->new_skuid(), r->ori_skuid(), r->create_date()});
    }
    qDeleteAll(stored);

    QMutexLocker locker(&m_mutex);
    for (const Pair& pair : std::as_const(kept))
        m_queue.insert(pair.newSkuId, pair);
    m_pending += kept.size();
    m_loaded = true;
    return int(kept.size());
}

void SyncRedCommentThread::run()
{
    // Pairs added while the table is read are in the table already; the map keeps each once.
    emit LoadedSignal(loadStored());
    std::unique_ptr<request::PopVumoRedCommentSync> request;
    for (;;) {
        QMap<qint64, Pair> work;
        {
            QMutexLocker locker(&m_mutex);
            while (m_pending == 0 && !m_stop)
                m_wake.wait(&m_mutex);
            if (m_stop)
                break;
            work.swap(m_queue);
            m_pending = 0;
        }
        for (const Pair& pair : std::as_const(work)) {
            // Pairs not reached keep their rows for the next start.
            if (IsStopped())
                break;
            if (!request) {
                request = std::make_unique<request::PopVumoRedCommentSync>();
                // A call under way ends when the thread is asked to stop, so unloading the
                // plug-in never waits out a silent comment server.
                request->SetAbortCheck([this] { return IsStopped(); });
            }
            request->SetSkuPair(pair.oriSkuId, pair.newSkuId);
            bool ok = false;
            for (int attempt = 0; attempt < kTries && !ok; ++attempt) {
                if (attempt > 0 && IsStopped())
                    break;
                ok = request->SyncRequest(m_timeoutMs);
            }
            finishPair(pair, ok, ok ? request->GetMessage() : request->errorMessage);
        }
    }
    QMutexLocker locker(&m_mutex);
    m_loaded = false;
    m_queue.clear();
    m_pending = 0;
}

void SyncRedCommentThread::finishPair(const Pair& pair, bool succeeded, const QString& message)
{
    auto store = Store();
    if (succeeded) {
        qCInfo(lcVumo).noquote() << message;
        if (!store->DeleteSyncComment(pair.newSkuId))
            qCWarning(lcVumo).noquote() << QStringLiteral("同步闪购商品：删除同步条目失败，详情：%1！")
                                               .arg(QStringLiteral("new_skuid=%1").arg(pair.newSkuId));
    } else {
        RedSyncCommentEntity record;
        record.set_new_skuid(pair.newSkuId);
        record.set_ori_skuid(pair.oriSkuId);
        record.set_create_date(pair.created);
        record.set_last_req_date(ServerNow());
        if (!store->SaveSyncComment(record))
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "synccomment row of" << pair.newSkuId << "not updated";
    }
    emit PairFinishedSignal(pair.newSkuId, succeeded, message);
}

} // namespace Quorvia::vumo
