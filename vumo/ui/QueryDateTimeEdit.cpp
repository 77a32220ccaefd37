#include "ui/QueryDateTimeEdit.h"

#include "plugin/hostservices/AppShareHelp.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace Quorvia::core::ui {

namespace {

// Whole seconds: the field shows no milliseconds, so it holds none either.
QDateTime NowInSeconds()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

} // namespace

QueryDateTimeEdit::QueryDateTimeEdit(QWidget* parent)
    : QDateTimeEdit(NowInSeconds(), parent)
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
    setDateTime(QDateTime(date, m_pickTime.isValid() ? m_pickTime : time()));
    SetEmpty(false);
}

void QueryDateTimeEdit::stepBy(int steps)
{
    QDateTimeEdit::stepBy(steps);
    SetEmpty(false);
}

void QueryDateTimeEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const QChar first = typed.isEmpty() ? QChar() : typed.at(0);
    const bool digit = first.isDigit();
    const bool separator = first == QLatin1Char('-') || first == QLatin1Char('/') || first == QLatin1Char('.')
        || first == QLatin1Char(' ') || first == QLatin1Char(':');
    const bool onlyShift = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));

    if (separator && onlyShift) {
        event->accept();
        // A full section moves on by itself ("2024" goes on to the month), so the separator
        // typed after it is already done; otherwise any separator ("2024/5/1") moves on, not
        // only the one the format shows. After the last section there is nowhere to go.
        const bool justMovedOn = m_movedOn;
        m_movedOn = false;
        if (!justMovedOn && currentSectionIndex() + 1 < sectionCount())
            focusNextPrevChild(true);
        return;
    }

    if (digit && !m_empty && lineEdit()->selectionStart() == 0
        && lineEdit()->selectedText().size() > sectionText(sectionAt(0)).size()) {
        // The whole text selected and typed over: a new value from its first section on.
        setCurrentSectionIndex(0);
        setSelectedSection(sectionAt(0));
    }
    if (digit && m_empty) {
        // Typing a value makes it a chosen one. The value underneath was never shown, so the
        // typed digits replace the whole section instead of mixing with it, and a typed day
        // gets the field's time like a picked one. The look changes before the key is handled:
        // restyling the line edit in the middle of it lost the first digit.
        if (m_pickTime.isValid())
            setTime(m_pickTime);
        SetEmpty(false);
        setSelectedSection(currentSection());
    }
    const int sectionBefore = currentSectionIndex();
    QDateTimeEdit::keyPressEvent(event);
    m_movedOn = digit && currentSectionIndex() != sectionBefore;
}

void QueryDateTimeEdit::changeEvent(QEvent* event)
{
    QDateTimeEdit::changeEvent(event);
    // The calendar is a pop-up window, which does not inherit the field's locale by itself.
    if (event->type() == QEvent::LocaleChange && calendarWidget())
        calendarWidget()->setLocale(locale());
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
