#pragma once
// Listing classes of the classification tree and what the listing page shows for each: hidden
// table columns, tabs, and which listing commands the class allows.
#include <QList>
#include <QSet>
#include <QString>

namespace Quorvia::vumo {

enum VumoClassType {
    VumoClassNone = -1,
    VumoClassTemplate = 1, // "商品模板"
    VumoClassOnSale = 2,   // "线上在售商品"
    VumoClassForSale = 3,  // "线上待售商品"
    VumoClassLocal = 4,    // "本地仓库商品"
    VumoClassRecycle = 5,  // "本地回收站"
    VumoClassSearch = 6,   // "搜索结果"
};

// Table columns the class rules refer to.
enum VumoColumn {
    ColumnTemplateName = 1,
    ColumnVumoId = 2,
    ColumnCategoryId = 4,
    ColumnStock = 11,
    ColumnUploadStatus = 12,
    ColumnError = 13,
};

// Tab data: 1 all listings, 2 changed and not uploaded, 3 upload failed.
struct VumoTab
{
    int data = 0;
    QString title;
};

struct VumoClassLayout
{
    QSet<int> hiddenColumns;
    QList<VumoTab> tabs;
    bool uploadAllowed = true;
    bool batchEditAllowed = true;
    bool deleteAllowed = true;
};

// Node text of a class; empty for an unknown class.
QString VumoClassNodeText(int vumoClass);

// The page layout for a class. The stock column is hidden when stock is not managed through
// the plug-in (stockMode 1). An unknown class gets the base layout.
VumoClassLayout VumoLayoutForClass(int vumoClass, int stockMode);

} // namespace Quorvia::vumo
