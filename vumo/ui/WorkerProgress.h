#pragma once
// Shows a VumoWorker in the progress window (BaseDialog<VaProgressFrame>) and hands back what it
// came to. The cancel button and closing the window both stop the worker; the window stays
// until the worker has ended, its modal loop keeping the page painting meanwhile.
//
//   VumoDeleteThread thread(plan, rows);
//   connect(&thread, &VumoDeleteThread::OneVumoDeletedSignal, this, [this](const VUMO_LIST_STRUCT& row) {...});
//   WorkerProgressTexts texts;
//   texts.title = plan.progressTitle;
//   texts.format = plan.progressFormat;
//   texts.labelText = [](int done, int total) { return ...; };
//   texts.summaryText = [](const VumoWorkerOutcome& outcome) { return ...; };
//   const VumoWorkerOutcome outcome = RunWorkerWithProgress(this, thread, texts);
//
// Every queued signal of the worker that reached a receiver on the calling (GUI) thread has
// been delivered when this returns. A worker whose total is only known once it runs shows a
// busy bar until its first progress.
#include "utils/VumoWorker.h"

#include <QString>

#include <functional>

class QWidget;

namespace Quorvia::core::ui {

struct WorkerProgressTexts
{
    QString title;  // the window title
    QString format; // the bar's format, see VaProgressFrame::SetTextFormat
    QString item;   // what "%1" of the format stands for
    QString cancelText = QStringLiteral("取消");
    // The label at the start and after each item; none: the label stays empty.
    std::function<QString(int done, int total)> labelText;
    // The label once the worker has ended; none: the last progress label stays.
    std::function<QString(const Quorvia::utils::VumoWorkerOutcome&)> summaryText;
    // A file the run wrote, offered to open at the end; none or empty: no file buttons.
    std::function<QString(const Quorvia::utils::VumoWorkerOutcome&)> resultFile;
};

// Starts `worker` (it must not be running; its signals are connected by the caller before)
// and runs the modal progress window over `parent` until the worker has ended and the window
// is closed. Returns the worker's outcome; a worker that could not start comes back as it is.
Quorvia::utils::VumoWorkerOutcome RunWorkerWithProgress(QWidget* parent, Quorvia::utils::VumoWorker& worker,
                                                        const WorkerProgressTexts& texts);

} // namespace Quorvia::core::ui
