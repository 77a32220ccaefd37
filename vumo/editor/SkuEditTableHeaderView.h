#pragma once
// The SKU table's header: over the stock and price columns an edit and a button whose menu
// writes the edit's value into all rows or into the rows still without one.
#include <QHeaderView>

class QLineEdit;
class QMenu;
class QToolButton;

namespace Quorvia::vumo {

class SkuEditTableHeaderView final : public QHeaderView
{
    Q_OBJECT
public:
    explicit SkuEditTableHeaderView(QWidget* parent = nullptr);

    void SetColumns(int stockColumn, int priceColumn);
    QLineEdit* StockEdit() const { return m_stockEdit; }
    QLineEdit* PriceEdit() const { return m_priceEdit; }

    QSize sizeHint() const override;
    // Places the edits over their sections (after a resize, a move or a scroll).
    void PlaceEdits();

signals:
    // type 0: all rows; 1: rows whose cell is empty.
    void ModifyYvValue(QString strValue, int type);
    void ModifyStock(QString strValue, int type);

public slots:
    void OnClickYvValueBtn();
    void OnClickStockValueBtn();
    void OnApplyStockAllRow();
    void OnApplyStockNoValue();
    void OnApplyYvValueAllRow();
    void OnApplyYvValueNoValue();

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* makeButton();
    QMenu* makeMenu(void (SkuEditTableHeaderView::*all)(), void (SkuEditTableHeaderView::*empty)());
    void place(int column, QLineEdit* edit, QToolButton* button);

    int m_stockColumn = -1;
    int m_priceColumn = -1;
    QLineEdit* m_stockEdit = nullptr;
    QLineEdit* m_priceEdit = nullptr;
    QToolButton* m_stockButton = nullptr;
    QToolButton* m_priceButton = nullptr;
    QMenu* m_stockMenu = nullptr;
    QMenu* m_priceMenu = nullptr;
};

} // namespace Quorvia::vumo
