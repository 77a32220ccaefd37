#pragma once
// Process-wide manager of asynchronous tasks: at most four counted tasks run at once, the rest
// wait in order of arrival; finished tasks are deleted in batches by a 1000 ms timer, never from
// inside their own signal. Lives on the thread that first uses it (the GUI thread).
#include <QList>
#include <QMutex>
#include <QObject>

class QTimer;

namespace Quorvia::network::http {

struct TASK_PARAM;
class SimpleHttp;

class HttpRequestManage : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRunningTasks = 4;
    static constexpr int kCleanupDelayMs = 1000;

    static HttpRequestManage* Instance();

    // Takes ownership of the task. Returns the started object, or null when the task was
    // queued or refused (null task, unknown type).
    SimpleHttp* AddTask(TASK_PARAM* task);

    int RunningCount() const;
    int WaitingCount() const;
    int PendingDeletionCount() const;

public slots:
    void OnFinishTask(SimpleHttp* http);

private slots:
    void timeOut();

private:
    HttpRequestManage();
    ~HttpRequestManage() override;
    SimpleHttp* StartTask(TASK_PARAM* task);

    mutable QMutex m_mutex;
    QList<TASK_PARAM*> m_waiting;
    QList<SimpleHttp*> m_finished;
    quint16 m_running = 0;
    QTimer* m_cleanupTimer = nullptr;
};

} // namespace Quorvia::network::http
