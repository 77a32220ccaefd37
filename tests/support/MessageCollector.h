#pragma once
// Answers every message box of the plug-in while alive and keeps the texts shown (for widget
// tests; the box itself is never run).
#include "ui/MsgBox.h"

#include <QStringList>

namespace VumoTest {

class MessageCollector
{
public:
    explicit MessageCollector(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        Quorvia::core::ui::SetMsgBoxHook([this, answer](Quorvia::core::ui::MsgBox& box) {
            m_texts << box.Text();
            return answer;
        });
    }
    ~MessageCollector() { Quorvia::core::ui::SetMsgBoxHook({}); }
    MessageCollector(const MessageCollector&) = delete;
    MessageCollector& operator=(const MessageCollector&) = delete;

    QStringList texts() const { return m_texts; }

private:
    QStringList m_texts;
};

} // namespace VumoTest
