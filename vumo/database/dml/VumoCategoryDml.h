#pragma once
// Attributes of the marketplace categories (vumo_category).
#include "database/dml/DMLImpl.h"
#include "entity/VumoCategoryEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoCategoryDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoCategoryEntity>
{
public:
    explicit VumoCategoryDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
