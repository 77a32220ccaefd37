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

    // The maximum becomes the server time and the value the server time plus `months` and
    // `days`; the field is empty again.
    void Reset(int months, int days);

public slots:
    void showDateTimeEdit(const QDate& date);

protected:
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyEmptyLook();

    bool m_empty = true;
};

} // namespace Quorvia::core::ui
