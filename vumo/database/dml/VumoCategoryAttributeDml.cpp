#include "database/dml/VumoCategoryAttributeDml.h"

namespace Quorvia::vumo::database::dml {

VumoCategoryAttributeDml::VumoCategoryAttributeDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoCategoryAttributeDml::TableName() const
{
    return QStringLiteral("vumo_category_attribute");
}

QString VumoCategoryAttributeDml::CreateStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS vumo_category_attribute(aid INTEGER ,vid INTEGER,name "
                          "TEXT,status INTEGER,index_id INTEGER,features TEXT,primary key(aid,vid));CREATE INDEX "
                          "vumocategoryattribute_aid_index ON vumo_category_attribute (aid);");
}

} // namespace Quorvia::vumo::database::dml
