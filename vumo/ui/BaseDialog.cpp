#include "ui/BaseDialog.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace Quorvia::core::ui {

Qt::Edges DialogEdgesAt(const QPoint& pos, const QSize& size, int border)
{
    Qt::Edges edges;
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= size.width() || pos.y() >= size.height())
        return edges;
    if (pos.x() < border)
        edges |= Qt::LeftEdge;
    else if (pos.x() >= size.width() - border)
        edges |= Qt::RightEdge;
    if (pos.y() < border)
        edges |= Qt::TopEdge;
    else if (pos.y() >= size.height() - border)
        edges |= Qt::BottomEdge;
    return edges;
}

QRect DialogResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                            const QSize& maximum)
{
    const int minW = std::max(0, minimum.width());
    const int minH = std::max(0, minimum.height());
    const int maxW = std::max(minW, maximum.width());
    const int maxH = std::max(minH, maximum.height());

    int left = start.left();
    int top = start.top();
    int width = start.width();
    int height = start.height();
    // Dragging one edge moves only that edge; the size is clamped, then the opposite edge is
    // kept where it was.
    if (edges & Qt::LeftEdge) {
        const int right = start.left() + start.width();
        width = std::clamp(start.width() - delta.x(), minW, maxW);
        left = right - width;
    } else if (edges & Qt::RightEdge) {
        width = std::clamp(start.width() + delta.x(), minW, maxW);
    }
    if (edges & Qt::TopEdge) {
        const int bottom = start.top() + start.height();
        height = std::clamp(start.height() - delta.y(), minH, maxH);
        top = bottom - height;
    } else if (edges & Qt::BottomEdge) {
        height = std::clamp(start.height() + delta.y(), minH, maxH);
    }
    return QRect(left, top, width, height);
}

BaseDialogFrame::BaseDialogFrame(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ui_baseDialog"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::Dialog);
    setWindowIcon(QIcon(QStringLiteral(":/images/logo.png")));
    setMouseTracking(true);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("QDialog#ui_baseDialog{background:#F4F6FA;border:1px solid #2A5FB0;}"));

    m_layout = new QVBoxLayout(this);
    m_layout->setObjectName(QStringLiteral("pContentVLayout"));
    // The margin is the resize border: presses there reach the dialog itself.
    m_layout->setContentsMargins(kDialogBorder, kDialogBorder, kDialogBorder, kDialogBorder);
    m_layout->setSpacing(0);
    m_title = new BaseDialogTitle(this, this);
    m_title->SetIcon(windowIcon().pixmap(18, 18));
    m_title->installEventFilter(this);
    m_layout->addWidget(m_title);
}

void BaseDialogFrame::SetTitle(const QString& title)
{
    setWindowTitle(title);
    m_title->SetTitle(title);
}

void BaseDialogFrame::SetContent(QWidget* content)
{
    m_layout->addWidget(content, 1);
    if (!content->windowTitle().isEmpty())
        SetTitle(content->windowTitle());
    connect(content, &QWidget::windowTitleChanged, this, &BaseDialogFrame::SetTitle);
    // Let the content's size limits be the window's, plus the frame around it.
    const QSize extra(2 * kDialogBorder, 2 * kDialogBorder + m_title->minimumHeight());
    if (content->minimumWidth() > 0 || content->minimumHeight() > 0)
        setMinimumSize(content->minimumSize() + extra);
}

void BaseDialogFrame::done(int result)
{
    if (m_closeGuard && !m_closeGuard())
        return;
    QDialog::done(result);
}

void BaseDialogFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || isMaximized()) {
        QDialog::mousePressEvent(event);
        return;
    }
    const Qt::Edges edges = DialogEdgesAt(event->position().toPoint(), size());
    if (edges) {
        m_resizeEdges = edges;
        m_pressGlobal = event->globalPosition().toPoint();
        m_pressGeometry = geometry();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void BaseDialogFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (m_resizeEdges) {
        const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
        setGeometry(DialogResizedGeometry(m_pressGeometry, m_resizeEdges, delta, minimumSize(), maximumSize()));
        event->accept();
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        updateCursor(event->position().toPoint());
    QDialog::mouseMoveEvent(event);
}

void BaseDialogFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_resizeEdges) {
        m_resizeEdges = {};
        updateCursor(event->position().toPoint());
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

bool BaseDialogFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_title)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !isMaximized()) {
            m_moving = true;
            m_moveOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_moving && (mouse->buttons() & Qt::LeftButton)) {
            move(mouse->globalPosition().toPoint() - m_moveOffset);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_moving = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void BaseDialogFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        m_title->UpdateMaxButton();
    QDialog::changeEvent(event);
}

void BaseDialogFrame::updateCursor(const QPoint& pos)
{
    const Qt::Edges edges = isMaximized() ? Qt::Edges() : DialogEdgesAt(pos, size());
    if ((edges & Qt::LeftEdge && edges & Qt::TopEdge) || (edges & Qt::RightEdge && edges & Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if ((edges & Qt::RightEdge && edges & Qt::TopEdge) || (edges & Qt::LeftEdge && edges & Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (edges & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (edges & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

} // namespace Quorvia::core::ui
