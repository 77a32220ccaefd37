#pragma once
// The demo seller's store in a temporary home, reached through VumoDBMgr, with listings of every
// status and shop categories whose ids share digits (5, 15, 52): a match on part of an id shows.
#include "plugin/ListingPage.h"
#include "support/ListingFixture.h"

#include "entity/SellerCatsEntity.h"
#include "entity/VumoDataEntity.h"
#include "plugin/VumoClassRules.h"

#include <QList>
#include <QString>

#include <memory>

namespace VumoTest {

struct SeedListing
{
    QString clientId;
    int status = 0;
    QString shopCategorys; // a null text is stored as NULL
};

class TreeStoreFixture : public SharedStore
{
public:
    // Top categories 5 ("夏装(新)"), 15 and 52; 5 has the children 51 and 7052 (ids that hold
    // "5" and "52"), and 522 hangs under a missing parent.
    bool seedCategories()
    {
        using Quorvia::vumo::entity::SellerCatsEntity;
        const QList<SellerCatsEntity*> list = {
            makeShopCategory(5, 0, QStringLiteral("夏装(新)"), 1),
            makeShopCategory(15, 0, QStringLiteral("鞋"), 2),
            makeShopCategory(52, 0, QStringLiteral("包"), 3),
            makeShopCategory(51, 5, QStringLiteral("T恤"), 1),
            makeShopCategory(52 * 10 + 2, 99, QStringLiteral("无主"), 1), // parent missing: not shown
            makeShopCategory(7052, 5, QStringLiteral("裙"), 2)};
        const bool ok = store->ReplaceSellerCategories(list);
        qDeleteAll(list);
        return ok;
    }

    bool add(const SeedListing& seed)
    {
        Quorvia::vumo::entity::VumoDataEntity record;
        record.set_client_id(seed.clientId);
        record.set_vumo_status(seed.status);
        record.set_title(QStringLiteral("标题 ") + seed.clientId);
        record.set_shop_categorys(seed.shopCategorys);
        if (!store->SaveVumo(record))
            return false;
        listings.append(seed);
        return true;
    }

    // Every status of every class, with shop categories on the online ones.
    bool seedEveryStatus()
    {
        const QList<int> statuses = {1, 2, 4, 8, 513, 514, 516, 520, 1026, 1028, 2013, 2014, 2015};
        const QStringList cats = {
            QString(),          // NULL: no shop category
            QStringLiteral(""), // empty: no shop category
            QStringLiteral("5-51|夏装(新)/T恤"),
            QStringLiteral("15-15|鞋"),
            QStringLiteral("5-7052;52-52|夏装(新)/裙;包"),
            QStringLiteral("5|夏装(新)"),   // a top category written alone
            QStringLiteral("152-1|别的店"), // shares digits with 5, 15 and 52, matches none
        };
        int n = 0;
        for (int status : statuses) {
            for (const QString& cat : cats) {
                if (!add({QStringLiteral("c%1").arg(n++, 3, 10, QLatin1Char('0')), status, cat}))
                    return false;
            }
        }
        // One more on sale, so class totals differ from each other.
        return add({QStringLiteral("extra"), 8, QStringLiteral("15-15|鞋")});
    }

    // The categories and every status, on a store that checked out.
    bool seedAll() { return valid && seedCategories() && seedEveryStatus(); }

    // What a node must count, worked out from the seeds, not from a statement.
    int expectedCount(const VUMO_CLASS& node) const
    {
        int count = 0;
        for (const SeedListing& seed : listings) {
            if (!Quorvia::vumo::VumoClassStatusMap().value(node.classType).contains(seed.status))
                continue;
            if (node.nodeKind == VUMO_CLASS::NodeClass) {
                ++count;
                continue;
            }
            const QVector<Quorvia::vumo::VumoCategoryKey> keys = Quorvia::vumo::VumoShopCategoryKeys(
                seed.shopCategorys);
            if (keys.contains({node.nodeKind, node.nParentCid, node.nCid}))
                ++count;
        }
        return count;
    }

    QStringList clientIdsOf(const QString& condition) const
    {
        return ClientIdsOf(*store, ListingFixture::TableQuery(QStringLiteral("WHERE ") + condition));
    }

    QList<SeedListing> listings;
};

} // namespace VumoTest
