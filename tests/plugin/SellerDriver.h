#pragma once
// Plays the seller through the real menus and modal loops of the listing page.
#include "ui/MsgBox.h"
#include "ui/VaProgressFrame.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace VumoTest {

using Quorvia::core::ui::MsgBox;

// Plays the seller through the real menus and modal loops: picks `menuEntry` in the next popup
// menu by a mouse click, answers each message box with `answer` by clicking its button, and
// closes the progress window once it shows the end. Each step runs from a fresh timer, so it
// also fires inside the nested event loops that the steps open.
class SellerDriver
{
public:
    SellerDriver() { schedule(); }
    ~SellerDriver() { m_stopped = true; }

    QString menuEntry;
    QMessageBox::StandardButton answer = QMessageBox::No;
    // Called with any other modal window (an editor dialog, say) each time the driver looks;
    // it acts on the window as the seller would.
    std::function<void(QWidget* modal)> onWindow;
    QStringList asked;
    QString progressText;
    int menuClicks = 0;

private:
    void schedule()
    {
        QTimer::singleShot(15, &m_context, [this] { tick(); });
    }
    void tick()
    {
        if (m_stopped)
            return;
        schedule(); // before acting: the action may run a nested loop
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (action->text() == menuEntry && menu->isVisible()) {
                    ++menuClicks;
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                    return;
                }
            }
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = modal->findChild<MsgBox*>()) {
            if (QPushButton* button = box->Button(answer)) {
                asked << box->Text();
                QTest::mouseClick(button, Qt::LeftButton);
            }
            return;
        }
        auto* frame = modal->findChild<Quorvia::core::ui::VaProgressFrame*>();
        if (frame && frame->IsFinished()) {
            progressText = frame->LabelText();
            QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
            return;
        }
        if (!frame && onWindow)
            onWindow(modal);
    }

    QObject m_context;
    bool m_stopped = false;
};

} // namespace VumoTest
