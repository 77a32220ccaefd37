#include "network/http/MultiThreadManager.h"

#include "network/http/DownloadThreadBase.h"

#include <QMutexLocker>

namespace Quorvia::network::http {

MultiThreadManager::MultiThreadManager(QObject* parent)
    : QObject(parent)
{
}

MultiThreadManager::~MultiThreadManager()
{
    QMutexLocker locker(&m_workerMutex);
    for (DownloadThreadBase* worker : std::as_const(m_workers))
        worker->wait();
}

void MultiThreadManager::AddWorker(DownloadThreadBase* worker)
{
    if (!worker)
        return;
    {
        QMutexLocker locker(&m_workerMutex);
        if (m_workers.contains(worker))
            return;
        m_workers.append(worker);
    }
    connect(worker, &QThread::finished, this, &MultiThreadManager::Schedule, Qt::QueuedConnection);
}

void MultiThreadManager::AddItem(qint64 itemId)
{
    bool wasEmpty = false;
    {
        QMutexLocker locker(&m_queueMutex);
        if (m_cancelled)
            return;
        wasEmpty = m_pending.isEmpty();
        m_pending.enqueue(itemId);
        ++m_added;
    }
    if (wasEmpty)
        ScheduleIdle();
}

bool MultiThreadManager::TakeNext(qint64* itemId)
{
    QMutexLocker locker(&m_queueMutex);
    if (m_cancelled || m_pending.isEmpty())
        return false;
    *itemId = m_pending.dequeue();
    return true;
}

void MultiThreadManager::Schedule()
{
    if (auto* worker = qobject_cast<DownloadThreadBase*>(sender()))
        ScheduleFinished(worker);
    else
        ScheduleIdle();
}

void MultiThreadManager::ScheduleIdle()
{
    QMutexLocker locker(&m_workerMutex);
    for (DownloadThreadBase* worker : std::as_const(m_workers)) {
        // A worker whose finished() is still on its way is not free yet, even if it says idle.
        if (m_busy.contains(worker) || !worker->IsIdle())
            continue;
        qint64 itemId = 0;
        if (!TakeNext(&itemId))
            break;
        m_busy.insert(worker);
        worker->StartWithItem(itemId);
    }
}

void MultiThreadManager::ScheduleFinished(DownloadThreadBase* worker)
{
    {
        QMutexLocker locker(&m_workerMutex);
        if (!m_busy.remove(worker))
            return; // from before a reset
    }
    const qint64 itemId = worker->ItemId();
    {
        QMutexLocker locker(&m_counterMutex);
        ++m_completed;
        m_results.insert(itemId, worker->Result());
    }
    emit OneComplete(itemId);
    if (FinishIfDone())
        return;
    QMutexLocker locker(&m_workerMutex);
    qint64 next = 0;
    if (!m_busy.contains(worker) && TakeNext(&next)) {
        m_busy.insert(worker);
        worker->StartWithItem(next);
    }
}

bool MultiThreadManager::FinishIfDone()
{
    {
        QMutexLocker workerLocker(&m_workerMutex);
        if (!m_busy.isEmpty())
            return false;
        QMutexLocker queueLocker(&m_queueMutex);
        QMutexLocker counterLocker(&m_counterMutex);
        // Counting what was queued, not the search's total: deleted listings are never
        // queued and a failed page queues less, yet the run must still end.
        const bool over = m_cancelled || (m_closed && m_added > 0 && m_completed >= m_added);
        if (!over || m_ended)
            return false;
        m_ended = true;
    }
    // Receivers read the counters and results while the signal is delivered.
    emit AllComplete();
    QMutexLocker locker(&m_counterMutex);
    m_total = 0;
    m_completed = 0;
    m_results.clear();
    QMutexLocker queueLocker(&m_queueMutex);
    m_added = 0;
    m_pending.clear();
    return true;
}

void MultiThreadManager::CloseQueue()
{
    {
        QMutexLocker locker(&m_queueMutex);
        m_closed = true;
    }
    FinishIfDone();
}

void MultiThreadManager::SetTotal(qint64 total)
{
    QMutexLocker locker(&m_counterMutex);
    m_total = total;
}

void MultiThreadManager::Cancel()
{
    {
        QMutexLocker locker(&m_queueMutex);
        if (m_cancelled)
            return;
        m_cancelled = true;
        m_pending.clear();
    }
    {
        QMutexLocker locker(&m_workerMutex);
        for (DownloadThreadBase* worker : std::as_const(m_workers))
            worker->Stop();
    }
    emit Cancled();
    // The stopped workers' finished() signals are still queued; with none busy the run is over now.
    FinishIfDone();
}

void MultiThreadManager::Reset()
{
    {
        QMutexLocker locker(&m_workerMutex);
        for (DownloadThreadBase* worker : std::as_const(m_workers))
            worker->Stop();
        m_busy.clear();
    }
    {
        QMutexLocker locker(&m_queueMutex);
        m_pending.clear();
        m_added = 0;
        m_cancelled = false;
        m_closed = false;
        m_ended = false;
    }
    QMutexLocker locker(&m_counterMutex);
    m_total = 0;
    m_completed = 0;
    m_results.clear();
}

qint64 MultiThreadManager::Total() const
{
    QMutexLocker locker(&m_counterMutex);
    return m_total;
}

qint64 MultiThreadManager::Completed() const
{
    QMutexLocker locker(&m_counterMutex);
    return m_completed;
}

qint64 MultiThreadManager::Added() const
{
    QMutexLocker locker(&m_queueMutex);
    return m_added;
}

bool MultiThreadManager::IsCancelled() const
{
    QMutexLocker locker(&m_queueMutex);
    return m_cancelled;
}

QMap<qint64, QString> MultiThreadManager::Results() const
{
    QMutexLocker locker(&m_counterMutex);
    return m_results;
}

} // namespace Quorvia::network::http
