#pragma once
// Title bar of the plug-in's frameless dialogs: icon, title, minimise, maximise/restore, close.
#include <QWidget>

class QLabel;
class QPushButton;

namespace Quorvia::core::ui {

class BaseDialogTitle final : public QWidget
{
    Q_OBJECT
public:
    // `window` is the frameless top-level window the buttons act on.
    explicit BaseDialogTitle(QWidget* window, QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    QString Title() const;
    void SetIcon(const QPixmap& icon);
    // Dialogs that must keep their size hide the maximise button (double-click does nothing).
    void SetMaximizable(bool on);
    bool IsMaximizable() const { return m_maximizable; }
    void SetMinimizable(bool on);

    // Brings the maximise button's text, tool tip and style in line with the window state.
    void UpdateMaxButton();

    QPushButton* MiniBtn() const { return m_miniBtn; }
    QPushButton* MaxBtn() const { return m_maxBtn; }
    QPushButton* CloseBtn() const { return m_closeBtn; }

public slots:
    void showSmall();
    void showMaxRestore();
    void closeDialog();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* m_window = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QPushButton* m_miniBtn = nullptr;
    QPushButton* m_maxBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
    bool m_maximizable = true;
};

} // namespace Quorvia::core::ui
