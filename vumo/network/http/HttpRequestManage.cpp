#include "network/http/HttpRequestManage.h"

#include "network/http/SimpleHttp.h"
#include "network/http/TaskParam.h"
#include "utils/Log.h"

#include <QMetaObject>
#include <QTimer>

#include <memory>

namespace Quorvia::network::http {

HttpRequestManage::HttpRequestManage()
    : m_cleanupTimer(new QTimer(this))
{
    m_cleanupTimer->setSingleShot(true);
    connect(m_cleanupTimer, &QTimer::timeout, this, &HttpRequestManage::timeOut);
}

HttpRequestManage::~HttpRequestManage()
{
    qDeleteAll(m_waiting);
    qDeleteAll(m_finished);
}

HttpRequestManage* HttpRequestManage::Instance()
{
    static QMutex creation;
    static HttpRequestManage* instance = nullptr;
    QMutexLocker locker(&creation);
    if (!instance)
        instance = new HttpRequestManage();
    return instance;
}

SimpleHttp* HttpRequestManage::AddTask(TASK_PARAM* task)
{
    if (!task)
        return nullptr;
    std::unique_ptr<TASK_PARAM> owned(task);
    const int type = task->type;
    if (type != TASK_GET && type != TASK_POST && type != TASK_DOWNLOAD && type != TASK_KEEPALIVE) {
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + QStringLiteral("unknown task type") << type;
        return nullptr;
    }
    if (!task->bypassLimit) {
        QMutexLocker locker(&m_mutex);
        if (m_running >= kMaxRunningTasks) {
            m_waiting.append(owned.release());
            return nullptr;
        }
        ++m_running;
    }
    return StartTask(owned.release());
}

SimpleHttp* HttpRequestManage::StartTask(TASK_PARAM* task)
{
    std::unique_ptr<TASK_PARAM> owned(task);
    auto* http = new SimpleHttp(*task, this);
    owned.reset();
    connect(http, &SimpleHttp::RequestFinishedSignal, this, &HttpRequestManage::OnFinishTask);
    http->Start();
    return http;
}

void HttpRequestManage::OnFinishTask(SimpleHttp* http)
{
    if (!http)
        return;
    TASK_PARAM* next = nullptr;
    {
        QMutexLocker locker(&m_mutex);
        if (m_finished.contains(http))
            return; // already counted
        m_finished.append(http);
        if (!http->BypassLimit()) {
            // The freed slot passes straight to the first waiting task, so none overtakes it.
            if (!m_waiting.isEmpty())
                next = m_waiting.takeFirst();
            else if (m_running > 0)
                --m_running;
        }
    }
    if (next) {
        // Started from the event loop: a run of tasks failing at once must not nest ever deeper.
        QMetaObject::invokeMethod(
            this, [this, next] { StartTask(next); }, Qt::QueuedConnection);
    }
    m_cleanupTimer->start(kCleanupDelayMs);
}

void HttpRequestManage::timeOut()
{
    m_cleanupTimer->stop();
    QList<SimpleHttp*> doomed;
    {
        QMutexLocker locker(&m_mutex);
        doomed.swap(m_finished);
    }
    qDeleteAll(doomed);
}

int HttpRequestManage::RunningCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_running;
}

int HttpRequestManage::WaitingCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_waiting.size();
}

int HttpRequestManage::PendingDeletionCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_finished.size();
}

} // namespace Quorvia::network::http
