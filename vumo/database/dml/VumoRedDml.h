#pragma once
// SKU pairs of the comment synchronisation (synccomment); dates are stored as seconds since 1970-01-01 UTC.
#include "database/dml/DMLImpl.h"
#include "entity/RedSyncCommentEntity.h"

namespace Quorvia::vumo::database::dml {

class VumoRedDml final : public Quorvia::database::dml::DMLImpl<Quorvia::vumo::entity::RedSyncCommentEntity>
{
public:
    explicit VumoRedDml(DbConnectionPtr connection);

    QString TableName() const override;
    QVariant ToColumn(const QString& name, const QVariant& value) const override;

    // The table's create statements, separated by ";".
    static QString CreateStatement();
};

} // namespace Quorvia::vumo::database::dml
