#pragma once
// SKUs (vumo_sku).
#include "database/dml/DMLImpl.h"
#include "entity/VumoSkuEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoSkuDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoSkuEntity>
{
public:
    explicit VumoSkuDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
