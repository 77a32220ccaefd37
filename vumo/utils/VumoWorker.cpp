#include "utils/VumoWorker.h"

#include <QMutexLocker>

namespace Quorvia::utils {

VumoWorker::VumoWorker(QObject* parent)
    : QThread(parent)
{
}

VumoWorker::~VumoWorker()
{
    Stop();
    wait();
}

bool VumoWorker::Start(QThread::Priority priority)
{
    if (isRunning())
        return false;
    m_stop = false;
    m_cancelled = false;
    m_done = 0;
    m_succeeded = 0;
    m_failed = 0;
    {
        QMutexLocker locker(&m_errorMutex);
        m_lastError.clear();
    }
    start(priority);
    return true;
}

void VumoWorker::Stop()
{
    m_stop = true;
}

bool VumoWorker::IsStopped() const
{
    return m_stop.load();
}

QString VumoWorker::LastError() const
{
    QMutexLocker locker(&m_errorMutex);
    return m_lastError;
}

VumoWorkerOutcome VumoWorker::Outcome() const
{
    VumoWorkerOutcome outcome;
    outcome.cancelled = Cancelled();
    outcome.total = Total();
    outcome.done = Done();
    outcome.succeeded = Succeeded();
    outcome.failed = Failed();
    outcome.lastError = LastError();
    return outcome;
}

void VumoWorker::SetTotal(int total)
{
    m_total = total < 0 ? 0 : total;
}

void VumoWorker::ItemSucceeded()
{
    ++m_succeeded;
    itemDone();
}

void VumoWorker::ItemFailed(const QString& error)
{
    ++m_failed;
    if (!error.isEmpty())
        SetLastError(error);
    itemDone();
}

void VumoWorker::SetLastError(const QString& error)
{
    QMutexLocker locker(&m_errorMutex);
    m_lastError = error;
}

bool VumoWorker::LeaveIfStopped()
{
    if (!m_stop.load())
        return false;
    m_cancelled = true;
    return true;
}

void VumoWorker::itemDone()
{
    const int done = ++m_done;
    emit ProgressSignal(done, m_total.load());
}

} // namespace Quorvia::utils
