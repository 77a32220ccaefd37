#include "editor/SkuEditTableHeaderView.h"

#include "editor/SkuRules.h"

#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace Quorvia::vumo {

namespace {
constexpr int kEditHeight = 22;
constexpr int kButtonWidth = 18;

QLineEdit* MakeEdit(QWidget* parent, const char* rule, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(rule)), edit));
    return edit;
}
} // namespace

SkuEditTableHeaderView::SkuEditTableHeaderView(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_stockEdit(MakeEdit(this, editor::kSkuStockRule, "SkuEditHeaderStockEdit"))
    , m_priceEdit(MakeEdit(this, editor::kSkuPriceRule, "SkuEditHeaderPriceEdit"))
    , m_stockButton(makeButton())
    , m_priceButton(makeButton())
    , m_stockMenu(makeMenu(&SkuEditTableHeaderView::OnApplyStockAllRow, &SkuEditTableHeaderView::OnApplyStockNoValue))
    , m_priceMenu(
          makeMenu(&SkuEditTableHeaderView::OnApplyYvValueAllRow, &SkuEditTableHeaderView::OnApplyYvValueNoValue))
{
    setSectionsClickable(false);
    connect(m_stockButton, &QToolButton::clicked, this, &SkuEditTableHeaderView::OnClickStockValueBtn);
    connect(m_priceButton, &QToolButton::clicked, this, &SkuEditTableHeaderView::OnClickYvValueBtn);
    connect(this, &QHeaderView::sectionResized, this, &SkuEditTableHeaderView::PlaceEdits);
    connect(this, &QHeaderView::sectionMoved, this, &SkuEditTableHeaderView::PlaceEdits);
    connect(this, &QHeaderView::geometriesChanged, this, &SkuEditTableHeaderView::PlaceEdits);
}

QToolButton* SkuEditTableHeaderView::makeButton()
{
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("SkuEditHeaderBtn"));
    button->setIcon(QIcon(QStringLiteral(":/images/sku_edit_apply_btn.png")));
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QMenu* SkuEditTableHeaderView::makeMenu(void (SkuEditTableHeaderView::*all)(), void (SkuEditTableHeaderView::*empty)())
{
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("应用到所有sku")), &QAction::triggered, this, all);
    connect(menu->addAction(QStringLiteral("应用到所有未填sku")), &QAction::triggered, this, empty);
    return menu;
}

void SkuEditTableHeaderView::SetColumns(int stockColumn, int priceColumn)
{
    m_stockColumn = stockColumn;
    m_priceColumn = priceColumn;
    PlaceEdits();
}

QSize SkuEditTableHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(fontMetrics().height() + kEditHeight + 12);
    return size;
}

void SkuEditTableHeaderView::PlaceEdits()
{
    place(m_stockColumn, m_stockEdit, m_stockButton);
    place(m_priceColumn, m_priceEdit, m_priceButton);
}

void SkuEditTableHeaderView::place(int column, QLineEdit* edit, QToolButton* button)
{
    const bool shown = column >= 0 && column < count() && !isSectionHidden(column);
    edit->setVisible(shown);
    button->setVisible(shown);
    if (!shown)
        return;
    const int x = sectionViewportPosition(column);
    const int w = sectionSize(column);
    const int y = height() - kEditHeight - 4;
    edit->setGeometry(x + 3, y, qMax(10, w - kButtonWidth - 9), kEditHeight);
    button->setGeometry(x + w - kButtonWidth - 3, y, kButtonWidth, kEditHeight);
}

void SkuEditTableHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // The title (with its mark) keeps to the upper band; the edits sit below it.
    const QRect title(rect.x(), rect.y(), rect.width(), fontMetrics().height() + 10);
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
    QHeaderView::paintSection(painter, title, logicalIndex);
}

void SkuEditTableHeaderView::resizeEvent(QResizeEvent* event)
{
    QHeaderView::resizeEvent(event);
    PlaceEdits();
}

void SkuEditTableHeaderView::showEvent(QShowEvent* event)
{
    QHeaderView::showEvent(event);
    PlaceEdits();
}

void SkuEditTableHeaderView::OnClickYvValueBtn()
{
    m_priceMenu->popup(m_priceButton->mapToGlobal(QPoint(0, m_priceButton->height())));
}

void SkuEditTableHeaderView::OnClickStockValueBtn()
{
    m_stockMenu->popup(m_stockButton->mapToGlobal(QPoint(0, m_stockButton->height())));
}

void SkuEditTableHeaderView::OnApplyStockAllRow()
{
    if (!m_stockEdit->text().trimmed().isEmpty())
        emit ModifyStock(m_stockEdit->text().trimmed(), 0);
}

void SkuEditTableHeaderView::OnApplyStockNoValue()
{
    if (!m_stockEdit->text().trimmed().isEmpty())
        emit ModifyStock(m_stockEdit->text().trimmed(), 1);
}

void SkuEditTableHeaderView::OnApplyYvValueAllRow()
{
    if (!m_priceEdit->text().trimmed().isEmpty())
        emit ModifyYvValue(m_priceEdit->text().trimmed(), 0);
}

void SkuEditTableHeaderView::OnApplyYvValueNoValue()
{
    if (!m_priceEdit->text().trimmed().isEmpty())
        emit ModifyYvValue(m_priceEdit->text().trimmed(), 1);
}

} // namespace Quorvia::vumo
