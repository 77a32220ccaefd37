#include "ui/VaProgressFrame.h"

#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace Quorvia::core::ui {

VaProgressFrame::VaProgressFrame(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("VaProgressFrame"));
    setWindowTitle(QStringLiteral("Quorvia工作台"));
    setMinimumSize(380, 120);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setWordWrap(true);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setAlignment(Qt::AlignCenter);
    m_button = new QPushButton(QStringLiteral("取消"), this);
    m_button->setObjectName(QStringLiteral("pushButton"));
    m_openFileBtn = new QPushButton(QStringLiteral("打开文件"), this);
    m_openFileBtn->setObjectName(QStringLiteral("openFileButton"));
    m_openFolderBtn = new QPushButton(QStringLiteral("打开所在文件夹"), this);
    m_openFolderBtn->setObjectName(QStringLiteral("openFolderButton"));
    m_openFileBtn->hide();
    m_openFolderBtn->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_openFileBtn);
    buttons->addWidget(m_openFolderBtn);
    buttons->addWidget(m_button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);

    if (auto* dialog = qobject_cast<BaseDialogFrame*>(parent))
        dialog->SetCloseGuard([this] { return RequestClose(); });

    connect(m_button, &QPushButton::clicked, this, &VaProgressFrame::OnButtonClicked);
    connect(m_openFileBtn, &QPushButton::clicked, this, &VaProgressFrame::OnOpenFile);
    connect(m_openFolderBtn, &QPushButton::clicked, this, &VaProgressFrame::OnOpenFolder);
}

void VaProgressFrame::SetTitle(const QString& title)
{
    setWindowTitle(title);
}

void VaProgressFrame::SetLabelText(const QString& text)
{
    m_label->setText(text);
}

QString VaProgressFrame::LabelText() const
{
    return m_label->text();
}

void VaProgressFrame::SetRange(int minimum, int maximum)
{
    m_progressBar->setRange(minimum, maximum);
}

void VaProgressFrame::SetValue(int value)
{
    m_progressBar->setValue(value);
}

int VaProgressFrame::Value() const
{
    return m_progressBar->value();
}

void VaProgressFrame::SetTextFormat(const QString& format, const QString& item)
{
    // "%1" is filled here once; the bar fills "%p", "%v" and "%m" itself on every change.
    QString text = format;
    text.replace(QLatin1String("%1"), item);
    m_progressBar->setFormat(text);
}

QString VaProgressFrame::ProgressText() const
{
    return m_progressBar->text();
}

void VaProgressFrame::SetCancelText(const QString& text)
{
    m_button->setText(text);
}

QString VaProgressFrame::ButtonText() const
{
    return m_button->text();
}

void VaProgressFrame::Finish(const QString& resultFile)
{
    m_finished = true;
    m_resultFile = resultFile;
    m_button->setText(QStringLiteral("确定"));
    m_button->setEnabled(true);
    const bool hasFile = !resultFile.isEmpty();
    m_openFileBtn->setVisible(hasFile);
    m_openFolderBtn->setVisible(hasFile);
    if (m_closeRequested) {
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->accept();
    }
}

bool VaProgressFrame::RequestClose()
{
    if (m_finished)
        return true;
    m_closeRequested = true;
    if (!m_canceled) {
        m_canceled = true;
        m_button->setEnabled(false);
        emit CancelSignal();
    }
    return false;
}

void VaProgressFrame::OnOpenFile()
{
    if (m_resultFile.isEmpty() || !QFileInfo::exists(m_resultFile)
        || !QDesktopServices::openUrl(QUrl::fromLocalFile(m_resultFile))) {
        ShowMsgBox(this, QStringLiteral("打开失败!"));
    }
}

void VaProgressFrame::OnOpenFolder()
{
    const QString folder = QFileInfo(m_resultFile).absolutePath();
    if (m_resultFile.isEmpty() || !QFileInfo(folder).isDir() || !QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        ShowMsgBox(this, QStringLiteral("打开失败!"));
}

void VaProgressFrame::OnButtonClicked()
{
    if (m_finished) {
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->accept();
        return;
    }
    if (m_canceled)
        return;
    // The worker stops between steps; the button stays disabled until it has.
    m_canceled = true;
    m_button->setEnabled(false);
    emit CancelSignal();
}

} // namespace Quorvia::core::ui
