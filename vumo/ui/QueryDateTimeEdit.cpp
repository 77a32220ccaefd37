#include "ui/QueryDateTimeEdit.h"

#include "plugin/hostservices/AppShareHelp.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace Quorvia::core::ui {

QueryDateTimeEdit::QueryDateTimeEdit(QWidget* parent)
    : QDateTimeEdit(QDateTime::currentDateTime(), parent)
{
    setTimeSpec(Qt::LocalTime);
    setMinimumDateTime(QDateTime(QDate(2004, 1, 1), QTime(0, 0)));
    setDisplayFormat(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    setCalendarPopup(true);
    connect(calendarWidget(), &QCalendarWidget::clicked, this, &QueryDateTimeEdit::showDateTimeEdit);
    applyEmptyLook();
}

void QueryDateTimeEdit::SetEmpty(bool empty)
{
    m_empty = empty;
    applyEmptyLook();
}

QString QueryDateTimeEdit::DisplayedText() const
{
    return m_empty ? QString() : text();
}

void QueryDateTimeEdit::Reset(int months, int days)
{
    const QDateTime server = Quorvia::utils::AppShareHelp::instance()->GetServerTime();
    setMaximumDateTime(server);
    setDateTime(server.addMonths(months).addDays(days));
    SetEmpty(true);
}

void QueryDateTimeEdit::showDateTimeEdit(const QDate& date)
{
    setDate(date);
    SetEmpty(false);
}

void QueryDateTimeEdit::stepBy(int steps)
{
    QDateTimeEdit::stepBy(steps);
    SetEmpty(false);
}

void QueryDateTimeEdit::keyPressEvent(QKeyEvent* event)
{
    QDateTimeEdit::keyPressEvent(event);
    // Typing a value makes it a chosen one; moving the cursor does not.
    if (!event->text().isEmpty() && event->text().at(0).isDigit())
        SetEmpty(false);
}

void QueryDateTimeEdit::applyEmptyLook()
{
    // The line edit paints the text; transparent text keeps the field blank while the value
    // underneath stays a valid date for the calendar to open on. A style sheet rather than a
    // palette: inside a styled dialog the style sheet style ignores palette changes.
    lineEdit()->setStyleSheet(m_empty ? QStringLiteral("QLineEdit { color: transparent; selection-color: transparent; "
                                                       "selection-background-color: transparent; }")
                                      : QString());
    lineEdit()->update();
}

} // namespace Quorvia::core::ui
