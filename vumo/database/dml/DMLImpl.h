#pragma once
// Generic statements of one table whose rows are records of class Entity (a QObject whose
// properties are named like the columns). Every call takes the calling thread's connection
// at the moment of use, so one DML object serves all threads.
#include "database/DbConnection.h"
#include "database/dml/RowMapping.h"
#include "utils/SqlText.h"

#include <QList>
#include <QMetaProperty>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Quorvia::database::dml {

template <class Entity>
class DMLImpl
{
public:
    explicit DMLImpl(Quorvia::vumo::database::DbConnectionPtr connection)
        : m_connection(std::move(connection))
    {
    }
    virtual ~DMLImpl() = default;

    DMLImpl(const DMLImpl&) = delete;
    DMLImpl& operator=(const DMLImpl&) = delete;

    virtual QString TableName() const = 0;

    // true when ok. A table already there sets `existed` (left alone otherwise, so one flag
    // can collect several tables); a missing one is made with createSql, whose statements are
    // separated by ";".
    virtual bool CreateTable(bool& existed, const QString& createSql);

    // Property names that are not columns of the table.
    virtual QSet<QString> IgnoredProperties() const { return {QStringLiteral("objectName")}; }

    // The columns written by Replace, in property order.
    QStringList Columns() const { return StoredProperties(Entity::staticMetaObject, IgnoredProperties()); }
    // "REPLACE INTO %1 (%2) VALUES (%3)" for this table.
    QString ReplaceStatement() const;

    bool Replace(const Entity& record);
    // Each record in order; stops at the first failure (a null entry is one).
    bool Replace(const QList<Entity*>& records);

    // "SELECT * FROM <table> WHERE <condition>", no WHERE when the condition is empty.
    // Appends new records that the caller owns (qDeleteAll); nothing on failure.
    bool Select(const QString& condition, QList<Entity*>& out);
    // Any query; each row mapped by column name. Caller owns the records.
    bool SelectSql(const QString& sql, QList<Entity*>& out);

    // "DELETE FROM <table> WHERE <condition>"; every row when the condition is empty.
    bool Delete(const QString& condition);
    // "UPDATE <table> SET <assignments> WHERE <condition>".
    bool Update(const QString& assignments, const QString& condition);

    // The stored form of a property value.
    virtual QVariant ToColumn(const QString& name, const QVariant& value) const
    {
        Q_UNUSED(name);
        return DefaultColumnValue(value);
    }

    // The driver's text of the last failure.
    QString LastError() const { return m_lastError; }

    const Quorvia::vumo::database::DbConnectionPtr& Connection() const { return m_connection; }

protected:
    QSqlDatabase Db() const { return m_connection ? m_connection->database() : QSqlDatabase(); }
    bool Fail(const QString& error)
    {
        m_lastError = error;
        LogStatementFailure(error);
        return false;
    }
    bool ExecOne(const QString& sql);
    bool BindAndExec(QSqlQuery& query, const QStringList& columns, const Entity& record);

    Quorvia::vumo::database::DbConnectionPtr m_connection;
    QString m_lastError;
};

template <class Entity>
bool DMLImpl<Entity>::CreateTable(bool& existed, const QString& createSql)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return Fail(QStringLiteral("no open connection for %1").arg(TableName()));
    {
        QSqlQuery query(db);
        const QString sql = QStringLiteral("select name from sqlite_master where type='table' and name='%1'")
                                .arg(Quorvia::utils::SqlText(TableName()));
        if (!query.exec(sql))
            return Fail(query.lastError().text());
        if (query.next()) {
            existed = true;
            return true;
        }
    }
    QString error;
    if (!ExecStatements(db, createSql, error))
        return Fail(error);
    return true;
}

template <class Entity>
QString DMLImpl<Entity>::ReplaceStatement() const
{
    const QStringList columns = Columns();
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("REPLACE INTO %1 (%2) VALUES (%3)")
        .arg(TableName(), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

template <class Entity>
bool DMLImpl<Entity>::BindAndExec(QSqlQuery& query, const QStringList& columns, const Entity& record)
{
    for (int i = 0; i < columns.size(); ++i) {
        const QByteArray name = columns.at(i).toLatin1();
        query.bindValue(i, ToColumn(columns.at(i), record.property(name.constData())));
    }
    if (!query.exec())
        return Fail(query.lastError().text());
    return true;
}

template <class Entity>
bool DMLImpl<Entity>::Replace(const Entity& record)
{
    return Replace(QList<Entity*>{const_cast<Entity*>(&record)});
}

template <class Entity>
bool DMLImpl<Entity>::Replace(const QList<Entity*>& records)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return Fail(QStringLiteral("no open connection for %1").arg(TableName()));
    const QStringList columns = Columns();
    QSqlQuery query(db);
    if (!query.prepare(ReplaceStatement()))
        return Fail(query.lastError().text());
    for (const Entity* record : records) {
        if (!record)
            return Fail(QStringLiteral("null record for %1").arg(TableName()));
        if (!BindAndExec(query, columns, *record))
            return false;
    }
    return true;
}

template <class Entity>
bool DMLImpl<Entity>::Select(const QString& condition, QList<Entity*>& out)
{
    QString sql = QStringLiteral("SELECT * FROM %1").arg(TableName());
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return SelectSql(sql, out);
}

template <class Entity>
bool DMLImpl<Entity>::SelectSql(const QString& sql, QList<Entity*>& out)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return Fail(QStringLiteral("no open connection for %1").arg(TableName()));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return Fail(query.lastError().text());
    QList<Entity*> rows;
    while (query.next()) {
        auto* record = new Entity();
        FillFromRecord(*record, query.record());
        rows.append(record);
    }
    if (query.lastError().isValid()) {
        qDeleteAll(rows);
        return Fail(query.lastError().text());
    }
    out.append(rows);
    return true;
}

template <class Entity>
bool DMLImpl<Entity>::ExecOne(const QString& sql)
{
    QSqlDatabase db = Db();
    if (!db.isOpen())
        return Fail(QStringLiteral("no open connection for %1").arg(TableName()));
    QSqlQuery query(db);
    if (!query.exec(sql))
        return Fail(query.lastError().text());
    return true;
}

template <class Entity>
bool DMLImpl<Entity>::Delete(const QString& condition)
{
    if (condition.trimmed().isEmpty())
        return ExecOne(QStringLiteral("DELETE FROM %1").arg(TableName()));
    return ExecOne(QStringLiteral("DELETE FROM %1 WHERE %2").arg(TableName(), condition));
}

template <class Entity>
bool DMLImpl<Entity>::Update(const QString& assignments, const QString& condition)
{
    if (assignments.trimmed().isEmpty())
        return Fail(QStringLiteral("nothing to update in %1").arg(TableName()));
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(TableName(), assignments);
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    return ExecOne(sql);
}

} // namespace Quorvia::database::dml
