#include "database/SqlStore.h"

#include "utils/Log.h"
#include "utils/SqlText.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Quorvia::vumo::database {

using Quorvia::utils::SqlText;

SqlStore::SqlStore(DbConnectionPtr connection)
    : m_connection(std::move(connection))
{
}

QSqlDatabase SqlStore::Db() const
{
    return m_connection ? m_connection->database() : QSqlDatabase();
}

namespace {

constexpr int kSqliteError = 1; // what SQLite answers a BEGIN inside an open transaction

bool beginImmediate(QSqlDatabase& db, QSqlError* error = nullptr)
{
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return true;
    if (error)
        *error = query.lastError();
    return false;
}

} // namespace

bool SqlStore::BeginTransaction()
{
    QSqlDatabase db = Db();
    QSqlError error;
    if (beginImmediate(db, &error))
        return true;
    if (error.isValid())
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "cannot begin write transaction:" << error.text();
    return false;
}

SqlStore::WriteStart SqlStore::BeginWrite()
{
    QSqlDatabase db = Db();
    QSqlError error;
    if (beginImmediate(db, &error))
        return WriteStart::Began;
    // Busy, locked or read-only stores answer with codes of their own.
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    if (isNumber && (code & 0xff) == kSqliteError)
        return WriteStart::Nested;
    if (error.isValid())
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "cannot begin write transaction:" << error.text();
    return WriteStart::Failed;
}

bool SqlStore::CommitTransaction()
{
    QSqlDatabase db = Db();
    return db.isOpen() && db.commit();
}

bool SqlStore::RollbackTransaction()
{
    QSqlDatabase db = Db();
    return db.isOpen() && db.rollback();
}

bool SqlStore::Exec(const QString& sql)
{
    QSqlDatabase db = Db();
    if (!db.isOpen()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "no open connection for" << sql;
        return false;
    }
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    return true;
}

bool SqlStore::ExecBatch(const QStringList& statements)
{
    if (statements.isEmpty()) {
        qCWarning(lcVumo).noquote() << QStringLiteral("UpdateExecBatchSql 没有要执行的sql语句");
        return false;
    }
    QSqlDatabase db = Db();
    if (!beginImmediate(db))
        return false;
    QSqlQuery query(db);
    for (const QString& sql : statements) {
        if (!query.exec(sql)) {
            qCWarning(lcVumo).noquote() << QStringLiteral("执行SQL:%1 失败,%2").arg(sql, query.lastError().text());
            query.finish();
            db.rollback();
            return false;
        }
    }
    query.finish();
    return db.commit();
}

bool SqlStore::ReadConfig(const QString& key, QString& value)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT value FROM CONFIG WHERE key='%1'").arg(SqlText(key))))
        return false;
    if (!query.next())
        return false;
    value = query.value(0).toString();
    return true;
}

bool SqlStore::WriteConfig(const QString& key, const QString& value)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    const QString sql = QStringLiteral("REPLACE INTO CONFIG (key, value) VALUES (:key,:value)");
    if (!query.prepare(sql)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("预编译%1失败").arg(sql);
        return false;
    }
    query.bindValue(QStringLiteral(":key"), key);
    query.bindValue(QStringLiteral(":value"), value);
    if (!query.exec()) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    return true;
}

double SqlStore::VersionNumber(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

QString SqlStore::AlterAddColumn(const QString& table, const QString& column, const QString& type)
{
    return QStringLiteral("ALTER table %1 add %2 %3 ").arg(table, column, type);
}

} // namespace Quorvia::vumo::database
