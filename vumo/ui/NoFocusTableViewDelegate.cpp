#include "ui/NoFocusTableViewDelegate.h"

namespace Quorvia::core::ui {

void NoFocusTableViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
}

} // namespace Quorvia::core::ui
