#pragma once
// Marketplace categories the seller may list in (vender_shop_category).
#include "database/dml/DMLImpl.h"
#include "entity/VenderShopCategoryEntity.h"

namespace Quorvia::vumo::database::dml {

class VenderShopCategoryDml final
    : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VenderShopCategoryEntity>
{
public:
    explicit VenderShopCategoryDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
