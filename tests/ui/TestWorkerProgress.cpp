// The worker base (stop flag, counters, progress from the worker thread), the progress frame
// (formats, cancel, finish and closing) and the helper that runs a worker in it: the outcome
// handed back, and every queued per-item signal delivered before the helper returns. Closing the
// window during a stalled item is played end to end by TestMainWidget
// (closingTheProgressWindowDuringAStalledDelete). Also the date-time field that stays empty until
// picked. The frame's result-file buttons are left out: no command hands it a file.
#include "support/TestMain.h"

#include "ui/BaseDialog.h"
#include "ui/QueryDateTimeEdit.h"
#include "ui/VaProgressFrame.h"
#include "ui/WorkerProgress.h"
#include "utils/VumoWorker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFrame>
#include <QImage>
#include <QMutex>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>

using namespace Quorvia::core::ui;
using Quorvia::utils::VumoWorker;
using Quorvia::utils::VumoWorkerOutcome;

namespace {

// Works on `items` items: every `failEvery`-th fails, the others emit ItemSignal first. At item
// `stallAt` it waits until the test releases it (at most 15 s), as a hanging call would, and
// with `slowAfterStall` takes a millisecond per item after that.
class ItemWorker : public VumoWorker
{
    Q_OBJECT
public:
    explicit ItemWorker(int items, int stallAt = -1, int failEvery = 0, bool slowAfterStall = false)
        : m_items(items)
        , m_stallAt(stallAt)
        , m_failEvery(failEvery)
        , m_slowAfterStall(slowAfterStall)
    {
        SetTotal(items);
    }

    QSemaphore release;
    std::atomic<bool> stalled{false};
    std::atomic<int> runs{0};

signals:
    void ItemSignal(int item);

protected:
    void run() override
    {
        ++runs;
        for (int i = 0; i < m_items; ++i) {
            if (LeaveIfStopped())
                return;
            if (i == m_stallAt) {
                stalled = true;
                release.tryAcquire(1, 15000);
            }
            if (m_slowAfterStall && i > m_stallAt)
                QThread::msleep(1);
            if (m_failEvery > 0 && i % m_failEvery == m_failEvery - 1) {
                ItemFailed(QStringLiteral("第%1个失败").arg(i));
                continue;
            }
            emit ItemSignal(i);
            ItemSucceeded();
        }
    }

private:
    const int m_items;
    const int m_stallAt;
    const int m_failEvery;
    const bool m_slowAfterStall;
};

VaProgressFrame* progressFrame()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() ? modal->findChild<VaProgressFrame*>() : nullptr;
}

WorkerProgressTexts deleteTexts()
{
    WorkerProgressTexts texts;
    texts.title = QStringLiteral("删除商品");
    texts.format = QStringLiteral("完成删除第%v个%1，共%m个%1");
    texts.item = QStringLiteral("商品");
    texts.cancelText = QStringLiteral("停止");
    texts.labelText = [](int done, int total) { return QStringLiteral("%1/%2").arg(done).arg(total); };
    texts.summaryText = [](const VumoWorkerOutcome& o) -> QString {
        return QStringLiteral("%1 %2 %3 %4 ").arg(o.cancelled).arg(o.done).arg(o.succeeded).arg(o.failed) + o.lastError;
    };
    return texts;
}

} // namespace

class TestWorkerProgress : public QObject
{
    Q_OBJECT

private slots:
    void stopBeforeStart()
    {
        // A plain start() keeps a stop asked before it: nothing is done, reported cancelled.
        ItemWorker kept(5);
        kept.Stop();
        kept.start();
        QVERIFY(kept.wait(10000));
        QVERIFY(kept.Cancelled());
        QCOMPARE(kept.Done(), 0);
        QCOMPARE(kept.runs.load(), 1);

        // Start() clears it, and the counters of the run before.
        QVERIFY(kept.Start());
        QVERIFY(kept.wait(10000));
        QVERIFY(!kept.IsStopped());
        QVERIFY(!kept.Cancelled());
        QCOMPARE(kept.Done(), 5);
    }

    void stopMidRunKeepsWhatWasDone()
    {
        ItemWorker worker(10, 4, 3); // items 2 and 5 fail; it stalls before item 4
        QVERIFY(worker.Start());
        QVERIFY(!worker.Start()); // running: a second start is refused
        QTRY_VERIFY_WITH_TIMEOUT(worker.stalled.load(), 10000);
        worker.Stop();
        worker.release.release();
        QVERIFY(worker.wait(10000));
        // Item 4 was under way and is finished; item 5 never began.
        const VumoWorkerOutcome outcome = worker.Outcome();
        QVERIFY(outcome.cancelled);
        QCOMPARE(outcome.total, 10);
        QCOMPARE(outcome.done, 5);
        QCOMPARE(outcome.succeeded, 4);
        QCOMPARE(outcome.failed, 1);
        QCOMPARE(outcome.lastError, QStringLiteral("第2个失败"));

        // A new run starts from zero and keeps the total.
        worker.release.release(); // no stall this time
        QVERIFY(worker.Start());
        QVERIFY(worker.wait(10000));
        QVERIFY(!worker.Cancelled());
        QCOMPARE(worker.Done(), 10);
        QCOMPARE(worker.Failed(), 3);
        QCOMPARE(worker.LastError(), QStringLiteral("第8个失败"));
    }

    // Progress is emitted on the worker thread and reaches a receiver living on a third thread
    // through its own event loop, in order.
    void progressIsQueuedToTheReceiversThread()
    {
        QThread receiverThread;
        receiverThread.start();
        QObject receiver;
        receiver.moveToThread(&receiverThread);
        QMutex mutex;
        QList<int> seen;
        QList<QThread*> deliveredOn;
        QList<QThread*> emittedOn;

        ItemWorker worker(200, -1, 7);
        connect(&worker, &VumoWorker::ProgressSignal, &receiver, [&](int done, int total) {
            QMutexLocker locker(&mutex);
            if (total == 200)
                seen << done;
            deliveredOn << QThread::currentThread();
        });
        connect(
            &worker, &VumoWorker::ProgressSignal, &worker,
            [&] {
                QMutexLocker locker(&mutex);
                emittedOn << QThread::currentThread();
            },
            Qt::DirectConnection);
        QVERIFY(worker.Start());
        QVERIFY(worker.wait(10000));
        QTRY_COMPARE_WITH_TIMEOUT(
            [&] {
                QMutexLocker l(&mutex);
                return int(seen.size());
            }(),
            200, 10000);
        receiverThread.quit();
        receiverThread.wait();

        QList<int> expected;
        for (int i = 1; i <= 200; ++i)
            expected << i;
        QCOMPARE(seen, expected);
        QCOMPARE(deliveredOn, QList<QThread*>(200, &receiverThread));
        QCOMPARE(emittedOn, QList<QThread*>(200, &worker));
        QCOMPARE(worker.Failed(), 28);
    }

    // To its end: the window shows the summary and waits for "确定"; meanwhile nothing is
    // cancelled. Every item signal was delivered by the time the helper returns, the ones
    // posted last included.
    void toTheEndShowsTheSummary()
    {
        ItemWorker worker(3000, -1, 1000);
        QObject context;
        int items = 0;
        connect(&worker, &ItemWorker::ItemSignal, &context, [&items](int) { ++items; });
        QString summary;
        QString progress;
        QString title;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, &ticker, [&] {
            VaProgressFrame* frame = progressFrame();
            if (frame && frame->IsFinished() && summary.isEmpty()) {
                summary = frame->LabelText();
                progress = frame->ProgressText();
                title = frame->window()->windowTitle();
                QCOMPARE(frame->ButtonText(), QStringLiteral("确定"));
                QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
            }
        });
        ticker.start(10);
        const VumoWorkerOutcome outcome = RunWorkerWithProgress(nullptr, worker, deleteTexts());
        ticker.stop();

        QCOMPARE(summary, QStringLiteral("0 3000 2997 3 第2999个失败"));
        QCOMPARE(progress, QStringLiteral("完成删除第3000个商品，共3000个商品"));
        QCOMPARE(title, QStringLiteral("删除商品"));
        QVERIFY(!outcome.cancelled);
        QCOMPARE(outcome.done, 3000);
        QCOMPARE(outcome.failed, 3);
        QCOMPARE(items, 2997);
    }

    // The window hidden from outside before the worker ends (its owner went away): the helper
    // stops the worker and still hands every item signal over before it returns.
    void windowHiddenFromOutsideStillDeliversEverything()
    {
        ItemWorker worker(10000, 20, 0, true);
        QObject context;
        int items = 0;
        connect(&worker, &ItemWorker::ItemSignal, &context, [&items](int) { ++items; });
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, &ticker, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && worker.stalled) {
                ticker.stop();
                modal->hide();
                worker.release.release();
            }
        });
        ticker.start(10);
        const VumoWorkerOutcome outcome = RunWorkerWithProgress(nullptr, worker, deleteTexts());

        QVERIFY(outcome.cancelled);
        QVERIFY(outcome.done > 20);
        QVERIFY(outcome.done < 10000);
        QCOMPARE(items, outcome.succeeded);
        QVERIFY(worker.isFinished());
    }

    void progressTextFormatsAndCancel()
    {
        VaProgressFrame frame;
        QCOMPARE(frame.ButtonText(), QStringLiteral("取消"));
        frame.SetRange(0, 10);
        frame.SetValue(3);
        frame.SetTextFormat(QStringLiteral("完成删除第%v个%1，共%m个%1"), QStringLiteral("商品"));
        QCOMPARE(frame.ProgressText(), QStringLiteral("完成删除第3个商品，共10个商品"));
        frame.SetValue(7);
        frame.SetTextFormat(QStringLiteral("已完成删除%1%p%"), QStringLiteral("商品"));
        QCOMPARE(frame.ProgressText(), QStringLiteral("已完成删除商品70%"));

        // A cancel is signalled once.
        QSignalSpy cancel(&frame, &VaProgressFrame::CancelSignal);
        QVERIFY(!frame.IsCanceled());
        QTest::mouseClick(frame.CancelButton(), Qt::LeftButton);
        QVERIFY(frame.IsCanceled());
        QCOMPARE(cancel.count(), 1);
        frame.OnButtonClicked();
        QCOMPARE(cancel.count(), 1);
    }

    void finishShowsTheTitleAndWaitsForOk()
    {
        BaseDialog<VaProgressFrame> dialog;
        VaProgressFrame* frame = dialog.content();
        frame->SetTitle(QStringLiteral("导出商品")); // shown by the dialog's title bar
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("导出商品"));
        dialog.show();
        frame->Finish();
        QCOMPARE(frame->ButtonText(), QStringLiteral("确定"));

        // "确定" after the finish closes the dialog; it never reports a cancel.
        QSignalSpy cancel(frame, &VaProgressFrame::CancelSignal);
        QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(cancel.count(), 0);
    }

    // Closing the window before the end (title bar button, Escape) cancels once and keeps it
    // open; when the work has ended it closes by itself.
    void closingBeforeTheEndCancelsAndWaits()
    {
        BaseDialog<VaProgressFrame> dialog;
        VaProgressFrame* frame = dialog.content();
        QSignalSpy cancel(frame, &VaProgressFrame::CancelSignal);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(cancel.count(), 1);
        QVERIFY(frame->IsCanceled());
        QVERIFY(frame->IsCloseRequested());
        QVERIFY(!frame->CancelButton()->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QCOMPARE(cancel.count(), 1);

        frame->Finish();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // Finished first: the title bar button closes at once, without a cancel.
        BaseDialog<VaProgressFrame> done;
        QSignalSpy noCancel(done.content(), &VaProgressFrame::CancelSignal);
        done.show();
        done.content()->Finish();
        QVERIFY(done.isVisible()); // the seller reads the summary first
        QTest::mouseClick(done.findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
        QVERIFY(!done.isVisible());
        QCOMPARE(noCancel.count(), 0);
    }

    void dateTimeFieldIsEmptyUntilPicked()
    {
        // Inside a styled frame, as in the dialogs.
        QFrame frame;
        frame.setObjectName(QStringLiteral("styled"));
        frame.setStyleSheet(QStringLiteral("QFrame#styled { background: #F4F6FA; }"));
        QueryDateTimeEdit edit(&frame);
        edit.resize(200, 26);
        frame.resize(220, 40);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QVERIFY(edit.IsEmpty());
        QVERIFY(edit.DisplayedText().isEmpty());

        // Nothing of the value is painted: a different value looks the same.
        edit.clearFocus();
        const QImage blank = edit.grab().toImage();
        edit.setDateTime(QDateTime(QDate(2011, 11, 11), QTime(11, 11, 11)));
        QCOMPARE(edit.grab().toImage(), blank);

        emit edit.calendarWidget()->clicked(QDate(2020, 5, 6));
        QVERIFY(!edit.IsEmpty());
        QVERIFY(edit.DisplayedText().startsWith(QStringLiteral("2020-05-06")));
        QVERIFY(edit.grab().toImage() != blank);

        // Dates before the minimum are not taken.
        edit.setDate(QDate(2001, 2, 3));
        QCOMPARE(edit.date(), QDate(2004, 1, 1));
        edit.SetEmpty(true);
        QVERIFY(edit.DisplayedText().isEmpty());
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_Up);
        QVERIFY(!edit.IsEmpty());
    }
};

VUMO_TEST_CLASS(TestWorkerProgress)
#include "TestWorkerProgress.moc"
