#include "plugin/VumoTableFilterModel.h"

#include "plugin/VumoTableViewModel.h"

#include <algorithm>

namespace Quorvia::vumo {

namespace {

// Filters compare equal when they keep the same rows: empty texts do not count.
VumoFilterTexts normalised(const VumoFilterTexts& filters)
{
    VumoFilterTexts out;
    for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
        QStringList texts;
        for (const QString& text : it.value()) {
            if (!text.isEmpty())
                texts.append(text);
        }
        if (!texts.isEmpty())
            out.insert(it.key(), texts);
    }
    return out;
}

} // namespace

VumoTableFilterModel::VumoTableFilterModel(VumoTableViewModel* source, QObject* parent)
    : QAbstractProxyModel(parent)
    , m_source(source)
{
    QAbstractProxyModel::setSourceModel(source);
    rebuild();
    connect(source, &QAbstractItemModel::dataChanged, this, &VumoTableFilterModel::onSourceDataChanged);
    connect(source, &QAbstractItemModel::headerDataChanged, this, &VumoTableFilterModel::onSourceHeaderDataChanged);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        rebuild();
        endResetModel();
    });
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
            &VumoTableFilterModel::onSourceLayoutAboutToBeChanged);
    connect(source, &QAbstractItemModel::layoutChanged, this, &VumoTableFilterModel::onSourceLayoutChanged);
    connect(source, &QAbstractItemModel::rowsInserted, this, &VumoTableFilterModel::onSourceRowsInserted);
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &VumoTableFilterModel::onSourceRowsAboutToBeRemoved);
    connect(source, &QAbstractItemModel::rowsRemoved, this, &VumoTableFilterModel::onSourceRowsRemoved);
}

VumoTableFilterModel::~VumoTableFilterModel() = default;

void VumoTableFilterModel::rebuild()
{
    m_filtering = !m_filters.isEmpty();
    const QList<VUMO_LIST_STRUCT>& rows = m_source->Rows();
    m_shown.clear();
    m_shown.reserve(rows.size());
    m_viewRowOf.fill(-1, rows.size());
    for (int row = 0; row < rows.size(); ++row) {
        if (m_filtering && !VumoRowMatchesFilters(rows.at(row), m_filters))
            continue;
        m_viewRowOf[row] = int(m_shown.size());
        m_shown.append(row);
    }
}

void VumoTableFilterModel::SetFilters(const VumoFilterTexts& filters)
{
    const VumoFilterTexts next = normalised(filters);
    if (next == m_filters)
        return;
    // One layout change for the whole table: the views and the selection remap through the
    // persistent indexes, rows that drop out lose theirs.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> sourceRows;
    sourceRows.reserve(before.size());
    for (const QModelIndex& index : before)
        sourceRows.append(SourceRow(index.row()));
    m_filters = next;
    rebuild();
    QModelIndexList after;
    after.reserve(before.size());
    for (int i = 0; i < before.size(); ++i) {
        const int viewRow = ViewRow(sourceRows.at(i));
        after.append(viewRow < 0 ? QModelIndex() : createIndex(viewRow, before.at(i).column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int VumoTableFilterModel::SourceRow(int viewRow) const
{
    return viewRow >= 0 && viewRow < m_shown.size() ? m_shown.at(viewRow) : -1;
}

int VumoTableFilterModel::ViewRow(int sourceRow) const
{
    return sourceRow >= 0 && sourceRow < m_viewRowOf.size() ? m_viewRowOf.at(sourceRow) : -1;
}

int VumoTableFilterModel::FilteredOutCount() const
{
    return int(m_viewRowOf.size() - m_shown.size());
}

int VumoTableFilterModel::CheckedShownCount() const
{
    if (!m_filtering)
        return m_source->CheckedCount();
    int ticked = 0;
    for (int row : m_shown)
        ticked += m_source->IsChecked(row) ? 1 : 0;
    return ticked;
}

QModelIndex VumoTableFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_shown.size() || column < 0 || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex VumoTableFilterModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

QModelIndex VumoTableFilterModel::sibling(int row, int column, const QModelIndex&) const
{
    return index(row, column);
}

int VumoTableFilterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int VumoTableFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_source->columnCount();
}

bool VumoTableFilterModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_shown.isEmpty();
}

QVariant VumoTableFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // Columns are the model's own; the base class would map through row 0, absent when every
    // row is filtered out.
    if (orientation == Qt::Vertical)
        section = SourceRow(section);
    return m_source->headerData(section, orientation, role);
}

QModelIndex VumoTableFilterModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this)
        return QModelIndex();
    return m_source->index(SourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex VumoTableFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != m_source)
        return QModelIndex();
    return index(ViewRow(sourceIndex.row()), sourceIndex.column());
}

void VumoTableFilterModel::sort(int column, Qt::SortOrder order)
{
    m_source->sort(column, order);
}

std::pair<int, int> VumoTableFilterModel::viewRange(int sourceFirst, int sourceLast) const
{
    const auto lo = std::lower_bound(m_shown.cbegin(), m_shown.cend(), sourceFirst);
    const auto hi = std::upper_bound(lo, m_shown.cend(), sourceLast);
    return {int(lo - m_shown.cbegin()), int(hi - m_shown.cbegin())};
}

void VumoTableFilterModel::onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                               const QList<int>& roles)
{
    // A changed cell does not move its row in or out of view: the filter runs when the seller
    // asks for it (or on the next load).
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const auto [first, end] = viewRange(topLeft.row(), bottomRight.row());
    if (first < end)
        emit dataChanged(createIndex(first, topLeft.column()), createIndex(end - 1, bottomRight.column()), roles);
}

void VumoTableFilterModel::onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    if (orientation == Qt::Horizontal)
        emit headerDataChanged(orientation, first, last);
}

void VumoTableFilterModel::onSourceLayoutAboutToBeChanged()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_layoutProxy = persistentIndexList();
    m_layoutSource.clear();
    m_layoutSource.reserve(m_layoutProxy.size());
    for (const QModelIndex& index : std::as_const(m_layoutProxy))
        m_layoutSource.append(QPersistentModelIndex(mapToSource(index)));
}

void VumoTableFilterModel::onSourceLayoutChanged()
{
    rebuild();
    QModelIndexList after;
    after.reserve(m_layoutSource.size());
    for (const QPersistentModelIndex& source : std::as_const(m_layoutSource))
        after.append(mapFromSource(source));
    changePersistentIndexList(m_layoutProxy, after);
    m_layoutProxy.clear();
    m_layoutSource.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void VumoTableFilterModel::onSourceRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const QList<VUMO_LIST_STRUCT>& rows = m_source->Rows();
    const int count = last - first + 1;
    QList<int> kept;
    for (int row = first; row <= last; ++row) {
        if (!m_filtering || VumoRowMatchesFilters(rows.at(row), m_filters))
            kept.append(row);
    }
    // The new rows show together: no shown row lies between them.
    const int at = viewRange(first, first).first;
    const auto update = [&] {
        for (int i = at; i < m_shown.size(); ++i)
            m_shown[i] += count;
        for (int i = 0; i < kept.size(); ++i)
            m_shown.insert(at + i, kept.at(i));
        m_viewRowOf.insert(first, count, -1);
        for (int i = at; i < m_shown.size(); ++i)
            m_viewRowOf[m_shown.at(i)] = i;
    };
    if (kept.isEmpty()) {
        update();
        return;
    }
    beginInsertRows(QModelIndex(), at, at + int(kept.size()) - 1);
    update();
    endInsertRows();
}

void VumoTableFilterModel::onSourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const auto [lo, hi] = viewRange(first, last);
    m_removing = lo < hi;
    if (m_removing)
        beginRemoveRows(QModelIndex(), lo, hi - 1);
}

void VumoTableFilterModel::onSourceRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    const auto [lo, hi] = viewRange(first, last);
    m_shown.remove(lo, hi - lo);
    for (int i = lo; i < m_shown.size(); ++i)
        m_shown[i] -= count;
    m_viewRowOf.remove(first, count);
    for (int i = lo; i < m_shown.size(); ++i)
        m_viewRowOf[m_shown.at(i)] = i;
    if (m_removing) {
        m_removing = false;
        endRemoveRows();
    }
}

} // namespace Quorvia::vumo
