#include "editor/SkuTableWidget.h"

#include "editor/SkuEditDelegate.h"
#include "editor/SkuEditTableHeaderView.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace Quorvia::vumo {

SkuTableWidget::SkuTableWidget(QWidget* parent)
    : QTableWidget(parent)
    , m_delegate(new SkuEditDelegate(this))
    , m_header(new SkuEditTableHeaderView(this))
{
    setHorizontalHeader(m_header);
    setItemDelegate(m_delegate);
    setMouseTracking(true); // the apply buttons change the cursor
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setVisible(false);
    m_header->setSectionResizeMode(QHeaderView::Stretch);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_header, &SkuEditTableHeaderView::PlaceEdits);
}

void SkuTableWidget::SetupColumns(const QStringList& attributeNames, bool stockHidden)
{
    m_attributeCount = int(attributeNames.size());
    clear();
    setRowCount(0);
    setColumnCount(4 + m_attributeCount);
    const QIcon required(QStringLiteral(":/images/xinghao.png"));
    setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral("SKUID")));
    for (int i = 0; i < m_attributeCount; ++i)
        setHorizontalHeaderItem(AttributeColumn(i), new QTableWidgetItem(attributeNames.at(i)));
    setHorizontalHeaderItem(StockColumn(), new QTableWidgetItem(required, QStringLiteral("库存")));
    setHorizontalHeaderItem(PriceColumn(), new QTableWidgetItem(required, QStringLiteral("Yv价")));
    setHorizontalHeaderItem(OuterIdColumn(), new QTableWidgetItem(QStringLiteral("商家SKUID")));
    setColumnHidden(StockColumn(), stockHidden);
    m_delegate->SetColumns(StockColumn(), PriceColumn(), OuterIdColumn(), m_attributeCount);
    m_header->SetColumns(StockColumn(), PriceColumn());
}

void SkuTableWidget::mouseMoveEvent(QMouseEvent* event)
{
    QTableWidget::mouseMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    m_delegate->HoverButton(index.isValid() && m_delegate->HasApplyButton(index.column())
                            && SkuEditDelegate::ApplyButtonRect(visualRect(index)).contains(pos));
}

void SkuTableWidget::leaveEvent(QEvent* event)
{
    QTableWidget::leaveEvent(event);
    m_delegate->HoverButton(false);
}

} // namespace Quorvia::vumo
