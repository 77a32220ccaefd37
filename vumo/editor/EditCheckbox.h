#pragma once
// One sale-attribute value on the SKU page: a check box with the value's name and, under it, the
// seller's alias for it (editable while the value is ticked).
#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace Quorvia::vumo {

class EditCheckbox final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 100;

    // The check box and the alias edit carry the properties "attr" (attribute column) and "vid".
    EditCheckbox(int attr, qint64 vid, const QString& name, QWidget* parent = nullptr);

    int Attr() const { return m_attr; }
    qint64 Vid() const { return m_vid; }
    QCheckBox* CheckBox() const { return m_check; }
    QLineEdit* AliasEdit() const { return m_alias; }

    // Without signals: what the page's state says.
    void SetState(bool ticked, const QString& alias);

private:
    int m_attr = 0;
    qint64 m_vid = 0;
    QCheckBox* m_check = nullptr;
    QLineEdit* m_alias = nullptr;
};

} // namespace Quorvia::vumo
