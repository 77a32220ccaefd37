#include "sync/VumoDownloadDlg.h"

#include "editor/CatsBrowserDlg.h"
#include "entity/VumoDataEntity.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/VumoDownloadThread.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "ui/QueryDateTimeEdit.h"
#include "utils/VumoIni.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace Quorvia::vumo {

using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::QueryDateTimeEdit;
using Quorvia::core::ui::ShowMsgBox;

namespace {

// The marketplace's states in the status box, after "全部商品".
const int kStatuses[] = {8, 1, 2, 4, 513, 514, 516, 520, 1026, 1028};

QDateTime ValueOf(const QueryDateTimeEdit* edit)
{
    return edit->IsEmpty() ? QDateTime() : edit->dateTime();
}

} // namespace

VumoDownloadDlg::VumoDownloadDlg(QWidget* parent, int workers)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("VumoDownloadDlg"));
    setWindowTitle(QStringLiteral("下载商品"));
    const int count = workers > 0 ? workers
                                  : utils::VumoIni::DownloadWorkers(utils::AppShareHelp::instance()->GetUid());
    m_thread = std::make_unique<VumoDownloadThread>(utils::AppShareHelp::instance()->GetUid(), count);
    buildForm();

    VumoDownloadThread* thread = m_thread.get();
    connect(thread, &VumoDownloadThread::NeedDownloadTotalSignal, this, &VumoDownloadDlg::OnGetDownloadTotal);
    connect(thread, &VumoDownloadThread::OneVumoDownloadFinished, m_progress, &QProgressBar::setValue);
    connect(thread, &VumoDownloadThread::DownloadVumoStatusMessageSignal, m_message, &QLabel::setText);
    connect(thread, &VumoDownloadThread::DownloadVumoStopSignal, this, &VumoDownloadDlg::OnVumoDownloadStop);
    connect(thread, &VumoDownloadThread::OnVumoHandleFinishedSignal, this,
            &VumoDownloadDlg::OnOneVumoHandleFinishedSignal);
    if (auto* frame = qobject_cast<Quorvia::core::ui::BaseDialogFrame*>(parent))
        frame->SetCloseGuard([this] { return mayClose(); });
}

VumoDownloadDlg::~VumoDownloadDlg()
{
    if (m_canceller)
        m_canceller->wait();
}

void VumoDownloadDlg::buildForm()
{
    auto* grid = new QGridLayout;
    m_status = new QComboBox(this);
    m_status->addItem(QStringLiteral("全部商品"), 0);
    for (int status : kStatuses)
        m_status->addItem(entity::VumoStatusText(status), status);
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("vumoIdEdit"));
    m_number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,18}")), this));
    m_category = new QLineEdit(this);
    m_category->setReadOnly(true);
    m_catsButton = new QPushButton(QStringLiteral("选择"), this);
    m_catsClear = new QPushButton(QStringLiteral("清除"), this);
    connect(m_catsClear, &QPushButton::clicked, this, [this] {
        m_cid = -1;
        m_category->clear();
    });
    m_title = new QLineEdit(this);
    m_lowPrice = new QLineEdit(this);
    m_highPrice = new QLineEdit(this);
    for (QLineEdit* price : {m_lowPrice, m_highPrice})
        price->setValidator(new QIntValidator(0, 99999999, price));
    m_startTime = new QueryDateTimeEdit(this);
    m_startTime->SetPickTime(QTime(0, 0));
    m_endTime = new QueryDateTimeEdit(this);
    m_endTime->SetPickTime(QTime(23, 59, 59));

    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(m_category);
    categoryRow->addWidget(m_catsButton);
    categoryRow->addWidget(m_catsClear);
    grid->addWidget(new QLabel(QStringLiteral("商品状态"), this), 0, 0);
    grid->addWidget(m_status, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("商品编号"), this), 0, 2);
    grid->addWidget(m_number, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Yv分类"), this), 1, 0);
    grid->addLayout(categoryRow, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("商品名称"), this), 1, 2);
    grid->addWidget(m_title, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("低Yv价(元)"), this), 2, 0);
    grid->addWidget(m_lowPrice, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("高Yv价(元)"), this), 2, 2);
    grid->addWidget(m_highPrice, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("修改时间"), this), 3, 0);
    grid->addWidget(m_startTime, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("至"), this), 3, 2);
    grid->addWidget(m_endTime, 3, 3);

    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_message->setMinimumHeight(40);
    connect(m_message, &QLabel::linkActivated, this, &VumoDownloadDlg::OnShowDownloadMsg);
    m_progress = new QProgressBar(this);
    m_progress->setFormat(QStringLiteral("已完成%v个商品下载，共%m个商品，已进行%p%"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_start = new QPushButton(QStringLiteral("下载商品"), this);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    connect(m_start, &QPushButton::clicked, this, &VumoDownloadDlg::OnDownloadVumoStart);
    connect(m_cancel, &QPushButton::clicked, this, &VumoDownloadDlg::OnDownloadVumoCancel);
    connect(m_catsButton, &QPushButton::clicked, this, &VumoDownloadDlg::OnYVCatsBtnClicked);
    connect(m_number, &QLineEdit::textChanged, this, &VumoDownloadDlg::OnFilterEditChanged);
    connect(m_startTime, &QDateTimeEdit::dateTimeChanged, this, &VumoDownloadDlg::OnTimeEdit);
    connect(m_endTime, &QDateTimeEdit::dateTimeChanged, this, &VumoDownloadDlg::OnTimeEdit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setMinimumWidth(560);
}

void VumoDownloadDlg::OnFilterEditChanged(const QString& text)
{
    // A listing number alone decides; the filter does not apply to it.
    const bool byNumber = !text.trimmed().isEmpty();
    for (QWidget* field : std::initializer_list<QWidget*>{m_status, m_title, m_lowPrice, m_highPrice, m_startTime,
                                                          m_endTime, m_category})
        field->setEnabled(!byNumber && !m_running);
}

void VumoDownloadDlg::OnTimeEdit(const QDateTime&)
{
    m_message->clear();
}

void VumoDownloadDlg::OnDownloadVumoStart()
{
    if (m_running)
        return;
    VumoDownloadCondition condition;
    const QString problem = CheckDownloadInput(m_number->text(), m_lowPrice->text(), m_highPrice->text(),
                                               ValueOf(m_startTime), ValueOf(m_endTime), condition);
    if (!problem.isEmpty()) {
        m_message->setText(problem);
        return;
    }
    condition.status = m_status->currentData().toInt();
    condition.cid = m_cid;
    condition.title = m_title->text().trimmed();
    m_thread->SetCondition(condition);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_message->clear();
    setRunning(true);
    m_thread->start();
}

void VumoDownloadDlg::OnDownloadVumoCancel()
{
    if (!m_running) {
        if (auto* frame = qobject_cast<QDialog*>(parentWidget()))
            frame->reject();
        return;
    }
    if (m_canceller)
        return; // already cancelling
    m_cancel->setEnabled(false);
    // On its own thread: the GUI keeps answering while the listings under way finish.
    VumoDownloadThread* thread = m_thread.get();
    m_canceller.reset(QThread::create([thread] { thread->Cancel(); }));
    m_canceller->start();
}

void VumoDownloadDlg::OnGetDownloadTotal(qint64 total)
{
    m_progress->setRange(0, int(qMax<qint64>(total, 1)));
}

void VumoDownloadDlg::OnVumoDownloadStop()
{
    m_thread->wait();
    if (m_canceller) {
        m_canceller->wait();
        m_canceller.reset();
    }
    setRunning(false);
    QString text = m_thread->Summary();
    if (text.isEmpty())
        text = m_message->text();
    if (!m_thread->Failures().isEmpty() || !m_thread->Overwritten().isEmpty())
        text += QStringLiteral(" <a href=\"#failures\">查看详情</a>");
    m_message->setText(text);
    if (m_closeWhenStopped) {
        m_closeWhenStopped = false;
        if (auto* frame = qobject_cast<QDialog*>(parentWidget()))
            frame->reject();
    }
}

void VumoDownloadDlg::OnShowDownloadMsg()
{
    const QString table = DownloadFailureTable(m_thread->Failures(), m_thread->Overwritten());
    if (!table.isEmpty())
        ShowMsgBox(this, table, MsgBox::Information, QMessageBox::Ok);
}

void VumoDownloadDlg::OnYVCatsBtnClicked()
{
    qint64 cid = qMax<qint64>(m_cid, 0);
    QString name;
    if (CatsBrowserDlg::Pick(this, cid, name) && cid > 0) {
        m_cid = cid;
        m_category->setText(name);
    }
}

void VumoDownloadDlg::OnOneVumoHandleFinishedSignal(entity::VumoDataEntity* record, entity::ENUM_VUMO_STATUS srcStatus,
                                                    const QString& srcSellerCats)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&VumoDownloadDlg::OneVumoDownloadFinishedSignal)))
        emit OneVumoDownloadFinishedSignal(record, srcStatus, srcSellerCats);
    else
        delete record;
}

void VumoDownloadDlg::setRunning(bool running)
{
    m_running = running;
    m_number->setEnabled(!running);
    OnFilterEditChanged(m_number->text());
    m_start->setEnabled(!running);
    m_cancel->setEnabled(true);
    if (!running) {
        m_start->setText(QStringLiteral("重试"));
        m_cancel->setText(QStringLiteral("关闭"));
    } else {
        m_cancel->setText(QStringLiteral("取消"));
    }
}

bool VumoDownloadDlg::mayClose()
{
    if (!m_running)
        return true;
    if (ShowMsgBox(this, QStringLiteral("正在下载商品，您确定要关闭吗？"), MsgBox::Question,
                   QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    // The window goes once the listings under way are done (OnVumoDownloadStop); waiting
    // here would freeze it meanwhile.
    m_closeWhenStopped = true;
    OnDownloadVumoCancel();
    return false;
}

} // namespace Quorvia::vumo
