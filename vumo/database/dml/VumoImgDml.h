#pragma once
// Listing pictures (vumo_image).
#include "database/dml/DMLImpl.h"
#include "entity/VumoImgEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoImgDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::VumoImgEntity>
{
public:
    explicit VumoImgDml(DbConnectionPtr connection);

    QString TableName() const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
