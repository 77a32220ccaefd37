#pragma once
// One base for every long job of the plug-in that runs on its own thread (count, delete,
// download, upload, import, export): a stop flag that any thread may set, the counters of the
// items worked on, the last error text and whether the run left early because it was asked to.
//
//   class MyWorker : public VumoWorker {
//       void run() override {
//           SetTotal(n);
//           for (int i = 0; i < n; ++i) {
//               if (LeaveIfStopped()) return;     // marks the run cancelled
//               if (work(i)) ItemSucceeded(); else ItemFailed(QStringLiteral("..."));
//           }
//       }
//   };
//
// ItemSucceeded()/ItemFailed() emit ProgressSignal on the worker thread, so a receiver living on
// the GUI thread gets it queued. Per-item signals of a subclass are emitted the same way; see
// RunWorkerWithProgress (ui/WorkerProgress.h) for showing a worker in the progress window.
#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>

namespace Quorvia::utils {

// What a run came to; read once the worker has finished.
struct VumoWorkerOutcome
{
    bool cancelled = false;
    int total = 0;
    int done = 0;
    int succeeded = 0;
    int failed = 0;
    QString lastError;
};

class VumoWorker : public QThread
{
    Q_OBJECT
public:
    explicit VumoWorker(QObject* parent = nullptr);
    // Stops and waits: a worker never outlives its object. A subclass whose run() uses its own
    // members must do the same in its destructor, before those members go.
    ~VumoWorker() override;

    // Clears the stop flag, the done/succeeded/failed counters, the last error and the
    // cancelled mark, then starts. False (nothing started) while a run is still going; the
    // total is left as the subclass set it.
    bool Start(QThread::Priority priority = QThread::InheritPriority);

    // Asks the run to leave at its next check. Safe from any thread and never waits, so the
    // GUI thread can call it from a cancel button. A plain QThread::start() keeps the flag.
    void Stop();
    bool IsStopped() const;

    int Total() const { return m_total.load(); }
    int Done() const { return m_done.load(); }
    int Succeeded() const { return m_succeeded.load(); }
    int Failed() const { return m_failed.load(); }
    // The run left before its end because Stop() was asked.
    bool Cancelled() const { return m_cancelled.load(); }
    QString LastError() const;
    VumoWorkerOutcome Outcome() const;

signals:
    // After each item, on the worker thread: `done` of `total` items so far.
    void ProgressSignal(int done, int total);

protected:
    void SetTotal(int total);
    // Count one item and emit ProgressSignal. A subclass emits its own per-item signal
    // before these, so a receiver sees the item before the progress that counts it.
    void ItemSucceeded();
    void ItemFailed(const QString& error = QString());
    void SetLastError(const QString& error);
    // True when a stop was asked; the run is then marked cancelled and should return.
    bool LeaveIfStopped();

private:
    void itemDone();

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_total{0};
    std::atomic<int> m_done{0};
    std::atomic<int> m_succeeded{0};
    std::atomic<int> m_failed{0};
    mutable QMutex m_errorMutex;
    QString m_lastError;
};

} // namespace Quorvia::utils
