#pragma once
// What the listing store and the category store share: the per-thread connection, transactions,
// single statements, batches in one transaction, and the CONFIG key/value table.
#include "database/DbConnection.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::database {

class SqlStore
{
public:
    explicit SqlStore(DbConnectionPtr connection);
    virtual ~SqlStore() = default;

    // The calling thread's connection (invalid when the store has none).
    QSqlDatabase Db() const;
    const DbConnectionPtr& Connection() const { return m_connection; }

    // Every write transaction takes the write lock up front (BEGIN IMMEDIATE). One that started
    // deferred and read first could not wait for another thread's writer when it came to
    // write: SQLite refuses the upgrade at once with "database is locked", busy timeout or not.
    bool BeginTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();

    enum class WriteStart { Began, Nested, Failed };
    // BeginTransaction() for a write that may run inside the caller's transaction: Nested
    // (and nothing changed) when this thread's connection already is in one.
    WriteStart BeginWrite();

    // Runs one statement; a failure logs the driver's text to "vumo".
    bool Exec(const QString& sql);
    // Runs the statements in order in one transaction; all or nothing.
    bool ExecBatch(const QStringList& statements);

    bool ReadConfig(const QString& key, QString& value);
    bool WriteConfig(const QString& key, const QString& value);

    // A stored schema version as a number; missing or unreadable is 0.
    static double VersionNumber(const QString& text);
    // Versions are compared in single precision on both sides: the thresholds are float
    // constants widened to double, and a stored "1.7" read the same way equals its threshold,
    // so a store already at 1.7 does not run the 1.7 step again.
    static bool VersionBelow(double stored, float threshold) { return double(float(stored)) < double(threshold); }

    // "ALTER table %1 add %2 %3 "
    static QString AlterAddColumn(const QString& table, const QString& column, const QString& type);

private:
    DbConnectionPtr m_connection;
};

} // namespace Quorvia::vumo::database
