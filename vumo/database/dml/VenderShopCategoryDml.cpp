#include "database/dml/VenderShopCategoryDml.h"

namespace Quorvia::vumo::database::dml {

VenderShopCategoryDml::VenderShopCategoryDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VenderShopCategoryDml::TableName() const
{
    return QStringLiteral("vender_shop_category");
}

QString VenderShopCategoryDml::CreateStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS vender_shop_category(id INTEGER PRIMARY KEY,index_id INTEGER,fid "
                          "INTEGER,name TEXT,is_parent INTEGER,status INTEGER,lev INTEGER)");
}

} // namespace Quorvia::vumo::database::dml
