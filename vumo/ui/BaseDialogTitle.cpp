#include "ui/BaseDialogTitle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace Quorvia::core::ui {

namespace {

const char* kMaxStyle = "QPushButton#MaxBtn{border:none;color:white;font-weight:bold;}"
                        "QPushButton#MaxBtn:hover{background:rgba(255,255,255,60);}";
const char* kRestoreStyle = "QPushButton#MaxBtn{border:none;color:white;font-weight:bold;"
                            "background:rgba(255,255,255,30);}"
                            "QPushButton#MaxBtn:hover{background:rgba(255,255,255,60);}";

QPushButton* MakeButton(const char* objectName, const QString& text, const QString& tip, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(tip);
    button->setFixedSize(28, 22);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

BaseDialogTitle::BaseDialogTitle(QWidget* window, QWidget* parent)
    : QWidget(parent)
    , m_window(window)
{
    setObjectName(QStringLiteral("ui_baseDialogTitle"));
    setFixedHeight(30);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("QLabel#ui_baseDialogTitleLable{color:white;font-weight:bold;}"
                                 "QPushButton#MiniBtn,QPushButton#CloseBtn{border:none;color:white;font-weight:bold;}"
                                 "QPushButton#MiniBtn:hover{background:rgba(255,255,255,60);}"
                                 "QPushButton#CloseBtn:hover{background:#D9403A;}"));

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("ui_baseDialogIcoLable"));
    m_icon->setFixedSize(18, 18);
    m_icon->setScaledContents(true);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("ui_baseDialogTitleLable"));

    // Plain glyphs stand in for the button images: they are legible at any scale.
    m_miniBtn = MakeButton("MiniBtn", QStringLiteral("—"), QStringLiteral("最小化"), this);
    m_maxBtn = MakeButton("MaxBtn", QStringLiteral("□"), QStringLiteral("最大化"), this);
    m_closeBtn = MakeButton("CloseBtn", QStringLiteral("✕"), QStringLiteral("关闭"), this);
    m_maxBtn->setStyleSheet(QString::fromLatin1(kMaxStyle));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 2, 0);
    layout->setSpacing(4);
    layout->addWidget(m_icon);
    layout->addWidget(m_title, 1);
    layout->addWidget(m_miniBtn);
    layout->addWidget(m_maxBtn);
    layout->addWidget(m_closeBtn);

    connect(m_miniBtn, &QPushButton::clicked, this, &BaseDialogTitle::showSmall);
    connect(m_maxBtn, &QPushButton::clicked, this, &BaseDialogTitle::showMaxRestore);
    connect(m_closeBtn, &QPushButton::clicked, this, &BaseDialogTitle::closeDialog);
}

void BaseDialogTitle::SetTitle(const QString& title)
{
    m_title->setText(title);
}

QString BaseDialogTitle::Title() const
{
    return m_title->text();
}

void BaseDialogTitle::SetIcon(const QPixmap& icon)
{
    m_icon->setPixmap(icon);
    m_icon->setVisible(!icon.isNull());
}

void BaseDialogTitle::SetMaximizable(bool on)
{
    m_maximizable = on;
    m_maxBtn->setVisible(on);
}

void BaseDialogTitle::SetMinimizable(bool on)
{
    m_miniBtn->setVisible(on);
}

void BaseDialogTitle::UpdateMaxButton()
{
    const bool maximized = m_window && m_window->isMaximized();
    m_maxBtn->setToolTip(maximized ? QStringLiteral("还原") : QStringLiteral("最大化"));
    m_maxBtn->setText(maximized ? QStringLiteral("❐") : QStringLiteral("□"));
    m_maxBtn->setStyleSheet(QString::fromLatin1(maximized ? kRestoreStyle : kMaxStyle));
}

void BaseDialogTitle::showSmall()
{
    if (m_window)
        m_window->showMinimized();
}

void BaseDialogTitle::showMaxRestore()
{
    if (!m_window || !m_maximizable)
        return;
    if (m_window->isMaximized())
        m_window->showNormal();
    else
        m_window->showMaximized();
    UpdateMaxButton();
}

void BaseDialogTitle::closeDialog()
{
    if (m_window)
        m_window->close();
}

void BaseDialogTitle::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        showMaxRestore();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void BaseDialogTitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    static const QPixmap background(QStringLiteral(":/images/title_dialog.png"));
    if (!background.isNull()) {
        painter.drawPixmap(rect(), background);
        return;
    }
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0x3A, 0x7B, 0xD5));
    gradient.setColorAt(1, QColor(0x2A, 0x5F, 0xB0));
    painter.fillRect(rect(), gradient);
}

} // namespace Quorvia::core::ui
