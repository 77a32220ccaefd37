#include "propertybrowser/QtTreePropertyBrowser.h"

#include "propertybrowser/QtProperty.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace Quorvia::vumo::propertybrowser {

namespace {

constexpr int kPropertyRole = Qt::UserRole + 1;
const QColor kInvalidFrame(0xFF, 0x00, 0x00);

} // namespace

// ---- Browser -------------------------------------------------------------------------------

QtTreePropertyBrowser::QtTreePropertyBrowser(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("属性"), QStringLiteral("值")});
    setRootIsDecorated(false);
    setAlternatingRowColors(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setItemDelegate(new QtPropertyDelegate(this));
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
}

void QtTreePropertyBrowser::setManager(QtPropertyManager* manager)
{
    if (m_manager)
        disconnect(m_manager, nullptr, this, nullptr);
    clear();
    m_manager = manager;
    if (!manager)
        return;
    for (QtProperty* property : manager->properties())
        addRow(property);
    connect(manager, &QtPropertyManager::propertyAdded, this, &QtTreePropertyBrowser::addRow);
    connect(manager, &QtPropertyManager::cleared, this, &QTreeWidget::clear);
    connect(manager, &QtPropertyManager::valueChanged, this, [this](QtProperty* p) { updateRow(p); });
    connect(manager, &QtPropertyManager::propertyChanged, this, &QtTreePropertyBrowser::updateRow);
    connect(manager, &QObject::destroyed, this, [this] {
        m_manager = nullptr;
        clear();
    });
}

QtProperty* QtTreePropertyBrowser::propertyAt(const QModelIndex& index) const
{
    if (!m_manager || !index.isValid())
        return nullptr;
    const int at = index.sibling(index.row(), 0).data(kPropertyRole).toInt();
    const QList<QtProperty*> all = m_manager->properties();
    return at >= 0 && at < all.size() ? all.at(at) : nullptr;
}

QTreeWidgetItem* QtTreePropertyBrowser::itemOf(const QtProperty* property) const
{
    if (!m_manager)
        return nullptr;
    const int at = int(m_manager->properties().indexOf(const_cast<QtProperty*>(property)));
    for (int i = 0; at >= 0 && i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, kPropertyRole).toInt() == at)
            return topLevelItem(i);
    }
    return nullptr;
}

void QtTreePropertyBrowser::addRow(QtProperty* property)
{
    auto* item = new QTreeWidgetItem(this);
    item->setData(0, kPropertyRole, int(m_manager->properties().indexOf(property)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    updateRow(property);
}

void QtTreePropertyBrowser::updateRow(QtProperty* property)
{
    QTreeWidgetItem* item = itemOf(property);
    if (!item)
        return;
    item->setText(0, property->name());
    // Rows without an icon keep its room, so the names line up.
    if (property->icon().isNull()) {
        QPixmap blank(iconSize().isValid() ? iconSize() : QSize(16, 16));
        blank.fill(Qt::transparent);
        item->setIcon(0, QIcon(blank));
    } else {
        item->setIcon(0, property->icon());
    }
    item->setText(1, property->valueText());
    item->setToolTip(1, property->valueText());
    // Repaint the frame of both cells.
    viewport()->update(visualItemRect(item));
}

// ---- Flag editor ---------------------------------------------------------------------------

QtFlagEditor::QtFlagEditor(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_text = new QLineEdit(this);
    m_text->setReadOnly(true);
    m_button = new QToolButton(this);
    m_button->setText(QStringLiteral("..."));
    m_button->setObjectName(QStringLiteral("flagButton"));
    layout->addWidget(m_text, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_text);
    connect(m_button, &QToolButton::clicked, this, &QtFlagEditor::showPopup);
}

void QtFlagEditor::setNames(const QStringList& names)
{
    m_names = names;
    updateText();
}

void QtFlagEditor::setFlags(const QList<int>& flags)
{
    m_flags = flags;
    updateText();
}

void QtFlagEditor::updateText()
{
    QStringList chosen;
    for (int f : qAsConst(m_flags))
        chosen << m_names.value(f);
    m_text->setText(chosen.join(QStringLiteral(", ")));
}

void QtFlagEditor::showPopup()
{
    if (!m_popup) {
        m_popup = new QWidget(this, Qt::Popup);
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        m_list = new QListWidget(m_popup);
        m_list->setObjectName(QStringLiteral("flagList"));
        layout->addWidget(m_list);
        connect(m_list, &QListWidget::itemChanged, this, [this] {
            QList<int> flags;
            for (int i = 0; i < m_list->count(); ++i) {
                if (m_list->item(i)->checkState() == Qt::Checked)
                    flags << i;
            }
            m_flags = flags;
            updateText();
            emit flagsChanged();
        });
    }
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (int i = 0; i < m_names.size(); ++i) {
        auto* item = new QListWidgetItem(m_names.at(i), m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(m_flags.contains(i) ? Qt::Checked : Qt::Unchecked);
    }
    const int rows = std::min<int>(int(m_names.size()), 12);
    m_popup->resize(std::max(width(), 160), rows * m_list->sizeHintForRow(0) + 8);
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
}

// ---- Delegate ------------------------------------------------------------------------------

QtPropertyDelegate::QtPropertyDelegate(QtTreePropertyBrowser* browser)
    : QStyledItemDelegate(browser)
    , m_browser(browser)
{
}

QWidget* QtPropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    QtProperty* property = m_browser->propertyAt(index);
    if (!property || index.column() != 1)
        return nullptr;
    switch (property->kind()) {
    case QtProperty::String: {
        auto* edit = new QLineEdit(parent);
        const QRegularExpression rule = property->attribute(QStringLiteral("regExp")).toRegularExpression();
        if (rule.isValid() && !rule.pattern().isEmpty())
            edit->setValidator(new QRegularExpressionValidator(rule, edit));
        return edit;
    }
    case QtProperty::Enum: {
        auto* combo = new QComboBox(parent);
        combo->addItems(property->names());
        // A choice takes effect at once, as a seller expects from a drop-down.
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo] { emit const_cast<QtPropertyDelegate*>(this)->commitData(combo); });
        return combo;
    }
    case QtProperty::Flag: {
        auto* flags = new QtFlagEditor(parent);
        connect(flags, &QtFlagEditor::flagsChanged, this,
                [this, flags] { emit const_cast<QtPropertyDelegate*>(this)->commitData(flags); });
        return flags;
    }
    }
    return nullptr;
}

void QtPropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    QtProperty* property = m_browser->propertyAt(index);
    if (!property)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(property->text());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(property->enumIndex());
    } else if (auto* flags = qobject_cast<QtFlagEditor*>(editor)) {
        flags->setNames(property->names());
        flags->setFlags(property->flags());
    }
}

void QtPropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    QtProperty* property = m_browser->propertyAt(index);
    if (!property)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        property->setText(edit->text());
    else if (auto* combo = qobject_cast<QComboBox*>(editor))
        property->setEnumIndex(combo->currentIndex());
    else if (auto* flags = qobject_cast<QtFlagEditor*>(editor))
        property->setFlags(flags->flags());
}

void QtPropertyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QtProperty* property = m_browser->propertyAt(index);
    if (!property || !property->isInvalid())
        return;
    // One frame around the whole row: each cell draws its share of the outline.
    const QRect r = option.rect.adjusted(0, 0, -1, -1);
    painter->save();
    painter->setPen(QPen(kInvalidFrame, 1));
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == 0)
        painter->drawLine(r.topLeft(), r.bottomLeft());
    if (index.column() == index.model()->columnCount(index.parent()) - 1)
        painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

QSize QtPropertyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Room for the editors, which are taller than a line of text.
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 10));
    return size;
}

} // namespace Quorvia::vumo::propertybrowser
