#pragma once
// Believable listings for looking at the listing view without a marketplace: every class and
// status, several SKUs, price ranges, shop categories, upload states. Deterministic: listing n
// is always the same record, so tests, the screenshot and the benchmark see the same store.
#include <QList>
#include <QMap>
#include <QString>

#include <memory>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
class SellerCatsEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::database {

class VumoDbInterface;

struct VumoDemoSummary
{
    int listings = 0;
    int sellerCategories = 0;
    // vumo_status -> number of listings written with it.
    QMap<int, int> byStatus;
    // Listings written with an empty shop_categorys.
    int withoutShopCategory = 0;
};

// Listing number `index` (0-based). Its client_id is "demo-%06d".
std::unique_ptr<Quorvia::vumo::entity::VumoDataEntity> MakeDemoListing(int index);

// The shop's two-level category tree used by the demo listings (caller owns the records).
QList<Quorvia::vumo::entity::SellerCatsEntity*> MakeDemoSellerCategories();

// Writes the seller categories and listings 0 .. count-1 into the store in one transaction
// (replacing rows of the same client_id). False with a message on the first failure, and the
// store is left as it was. count below 0 or above 1000000 is refused.
bool FillDemoStore(VumoDbInterface& store, int count, QString* error = nullptr, VumoDemoSummary* summary = nullptr);

} // namespace Quorvia::vumo::database
