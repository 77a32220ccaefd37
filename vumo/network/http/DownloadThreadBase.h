#pragma once
// Worker thread of a MultiThreadManager: works on one item at a time and leaves a result text.
#include "utils/VumoWorker.h"

#include <QMutex>
#include <QString>

namespace Quorvia::network::http {

class DownloadThreadBase : public Quorvia::utils::VumoWorker
{
    Q_OBJECT

public:
    explicit DownloadThreadBase(QObject* parent = nullptr);
    ~DownloadThreadBase() override;

    // Clears the flags, sets the result to "未下载" and runs the thread for the item.
    virtual void StartWithItem(qint64 itemId);
    // Asks the run to stop, marks the worker idle, sets the result to "下载停止" and waits.
    // Unlike VumoWorker::Stop() it blocks: the scheduler hands the worker on right after.
    virtual void Stop();
    virtual QString Result() const;

    qint64 ItemId() const;
    bool IsIdle() const;
    bool IsStopRequested() const { return IsStopped(); }

protected:
    void SetResult(const QString& text);
    // Called by run() when it is done with its item.
    void SetIdle();

private:
    mutable QMutex m_mutex;
    qint64 m_itemId = 0;
    bool m_idle = true;
    QString m_result;
};

} // namespace Quorvia::network::http
