#pragma once
// A demo listing of the marketplace seed as the download stores it, for editor tests.
#include "support/ListingFixture.h"
#include "support/TempHome.h"

#include "SeedCatalogue.h"
#include "editor/VumoEditContext.h"
#include "entity/VumoDataEntity.h"
#include "sync/VumoDownloadRules.h"
#include "utils/SellerPaths.h"

#include <QDir>
#include <QImage>

#include <memory>

namespace VumoTest {

// A demo listing of the marketplace's seed as the download stores it, with its main picture
// as a file of the seller's picture folder.
inline std::unique_ptr<Quorvia::vumo::entity::VumoDataEntity> demoListing(const QString& clientId, int status)
{
    static const Quorvia::marketplace::SeedCatalogue seed = Quorvia::marketplace::MakeSeedCatalogue(
        QStringLiteral("demo"));
    const Quorvia::marketplace::SeedListing& listing = seed.listings.at(0);
    QVariantMap answer = listing.vumo.toVariantMap();
    QVariantList skus;
    for (const QJsonObject& sku : listing.skus)
        skus << sku.toVariantMap();
    answer.insert(QStringLiteral("skus"), skus);
    auto record = std::make_unique<Quorvia::vumo::entity::VumoDataEntity>();
    Quorvia::vumo::ReadVumoAnswer(answer, *record);
    record->set_client_id(clientId);
    record->set_vumo_status(status);
    if (status == 2013 || status == 2014)
        record->set_vumo_id(0);
    if (status == 2013)
        record->set_template_name(QStringLiteral("模板") + clientId);
    record->set_logo(QStringLiteral("main.png"));
    const QString folder = Quorvia::utils::SellerImageFolder(VumoTest::DemoLogin().uid);
    QImage picture(800, 800, QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (!Quorvia::utils::EnsureFolder(folder) || !picture.save(QDir(folder).filePath(record->logo())))
        return nullptr;
    return record;
}

inline Quorvia::vumo::editor::VumoEditContext demoContext()
{
    Quorvia::vumo::editor::VumoEditContext context;
    context.uid = VumoTest::DemoLogin().uid;
    context.stockMode = 0;
    return context;
}

} // namespace VumoTest
