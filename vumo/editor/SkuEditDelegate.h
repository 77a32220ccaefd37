#pragma once
// Editing of the SKU table's cells: stock and price cells get their input rules and an apply
// button whose menu copies the value to the rows of the same colour or the same size.
#include <QPixmap>
#include <QStyledItemDelegate>

class QMenu;

namespace Quorvia::vumo {

class SkuEditDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit SkuEditDelegate(QObject* parent = nullptr);

    void SetColumns(int stockColumn, int priceColumn, int outerIdColumn, int attributeCount);
    bool HasApplyButton(int column) const;
    // Where the apply button of a cell is drawn.
    static QRect ApplyButtonRect(const QRect& cell);
    // The view reports whether the mouse is over an apply button (views do not hand mouse moves
    // to delegates); a change is told with ChangeCursor.
    void HoverButton(bool overButton);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    void ApplyColor(int row, int column);
    void ApplySize(int row, int column);
    void ChangeCursor(Qt::CursorShape cursortype);
    void SkuAttributeChanged(int index);

public slots:
    void OnApplyColor();
    void OnApplySize();

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QPixmap m_image;
    int m_stockColumn = -1;
    int m_priceColumn = -1;
    int m_outerIdColumn = -1;
    int m_attributeCount = 0;
    bool m_overButton = false;
    // The cell whose apply menu is open.
    int m_row = -1;
    int m_column = -1;
};

} // namespace Quorvia::vumo
