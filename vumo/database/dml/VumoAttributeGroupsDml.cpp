#include "database/dml/VumoAttributeGroupsDml.h"

namespace Quorvia::vumo::database::dml {

VumoAttributeGroupsDml::VumoAttributeGroupsDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoAttributeGroupsDml::TableName() const
{
    return QStringLiteral("vumo_attribute_groups");
}

QString VumoAttributeGroupsDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_attribute_groups(group_id INTEGER PRIMARY KEY,cid INTEGER,name TEXT,status "
        "INTEGER,index_id INTEGER);CREATE INDEX vumoattributegroups_cid_index ON vumo_attribute_groups (cid);");
}

} // namespace Quorvia::vumo::database::dml
