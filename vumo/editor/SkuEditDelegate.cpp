#include "editor/SkuEditDelegate.h"

#include "editor/SkuRules.h"

#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace Quorvia::vumo {

namespace {
constexpr int kButtonSize = 14;
const char kApplyImage[] = ":/images/sku_edit_apply_btn.png";
} // namespace

SkuEditDelegate::SkuEditDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
    , m_image(QString::fromLatin1(kApplyImage))
{
}

void SkuEditDelegate::SetColumns(int stockColumn, int priceColumn, int outerIdColumn, int attributeCount)
{
    m_stockColumn = stockColumn;
    m_priceColumn = priceColumn;
    m_outerIdColumn = outerIdColumn;
    m_attributeCount = attributeCount;
}

bool SkuEditDelegate::HasApplyButton(int column) const
{
    return column >= 0 && (column == m_stockColumn || column == m_priceColumn);
}

QRect SkuEditDelegate::ApplyButtonRect(const QRect& cell)
{
    return QRect(cell.right() - kButtonSize - 3, cell.center().y() - kButtonSize / 2, kButtonSize, kButtonSize);
}

QWidget* SkuEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* edit = qobject_cast<QLineEdit*>(editor);
    const char* rule = nullptr;
    if (index.column() == m_stockColumn)
        rule = editor::kSkuStockRule;
    else if (index.column() == m_priceColumn)
        rule = editor::kSkuPriceRule;
    else if (index.column() == m_outerIdColumn)
        rule = editor::kSkuOuterIdRule;
    if (edit && rule)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(rule)), edit));
    return editor;
}

void SkuEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    QStyledItemDelegate::setModelData(editor, model, index);
    emit const_cast<SkuEditDelegate*>(this)->SkuAttributeChanged(index.row());
}

void SkuEditDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!HasApplyButton(index.column())) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The text stays clear of the button.
    QStyleOptionViewItem text = option;
    text.rect.setRight(option.rect.right() - kButtonSize - 6);
    QStyledItemDelegate::paint(painter, text, index);
    painter->drawPixmap(ApplyButtonRect(option.rect), m_image);
}

bool SkuEditDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                  const QModelIndex& index)
{
    if (!HasApplyButton(index.column()))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const bool overButton = [&] {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease
            && event->type() != QEvent::MouseButtonDblClick)
            return false;
        return ApplyButtonRect(option.rect).contains(static_cast<QMouseEvent*>(event)->position().toPoint());
    }();
    if (!overButton)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    if (event->type() == QEvent::MouseButtonRelease) {
        m_row = index.row();
        m_column = index.column();
        // Shown without a nested event loop; the menu deletes itself when closed.
        auto* menu = new QMenu(const_cast<QWidget*>(option.widget));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu->addAction(QStringLiteral("应用到同一颜色")), &QAction::triggered, this,
                &SkuEditDelegate::OnApplyColor);
        QAction* size = menu->addAction(QStringLiteral("应用到同一尺码"));
        size->setEnabled(m_attributeCount > 1);
        connect(size, &QAction::triggered, this, &SkuEditDelegate::OnApplySize);
        menu->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return true; // a press on the button neither selects for editing nor opens an editor
}

void SkuEditDelegate::HoverButton(bool overButton)
{
    if (overButton == m_overButton)
        return;
    m_overButton = overButton;
    emit ChangeCursor(overButton ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SkuEditDelegate::OnApplyColor()
{
    if (m_row >= 0)
        emit ApplyColor(m_row, m_column);
}

void SkuEditDelegate::OnApplySize()
{
    if (m_row >= 0)
        emit ApplySize(m_row, m_column);
}

} // namespace Quorvia::vumo
