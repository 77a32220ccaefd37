#pragma once
// Paints table cells like the base delegate, without the focus rectangle.
#include <QStyledItemDelegate>

namespace Quorvia::core::ui {

class NoFocusTableViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace Quorvia::core::ui
