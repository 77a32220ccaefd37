#include "database/dml/VumoImgDml.h"

namespace Quorvia::vumo::database::dml {

VumoImgDml::VumoImgDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoImgDml::TableName() const
{
    return QStringLiteral("vumo_image");
}

QString VumoImgDml::CreateStatement()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS vumo_image(name text,img_url text,is_main integer(1),state "
                          "integer(1),index_id integer,color_id integer,client_id text,img_id "
                          "integer,is_online_mainPic integer(1),primary key(CLIENT_ID,name,img_id))");
}

} // namespace Quorvia::vumo::database::dml
