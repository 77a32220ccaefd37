#include "database/dml/VumoExtDml.h"

namespace Quorvia::vumo::database::dml {

VumoExtDml::VumoExtDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoExtDml::TableName() const
{
    return QStringLiteral("vumo_ext");
}

QString VumoExtDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_ext(client_id TEXT PRIMARY KEY,vumo_id INTEGER,producter TEXT,wrap "
        "TEXT,pack_listing TEXT,service TEXT);CREATE INDEX vumoext_vumoid_index ON vumo_ext (vumo_id);");
}

} // namespace Quorvia::vumo::database::dml
