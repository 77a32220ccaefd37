#include "database/dml/VumoSkuDml.h"

namespace Quorvia::vumo::database::dml {

VumoSkuDml::VumoSkuDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoSkuDml::TableName() const
{
    return QStringLiteral("vumo_sku");
}

QString VumoSkuDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_sku(client_id TEXT,vumo_id INTEGER,sku_id INTEGER,status "
        "INTEGER(1),attributes TEXT,stock_num INTEGER,yv_price INTEGER,cost_price INTEGER,market_price "
        "INTEGER,outer_id TEXT,created INTEGER(8),modified INTEGER(8),primary key(client_id,attributes));CREATE INDEX "
        "vumosku_clientid_index ON vumo_sku (client_id);CREATE INDEX vumosku_vumoid_index ON vumo_sku (vumo_id);CREATE "
        "INDEX vumosku_skuid_index ON vumo_sku (sku_id);");
}

} // namespace Quorvia::vumo::database::dml
