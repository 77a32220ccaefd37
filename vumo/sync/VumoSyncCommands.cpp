#include "sync/VumoSyncCommands.h"

#include "plugin/VumoClassification.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/CatsDownloadThread.h"
#include "sync/CatsDownloadThreadByQBR.h"
#include "ui/MsgBox.h"
#include "ui/WorkerProgress.h"
#include "utils/Log.h"
#include "utils/VumoIni.h"

#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

namespace Quorvia::vumo::sync {

namespace {

using Quorvia::core::ui::ShowMsgBox;
using Quorvia::utils::AppShareHelp;
using Quorvia::utils::VumoIni;
using Quorvia::utils::VumoWorkerOutcome;

constexpr int kBarWidth = 260;

bool Succeeded(const VumoWorkerOutcome& outcome)
{
    return !outcome.cancelled && outcome.succeeded > 0;
}

} // namespace

VumoSyncCommands::VumoSyncCommands(VumoMainWidget& page)
    : m_page(page)
{
}

VumoSyncCommands::~VumoSyncCommands() = default;

void VumoSyncCommands::Declare(VumoCommandTable& table)
{
    // The button stays disabled while an update runs, whichever started it.
    const VumoCommandRule idle = [this] { return !IsUpdating(); };
    table.Declare({VumoCommand::PartCatsDownload, QStringLiteral("更新类目"),
                   QStringLiteral(":/images/toolbtn_downloadcats.svg"), QStringLiteral("更新类目"),
                   [this](const QVariant&) { OnCategoryDownload(false); }, idle});
    table.Declare(
        VumoCommand::FullCatsDownload, QStringLiteral("保守下载方式（速度很慢）"),
        [this](const QVariant&) { OnCatsDownloadByQBR(); }, idle);
}

bool VumoSyncCommands::IsUpdating() const
{
    return m_manual || m_automatic;
}

bool VumoSyncCommands::IsAutomaticRunning() const
{
    return m_automatic;
}

CatsDownloadThread& VumoSyncCommands::packageThread()
{
    if (!m_thread) {
        auto* appShare = AppShareHelp::instance();
        m_thread = std::make_unique<CatsDownloadThread>(appShare->GetUid(), appShare->GetVenderId());
        connect(m_thread.get(), &CatsSyncWorker::SetValue, this, &VumoSyncCommands::OnYVCatsSetValue,
                Qt::QueuedConnection);
        connect(m_thread.get(), &QThread::finished, this, &VumoSyncCommands::OnYVCatsFinished, Qt::QueuedConnection);
    }
    return *m_thread;
}

CatsDownloadThreadByQBR& VumoSyncCommands::qbrThread()
{
    if (!m_qbrThread) {
        auto* appShare = AppShareHelp::instance();
        m_qbrThread = std::make_unique<CatsDownloadThreadByQBR>(appShare->GetUid(), appShare->GetVenderId());
    }
    return *m_qbrThread;
}

void VumoSyncCommands::setButtonEnabled(bool enabled)
{
    if (QToolButton* button = m_page.CommandButton(VumoMainWidget::CommandCatsDownload))
        button->setEnabled(enabled);
}

bool VumoSyncCommands::storeUpdateTime(QString* time) const
{
    const QDateTime now = AppShareHelp::instance()->GetServerTime();
    if (time)
        *time = now.toString(QString::fromLatin1(VumoIni::DateTimeFormat));
    return VumoIni::SetCategoryUpdateTime(AppShareHelp::instance()->GetUid(), now);
}

// ---- automatic ----

bool VumoSyncCommands::StartAutomaticUpdate()
{
    auto* appShare = AppShareHelp::instance();
    if (!AutomaticCategoryUpdateDue(VumoIni::CategoryUpdateTime(appShare->GetUid()), appShare->GetServerTime()))
        return false;
    CatsDownloadThread& thread = packageThread();
    if (thread.isRunning() || IsUpdating())
        return false;
    m_automatic = true;
    thread.SetAutomatic(true);
    thread.SetFullRefresh(false);

    m_bar = new QProgressBar(m_page.StatusBar());
    m_bar->setObjectName(QStringLiteral("VumoCatsProgressBar"));
    m_bar->setRange(0, 100);
    m_bar->setFixedWidth(kBarWidth);
    m_bar->setTextVisible(false);
    m_page.StatusBar()->insertWidget(0, m_bar);
    m_page.OnShowStatusMsg(QStringLiteral("正在下载类目信息，进度0%"), 0);
    setButtonEnabled(false);
    thread.Start(QThread::InheritPriority);
    return true;
}

void VumoSyncCommands::OnYVCatsSetValue(int const& value)
{
    if (!m_automatic || !m_bar)
        return;
    m_bar->setValue(value);
    m_page.OnShowStatusMsg(value >= packageThread().SavingPercent() && value < 100
                               ? QStringLiteral("正在保存类目数据...")
                               : QStringLiteral("正在下载类目信息，进度%1%").arg(value),
                           0);
}

void VumoSyncCommands::OnYVCatsFinished()
{
    // A manual run is answered by its progress window.
    if (!m_automatic || !m_thread)
        return;
    m_thread->wait(); // finished() comes just before the thread itself is gone
    const VumoWorkerOutcome outcome = m_thread->Outcome();
    m_thread->SetAutomatic(false);
    m_automatic = false;
    QString text;
    if (Succeeded(outcome)) {
        QString time;
        text = storeUpdateTime(&time) ? QStringLiteral("类目同步已完成，最新一次同步时间%1").arg(time)
                                      : QStringLiteral("类目同步最新更新时间保存失败");
    } else if (!outcome.lastError.isEmpty()) {
        text = QStringLiteral("类目同步失败，原因：%1,请稍后手动进行更新！！").arg(outcome.lastError);
    } else {
        text = QStringLiteral("类目同步失败，请稍后手动进行更新！！");
    }
    m_page.OnShowStatusMsg(text, 0);
    if (Succeeded(outcome))
        m_page.Classification()->Refill(); // the shop categories were replaced
    if (m_bar) {
        m_page.StatusBar()->removeWidget(m_bar);
        m_bar->deleteLater();
        m_bar = nullptr;
    }
    setButtonEnabled(true);
}

// ---- manual ----

void VumoSyncCommands::OnCategoryDownload(bool fullRefresh)
{
    if (IsAutomaticRunning()) {
        ShowMsgBox(&m_page, QStringLiteral("正在进行自动更新类目，请稍后再手动更新！"));
        return;
    }
    CatsDownloadThread& thread = packageThread();
    thread.SetFullRefresh(fullRefresh);
    runManual(thread);
}

void VumoSyncCommands::OnCatsDownloadByQBR()
{
    if (IsAutomaticRunning()) {
        ShowMsgBox(&m_page, QStringLiteral("正在进行自动更新类目，请稍后再手动更新！"));
        return;
    }
    runManual(qbrThread());
}

void VumoSyncCommands::runManual(CatsSyncWorker& worker)
{
    if (worker.isRunning())
        return;
    m_manual = true;
    setButtonEnabled(false);
    Quorvia::core::ui::WorkerProgressTexts texts;
    texts.title = QStringLiteral("更新类目...");
    texts.format = QStringLiteral("%p%");
    const int saving = worker.SavingPercent();
    texts.labelText = [saving](int done, int total) {
        return total == 100 && done >= saving && done < 100 ? QStringLiteral("正在保存类目数据...") : QString();
    };
    // The time is written once the run is over, before its last words are shown.
    bool timeStored = true;
    texts.summaryText = [this, &timeStored](const VumoWorkerOutcome& outcome) {
        if (outcome.cancelled)
            return QStringLiteral("类目更新已取消");
        if (Succeeded(outcome)) {
            timeStored = storeUpdateTime();
            return QStringLiteral("类目数据更新完成！");
        }
        return outcome.lastError.isEmpty()
            ? QStringLiteral("类目数据更新失败，请稍后重试！")
            : QStringLiteral("类目数据更新失败，原因：%1，请稍后重试！").arg(outcome.lastError);
    };
    const VumoWorkerOutcome outcome = Quorvia::core::ui::RunWorkerWithProgress(&m_page, worker, texts);
    m_manual = false;
    setButtonEnabled(true);
    if (Succeeded(outcome))
        m_page.Classification()->Refill(); // the shop categories were replaced
    if (!timeStored)
        ShowMsgBox(&m_page, QStringLiteral("类目同步最新更新时间保存失败"));
}

} // namespace Quorvia::vumo::sync
