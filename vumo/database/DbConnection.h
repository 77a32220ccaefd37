#pragma once
// One SQLite store as seen from any thread. A Qt SQL connection may only be used on the thread
// that opened it, so the thread that created this object uses the base connection and every
// other thread gets its own clone, opened on first use and removed when that thread ends.
#include <QMutex>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

class QThread;

namespace Quorvia::vumo::database {

class DbConnection final
{
public:
    // Takes over an open connection that belongs to the calling thread.
    explicit DbConnection(const QSqlDatabase& base);
    ~DbConnection();

    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens (or creates) an SQLite file with WAL journaling and a busy timeout, as the
    // workbench's database service does; for tools and tests that run without the host.
    static std::shared_ptr<DbConnection> OpenFile(const QString& path, QString* error = nullptr);

    // The connection for the calling thread; invalid when the base is.
    QSqlDatabase database() const;

    bool isValid() const;
    QString fileName() const;
    QString baseConnectionName() const { return m_baseName; }

    // Applies WAL journaling and the busy timeout to an open SQLite connection.
    static bool ApplyPragmas(QSqlDatabase& db);

    // Runs `hook` on the calling thread when it ends, before its connections close (queries
    // the thread keeps must go first).
    static void AtThreadEnd(std::function<void()> hook);

private:
    QString m_baseName;
    QString m_fileName;
    QThread* m_owner = nullptr;
    quint64 m_serial = 0;
};

using DbConnectionPtr = std::shared_ptr<DbConnection>;

} // namespace Quorvia::vumo::database
