#pragma once
// A SQLite file opened the way another program, or an older release, would open it: a
// connection of its own (no busy wait), closed and removed again when the object goes.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace VumoTest {

class SqlFile
{
public:
    // Creates the folder when needed.
    explicit SqlFile(const QString& path);
    ~SqlFile();
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    bool isOpen() const { return db().isOpen(); }
    // Runs the statements in order; false (and the error logged) at the first that fails.
    bool exec(const QStringList& statements) const;
    // The first column of every row (empty when the statement fails).
    QVariantList column(const QString& sql) const;
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

// The listing store as release 1.4 created it, written out rather than derived from today's
// statements: its tables and indexes and an empty CONFIG (no version row).
QStringList Release14ListingStore();

} // namespace VumoTest
