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
    // The line edit paints the text; a transparent text colour keeps the field blank while the
    // value underneath stays a valid date for the calendar to open on.
    QPalette pal = lineEdit()->palette();
    const QColor textColor = m_empty ? QColor(Qt::transparent) : palette().color(QPalette::Text);
    pal.setColor(QPalette::Text, textColor);
    pal.setColor(QPalette::HighlightedText, m_empty ? QColor(Qt::transparent) : palette().color(QPalette::HighlightedText));
    pal.setColor(QPalette::Highlight, m_empty ? QColor(Qt::transparent) : palette().color(QPalette::Highlight));
    lineEdit()->setPalette(pal);
    lineEdit()->update();
}

} // namespace Quorvia::core::ui
