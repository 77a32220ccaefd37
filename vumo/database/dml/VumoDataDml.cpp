#include "database/dml/VumoDataDml.h"

namespace Quorvia::vumo::database::dml {

VumoDataDml::VumoDataDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoDataDml::TableName() const
{
    return QStringLiteral("vumo_data");
}

QSet<QString> VumoDataDml::IgnoredProperties() const
{
    QSet<QString> names = DMLImpl::IgnoredProperties();
    for (const QString& name : {QStringLiteral("vumo_attribute"), QStringLiteral("sku_alias"),
                                QStringLiteral("service"), QStringLiteral("pack_listing"), QStringLiteral("wrap"),
                                QStringLiteral("producter"), QStringLiteral("skus"), QStringLiteral("cubage")})
        names.insert(name);
    return names;
}

QString VumoDataDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_data(client_id TEXT PRIMARY KEY ,vumo_id INTEGER,spu_id INTEGER,cid "
        "INTEGER,brand_id INTEGER DEFAULT 0,shop_categorys TEXT,title TEXT,ad_content TEXT,upc_code TEXT,vumo_status "
        "INTEGER,item_num TEXT,length INTEGER,wide INTEGER,high INTEGER,weight REAL,cost_price INTEGER,market_price "
        "INTEGER,yv_price  INTEGER,desc BLOB,logo TEXT,stock_num INTEGER,property_alias TEXT,attributes "
        "TEXT,input_pids TEXT,input_strs TEXT,created INTEGER(8),modified INTEGER(8),outer_id TEXT,status "
        "INTEGER(1),transport_id INTEGER,online_time INTEGER(8),offline_time INTEGER(8),is_pay_first "
        "INTEGER(1),is_shelf_life INTEGER(1),is_imported INTEGER(1),is_can_vat  INTEGER(1),is_special_wet "
        "INTEGER(1),is_appliances_card INTEGER(1),is_health_product INTEGER(1),is_serial_no INTEGER(1),shelf_life_days "
        "INTEGER,vumo_big_small_model INTEGER,vumo_pack_type INTEGER,min_yvprice INTEGER,max_yvprice "
        "INTEGER,template_name TEXT,error_msg TEXT,upload_status INTEGER DEFAULT -1,is_vumoinfo_complete "
        "INTEGER(1));CREATE INDEX vumodata_vumoid_index ON vumo_data (vumo_id);");
}

} // namespace Quorvia::vumo::database::dml
