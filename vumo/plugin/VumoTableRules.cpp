#include "plugin/VumoTableRules.h"

#include "entity/VumoDataEntity.h"
#include "entity/VumoStatus.h"
#include "utils/Money.h"

#include <QMetaType>

namespace Quorvia::vumo {

using Quorvia::utils::FormatMoney;

namespace {

QString priceText(qint64 cents)
{
    return cents < 0 ? QString() : FormatMoney(cents);
}

template <class T>
int compareValues(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareRows(const VUMO_LIST_STRUCT& a, const VUMO_LIST_STRUCT& b, int column)
{
    switch (column) {
    case VumoColCheck:
        return compareValues(a.checked, b.checked);
    case VumoColVumoId:
        return compareValues(a.vumo_id, b.vumo_id);
    case VumoColCid:
        return compareValues(a.cid, b.cid);
    case VumoColModified:
        return compareValues(a.modified, b.modified);
    case VumoColStatus:
        return compareValues(a.vumo_status, b.vumo_status);
    case VumoColCostPrice:
        return compareValues(a.cost_price, b.cost_price);
    case VumoColMarketPrice:
        return compareValues(a.market_price, b.market_price);
    case VumoColYvPrice: {
        // A price range sorts by its lower end.
        const qint64 left = a.min_yvprice != a.max_yvprice ? a.min_yvprice : a.yv_price;
        const qint64 right = b.min_yvprice != b.max_yvprice ? b.min_yvprice : b.yv_price;
        return compareValues(left, right);
    }
    case VumoColStock:
        return compareValues(a.stock_num, b.stock_num);
    case VumoColUploadStatus:
        return VumoUploadStatusText(a.upload_status).compare(VumoUploadStatusText(b.upload_status));
    default:
        return VumoCellText(a, column).compare(VumoCellText(b, column));
    }
}

} // namespace

void RegisterVumoListStructMetaType()
{
    qRegisterMetaType<VUMO_LIST_STRUCT>("VUMO_LIST_STRUCT");
    qRegisterMetaType<QList<VUMO_LIST_STRUCT>>("QList<VUMO_LIST_STRUCT>");
}

QString VumoUploadStatusText(int uploadStatus)
{
    switch (uploadStatus) {
    case -1:
    case 1:
        return QStringLiteral("已上传");
    case 0:
        return QStringLiteral("修改后未上传");
    case 2:
        return QStringLiteral("上传失败");
    default:
        return QString();
    }
}

QString VumoCellText(const VUMO_LIST_STRUCT& row, int column)
{
    switch (column) {
    case VumoColTemplateName:
        return row.template_name;
    case VumoColVumoId:
        return row.vumo_id > 0 ? QString::number(row.vumo_id) : QString();
    case VumoColTitle:
        return row.title;
    case VumoColCid:
        return QString::number(row.cid);
    case VumoColModified:
        return row.modified.isValid() ? row.modified.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
    case VumoColStatus:
        return Quorvia::vumo::entity::VumoStatusText(row.vumo_status);
    case VumoColItemNum:
        return row.item_num;
    case VumoColCostPrice:
        return priceText(row.cost_price);
    case VumoColMarketPrice:
        return priceText(row.market_price);
    case VumoColYvPrice:
        if (row.yv_price < 0)
            return QString();
        if (row.min_yvprice == row.max_yvprice)
            return FormatMoney(row.yv_price);
        return QStringLiteral("%1~%2").arg(FormatMoney(row.min_yvprice), FormatMoney(row.max_yvprice));
    case VumoColStock:
        return row.stock_num < 0 ? QString() : QString::number(row.stock_num);
    case VumoColUploadStatus:
        return VumoUploadStatusText(row.upload_status);
    case VumoColErrorMsg:
        return row.error_msg;
    default:
        return QString();
    }
}

bool VumoRowLess(const VUMO_LIST_STRUCT& a, const VUMO_LIST_STRUCT& b, int column)
{
    const int order = compareRows(a, b, column);
    if (order != 0)
        return order < 0;
    return a.client_id < b.client_id;
}

bool VumoFiltersEmpty(const VumoFilterTexts& filters)
{
    for (const QStringList& texts : filters) {
        for (const QString& text : texts) {
            if (!text.isEmpty())
                return false;
        }
    }
    return true;
}

bool VumoRowMatchesFilters(const VUMO_LIST_STRUCT& row, const VumoFilterTexts& filters)
{
    for (auto it = filters.cbegin(); it != filters.cend(); ++it) {
        QString cell;
        bool haveCell = false;
        for (const QString& text : it.value()) {
            if (text.isEmpty())
                continue;
            if (!haveCell) {
                cell = VumoCellText(row, it.key());
                haveCell = true;
            }
            if (!cell.contains(text, Qt::CaseSensitive))
                return false;
        }
    }
    return true;
}

int VumoHeaderCheckState(int tickedRows, int totalRows)
{
    if (totalRows <= 0 || tickedRows <= 0)
        return Qt::Unchecked;
    return tickedRows >= totalRows ? Qt::Checked : Qt::PartiallyChecked;
}

VumoColumnLayoutPlan VumoPlanColumnLayout(const QVector<VumoColumnEntry>& saved, int stockMode)
{
    VumoColumnLayoutPlan plan;
    QVector<bool> placed(VumoColCount, false);
    for (const VumoColumnEntry& entry : saved) {
        if (entry.column < 0 || entry.column >= VumoColCount || placed[entry.column])
            continue;
        placed[entry.column] = true;
        plan.order.append(entry.column);
        if (entry.width > 0)
            plan.widths.insert(entry.column, entry.width);
        if (!entry.visible)
            plan.userHidden.insert(entry.column);
    }
    for (int column = 0; column < VumoColCount; ++column) {
        if (!placed[column])
            plan.order.append(column);
    }
    plan.forcedHidden.insert(VumoColCid);
    if (stockMode == 1)
        plan.forcedHidden.insert(VumoColStock);
    return plan;
}

} // namespace Quorvia::vumo
