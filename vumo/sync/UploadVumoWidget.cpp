#include "sync/UploadVumoWidget.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "sync/VumoUploadStore.h"
#include "sync/VumoUploadThread.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QBrush>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Quorvia::vumo {

using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::ShowMsgBox;

namespace {

enum Column { ColumnIndex, ColumnTitle, ColumnState, ColumnOutcome, ColumnCount };

QString StateText(qint16 state)
{
    switch (state) {
    case UploadRunning:
        return QStringLiteral("正在上传");
    case UploadSucceeded:
        return QStringLiteral("上传成功");
    case UploadFailed:
        return QStringLiteral("上传失败");
    default:
        return QStringLiteral("准备上传");
    }
}

} // namespace

UploadVumoWidget::UploadVumoWidget(QWidget* parent, const QList<VUMO_LIST_STRUCT>& listings)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("UploadVumoWidget"));
    setWindowTitle(QStringLiteral("上传商品"));
    m_thread = std::make_unique<VumoUploadThread>(utils::AppShareHelp::instance()->GetUid());
    buildForm(listings);

    VumoUploadThread* thread = m_thread.get();
    connect(thread,
            QOverload<int, qint16, VUMO_CLASS, VUMO_CLASS, const QString&, const QString&>::of(
                &VumoUploadThread::UploadSignal),
            this, &UploadVumoWidget::OnUpdateInfo);
    connect(thread, &VumoUploadThread::UploadFinishedSignal, this, &UploadVumoWidget::OnUploadFinished);
    connect(thread, &VumoUploadThread::NeedToSyncCommentSignal, this, &UploadVumoWidget::NeedToSyncCommentSignal);
    if (auto* dialog = qobject_cast<Quorvia::core::ui::BaseDialogFrame*>(parent))
        dialog->SetCloseGuard([this] { return mayClose(); });
}

UploadVumoWidget::~UploadVumoWidget() = default;

void UploadVumoWidget::buildForm(const QList<VUMO_LIST_STRUCT>& listings)
{
    m_table = new QTableWidget(int(listings.size()), ColumnCount, this);
    m_table->setObjectName(QStringLiteral("uploadTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("商品名称"), QStringLiteral("上传状态"),
                                        QStringLiteral("上传信息")});
    m_table->verticalHeader()->hide();
    // Rows fitted to a long outcome grow; the others keep their usual height.
    m_table->verticalHeader()->setMinimumSectionSize(m_table->verticalHeader()->defaultSectionSize());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A conflict names both times and what to do: the whole text shows, not just its start.
    m_table->setWordWrap(true);
    m_table->setFocusPolicy(Qt::NoFocus);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(ColumnIndex, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColumnTitle, QHeaderView::Interactive);
    header->setSectionResizeMode(ColumnState, QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    m_table->setColumnWidth(ColumnTitle, 260);
    for (int row = 0; row < listings.size(); ++row) {
        const VUMO_LIST_STRUCT& listing = listings.at(row);
        m_clientIds << listing.client_id;
        m_states << qint16(-1);
        auto* index = new QTableWidgetItem(QString::number(row + 1));
        index->setTextAlignment(Qt::AlignCenter);
        m_table->setItem(row, ColumnIndex, index);
        auto* title = new QTableWidgetItem(listing.title);
        title->setToolTip(listing.title);
        m_table->setItem(row, ColumnTitle, title);
        m_table->setItem(row, ColumnState, new QTableWidgetItem(StateText(-1)));
        m_table->setItem(row, ColumnOutcome, new QTableWidgetItem());
    }

    m_summary = new QLabel(QStringLiteral("您选择了%1个商品准备上传").arg(listings.size()), this);
    m_summary->setObjectName(QStringLiteral("uploadSummary"));
    m_status = new QLabel(QStringLiteral("准备上传"), this);
    m_status->setObjectName(QStringLiteral("uploadStatus"));
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, qMax(1, int(listings.size())));
    m_progress->setValue(0);
    // Counts only once a mode button starts the run; until then the bar says nothing is under way.
    m_progress->setFormat(QStringLiteral("准备上传"));
    m_progress->setAlignment(Qt::AlignCenter);

    m_overwrite = new QCheckBox(QStringLiteral("覆盖线上修改"), this);
    m_overwrite->setObjectName(QStringLiteral("overwriteBox"));
    m_upload = new QPushButton(QStringLiteral("仅上传"), this);
    m_upload->setToolTip(QStringLiteral(
        "<html><head/><body><p>仅上传不改变线上商品状态<br>本地商品上传后为待售状态</p></body></html>"));
    m_listing = new QPushButton(QStringLiteral("上传且上架"), this);
    m_delisting = new QPushButton(QStringLiteral("上传且下架"), this);
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    connect(m_upload, &QPushButton::clicked, this, &UploadVumoWidget::OnUpload);
    connect(m_listing, &QPushButton::clicked, this, &UploadVumoWidget::OnUploadAndListing);
    connect(m_delisting, &QPushButton::clicked, this, &UploadVumoWidget::OnUploadAndDelisting);
    connect(m_close, &QPushButton::clicked, this, &UploadVumoWidget::OnCancel);

    auto* labels = new QHBoxLayout;
    labels->addWidget(m_summary);
    labels->addStretch(1);
    labels->addWidget(m_status);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_overwrite);
    buttons->addStretch(1);
    for (QPushButton* button : {m_upload, m_listing, m_delisting, m_close})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(labels);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setMinimumSize(680, 420);
}

QDialog* UploadVumoWidget::frame() const
{
    return qobject_cast<QDialog*>(parentWidget());
}

void UploadVumoWidget::OnUpload()
{
    start(0);
}

void UploadVumoWidget::OnUploadAndListing()
{
    start(1);
}

void UploadVumoWidget::OnUploadAndDelisting()
{
    start(2);
}

void UploadVumoWidget::start(int mode)
{
    if (m_running)
        return;
    QStringList ids;
    m_runRows.clear();
    for (int row = 0; row < m_clientIds.size(); ++row) {
        if (m_states.at(row) == UploadSucceeded)
            continue;
        ids << m_clientIds.at(row);
        m_runRows << row;
    }
    if (ids.isEmpty())
        return;
    m_thread->SetClientIds(ids);
    m_thread->SetMode(mode);
    m_thread->SetOverwrite(m_overwrite->isChecked());
    m_cancelled = false;
    m_progress->setRange(0, int(ids.size()));
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("正在上传第%v个商品，共%m个商品"));
    setRunning(true);
    m_thread->Start();
}

void UploadVumoWidget::OnUpdateInfo(int index, qint16 state, VUMO_CLASS newClass, VUMO_CLASS oldClass,
                                    const QString& outcome, const QString& sellerCats)
{
    if (index < 0 || index >= m_runRows.size())
        return;
    const int row = m_runRows.at(index);
    m_status->setText(QStringLiteral("正在上传第%1个商品...").arg(index + 1));
    m_progress->setValue(index + 1);
    m_states[row] = state;
    m_table->item(row, ColumnState)->setText(StateText(state));
    QTableWidgetItem* text = m_table->item(row, ColumnOutcome);
    text->setText(outcome);
    text->setToolTip(outcome);
    const QBrush color = state == UploadFailed ? QBrush(Qt::red) : QBrush();
    for (int column = 0; column < ColumnCount; ++column)
        m_table->item(row, column)->setForeground(color);
    m_table->resizeRowToContents(row);
    if (state == UploadRunning) {
        m_table->scrollToItem(m_table->item(row, ColumnIndex));
        return;
    }
    if (state == UploadSucceeded)
        ++m_succeededSoFar;
    const QString clientId = m_clientIds.at(row);
    emit UploadSucceedSignal(clientId, state, oldClass, newClass, m_succeededSoFar, sellerCats);
    emit UploadSucceedSignal(clientId, state, oldClass, newClass, m_succeededSoFar);
}

void UploadVumoWidget::OnUploadFinished(int succeeded, int failed)
{
    m_thread->wait();
    setRunning(false);
    const QString end = m_thread->Cancelled() ? QStringLiteral("上传被取消") : QStringLiteral("上传完成");
    m_status->setText(end);
    // "正在上传…" would read as still running.
    m_progress->setFormat(end);
    m_summary->setText(QStringLiteral("上传成功%1个商品，失败%2个商品").arg(succeeded).arg(failed));
    if (m_closeWhenStopped) {
        m_closeWhenStopped = false;
        if (QDialog* dialog = frame())
            dialog->reject();
    }
}

void UploadVumoWidget::OnCancel()
{
    if (!m_running) {
        if (QDialog* dialog = frame())
            dialog->reject();
        return;
    }
    if (ShowMsgBox(this, QStringLiteral("正在上传商品，您确认要取消！"), MsgBox::Question,
                   QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    m_cancelled = true;
    m_close->setEnabled(false);
    m_thread->Stop();
}

void UploadVumoWidget::setRunning(bool running)
{
    m_running = running;
    const bool anyLeft = m_states.contains(qint16(-1)) || m_states.contains(qint16(UploadFailed));
    for (QPushButton* button : {m_upload, m_listing, m_delisting})
        button->setEnabled(!running && anyLeft);
    m_overwrite->setEnabled(!running);
    m_close->setEnabled(true);
}

bool UploadVumoWidget::mayClose()
{
    if (!m_running)
        return true;
    if (!m_cancelled
        && ShowMsgBox(this, QStringLiteral("正在上传商品，您确认要取消！"), MsgBox::Question,
                      QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return false;
    // The listing under way finishes; the window goes with the end of the run.
    m_cancelled = true;
    m_closeWhenStopped = true;
    m_close->setEnabled(false);
    m_thread->Stop();
    return false;
}

} // namespace Quorvia::vumo
