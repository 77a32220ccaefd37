#pragma once
// The listing table's rows: one VUMO_LIST_STRUCT per listing of the current class and search,
// as a flat 14-column item model. The model never queries the store; the main widget loads
// rows with the store's table query and hands them over.
#include "database/VumoListStruct.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class VumoTableViewModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit VumoTableViewModel(QObject* parent = nullptr);
    ~VumoTableViewModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // column -1 keeps the current order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Replaces every row (ticks are lost) and emits ModelReset().
    void SetVumoList(const QList<VUMO_LIST_STRUCT>& rows);
    void ClearVumoList() { SetVumoList({}); }
    // Updates the row of the record's client_id in place, or appends a new row. The row keeps
    // its tick. False (and nothing changes) for an empty client_id.
    bool UpdateOrInsertVumo(const VUMO_LIST_STRUCT& row);
    bool UpdateOrInsertVumo(const Quorvia::vumo::entity::VumoDataEntity& record);
    // Removes the row of a client_id; false when there is none.
    bool RemoveVumo(const QString& clientId);
    // Removes the rows of several client_ids; returns how many were removed.
    int RemoveVumos(const QStringList& clientIds);
    // Sets upload_status of one row in place; false when there is no such row.
    bool SetUploadStatus(const QString& clientId, int uploadStatus);

    // Row of a client_id / vumo_id, -1 when absent. An empty client_id or a vumo_id of 0 is
    // refused and logged.
    int RowOfClientId(const QString& clientId) const;
    int RowOfVumoId(qint64 vumoId) const;

    // Copies of rows; out-of-range rows are skipped.
    bool GetVumo(int row, VUMO_LIST_STRUCT& out) const;
    QList<VUMO_LIST_STRUCT> GetVumosOfRows(const QList<int>& rows) const;
    QList<VUMO_LIST_STRUCT> GetCheckedVumos() const;
    const QList<VUMO_LIST_STRUCT>& Rows() const { return m_rows; }

    int CheckedCount() const { return m_checkedCount; }
    bool IsChecked(int row) const;
    // Ticks (state not 0) or unticks the given rows and emits ModelCheckBoxStateChanged.
    void SetRowsCheckState(const QList<int>& rows, int state);
    // Flips the tick of each given row and emits ModelCheckBoxStateChanged.
    void ToggleRowsChecked(const QList<int>& rows);

    QFont CellFont() const { return m_font; }

public slots:
    // Ticks (state not 0) or unticks every row.
    void setAllCheckState(int state);

signals:
    // 2 when a row became ticked, 0 otherwise; after bulk changes the state given.
    void ModelCheckBoxStateChanged(int state);
    void ModelReset();

private:
    void emitRowChanged(int row);
    void setChecked(int row, bool checked);

    QList<VUMO_LIST_STRUCT> m_rows;
    QMap<int, QString> m_headers;
    QFont m_font;
    int m_checkedCount = 0;
    // client_id -> row, rebuilt on demand after the order changed.
    mutable QHash<QString, int> m_rowOf;
    mutable bool m_rowOfValid = false;
};

// The cell font: "微软雅黑" 9 pt where the system has it, otherwise a Chinese UI face it has
// ("Noto Sans CJK SC" and similar), otherwise the application font at 9 pt.
QFont VumoTableCellFont();

} // namespace Quorvia::vumo
