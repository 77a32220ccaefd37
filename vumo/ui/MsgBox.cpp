#include "ui/MsgBox.h"

#include "ui/BaseDialog.h"
#include "utils/Log.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

namespace Quorvia::core::ui {

namespace {

MsgBoxHook& Hook()
{
    static MsgBoxHook hook;
    return hook;
}

// The buttons a box can show, in the order of their standard-button values.
const QMessageBox::StandardButton kButtonOrder[] = {
    QMessageBox::Ok,    QMessageBox::Yes,    QMessageBox::No,   QMessageBox::Abort,
    QMessageBox::Close, QMessageBox::Cancel, QMessageBox::Help,
};

const char* kButtonProperty = "standardButton";

// Width of the text in pixels: never narrower than kTextMinWidth; up to kTextComfortWidth as
// long as the text is not too high.
constexpr int kTextMinWidth = 240;
constexpr int kTextComfortWidth = 480;
constexpr int kTextMinHeight = 120;
constexpr QSize kChrome(120, 160);

} // namespace

MsgBox::MsgBox(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("msgbox"));
    setWindowTitle(QStringLiteral("Quorvia工作台"));
    setMinimumSize(320, 140);

    auto* vLayout = new QVBoxLayout(this);
    vLayout->setContentsMargins(12, 12, 12, 10);

    auto* infoCtr = new QWidget(this);
    infoCtr->setObjectName(QStringLiteral("msgbox_infoctr"));
    auto* grid = new QGridLayout(infoCtr);
    auto* splitter = new QSplitter(Qt::Horizontal, infoCtr);
    splitter->setObjectName(QStringLiteral("msgbox_promptsplitter"));
    splitter->setHandleWidth(12);
    splitter->setChildrenCollapsible(false);
    m_iconLabel = new QLabel(splitter);
    m_iconLabel->setObjectName(QStringLiteral("msgbox_icon"));
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setFixedSize(40, 40);
    auto* promptCtrl = new QWidget(splitter);
    promptCtrl->setObjectName(QStringLiteral("msgbox_promptctrl"));
    auto* promptLayout = new QVBoxLayout(promptCtrl);
    promptLayout->setContentsMargins(0, 0, 0, 0);
    // The text scrolls only when it would not fit on the screen (fitText).
    m_textScroll = new QScrollArea(promptCtrl);
    m_textScroll->setObjectName(QStringLiteral("msgbox_textscroll"));
    m_textScroll->setFrameShape(QFrame::NoFrame);
    m_textScroll->setWidgetResizable(true);
    m_textScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textScroll->viewport()->setAutoFillBackground(false);
    m_textLabel = new QLabel(m_textScroll);
    m_textLabel->setObjectName(QStringLiteral("msgbox_text"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_textScroll->setWidget(m_textLabel);
    m_textLabel->setAutoFillBackground(false); // setWidget turned it on
    promptLayout->addWidget(m_textScroll);
    splitter->addWidget(m_iconLabel);
    splitter->addWidget(promptCtrl);
    splitter->setStretchFactor(1, 1);
    grid->addWidget(splitter, 0, 0);
    vLayout->addWidget(infoCtr, 1);

    m_buttonBox = new QWidget(this);
    m_buttonBox->setObjectName(QStringLiteral("msgbox_btnctr"));
    m_buttonLayout = new QHBoxLayout(m_buttonBox);
    m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonLayout->addStretch(1);
    vLayout->addWidget(m_buttonBox);

    SetIcon(Information);
    SetButtons(QMessageBox::Ok);
}

void MsgBox::SetText(const QString& text)
{
    m_textLabel->setText(text);
    fitText();
}

void MsgBox::fitText()
{
    // The splitter hands no height-for-width down to the wrapped label, so the box works out
    // the size its text needs and asks for that: as wide as its longest line up to a comfortable
    // width, wider while the text would be too high, scrolling only past the screen's limits.
    QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
    // The rest of the window (icon, title bar, buttons, margins) takes roughly kChrome.
    const int maxWidth = qMax(kTextMinWidth, area.width() * 4 / 5 - kChrome.width());
    const int maxHeight = qMax(kTextMinHeight, area.height() * 4 / 5 - kChrome.height());
    const QFontMetrics metrics(m_textLabel->font());
    int longestLine = 0;
    for (const QString& line : m_textLabel->text().split(QLatin1Char('\n')))
        longestLine = qMax(longestLine, metrics.horizontalAdvance(line));
    const int margins = m_textLabel->contentsMargins().left() + m_textLabel->contentsMargins().right()
        + 2 * m_textLabel->margin() + 2;
    int width = qBound(kTextMinWidth, longestLine + margins, qMin(kTextComfortWidth, maxWidth));
    while (m_textLabel->heightForWidth(width) > maxHeight && width < maxWidth)
        width = qMin(maxWidth, width + kTextMinWidth / 2);
    int height = qMax(m_textLabel->heightForWidth(width), metrics.height());
    const bool scrolls = height > maxHeight;
    if (scrolls) {
        height = maxHeight;
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    m_textScroll->setMinimumSize(width, height);
    m_textScroll->setMaximumHeight(scrolls ? height : QWIDGETSIZE_MAX);
    updateGeometry();
}

void MsgBox::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window was sized to at most two thirds of the screen; the text may need more. The
    // dialog places itself after its content has been shown, so a resize is enough.
    QWidget* top = window();
    if (top == this || top->isMaximized() || !top->screen())
        return;
    const QSize wanted = top->sizeHint()
                             .expandedTo(top->minimumSizeHint())
                             .expandedTo(top->size())
                             .boundedTo(top->screen()->availableGeometry().size());
    if (wanted != top->size())
        top->resize(wanted);
}

QString MsgBox::Text() const
{
    return m_textLabel->text();
}

void MsgBox::SetIcon(Icon icon)
{
    m_iconKind = icon;
    QPixmap pixmap(icon == Question ? QStringLiteral(":/images/query.png") : QStringLiteral(":/images/info.png"));
    if (pixmap.isNull()) {
        const auto standard = icon == Question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxInformation;
        pixmap = style()->standardIcon(standard).pixmap(32, 32);
    }
    m_iconLabel->setPixmap(pixmap);
}

void MsgBox::SetButtons(QMessageBox::StandardButtons buttons)
{
    for (QPushButton* old : m_buttonBox->findChildren<QPushButton*>())
        delete old;
    m_buttons = {};
    bool first = true;
    for (const QMessageBox::StandardButton which : kButtonOrder) {
        if (!(buttons & which))
            continue;
        auto* button = new QPushButton(ButtonText(which), m_buttonBox);
        button->setObjectName(QStringLiteral("msgbox_btn_%1").arg(int(which)));
        button->setProperty(kButtonProperty, int(which));
        button->setMinimumWidth(72);
        if (first) {
            button->setDefault(true);
            button->setFocus();
            first = false;
        }
        connect(button, &QPushButton::clicked, this, &MsgBox::EmitSignalToMsgBox);
        m_buttonLayout->addWidget(button);
        m_buttons |= which;
    }
    if (!m_buttons)
        qCWarning(lcMain).noquote() << VUMO_SRC_POS << "消息框没有可用的按钮";
}

QPushButton* MsgBox::Button(QMessageBox::StandardButton which) const
{
    for (QPushButton* button : m_buttonBox->findChildren<QPushButton*>()) {
        if (button->property(kButtonProperty).toInt() == int(which))
            return button;
    }
    return nullptr;
}

QMessageBox::StandardButton MsgBox::EscapeButton() const
{
    for (const QMessageBox::StandardButton which :
         {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Close, QMessageBox::Abort, QMessageBox::Ok}) {
        if (m_buttons & which)
            return which;
    }
    return QMessageBox::NoButton;
}

QString MsgBox::ButtonText(QMessageBox::StandardButton which)
{
    switch (which) {
    case QMessageBox::Ok:
        return QStringLiteral("确定");
    case QMessageBox::Yes:
        return QStringLiteral("是");
    case QMessageBox::No:
        return QStringLiteral("否");
    case QMessageBox::Abort:
        return QStringLiteral("中止");
    case QMessageBox::Close:
        return QStringLiteral("关闭");
    case QMessageBox::Cancel:
        return QStringLiteral("取消");
    case QMessageBox::Help:
        return QStringLiteral("帮助");
    default:
        return QString();
    }
}

void MsgBox::ResponseOk()
{
    answer(QMessageBox::Ok);
}
void MsgBox::ResponseCancel()
{
    answer(QMessageBox::Cancel);
}
void MsgBox::ResponseYes()
{
    answer(QMessageBox::Yes);
}
void MsgBox::ResponseNO()
{
    answer(QMessageBox::No);
}

void MsgBox::EmitSignalToMsgBox()
{
    const QObject* button = sender();
    if (!button)
        return;
    answer(static_cast<QMessageBox::StandardButton>(button->property(kButtonProperty).toInt()));
}

void MsgBox::answer(QMessageBox::StandardButton which)
{
    m_result = which;
    switch (which) {
    case QMessageBox::Ok:
        emit SignalOk();
        break;
    case QMessageBox::Cancel:
        emit SignalCancel();
        break;
    case QMessageBox::Yes:
        emit SignalYes();
        break;
    case QMessageBox::No:
        emit SignalNo();
        break;
    default:
        break;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->done(int(which));
}

void SetMsgBoxHook(MsgBoxHook hook)
{
    Hook() = std::move(hook);
}

int ShowMsgBox(QWidget* parent, const QString& text, MsgBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    BaseDialog<MsgBox> dialog(parent);
    dialog.SetTitle(QStringLiteral("Quorvia工作台"));
    dialog.Title()->SetMaximizable(false);
    dialog.Title()->SetMinimizable(false);
    MsgBox* box = dialog.content();
    box->SetText(text);
    box->SetIcon(icon);
    box->SetButtons(buttons ? buttons : QMessageBox::StandardButtons(QMessageBox::Ok));

    if (Hook()) {
        const QMessageBox::StandardButton which = Hook()(*box);
        return box->Button(which) ? int(which) : int(box->EscapeButton());
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No widgets can be shown (a command-line run): the text goes to the log only.
        qCWarning(lcMain).noquote() << text;
        return int(box->EscapeButton());
    }
    dialog.exec();
    const QMessageBox::StandardButton result = box->Result();
    return result != QMessageBox::NoButton ? int(result) : int(box->EscapeButton());
}

} // namespace Quorvia::core::ui
