#pragma once
// The plug-in's message box: an icon, the text and a row of standard buttons with Chinese
// texts, shown inside a BaseDialog by ShowMsgBox().
#include <QMessageBox>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;
class QHBoxLayout;

namespace Quorvia::core::ui {

class MsgBox final : public QWidget
{
    Q_OBJECT
public:
    enum Icon { Information, Question };

    explicit MsgBox(QWidget* parent = nullptr);

    // The box grows to show the whole text, wrapped; past the screen's limits it scrolls.
    void SetText(const QString& text);
    QString Text() const;
    void SetIcon(Icon icon);
    Icon IconKind() const { return m_iconKind; }
    // One button per standard button, in the order of Qt's standard-button values.
    void SetButtons(QMessageBox::StandardButtons buttons);
    QMessageBox::StandardButtons Buttons() const { return m_buttons; }
    // Null when the box has no such button.
    QPushButton* Button(QMessageBox::StandardButton which) const;

    // The button that answered the box; the escape answer when closed otherwise.
    QMessageBox::StandardButton Result() const { return m_result; }
    // The answer a close without a button press gives: Cancel, No, Close, Abort or Ok,
    // the first the box has.
    QMessageBox::StandardButton EscapeButton() const;

    // "确定", "是", "否", "中止", "关闭", "取消", "帮助"; empty for any other button.
    static QString ButtonText(QMessageBox::StandardButton which);

signals:
    void SignalOk();
    void SignalCancel();
    void SignalYes();
    void SignalNo();

public slots:
    void ResponseOk();
    void ResponseCancel();
    void ResponseYes();
    void ResponseNO();
    // Connected to every button: answers with the button that sent it.
    void EmitSignalToMsgBox();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void answer(QMessageBox::StandardButton which);
    // Asks for the size the text needs (wrapped, within the screen).
    void fitText();

    QLabel* m_iconLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QScrollArea* m_textScroll = nullptr;
    QWidget* m_buttonBox = nullptr;
    QHBoxLayout* m_buttonLayout = nullptr;
    QMessageBox::StandardButtons m_buttons;
    QMessageBox::StandardButton m_result = QMessageBox::NoButton;
    Icon m_iconKind = Information;
};

// Shows `text` in a modal BaseDialog<MsgBox> titled "Quorvia工作台" and returns the standard
// button pressed (Ok 1024, Yes 16384, ...).
int ShowMsgBox(QWidget* parent, const QString& text, MsgBox::Icon icon = MsgBox::Information,
               QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Tests answer message boxes without a user: while a hook is set, ShowMsgBox builds the box,
// hands it to the hook instead of running it, and returns the hook's answer (the box's escape
// answer when the hook names a button the box does not have). Pass {} to remove the hook.
using MsgBoxHook = std::function<QMessageBox::StandardButton(MsgBox& box)>;
void SetMsgBoxHook(MsgBoxHook hook);

} // namespace Quorvia::core::ui
