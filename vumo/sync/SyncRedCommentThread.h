#pragma once
// Carries the comments of a source SKU over to its flash-sale copy, in the background. Pairs are
// stored in the table synccomment first, so a pair survives the program; the thread loads them
// at start (dropping those older than seven days), then sleeps until a pair is added or it is
// asked to stop. A pair that fails three times in a row keeps its row for a later run.
//
// The thread waits in its own wait condition, so its stop flag lives under the same mutex:
// Stop() sets it and wakes the thread, and the destructor stops and waits, so the object never
// goes while its thread runs.
#include <QDateTime>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

namespace Quorvia::vumo {

class SyncRedCommentThread final : public QThread
{
    Q_OBJECT

public:
    explicit SyncRedCommentThread(QObject* parent = nullptr);
    // Stops and waits; a call under way is abandoned.
    ~SyncRedCommentThread() override;

    // Default 180000 ms per call.
    void SetRequestTimeLimit(int ms) { m_timeoutMs = ms; }

    // Clears the stop flag and starts; false while the thread still runs.
    bool Start();
    // Asks the loop to leave, abandoning a call under way; any thread, never waits.
    void Stop();
    bool IsStopped() const;

    // Stores the pair with the server's time and queues it for the running thread (a thread
    // not started yet finds it in the table). False when it could not be stored (logged).
    bool AddPair(qint64 newSkuId, qint64 oriSkuId);

signals:
    // On the thread, once the stored pairs were read: how many were queued.
    void LoadedSignal(int queued);
    // On the thread, after a pair's last try: the server's message, or the error text.
    void PairFinishedSignal(qint64 newSkuId, bool succeeded, const QString& message);

protected:
    void run() override;

private:
    struct Pair
    {
        qint64 newSkuId = 0;
        qint64 oriSkuId = 0;
        QDateTime created;
    };

    int loadStored();
    void finishPair(const Pair& pair, bool succeeded, const QString& message);

    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    QMap<qint64, Pair> m_queue; // by new SKU id: a pair stored and added twice goes once
    qint64 m_pending = 0;       // queued work; the thread sleeps while it is 0
    bool m_stop = false;
    bool m_loaded = false; // the running thread has read the table; adders queue from now on
    int m_timeoutMs = 180000;
};

} // namespace Quorvia::vumo
