#pragma once
// The listing table's rules that need no widget: what each cell shows, how rows compare when
// sorted, which rows a set of filter texts keeps, the state of the header tick box, and how a
// saved column layout turns into an order, widths and hidden columns.
#include "database/VumoListStruct.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

enum VumoTableColumn {
    VumoColCheck = 0,
    VumoColTemplateName = 1,
    VumoColVumoId = 2,
    VumoColTitle = 3,
    VumoColCid = 4,
    VumoColModified = 5,
    VumoColStatus = 6,
    VumoColItemNum = 7,
    VumoColCostPrice = 8,
    VumoColMarketPrice = 9,
    VumoColYvPrice = 10,
    VumoColStock = 11,
    VumoColUploadStatus = 12,
    VumoColErrorMsg = 13,
    VumoColCount = 14
};

// Leading columns (in visual order) kept in view by the frozen overlay.
constexpr int VumoFrozenColumnCount = 4;

// Registers VUMO_LIST_STRUCT and its list for queued signals; safe to call more than once.
void RegisterVumoListStructMetaType();

// The text of one cell, as the table shows it:
//   yv 1200 with min 1200 / max 1550 -> "12.00~15.50", min == max -> "12.00", yv -1 -> "";
//   status 9999 -> "未知状态"; upload_status -1 or 1 -> "已上传"; vumo_id 0 -> "".
// Column 0 and columns out of range give an empty text.
QString VumoCellText(const VUMO_LIST_STRUCT& row, int column);

// Upload state text: -1 and 1 "已上传", 0 "修改后未上传", 2 "上传失败", others empty.
QString VumoUploadStatusText(int uploadStatus);

// Strict weak order of two rows by a column: numbers by value (prices, stock, identifiers,
// times), the tick column by its flag, other columns by text. Ties fall back to client_id so
// a sort is repeatable.
bool VumoRowLess(const VUMO_LIST_STRUCT& a, const VUMO_LIST_STRUCT& b, int column);

// Column -> filter texts typed for it (several fields may filter one column). A row is kept
// when every non-empty text is contained, case-sensitively, in the cell text of its column.
using VumoFilterTexts = QMap<int, QStringList>;
bool VumoRowMatchesFilters(const VUMO_LIST_STRUCT& row, const VumoFilterTexts& filters);
// True when no text is non-empty.
bool VumoFiltersEmpty(const VumoFilterTexts& filters);

// Header tick box: 2 (checked) when every row is ticked, 0 when none is or there are no
// rows, 1 (partially) otherwise.
int VumoHeaderCheckState(int tickedRows, int totalRows);

// One saved column of the layout, in visual order.
struct VumoColumnEntry
{
    int column = 0;
    int width = 0;
    bool visible = true;
};

struct VumoColumnLayoutPlan
{
    // Logical columns in visual order: all columns, each once.
    QVector<int> order;
    // Column -> width to apply (only stored widths greater than 0).
    QMap<int, int> widths;
    // Hidden by the seller's choice (the saved flags).
    QSet<int> userHidden;
    // Hidden whatever the layout says: the category column, and the stock column when stock
    // is not managed through the plug-in (stockMode 1).
    QSet<int> forcedHidden;
};

// Saved entries in order; unknown or repeated column numbers are skipped, columns the saved
// layout does not name keep their default order after the named ones.
VumoColumnLayoutPlan VumoPlanColumnLayout(const QVector<VumoColumnEntry>& saved, int stockMode);

} // namespace Quorvia::vumo
