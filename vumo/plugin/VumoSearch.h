#pragma once
// Quick-search bar above the listing table.
#include <QWidget>

#include <functional>

class QComboBox;
class QLocale;
class QLineEdit;
class QPushButton;

namespace Quorvia::vumo {

struct QuickSearchFields;

// Category picker the "选择" buttons of the search forms open: fills the identifier and the
// display name and returns true when the seller chose one. Until one is installed the
// buttons are disabled.
using SearchCategoryPicker = std::function<bool(QWidget* parent, qint64& cid, QString& name)>;
// Shop-category picker: the "%1-%2" text and the display name.
using SearchShopCategoryPicker = std::function<bool(QWidget* parent, QString& shopCategorys, QString& name)>;

// The locale of the search forms' calendars and numbers: the seller's, Chinese (China).
QLocale SearchFormLocale();

// Fills a status combo box with the four choices of the search forms and their values.
void FillSearchStatusCombo(QComboBox* combo);

class VumoSearch final : public QWidget
{
    Q_OBJECT
public:
    explicit VumoSearch(QWidget* parent = nullptr);

    static void SetCategoryPicker(SearchCategoryPicker picker);
    static SearchCategoryPicker CategoryPicker();
    static void SetShopCategoryPicker(SearchShopCategoryPicker picker);
    static SearchShopCategoryPicker ShopCategoryPicker();

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
