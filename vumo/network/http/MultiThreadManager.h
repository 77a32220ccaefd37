#pragma once
// Hands queued item identifiers to a set of worker threads and counts their results. Workers
// report through their queued finished() signal.
#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QQueue>
#include <QSet>
#include <QString>

namespace Quorvia::network::http {

class DownloadThreadBase;

class MultiThreadManager : public QObject
{
    Q_OBJECT

public:
    explicit MultiThreadManager(QObject* parent = nullptr);
    ~MultiThreadManager() override; // waits for every worker to end

    // The manager does not own the workers.
    void AddWorker(DownloadThreadBase* worker);
    void AddItem(qint64 itemId);
    // The number shown as "of N"; it does not decide the end of a run (see CloseQueue).
    void SetTotal(qint64 total);
    // No more items come. AllComplete follows once every queued item has finished, at once
    // when they all have; a run that queued nothing ends without it.
    void CloseQueue();
    void Cancel();
    void Reset();

    qint64 Total() const;
    qint64 Completed() const;
    qint64 Added() const;
    bool IsCancelled() const;
    // Item identifier -> the worker's result text.
    QMap<qint64, QString> Results() const;

signals:
    void OneComplete(qint64 itemId);
    // Once per run: after CloseQueue when every queued item has finished, or after Cancel when
    // the items under way have finished.
    void AllComplete();
    void Cancled();

public slots:
    void Schedule();

private:
    void ScheduleIdle();
    void ScheduleFinished(DownloadThreadBase* worker);
    bool TakeNext(qint64* itemId);
    // Emits AllComplete and clears the counters when the run is over.
    bool FinishIfDone();

    mutable QMutex m_queueMutex;
    QQueue<qint64> m_pending;
    qint64 m_added = 0;
    bool m_cancelled = false;
    bool m_closed = false;
    bool m_ended = false; // AllComplete was emitted; Reset() begins the next run

    mutable QMutex m_workerMutex;
    QList<DownloadThreadBase*> m_workers;
    QSet<DownloadThreadBase*> m_busy; // handed an item, finished() not yet seen

    mutable QMutex m_counterMutex;
    qint64 m_total = 0;
    qint64 m_completed = 0;
    QMap<qint64, QString> m_results;
};

} // namespace Quorvia::network::http
