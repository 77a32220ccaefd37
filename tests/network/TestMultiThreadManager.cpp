// The worker scheduler: every queued item is worked on exactly once, results are collected per
// item, completion and cancellation are signalled.
#include "network/http/DownloadThreadBase.h"
#include "network/http/MultiThreadManager.h"
#include "support/TestMain.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Quorvia::network::http;

namespace {

class FakeWorker : public DownloadThreadBase
{
public:
    explicit FakeWorker(int workMs)
        : m_workMs(workMs)
    {
    }

    QList<qint64> seen() const
    {
        QMutexLocker locker(&m_mutex);
        return m_seen;
    }

protected:
    void run() override
    {
        const qint64 item = ItemId();
        for (int waited = 0; waited < m_workMs && !IsStopRequested(); waited += 5)
            msleep(5);
        if (!IsStopRequested())
            SetResult(item % 3 == 0 ? QStringLiteral("失败%1").arg(item) : QStringLiteral("下载成功"));
        {
            QMutexLocker locker(&m_mutex);
            m_seen << item;
        }
        SetIdle();
    }

private:
    int m_workMs;
    mutable QMutex m_mutex;
    QList<qint64> m_seen;
};

} // namespace

class TestMultiThreadManager : public QObject
{
    Q_OBJECT

private slots:
    void everyItemOnceThenAllComplete()
    {
        FakeWorker first(10);
        FakeWorker second(15);
        MultiThreadManager manager;
        manager.AddWorker(&first);
        manager.AddWorker(&second);
        QSignalSpy one(&manager, &MultiThreadManager::OneComplete);
        QSignalSpy all(&manager, &MultiThreadManager::AllComplete);
        QMap<qint64, QString> resultsAtEnd;
        qint64 completedAtEnd = 0;
        connect(&manager, &MultiThreadManager::AllComplete, this, [&] {
            resultsAtEnd = manager.Results();
            completedAtEnd = manager.Completed();
        });

        // The shown total counts a deleted item that is never queued: the end comes anyway.
        manager.SetTotal(13);
        // Items arrive in two pages, from another thread, as the search loop feeds them.
        std::unique_ptr<QThread> feeder(QThread::create([&manager] {
            for (qint64 id = 1; id <= 6; ++id)
                manager.AddItem(id);
            QThread::msleep(60);
            for (qint64 id = 7; id <= 12; ++id)
                manager.AddItem(id);
            manager.CloseQueue();
        }));
        feeder->start();
        QTRY_COMPARE_WITH_TIMEOUT(all.count(), 1, 10000);
        feeder->wait();
        QCOMPARE(one.count(), 12);
        QCOMPARE(completedAtEnd, qint64(12));
        QCOMPARE(resultsAtEnd.size(), 12);
        QCOMPARE(resultsAtEnd.value(6), QStringLiteral("失败6"));
        QCOMPARE(resultsAtEnd.value(7), QStringLiteral("下载成功"));

        QList<qint64> handled = first.seen() + second.seen();
        std::sort(handled.begin(), handled.end());
        QList<qint64> expected;
        for (qint64 id = 1; id <= 12; ++id)
            expected << id;
        QCOMPARE(handled, expected);
    }

    void cancelStopsTakingItemsAndResetAllowsANewRun()
    {
        // Workers outlive the manager: it waits for them when it goes.
        FakeWorker worker(2000);
        FakeWorker quick(5);
        MultiThreadManager manager;
        manager.AddWorker(&worker);
        QSignalSpy cancelled(&manager, &MultiThreadManager::Cancled);
        QSignalSpy all(&manager, &MultiThreadManager::AllComplete);
        QMap<qint64, QString> resultsAtEnd;
        connect(&manager, &MultiThreadManager::AllComplete, this, [&] { resultsAtEnd = manager.Results(); });
        manager.SetTotal(3);
        manager.AddItem(1);
        manager.AddItem(2);
        manager.AddItem(3);
        QTRY_VERIFY(worker.isRunning());
        manager.Cancel();
        QCOMPARE(cancelled.count(), 1);
        QVERIFY(manager.IsCancelled());
        manager.AddItem(4); // refused after cancel
        // The cancelled run still ends, once the item under way is done.
        QTRY_COMPARE(all.count(), 1);
        QCOMPARE(worker.seen(), QList<qint64>{1});
        QCOMPARE(resultsAtEnd, (QMap<qint64, QString>{{1, QStringLiteral("下载停止")}}));
        manager.CloseQueue();
        QTest::qWait(50);
        QCOMPARE(all.count(), 1);

        manager.Reset();
        QVERIFY(!manager.IsCancelled());
        QCOMPARE(manager.Added(), qint64(0));
        manager.AddWorker(&quick);
        manager.SetTotal(2);
        manager.AddItem(10);
        manager.AddItem(11);
        manager.CloseQueue();
        QTRY_COMPARE_WITH_TIMEOUT(all.count(), 2, 10000);
        QList<qint64> handled = worker.seen() + quick.seen();
        std::sort(handled.begin(), handled.end());
        QCOMPARE(handled, (QList<qint64>{1, 10, 11}));
    }
};

VUMO_TEST_CLASS(TestMultiThreadManager)
#include "TestMultiThreadManager.moc"
