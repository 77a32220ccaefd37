#include "database/dml/VumoCategoryDml.h"

namespace Quorvia::vumo::database::dml {

VumoCategoryDml::VumoCategoryDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoCategoryDml::TableName() const
{
    return QStringLiteral("vumo_category");
}

QString VumoCategoryDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS vumo_category(aid INTEGER PRIMARY KEY,name TEXT,cid INTEGER,is_key_prop "
        "INTEGER(1),is_sale_prop INTEGER(1),index_id INTEGER,status INTEGER,att_type INTEGER,input_type INTEGER,is_req "
        " INTEGER,is_fet INTEGER,is_nav INTEGER,group_id INTEGER,features TEXT);CREATE INDEX vumocategory_cid_index ON "
        "vumo_category (cid);");
}

} // namespace Quorvia::vumo::database::dml
