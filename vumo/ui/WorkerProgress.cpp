#include "ui/WorkerProgress.h"

#include "ui/BaseDialog.h"
#include "ui/VaProgressFrame.h"
#include "utils/Log.h"

#include <QEventLoop>
#include <QPointer>

namespace Quorvia::core::ui {

using Quorvia::utils::VumoWorker;
using Quorvia::utils::VumoWorkerOutcome;

VumoWorkerOutcome RunWorkerWithProgress(QWidget* parent, VumoWorker& worker, const WorkerProgressTexts& texts)
{
    if (worker.isRunning()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "the worker is running already";
        return worker.Outcome();
    }

    // Declared before the window: the handlers that use them go with it.
    bool ended = false;
    QPointer<QEventLoop> endLoop;
    BaseDialog<VaProgressFrame> dialog(parent);
    VaProgressFrame* frame = dialog.content();
    const int total = worker.Total();
    frame->SetTitle(texts.title);
    frame->SetRange(0, total);
    frame->SetValue(0);
    frame->SetTextFormat(texts.format, texts.item);
    frame->SetCancelText(texts.cancelText);
    if (texts.labelText)
        frame->SetLabelText(texts.labelText(0, total));

    QObject::connect(
        &worker, &VumoWorker::ProgressSignal, frame,
        [frame, &texts](int done, int itemCount) {
            frame->SetRange(0, itemCount);
            frame->SetValue(done);
            if (texts.labelText)
                frame->SetLabelText(texts.labelText(done, itemCount));
        },
        Qt::QueuedConnection);
    // VumoWorker::Stop() only sets the flag: the button's handler never waits for the worker.
    QObject::connect(frame, &VaProgressFrame::CancelSignal, frame, [&worker] { worker.Stop(); });

    // finished() is emitted on the worker thread after run() has returned, so it is posted to
    // this thread after every signal run() emitted to receivers here. Posted events of one
    // thread are delivered in the order they were posted: when this handler runs, all of them
    // have been delivered. The window closes only after it (its close guard holds until
    // Finish()), and the fall-back below waits for it too, so nothing is left in the queue.
    QObject::connect(
        &worker, &QThread::finished, frame,
        [&] {
            ended = true;
            const VumoWorkerOutcome outcome = worker.Outcome();
            if (texts.summaryText)
                frame->SetLabelText(texts.summaryText(outcome));
            frame->Finish(texts.resultFile ? texts.resultFile(outcome) : QString());
            if (endLoop)
                endLoop->quit();
        },
        Qt::QueuedConnection);

    if (!worker.Start()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "the worker did not start";
        return worker.Outcome();
    }
    dialog.exec();
    if (!ended) {
        // The window was hidden from outside before the worker ended.
        worker.Stop();
        QEventLoop loop;
        endLoop = &loop;
        loop.exec();
    }
    worker.wait(); // finished() comes just before the thread itself is gone
    return worker.Outcome();
}

} // namespace Quorvia::core::ui
