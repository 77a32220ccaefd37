#pragma once
// Attribute groups of the categories (vumo_attribute_groups).
#include "database/dml/DMLImpl.h"
#include "entity/VumoAttributeGroupsEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoAttributeGroupsDml final
    : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoAttributeGroupsEntity>
{
public:
    explicit VumoAttributeGroupsDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
