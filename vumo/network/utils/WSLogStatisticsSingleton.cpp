#include "network/utils/WSLogStatisticsSingleton.h"

#include "plugin/hostservices/AppShareHelp.h"

#include <QMutexLocker>

namespace Quorvia::utils {

using Quorvia::network::request::LogStatisticsEntry;

WSLogStatisticsSingleton::WSLogStatisticsSingleton()
    : m_request(new Quorvia::network::request::WSLogStatistics(this))
{
}

void WSLogStatisticsSingleton::AddStatistics(qint64 categoryId, qint64 operationId, qint64 times)
{
    {
        QMutexLocker lock(&m_mutex);
        m_pending.append(LogStatisticsEntry{categoryId, operationId, times});
    }
    SendPending();
}

int WSLogStatisticsSingleton::PendingCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_pending.size());
}

void WSLogStatisticsSingleton::SendPending()
{
    QList<LogStatisticsEntry> entries;
    {
        QMutexLocker lock(&m_mutex);
        entries.swap(m_pending);
    }
    if (entries.isEmpty())
        return;
    // The body is built at once, so the object can take the next report right away.
    m_request->SetAssistId(AppShareHelp::instance()->GetUUID());
    m_request->SetEntries(entries);
    m_request->StartRequest();
}

} // namespace Quorvia::utils
