#pragma once
// Records and rows meet by name: each column goes into the property of the same name.
#include <QMetaObject>
#include <QObject>
#include <QSet>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;

namespace Quorvia::database::dml {

// Writes every column of `row` into the property of the same name, converted to the
// property's type (texts and integer seconds both give date-times, BLOB bytes give texts,
// NULL gives the type's default); columns without a property are ignored.
void FillFromRecord(QObject& target, const QSqlRecord& row);

// The property names of a class in declaration order (QObject's first), minus `ignored`.
QStringList StoredProperties(const QMetaObject& meta, const QSet<QString>& ignored);

// The value bound for a property: null becomes the empty text, date-times the local text
// "yyyy-MM-ddThh:mm:ss" (empty when invalid), flags 1 or 0.
QVariant DefaultColumnValue(const QVariant& value);

// Runs statements separated by ";" one after the other; false at the first failure, with
// the driver's text in `error`.
bool ExecStatements(QSqlDatabase& db, const QString& script, QString& error);

// Logs "语句 执行失败:%1" to "trade".
void LogStatementFailure(const QString& error);

} // namespace Quorvia::database::dml
