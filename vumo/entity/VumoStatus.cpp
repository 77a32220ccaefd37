#include "entity/VumoStatus.h"

namespace Quorvia::vumo::entity {

namespace {

struct StatusRow
{
    int value;
    const char* apiText;
    const char* tableText; // UTF-8
};

const StatusRow kStatusRows[] = {
    {VUMO_STATUS_NEVER_UP, "NEVER_UP", "从未上架"},
    {VUMO_STATUS_CUSTORMER_DOWN, "CUSTORMER_DOWN", "自主下架"},
    {VUMO_STATUS_SYSTEM_DOWN, "SYSTEM_DOWN", "系统下架"},
    {VUMO_STATUS_ON_SALE, "ON_SALE", "在售"},
    {VUMO_STATUS_NEVER_UP_AUDIT_AWAIT, "NEVER_UP AUDIT_AWAIT", "从未上架 待审核"},
    {VUMO_STATUS_CUSTORMER_DOWN_AUDIT_AWAIT, "CUSTORMER_DOWN AUDIT_AWAIT", "自主下架 待审核"},
    {VUMO_STATUS_SYSTEM_DOWN_AUDIT_AWAIT, "SYSTEM_DOWN AUDIT_AWAIT", "系统下架 待审核"},
    {VUMO_STATUS_ON_SALE_AUDIT_AWAIT, "ON_SALE AUDIT_AWAIT", "在售 待审核"},
    {VUMO_STATUS_CUSTORMER_DOWN_AUDIT_FAIL, "CUSTORMER_DOWN AUDIT_FAIL", "自主下架 审核不通过"},
    {VUMO_STATUS_SYSTEM_DOWN_AUDIT_FAIL, "SYSTEM_DOWN AUDIT_FAIL", "系统下架 审核不通过"},
    {VUMO_STATUS_TEMPLATE, nullptr, "模板"},
    {VUMO_STATUS_LOCAL_STORE, nullptr, "本地仓库"},
    {VUMO_STATUS_RECYCLE_BIN, nullptr, "删除"},
};

const StatusRow* FindRow(int value)
{
    for (const StatusRow& row : kStatusRows) {
        if (row.value == value)
            return &row;
    }
    return nullptr;
}

} // namespace

int VumoStatusFromApiText(const QString& text)
{
    const QString words = text.simplified();
    for (const StatusRow& row : kStatusRows) {
        if (row.apiText && words == QLatin1String(row.apiText))
            return row.value;
    }
    return VUMO_STATUS_UNKNOWN;
}

QString VumoStatusApiText(int value)
{
    const StatusRow* row = FindRow(value);
    return row && row->apiText ? QString::fromLatin1(row->apiText) : QString();
}

QString VumoStatusText(int value)
{
    const StatusRow* row = FindRow(value);
    return row ? QString::fromUtf8(row->tableText) : QStringLiteral("未知状态");
}

bool IsKnownVumoStatus(int value)
{
    return FindRow(value) != nullptr;
}

bool IsMarketplaceVumoStatus(int value)
{
    const StatusRow* row = FindRow(value);
    return row && row->apiText;
}

int ListingStatusFromApiText(const QString& text)
{
    const QString word = text.trimmed();
    if (word == QLatin1String("DELETE"))
        return 0;
    if (word == QLatin1String("INVALID"))
        return 1;
    if (word == QLatin1String("VALID"))
        return 2;
    return -1;
}

int SkuStatusFromApiText(const QString& text)
{
    const QString word = text.trimmed();
    if (word == QLatin1String("Delete"))
        return 0;
    if (word == QLatin1String("Invalid"))
        return 1;
    return 2;
}

} // namespace Quorvia::vumo::entity
