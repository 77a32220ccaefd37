#pragma once
// The SKU table: "SKUID", one column per sale attribute, "库存", "Yv价" and "商家SKUID". It only
// shows rows; the page keeps them.
#include <QTableWidget>

namespace Quorvia::vumo {

class SkuEditDelegate;
class SkuEditTableHeaderView;

class SkuTableWidget final : public QTableWidget
{
    Q_OBJECT
public:
    explicit SkuTableWidget(QWidget* parent = nullptr);

    // Columns for these sale attributes; the stock column hidden when stock is not kept.
    void SetupColumns(const QStringList& attributeNames, bool stockHidden);

    int AttributeColumn(int attr) const { return 1 + attr; }
    int StockColumn() const { return 1 + m_attributeCount; }
    int PriceColumn() const { return 2 + m_attributeCount; }
    int OuterIdColumn() const { return 3 + m_attributeCount; }

    SkuEditDelegate* Delegate() const { return m_delegate; }
    SkuEditTableHeaderView* Header() const { return m_header; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int m_attributeCount = 0;
    SkuEditDelegate* m_delegate = nullptr;
    SkuEditTableHeaderView* m_header = nullptr;
};

} // namespace Quorvia::vumo
