#pragma once
// The shop's own categories (seller_category).
#include "database/dml/DMLImpl.h"
#include "entity/SellerCatsEntity.h"

namespace Quorvia::vumo::database::dml {

class SellerCatsDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::SellerCatsEntity>
{
public:
    explicit SellerCatsDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
