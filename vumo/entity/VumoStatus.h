#pragma once
// Listing status codes (vumo_status) and the texts the marketplace and the table use for them.
// Marketplace codes are bit sets: 1, 2, 4, 8 the sale state, +512 while a review is pending,
// +1024 after a failed review. 2013 to 2015 exist only locally.
#include <QString>

namespace Quorvia::vumo::entity {

enum ENUM_VUMO_STATUS {
    VUMO_STATUS_UNKNOWN = -1,
    VUMO_STATUS_NEVER_UP = 1,
    VUMO_STATUS_CUSTORMER_DOWN = 2,
    VUMO_STATUS_SYSTEM_DOWN = 4,
    VUMO_STATUS_ON_SALE = 8,
    VUMO_STATUS_NEVER_UP_AUDIT_AWAIT = 513,
    VUMO_STATUS_CUSTORMER_DOWN_AUDIT_AWAIT = 514,
    VUMO_STATUS_SYSTEM_DOWN_AUDIT_AWAIT = 516,
    VUMO_STATUS_ON_SALE_AUDIT_AWAIT = 520,
    VUMO_STATUS_CUSTORMER_DOWN_AUDIT_FAIL = 1026,
    VUMO_STATUS_SYSTEM_DOWN_AUDIT_FAIL = 1028,
    VUMO_STATUS_TEMPLATE = 2013,
    VUMO_STATUS_LOCAL_STORE = 2014,
    VUMO_STATUS_RECYCLE_BIN = 2015,
};

// "ON_SALE AUDIT_AWAIT" -> 520; blanks around and between the words do not matter;
// any other text -> -1.
int VumoStatusFromApiText(const QString& text);
// 520 -> "ON_SALE AUDIT_AWAIT"; empty for local and unknown codes.
QString VumoStatusApiText(int value);
// The table text: 520 -> "在售 待审核", unknown codes -> "未知状态".
QString VumoStatusText(int value);
// True for every code of the table above, local ones included.
bool IsKnownVumoStatus(int value);
// True for the codes the marketplace can report (the local codes and -1 are not).
bool IsMarketplaceVumoStatus(int value);

// Listing validity: "DELETE" 0, "INVALID" 1, "VALID" 2, anything else -1.
int ListingStatusFromApiText(const QString& text);
// SKU validity: "Delete" 0, "Invalid" 1, anything else 2.
int SkuStatusFromApiText(const QString& text);

} // namespace Quorvia::vumo::entity
