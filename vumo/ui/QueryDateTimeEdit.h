#pragma once
// A date-time field of a search form that stays empty until the seller picks a value.
#include <QDateTimeEdit>

namespace Quorvia::core::ui {

class QueryDateTimeEdit final : public QDateTimeEdit
{
    Q_OBJECT
public:
    explicit QueryDateTimeEdit(QWidget* parent = nullptr);

    // True until a value was picked; an empty field paints no text and takes no part in a
    // search.
    bool IsEmpty() const { return m_empty; }
    void SetEmpty(bool empty);
    // The text the field shows: empty while IsEmpty().
    QString DisplayedText() const;

    // The time a picked or typed day gets when the field was empty (a start field 00:00:00,
    // an end field 23:59:59). Invalid (the default): the time of the value is kept.
    void SetPickTime(const QTime& time) { m_pickTime = time; }
    QTime PickTime() const { return m_pickTime; }

    // The maximum becomes the server time and the value the server time plus `months` and
    // `days`; the field is empty again.
    void Reset(int months, int days);

public slots:
    void showDateTimeEdit(const QDate& date);

protected:
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyEmptyLook();

    bool m_empty = true;
    QTime m_pickTime;
    // The last typed digit filled a section and the field moved on to the next one.
    bool m_movedOn = false;
};

} // namespace Quorvia::core::ui
