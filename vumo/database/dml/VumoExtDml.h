#pragma once
// Listing extension texts (vumo_ext).
#include "database/dml/DMLImpl.h"
#include "entity/VumoDataExtEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoExtDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoDataExtEntity>
{
public:
    explicit VumoExtDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
