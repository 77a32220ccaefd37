#include "database/dml/SellerCatsDml.h"

namespace Quorvia::vumo::database::dml {

SellerCatsDml::SellerCatsDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString SellerCatsDml::TableName() const
{
    return QStringLiteral("seller_category");
}

QString SellerCatsDml::CreateStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS seller_category(cid INTEGER PRIMARY KEY,parent_id INTEGER,name "
                          "TEXT,index_id INTEGER,is_parent INTEGER(1),is_open INTEGER(1),is_home_show INTEGER(1))");
}

} // namespace Quorvia::vumo::database::dml
