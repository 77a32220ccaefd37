#pragma once
// Every dialog of the plug-in: a frameless window with its own title bar over one content
// widget. The window moves by dragging the title bar, resizes from every edge and corner
// within its minimum and maximum sizes, and toggles maximised/normal on a title double-click.
//
//   BaseDialog<MsgBox> dlg(parent);
//   dlg.content()->SetText(...);
//   dlg.exec();
#include "ui/BaseDialogTitle.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

#include <functional>
#include <utility>

class QVBoxLayout;

namespace Quorvia::core::ui {

// Width in pixels of the border that resizes the window.
constexpr int kDialogBorder = 5;

// The edges of a window of `size` under `pos` (within `border` pixels of them).
Qt::Edges DialogEdgesAt(const QPoint& pos, const QSize& size, int border = kDialogBorder);

// The geometry after dragging `edges` of `start` by `delta`, the size kept within
// [minimum, maximum]; the opposite edges stay where they were.
//   start (100,100 400x300), right edge, delta (+50,0)  -> (100,100 450x300)
//   start (100,100 400x300), left edge, delta (+350,0), minimum 200 wide -> (300,100 200x300)
QRect DialogResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                            const QSize& maximum);

// The non-template part: frame, title bar, move and resize.
class BaseDialogFrame : public QDialog
{
    Q_OBJECT
public:
    explicit BaseDialogFrame(QWidget* parent = nullptr);

    BaseDialogTitle* Title() const { return m_title; }
    void SetTitle(const QString& title);

    // Asked before the window closes by any way (title bar, Escape, accept, reject): false
    // keeps it open. Content whose work must end first sets one.
    using CloseGuard = std::function<bool()>;
    void SetCloseGuard(CloseGuard guard) { m_closeGuard = std::move(guard); }

    void done(int result) override;

    bool IsMoving() const { return m_moving; }
    Qt::Edges ResizingEdges() const { return m_resizeEdges; }

protected:
    // Puts the content below the title bar and follows its window title.
    void SetContent(QWidget* content);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateCursor(const QPoint& pos);

    QVBoxLayout* m_layout = nullptr;
    BaseDialogTitle* m_title = nullptr;
    bool m_moving = false;
    Qt::Edges m_resizeEdges;
    QPoint m_pressGlobal;  // global press point
    QPoint m_moveOffset;   // press point minus the window's top-left corner
    QRect m_pressGeometry; // geometry at the press
    CloseGuard m_closeGuard;
};

template <class T>
class BaseDialog : public BaseDialogFrame
{
public:
    // The content is created with the dialog as its parent; extra arguments go to T after it.
    template <class... Args>
    explicit BaseDialog(QWidget* parent = nullptr, Args&&... args)
        : BaseDialogFrame(parent)
    {
        m_content = new T(this, std::forward<Args>(args)...);
        SetContent(m_content);
    }

    T* content() const { return m_content; }

private:
    T* m_content = nullptr;
};

} // namespace Quorvia::core::ui
