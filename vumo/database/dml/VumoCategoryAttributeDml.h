#pragma once
// Values of the category attributes (vumo_category_attribute).
#include "database/dml/DMLImpl.h"
#include "entity/VumoCategoryAttributeEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoCategoryAttributeDml final
    : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoCategoryAttributeEntity>
{
public:
    explicit VumoCategoryAttributeDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
