#include "database/dml/RowMapping.h"

#include "entity/PropertyValue.h"
#include "utils/Log.h"

#include <QDateTime>
#include <QMetaProperty>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

namespace Quorvia::database::dml {

void FillFromRecord(QObject& target, const QSqlRecord& row)
{
    const QMetaObject* meta = target.metaObject();
    for (int i = 0; i < row.count(); ++i) {
        const QByteArray name = row.fieldName(i).toLatin1();
        const int index = meta->indexOfProperty(name.constData());
        if (index < 0)
            continue;
        const QMetaProperty property = meta->property(index);
        if (!property.isWritable())
            continue;
        property.write(&target, Quorvia::vumo::entity::CoerceValue(property.metaType(), row.value(i)));
    }
}

QStringList StoredProperties(const QMetaObject& meta, const QSet<QString>& ignored)
{
    QStringList names;
    for (int i = 0; i < meta.propertyCount(); ++i) {
        const QString name = QString::fromLatin1(meta.property(i).name());
        if (!ignored.contains(name))
            names << name;
    }
    return names;
}

QVariant DefaultColumnValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("");
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return Quorvia::vumo::entity::DateTimeText(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QString:
        // A null QString would bind as NULL.
        return value.toString().isNull() ? QStringLiteral("") : value;
    default:
        return value;
    }
}

bool ExecStatements(QSqlDatabase& db, const QString& script, QString& error)
{
    QSqlQuery query(db);
    const QStringList parts = script.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part.trimmed().isEmpty())
            continue;
        if (!query.exec(part)) {
            error = query.lastError().text();
            return false;
        }
    }
    return true;
}

void LogStatementFailure(const QString& error)
{
    qCWarning(lcTrade).noquote() << QStringLiteral("语句 执行失败:%1").arg(error);
}

} // namespace Quorvia::database::dml
