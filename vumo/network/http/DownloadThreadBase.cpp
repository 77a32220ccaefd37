#include "network/http/DownloadThreadBase.h"

#include <QMutexLocker>

namespace Quorvia::network::http {

DownloadThreadBase::DownloadThreadBase(QObject* parent)
    : VumoWorker(parent)
{
}

DownloadThreadBase::~DownloadThreadBase()
{
    wait();
}

void DownloadThreadBase::StartWithItem(qint64 itemId)
{
    // The previous run may still be unwinding after its finished() was queued.
    wait();
    {
        QMutexLocker locker(&m_mutex);
        m_idle = false;
        m_itemId = itemId;
        m_result = QStringLiteral("未下载");
    }
    SetTotal(1);
    Start(QThread::InheritPriority);
}

void DownloadThreadBase::Stop()
{
    // The flag first: a run that sees it leaves its result to this one.
    VumoWorker::Stop();
    {
        QMutexLocker locker(&m_mutex);
        m_idle = true;
        m_result = QStringLiteral("下载停止");
    }
    wait();
}

QString DownloadThreadBase::Result() const
{
    QMutexLocker locker(&m_mutex);
    return m_result;
}

qint64 DownloadThreadBase::ItemId() const
{
    QMutexLocker locker(&m_mutex);
    return m_itemId;
}

bool DownloadThreadBase::IsIdle() const
{
    QMutexLocker locker(&m_mutex);
    return m_idle;
}

void DownloadThreadBase::SetResult(const QString& text)
{
    QMutexLocker locker(&m_mutex);
    m_result = text;
}

void DownloadThreadBase::SetIdle()
{
    QMutexLocker locker(&m_mutex);
    m_idle = true;
}

} // namespace Quorvia::network::http
