#pragma once
// The listing table: a QTableView over its own VumoTableViewModel with a tick column, a frozen
// overlay of the four leading columns, per-column filters in a tall header, sorting and the
// column layout kept in the workbench's per-user settings.
//
// Hidden columns have three sources, combined: the seller's layout (saved and restored), the
// current class (SetClassHiddenColumns, set by the main widget on each class switch; never
// saved) and the fixed rules (category column always, stock column when stockMode is 1).
#include "database/VumoListStruct.h"

#include <QItemSelection>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QTableView>

namespace Quorvia::vumo {

class VumoHeaderView;
class VumoTableFilterModel;
class VumoTableViewModel;

class VumoTableView : public QTableView
{
    Q_OBJECT
public:
    explicit VumoTableView(QWidget* parent = nullptr);
    ~VumoTableView() override;

    // The rows (all of them); the views show them through FilterModel(), so a view row is a
    // row of the filter model, mapped with its SourceRow() / ViewRow().
    VumoTableViewModel* VumoModel() const { return m_model; }
    VumoTableFilterModel* FilterModel() const { return m_filter; }
    VumoHeaderView* VumoHeader() const { return m_header; }
    // The overlay view of the leading columns and its header.
    QTableView* FrozenView() const { return m_frozenView; }
    VumoHeaderView* FrozenHeader() const { return m_frozenHeader; }

    // Loads rows into the model (see VumoTableViewModel::SetVumoList); filters and the
    // seller's sort stay applied.
    void SetVumoList(const QList<VUMO_LIST_STRUCT>& rows);

    // Model rows of the current selection (whole rows, shown ones), in row order.
    QList<int> SelectedRows() const;
    QList<VUMO_LIST_STRUCT> GetSelectedVumos() const;
    QList<VUMO_LIST_STRUCT> GetCheckedVumos() const;
    // Makes the row of a client_id current and selected and scrolls to it; false when absent.
    bool SelectClientId(const QString& clientId);

    // Columns the current class hides. They are not written to the saved layout.
    void SetClassHiddenColumns(const QSet<int>& columns);
    QSet<int> ClassHiddenColumns() const { return m_classHidden; }
    // The seller's own choice of hidden columns (from the saved layout).
    QSet<int> UserHiddenColumns() const { return m_userHidden; }

    // Reads the layout from CUserConfig and applies it.
    void RestoreColumnLayout();
    // Writes the current order, widths and the seller's visibility to CUserConfig; on failure
    // shows "保存拖拽后订单列信息失败！" unless quiet, and returns false.
    bool SaveColumnLayout(bool quiet = false);

    // Number of rows the filters hide.
    int FilteredOutCount() const;

signals:
    void selectionChangedSignal(const QItemSelection& selected, const QItemSelection& deselected);

public slots:
    void onModelCheckBoxStateChanged(int state);
    void onViewHeaderClicked(int logicalIndex);
    void onCheckBoxStateChange(int state);
    void OnModelReset();
    void updateSectionWidth(int logicalIndex, int oldSize, int newSize);
    void updateSectionHeight(int logicalIndex, int oldSize, int newSize);
    void onMenuChecked();
    void onMenuUnChecked();
    void reInitTableHeader(const QString& section, const QString& field);
    void OnFilterChanged();
    void OnClickClearFilters();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void initFrozenView();
    void updateFrozenGeometry();
    void syncFrozenColumns();
    void applyHiddenColumns();
    void applyFilters();
    void syncSortIndicator(int logicalIndex, Qt::SortOrder order);
    int frozenWidth() const;

    VumoTableViewModel* m_model = nullptr;
    VumoTableFilterModel* m_filter = nullptr;
    VumoHeaderView* m_header = nullptr;
    QTableView* m_frozenView = nullptr;
    VumoHeaderView* m_frozenHeader = nullptr;

    QSet<int> m_classHidden;
    QSet<int> m_userHidden;
    QSet<int> m_forcedHidden;
    QMap<int, int> m_lastWidths;
    int m_stockMode = -1;
    bool m_syncing = false;
    bool m_layoutRestored = false;
};

} // namespace Quorvia::vumo
