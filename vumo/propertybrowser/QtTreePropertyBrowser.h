#pragma once
// The grid of a QtPropertyManager: one row per property (name, value), the value edited in
// place by an editor of its kind (a line edit held to "regExp", a combo box, a list of check
// boxes in a popup). A row of an invalid property is framed red; the row icon is the property's.
#include <QStyledItemDelegate>
#include <QTreeWidget>

class QLineEdit;
class QListWidget;
class QToolButton;

namespace Quorvia::vumo::propertybrowser {

class QtProperty;
class QtPropertyManager;

class QtTreePropertyBrowser final : public QTreeWidget
{
    Q_OBJECT
public:
    explicit QtTreePropertyBrowser(QWidget* parent = nullptr);

    // Shows the manager's properties and follows its changes; null shows nothing.
    void setManager(QtPropertyManager* manager);
    QtPropertyManager* manager() const { return m_manager; }

    QtProperty* propertyAt(const QModelIndex& index) const;
    QTreeWidgetItem* itemOf(const QtProperty* property) const;

private:
    void addRow(QtProperty* property);
    void updateRow(QtProperty* property);

    QtPropertyManager* m_manager = nullptr;
};

// The editor of a flag property: the chosen names and a button that opens the check boxes.
class QtFlagEditor final : public QWidget
{
    Q_OBJECT
public:
    explicit QtFlagEditor(QWidget* parent = nullptr);

    void setNames(const QStringList& names);
    void setFlags(const QList<int>& flags);
    QList<int> flags() const { return m_flags; }
    // The popup's list (object name "flagList"); built by the first showPopup().
    QListWidget* list() const { return m_list; }

public slots:
    void showPopup();

signals:
    void flagsChanged();

private:
    void updateText();

    QStringList m_names;
    QList<int> m_flags;
    QLineEdit* m_text = nullptr;
    QToolButton* m_button = nullptr;
    QWidget* m_popup = nullptr;
    QListWidget* m_list = nullptr;
};

class QtPropertyDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit QtPropertyDelegate(QtTreePropertyBrowser* browser);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QtTreePropertyBrowser* m_browser;
};

} // namespace Quorvia::vumo::propertybrowser
