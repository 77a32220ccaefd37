#pragma once
// Quick-search bar above the listing table.
#include <QWidget>

class QComboBox;
class QLocale;
class QLineEdit;
class QPushButton;

namespace Quorvia::vumo {

struct QuickSearchFields;

// The locale of the search forms' calendars and numbers: the seller's, Chinese (China).
QLocale SearchFormLocale();

// Fills a status combo box with the four choices of the search forms and their values.
void FillSearchStatusCombo(QComboBox* combo);

class VumoSearch final : public QWidget
{
    Q_OBJECT
public:
    explicit VumoSearch(QWidget* parent = nullptr);

    // The fields as the statement builder takes them.
    QuickSearchFields Fields() const;
    // Puts a chosen category into "Yv分类" (identifier in the property "cid").
    void SetCategory(qint64 cid, const QString& name);

signals:
    void SearchVumoSignal(const QString& statement);
    void ClearSearchSignal();

public slots:
    void OnSearchBtnClicked();
    void ClearControl();
    // "选择": the category picker from the current category on.
    void OnSelectCategory();

private:
    QLineEdit* m_vumoId = nullptr;
    QLineEdit* m_vumoName = nullptr;
    QLineEdit* m_itemNum = nullptr;
    QLineEdit* m_category = nullptr;
    QPushButton* m_selectCategoryBtn = nullptr;
    QComboBox* m_status = nullptr;
    QPushButton* m_searchBtn = nullptr;
    QPushButton* m_clearBtn = nullptr;
};

} // namespace Quorvia::vumo
