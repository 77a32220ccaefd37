#include "database/dml/VumoRedDml.h"

#include <QDateTime>

namespace Quorvia::vumo::database::dml {

VumoRedDml::VumoRedDml(DbConnectionPtr connection)
    : DMLImpl(std::move(connection))
{
}

QString VumoRedDml::TableName() const
{
    return QStringLiteral("synccomment");
}

QVariant VumoRedDml::ToColumn(const QString& name, const QVariant& value) const
{
    if (value.metaType().id() == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? QVariant(dt.toSecsSinceEpoch()) : QVariant(QStringLiteral(""));
    }
    return DMLImpl::ToColumn(name, value);
}

QString VumoRedDml::CreateStatement()
{
    return QStringLiteral(
        "CREATE TABLE IF NOT EXISTS synccomment(new_skuid INTEGER PRIMARY KEY UNIQUE,ori_skuid INTEGER,last_req_date "
        "INTEGER(8),create_date INTEGER(8));CREATE INDEX sync_comm_index ON synccomment(new_skuid);");
}

} // namespace Quorvia::vumo::database::dml
