#pragma once
// Listings (vumo_data); the extension texts, the API-only texts and the SKU list are not columns.
#include "database/dml/DMLImpl.h"
#include "entity/VumoDataEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoDataDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoDataEntity>
{
public:
    explicit VumoDataDml(DbConnectionPtr connection);

    QString TableName() const override;
    QSet<QString> IgnoredProperties() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
