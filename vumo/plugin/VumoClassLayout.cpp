#include "plugin/VumoClassLayout.h"

namespace Quorvia::vumo {

namespace {
const VumoTab kTabAll{1, QStringLiteral("所有商品")};
const VumoTab kTabChanged{2, QStringLiteral("更改未上传的商品")};
const VumoTab kTabFailed{3, QStringLiteral("上传失败的商品")};
} // namespace

QString VumoClassNodeText(int vumoClass)
{
    switch (vumoClass) {
    case VumoClassTemplate:
        return QStringLiteral("商品模板");
    case VumoClassOnSale:
        return QStringLiteral("线上在售商品");
    case VumoClassForSale:
        return QStringLiteral("线上待售商品");
    case VumoClassLocal:
        return QStringLiteral("本地仓库商品");
    case VumoClassRecycle:
        return QStringLiteral("本地回收站");
    case VumoClassSearch:
        return QStringLiteral("搜索结果");
    default:
        return QString();
    }
}

VumoClassLayout VumoLayoutForClass(int vumoClass, int stockMode)
{
    VumoClassLayout layout;
    layout.hiddenColumns = {ColumnError, ColumnCategoryId, ColumnTemplateName};
    if (stockMode == 1)
        layout.hiddenColumns.insert(ColumnStock);
    layout.tabs = {kTabAll, kTabChanged, kTabFailed};

    switch (vumoClass) {
    case VumoClassTemplate:
        layout.hiddenColumns.remove(ColumnTemplateName);
        layout.hiddenColumns += {ColumnVumoId, ColumnUploadStatus};
        layout.tabs.clear();
        layout.uploadAllowed = false;
        break;
    case VumoClassOnSale:
    case VumoClassForSale:
        layout.hiddenColumns.remove(ColumnError);
        break;
    case VumoClassLocal:
        layout.hiddenColumns.remove(ColumnError);
        layout.hiddenColumns += {ColumnVumoId, ColumnUploadStatus};
        layout.tabs = {kTabAll, kTabFailed};
        break;
    case VumoClassRecycle:
        layout.hiddenColumns += {ColumnVumoId, ColumnUploadStatus};
        layout.tabs = {kTabAll};
        layout.uploadAllowed = false;
        layout.batchEditAllowed = false;
        break;
    case VumoClassSearch:
        layout.hiddenColumns.insert(ColumnUploadStatus);
        layout.tabs = {kTabAll};
        layout.deleteAllowed = false;
        break;
    default:
        break;
    }
    return layout;
}

} // namespace Quorvia::vumo
