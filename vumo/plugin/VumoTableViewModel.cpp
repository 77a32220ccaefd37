#include "plugin/VumoTableViewModel.h"

#include "entity/VumoStatus.h"
#include "plugin/TableInfo.h"
#include "plugin/VumoTableRules.h"
#include "utils/Log.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>

namespace Quorvia::vumo {

namespace {

#define VUMO_MODEL_POS QStringLiteral("%1[%2]").arg(QStringLiteral("VumoTableViewModel")).arg(__LINE__)

const QColor kEvenRowColor(246, 246, 246);

} // namespace

QFont VumoTableCellFont()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        // The configured face first, then Chinese UI faces a Linux desktop usually has.
        const QStringList wanted = {QStringLiteral("微软雅黑"),           QStringLiteral("Microsoft YaHei"),
                                    QStringLiteral("Noto Sans CJK SC"),   QStringLiteral("Noto Sans SC"),
                                    QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Micro Hei"),
                                    QStringLiteral("Droid Sans Fallback")};
        for (const QString& name : wanted) {
            if (families.contains(name, Qt::CaseInsensitive))
                return name;
        }
        return QString();
    }();
    QFont font = QGuiApplication::font();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSize(9);
    return font;
}

VumoTableViewModel::VumoTableViewModel(QObject* parent)
    : QAbstractItemModel(parent)
    , m_headers(TableInfo::instance()->GetColumnMap())
    , m_font(VumoTableCellFont())
{
    RegisterVumoListStructMetaType();
}

VumoTableViewModel::~VumoTableViewModel() = default;

QModelIndex VumoTableViewModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows.size() || column < 0 || column >= VumoColCount)
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex VumoTableViewModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int VumoTableViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int VumoTableViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(VumoColCount);
}

QVariant VumoTableViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= VumoColCount)
        return QVariant();
    const VUMO_LIST_STRUCT& row = m_rows.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        if (column == VumoColCheck)
            return QVariant();
        return VumoCellText(row, column);
    case Qt::FontRole:
        return m_font;
    case Qt::TextAlignmentRole:
        if (column == VumoColTitle)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return QBrush(index.row() % 2 == 0 ? kEvenRowColor : QColor(Qt::white));
    case Qt::CheckStateRole:
        if (column == VumoColCheck)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant VumoTableViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < VumoColCount) {
        if (role == Qt::DisplayRole)
            return m_headers.value(section);
        if (role == Qt::UserRole)
            return section;
    }
    return QAbstractItemModel::headerData(section, orientation, role);
}

Qt::ItemFlags VumoTableViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == VumoColCheck)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool VumoTableViewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() != VumoColCheck
        || role != Qt::CheckStateRole)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    setChecked(index.row(), checked);
    emitRowChanged(index.row());
    emit ModelCheckBoxStateChanged(checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

void VumoTableViewModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= VumoColCount || m_rows.size() < 2)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<QPair<QString, int>> anchors; // client_id and column of each persistent index
    anchors.reserve(before.size());
    for (const QModelIndex& index : before)
        anchors.append({m_rows.at(index.row()).client_id, index.column()});

    if (order == Qt::AscendingOrder) {
        std::stable_sort(m_rows.begin(), m_rows.end(), [column](const VUMO_LIST_STRUCT& a, const VUMO_LIST_STRUCT& b) {
            return VumoRowLess(a, b, column);
        });
    } else {
        std::stable_sort(m_rows.begin(), m_rows.end(), [column](const VUMO_LIST_STRUCT& a, const VUMO_LIST_STRUCT& b) {
            return VumoRowLess(b, a, column);
        });
    }

    m_rowOfValid = false;
    if (!before.isEmpty()) {
        QHash<QString, int> rowOf;
        rowOf.reserve(m_rows.size());
        for (int i = 0; i < m_rows.size(); ++i)
            rowOf.insert(m_rows.at(i).client_id, i);
        QModelIndexList after;
        after.reserve(before.size());
        for (const auto& anchor : anchors)
            after.append(createIndex(rowOf.value(anchor.first), anchor.second));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void VumoTableViewModel::SetVumoList(const QList<VUMO_LIST_STRUCT>& rows)
{
    beginResetModel();
    m_rows = rows;
    m_rowOfValid = false;
    m_checkedCount = 0;
    // Rows from the store come unticked; touching them would copy the whole shared list.
    const auto ticked = [](const VUMO_LIST_STRUCT& row) { return row.checked; };
    if (std::any_of(m_rows.cbegin(), m_rows.cend(), ticked)) {
        for (VUMO_LIST_STRUCT& row : m_rows)
            row.checked = false;
    }
    endResetModel();
    emit ModelReset();
}

bool VumoTableViewModel::UpdateOrInsertVumo(const VUMO_LIST_STRUCT& row)
{
    if (row.client_id.isEmpty()) {
        qCWarning(lcContol).noquote() << VUMO_MODEL_POS << "ClientId 为空！";
        return false;
    }
    const int existing = RowOfClientId(row.client_id);
    if (existing >= 0) {
        const bool checked = m_rows.at(existing).checked;
        m_rows[existing] = row;
        m_rows[existing].checked = checked;
        emitRowChanged(existing);
        return true;
    }
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(row);
    m_rows.last().checked = false;
    if (m_rowOfValid)
        m_rowOf.insert(row.client_id, at);
    endInsertRows();
    return true;
}

bool VumoTableViewModel::UpdateOrInsertVumo(const Quorvia::vumo::entity::VumoDataEntity& record)
{
    return UpdateOrInsertVumo(VumoListStructFromEntity(record));
}

bool VumoTableViewModel::RemoveVumo(const QString& clientId)
{
    const int row = RowOfClientId(clientId);
    if (row < 0)
        return false;
    const bool wasChecked = m_rows.at(row).checked;
    beginRemoveRows(QModelIndex(), row, row);
    if (wasChecked)
        --m_checkedCount;
    m_rows.removeAt(row);
    m_rowOfValid = false;
    endRemoveRows();
    if (wasChecked)
        emit ModelCheckBoxStateChanged(Qt::Unchecked);
    return true;
}

int VumoTableViewModel::RemoveVumos(const QStringList& clientIds)
{
    int removed = 0;
    for (const QString& clientId : clientIds) {
        if (RemoveVumo(clientId))
            ++removed;
    }
    return removed;
}

bool VumoTableViewModel::SetUploadStatus(const QString& clientId, int uploadStatus)
{
    const int row = RowOfClientId(clientId);
    if (row < 0)
        return false;
    m_rows[row].upload_status = uploadStatus;
    const QModelIndex cell = createIndex(row, VumoColUploadStatus);
    emit dataChanged(cell, cell);
    return true;
}

int VumoTableViewModel::RowOfClientId(const QString& clientId) const
{
    if (clientId.isEmpty()) {
        qCWarning(lcContol).noquote() << VUMO_MODEL_POS << "ClientId 为空！";
        return -1;
    }
    if (!m_rowOfValid) {
        m_rowOf.clear();
        m_rowOf.reserve(m_rows.size());
        for (int i = 0; i < m_rows.size(); ++i)
            m_rowOf.insert(m_rows.at(i).client_id, i);
        m_rowOfValid = true;
    }
    return m_rowOf.value(clientId, -1);
}

int VumoTableViewModel::RowOfVumoId(qint64 vumoId) const
{
    if (vumoId == 0) {
        qCWarning(lcContol).noquote() << VUMO_MODEL_POS << "Vumo Id 为0！";
        return -1;
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).vumo_id == vumoId)
            return i;
    }
    return -1;
}

bool VumoTableViewModel::GetVumo(int row, VUMO_LIST_STRUCT& out) const
{
    if (row < 0 || row >= m_rows.size())
        return false;
    out = m_rows.at(row);
    return true;
}

QList<VUMO_LIST_STRUCT> VumoTableViewModel::GetVumosOfRows(const QList<int>& rows) const
{
    QList<VUMO_LIST_STRUCT> out;
    out.reserve(rows.size());
    for (int row : rows) {
        if (row >= 0 && row < m_rows.size())
            out.append(m_rows.at(row));
    }
    return out;
}

QList<VUMO_LIST_STRUCT> VumoTableViewModel::GetCheckedVumos() const
{
    QList<VUMO_LIST_STRUCT> out;
    out.reserve(m_checkedCount);
    for (const VUMO_LIST_STRUCT& row : m_rows) {
        if (row.checked)
            out.append(row);
    }
    return out;
}

bool VumoTableViewModel::IsChecked(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).checked;
}

void VumoTableViewModel::setChecked(int row, bool checked)
{
    VUMO_LIST_STRUCT& r = m_rows[row];
    if (r.checked == checked)
        return;
    r.checked = checked;
    m_checkedCount += checked ? 1 : -1;
}

void VumoTableViewModel::emitRowChanged(int row)
{
    emit dataChanged(createIndex(row, 0), createIndex(row, VumoColCount - 1));
}

void VumoTableViewModel::SetRowsCheckState(const QList<int>& rows, int state)
{
    const bool checked = state != Qt::Unchecked;
    int first = int(m_rows.size());
    int last = -1;
    for (int row : rows) {
        if (row < 0 || row >= m_rows.size())
            continue;
        setChecked(row, checked);
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (last >= 0)
        emit dataChanged(createIndex(first, VumoColCheck), createIndex(last, VumoColCheck), {Qt::CheckStateRole});
    emit ModelCheckBoxStateChanged(checked ? Qt::Checked : Qt::Unchecked);
}

void VumoTableViewModel::ToggleRowsChecked(const QList<int>& rows)
{
    int first = int(m_rows.size());
    int last = -1;
    bool anyTicked = false;
    for (int row : rows) {
        if (row < 0 || row >= m_rows.size())
            continue;
        const bool now = !m_rows.at(row).checked;
        setChecked(row, now);
        anyTicked = anyTicked || now;
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (last < 0)
        return;
    emit dataChanged(createIndex(first, VumoColCheck), createIndex(last, VumoColCheck), {Qt::CheckStateRole});
    emit ModelCheckBoxStateChanged(anyTicked ? Qt::Checked : Qt::Unchecked);
}

void VumoTableViewModel::setAllCheckState(int state)
{
    const bool checked = state != Qt::Unchecked;
    for (int row = 0; row < m_rows.size(); ++row)
        setChecked(row, checked);
    if (!m_rows.isEmpty())
        emit dataChanged(createIndex(0, VumoColCheck), createIndex(int(m_rows.size()) - 1, VumoColCheck),
                         {Qt::CheckStateRole});
    emit ModelCheckBoxStateChanged(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace Quorvia::vumo
