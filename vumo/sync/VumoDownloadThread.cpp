#include "sync/VumoDownloadThread.h"

#include "entity/VumoDataEntity.h"
#include "network/http/MultiThreadManager.h"
#include "request/PopVumosSearch.h"
#include "sync/DownloadOneVumoThread.h"

#include <QMutexLocker>

namespace Quorvia::vumo {

using network::http::MultiThreadManager;

namespace {
const QString kSuccess = QStringLiteral("下载成功");
constexpr int kPageSize = 40;
} // namespace

VumoDownloadThread::VumoDownloadThread(const QString& uid, int workers, QObject* parent)
    : QThread(parent)
    , m_manager(std::make_unique<MultiThreadManager>())
{
    qRegisterMetaType<Quorvia::vumo::entity::VumoDataEntity*>();
    qRegisterMetaType<Quorvia::vumo::entity::ENUM_VUMO_STATUS>();
    const int count = qBound(1, workers, kMaxWorkers);
    for (int i = 0; i < count; ++i) {
        auto worker = std::make_unique<DownloadOneVumoThread>(uid);
        connect(worker.get(), &DownloadOneVumoThread::AddVumo, this, &VumoDownloadThread::OnVumoHandleFinishedSignal,
                Qt::DirectConnection);
        connect(
            worker.get(), &DownloadOneVumoThread::OverwroteLocalChangeSignal, this,
            [this](qint64 vumoId) {
                QMutexLocker locker(&m_mutex);
                m_overwritten.append(vumoId);
            },
            Qt::DirectConnection);
        m_manager->AddWorker(worker.get());
        m_workers.push_back(std::move(worker));
    }
    // Direct: the manager clears its counters right after these signals are delivered.
    connect(m_manager.get(), &MultiThreadManager::OneComplete, this, &VumoDownloadThread::onOneComplete,
            Qt::DirectConnection);
    connect(m_manager.get(), &MultiThreadManager::AllComplete, this, &VumoDownloadThread::onAllComplete,
            Qt::DirectConnection);
}

VumoDownloadThread::~VumoDownloadThread()
{
    if (isRunning())
        Cancel();
    wait();
    m_manager.reset(); // waits for the workers, which go after it
}

void VumoDownloadThread::SetCondition(const VumoDownloadCondition& condition)
{
    QMutexLocker locker(&m_mutex);
    m_condition = condition;
    m_single.clear();
    if (condition.vumoId > 0)
        m_single.insert(condition.vumoId, QString());
    m_stop = false;
}

void VumoDownloadThread::SetVumoIds(const QList<qint64>& vumoIds)
{
    QMutexLocker locker(&m_mutex);
    m_single.clear();
    for (qint64 id : vumoIds)
        m_single.insert(id, QString());
    m_stop = false;
}

void VumoDownloadThread::SetRequestTimeLimit(int ms)
{
    m_requestTimeoutMs = ms;
    for (auto& worker : m_workers)
        worker->SetRequestTimeLimit(ms);
}

void VumoDownloadThread::Cancel()
{
    {
        QMutexLocker locker(&m_mutex);
        m_stop = true;
    }
    m_manager->Cancel();
}

bool VumoDownloadThread::IsCancelled() const
{
    QMutexLocker locker(&m_mutex);
    return m_stop;
}

QMap<qint64, QString> VumoDownloadThread::Failures() const
{
    QMutexLocker locker(&m_mutex);
    return m_failures;
}

QList<qint64> VumoDownloadThread::Overwritten() const
{
    QMutexLocker locker(&m_mutex);
    return m_overwritten;
}

QString VumoDownloadThread::Summary() const
{
    QMutexLocker locker(&m_mutex);
    return m_summary;
}

QString VumoDownloadThread::SearchError() const
{
    QMutexLocker locker(&m_mutex);
    return m_searchError;
}

void VumoDownloadThread::announce(const QString& text, int showMs)
{
    emit DownloadVumoStatusMessageSignal(text, showMs);
}

void VumoDownloadThread::run()
{
    m_runEnded.acquire(m_runEnded.available());
    QMap<qint64, QString> single;
    {
        QMutexLocker locker(&m_mutex);
        m_failures.clear();
        m_overwritten.clear();
        m_summary.clear();
        m_searchError.clear();
        single.swap(m_single);
    }
    m_manager->Reset();
    if (IsCancelled())
        m_manager->Cancel(); // asked before the manager was ready

    bool queued = false;
    if (!single.isEmpty() && !IsCancelled()) {
        const qint64 count = single.size();
        announce(DownloadProgressText(0, count));
        m_manager->SetTotal(count);
        emit NeedDownloadTotalSignal(count);
        for (auto it = single.cbegin(); it != single.cend(); ++it)
            m_manager->AddItem(it.key());
        queued = true;
    } else if (single.isEmpty()) {
        queued = queueSearchResults();
    }
    if (!queued && !m_manager->IsCancelled()) {
        emit DownloadVumoStopSignal();
        return;
    }
    m_manager->CloseQueue();
    m_runEnded.acquire();
    emit DownloadVumoStopSignal();
}

bool VumoDownloadThread::queueSearchResults()
{
    VumoDownloadCondition condition;
    {
        QMutexLocker locker(&m_mutex);
        condition = m_condition;
    }
    request::PopVumosSearch search;
    search.SetPageSize(kPageSize);
    search.SetStartPrice(condition.lowPrice);
    search.SetEndPrice(condition.highPrice);
    search.SetTitle(condition.title);
    search.SetCid(condition.cid);
    search.SetVumoStatus(condition.status);
    search.SetStartTime(condition.start);
    search.SetEndTime(condition.end); // invalid: up to now, never the 1970 default
    announce(QStringLiteral("正在查询满足条件的商品数，请稍后……"));

    qint64 total = 0;
    qint64 deleted = 0;
    bool failed = false;
    for (int page = 1; !IsCancelled(); ++page) {
        search.SetPage(page);
        if (!search.SyncRequest(m_requestTimeoutMs)) {
            announce(search.errorMessage, 0);
            QMutexLocker locker(&m_mutex);
            m_searchError = search.errorMessage.isEmpty() ? QStringLiteral("查询商品信息失败") : search.errorMessage;
            failed = true;
            break;
        }
        if (page == 1) {
            total = search.GetTotal();
            m_manager->SetTotal(total);
            emit NeedDownloadTotalSignal(total);
            emit OneVumoDownloadFinished(0);
            announce(DownloadProgressText(0, total));
            if (total == 0)
                break;
        }
        const QList<qint64> valid = search.GetValidIds();
        const QList<qint64> gone = search.GetDeletedIds();
        // Deleted listings are never queued: the total shown leaves them out.
        if (!gone.isEmpty()) {
            deleted += gone.size();
            m_manager->SetTotal(total - deleted);
            emit NeedDownloadTotalSignal(total - deleted);
        }
        for (qint64 id : valid)
            m_manager->AddItem(id);
        if (search.IsFinished() || (valid.isEmpty() && gone.isEmpty()))
            break;
    }
    const qint64 added = m_manager->Added();
    if (added == 0) {
        if (!failed && !IsCancelled())
            announce(QStringLiteral("无商品需要下载"), 0);
        return false;
    }
    // A failed page ends the paging; what was queued still finishes and is counted.
    if (failed || added != m_manager->Total()) {
        m_manager->SetTotal(added);
        emit NeedDownloadTotalSignal(added);
    }
    return true;
}

void VumoDownloadThread::onOneComplete()
{
    const qint64 completed = m_manager->Completed();
    emit OneVumoDownloadFinished(int(completed));
    announce(DownloadProgressText(completed, m_manager->Total()));
}

void VumoDownloadThread::onAllComplete()
{
    const QMap<qint64, QString> results = m_manager->Results();
    const qint64 completed = m_manager->Completed();
    const qint64 total = qMax(m_manager->Total(), completed);
    QMap<qint64, QString> failures;
    for (auto it = results.cbegin(); it != results.cend(); ++it) {
        if (it.value() != kSuccess)
            failures.insert(it.key(), it.value());
    }
    const QString summary = DownloadSummary(m_manager->IsCancelled(), total, completed, failures.size());
    {
        QMutexLocker locker(&m_mutex);
        m_failures = failures;
        m_summary = summary;
    }
    announce(summary, 0);
    m_runEnded.release();
}

} // namespace Quorvia::vumo
