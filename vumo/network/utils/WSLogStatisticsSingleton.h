#pragma once
// Collects usage counts and reports them to the workbench's platform server. Used from the
// GUI thread; the pending list is guarded by its own mutex.
#include "network/utils/WSLogStatistics.h"
#include "utils/CSingleton.h"

#include <QMutex>
#include <QObject>

namespace Quorvia::utils {

class WSLogStatisticsSingleton : public QObject, public CSingleton<WSLogStatisticsSingleton>
{
    Q_OBJECT

public:
    // Records one use and sends everything pending.
    void AddStatistics(qint64 categoryId, qint64 operationId, qint64 times = 1);

    int PendingCount() const;
    // The request object; lives with the singleton.
    Quorvia::network::request::WSLogStatistics* Request() { return m_request; }

private:
    friend class CSingleton<WSLogStatisticsSingleton>;
    WSLogStatisticsSingleton();

    void SendPending();

    mutable QMutex m_mutex;
    QList<Quorvia::network::request::LogStatisticsEntry> m_pending;
    Quorvia::network::request::WSLogStatistics* m_request = nullptr;
};

} // namespace Quorvia::utils
