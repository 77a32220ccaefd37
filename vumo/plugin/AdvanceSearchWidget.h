#pragma once
// Advanced-search panel: the collapsible panel of the main widget and the "高级搜索" dialog.
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Quorvia::core::ui {
class QueryDateTimeEdit;
}

namespace Quorvia::vumo {

struct AdvanceSearchFields;

class AdvanceSearchWidget final : public QWidget
{
    Q_OBJECT
public:
    // stockMode 1 hides the stock fields; -1 takes the logged-in seller's stockMode.
    explicit AdvanceSearchWidget(QWidget* parent = nullptr, int stockMode = -1);

    AdvanceSearchFields Fields() const;
    void SetYvCategory(qint64 cid, const QString& name);
    void SetShopCategory(const QString& shopCategorys, const QString& name);
    int StockMode() const { return m_stockMode; }

signals:
    void AdvanceSearchSignal(const QString& condition);
    // "关闭" on the panel of the main widget (as a dialog the form closes itself).
    void CloseSignal();

public slots:
    void OnSearch();
    void OnClose();
    void OnClear();
    void OnSelectYvCategory();
    void OnSelectShopCategory();
    void OnClearYvCategory();
    void OnClearShopCategory();

private:
    int m_stockMode = 0;
    QLineEdit* m_vumoName = nullptr;
    QLineEdit* m_vumoId = nullptr;
    QLineEdit* m_itemNum = nullptr;
    QLineEdit* m_skuId = nullptr;
    QLineEdit* m_yvCategory = nullptr;
    QPushButton* m_selectYvCategoryBtn = nullptr;
    QLineEdit* m_shopCategory = nullptr;
    QPushButton* m_selectShopCategoryBtn = nullptr;
    QComboBox* m_state = nullptr;
    Quorvia::core::ui::QueryDateTimeEdit* m_onlineTime1 = nullptr;
    Quorvia::core::ui::QueryDateTimeEdit* m_onlineTime2 = nullptr;
    QLineEdit* m_price1 = nullptr;
    QLineEdit* m_price2 = nullptr;
    QLabel* m_stockLabel = nullptr;
    QLineEdit* m_stock1 = nullptr;
    QLineEdit* m_stock2 = nullptr;
};

} // namespace Quorvia::vumo
