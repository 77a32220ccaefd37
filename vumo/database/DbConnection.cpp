#include "database/DbConnection.h"

#include "utils/Log.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <functional>
#include <vector>

namespace Quorvia::vumo::database {

namespace {

QAtomicInteger<quint64> g_serial{0};
QAtomicInteger<quint64> g_threadSerial{0};

// Connections this thread opened, with what must go before them; removed when the thread ends,
// after every query of the thread is gone. The names carry a number of their own per OS thread,
// not the QThread's address: a restarted QThread runs on a new OS thread while the old one may
// still be removing its connections, and the two must not share a name.
//
// A QThread's are removed as it emits finished(), still inside the thread, so they are gone
// before wait() returns. The thread's own exit runs later, alongside whatever the waiting
// thread does next (the whole program's exit, for a command-line run), and must not reach
// into Qt SQL then.
struct ThreadConnections
{
    const quint64 id = ++g_threadSerial;
    QStringList names;
    std::vector<std::function<void()>> endHooks;
    QMetaObject::Connection finished;

    ThreadConnections()
    {
        QThread* thread = QThread::currentThread();
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && thread != app->thread())
            finished = QObject::connect(thread, &QThread::finished, [this] { release(); }); // runs in this thread
    }
    // At the thread's exit what the hooks would clear is thread storage too, already gone.
    ~ThreadConnections()
    {
        endHooks.clear();
        release();
    }

    void release()
    {
        QObject::disconnect(finished);
        auto hooks = std::move(endHooks);
        endHooks.clear();
        for (const auto& hook : hooks)
            hook();
        for (const QString& name : std::as_const(names)) {
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
        names.clear();
    }
};

ThreadConnections& threadConnections()
{
    thread_local ThreadConnections connections;
    return connections;
}

} // namespace

DbConnection::DbConnection(const QSqlDatabase& base)
    : m_baseName(base.connectionName())
    , m_fileName(base.databaseName())
    , m_owner(QThread::currentThread())
    , m_serial(++g_serial)
{
    // The store's own settings hold whoever opened the file (the host's service included).
    QSqlDatabase db = base;
    if (db.isOpen())
        ApplyPragmas(db);
}

DbConnection::~DbConnection() = default;

bool DbConnection::ApplyPragmas(QSqlDatabase& db)
{
    QSqlQuery q(db);
    bool ok = q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    ok = q.exec(QStringLiteral("PRAGMA busy_timeout=10000")) && ok;
    // With WAL, NORMAL stays consistent after a crash of the program; only a power loss may
    // drop the last commits. FULL would make every small commit of a download wait for the disk.
    ok = q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) && ok;
    // Checkpoints are where NORMAL waits for the disk: let the log grow to about 40 MB
    // between them, and cut it back to 64 MB at most afterwards.
    ok = q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=10000")) && ok;
    ok = q.exec(QStringLiteral("PRAGMA journal_size_limit=67108864")) && ok;
    return ok;
}

std::shared_ptr<DbConnection> DbConnection::OpenFile(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot create folder %1").arg(info.absolutePath());
        return {};
    }
    const QString name = QStringLiteral("vumo-file-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(info.absoluteFilePath());
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    ApplyPragmas(db);
    return std::make_shared<DbConnection>(db);
}

void DbConnection::AtThreadEnd(std::function<void()> hook)
{
    threadConnections().endHooks.push_back(std::move(hook));
}

bool DbConnection::isValid() const
{
    return !m_baseName.isEmpty() && QSqlDatabase::contains(m_baseName);
}

QString DbConnection::fileName() const
{
    return m_fileName;
}

QSqlDatabase DbConnection::database() const
{
    if (!isValid())
        return QSqlDatabase();
    if (QThread::currentThread() == m_owner)
        return QSqlDatabase::database(m_baseName, false);

    ThreadConnections& own = threadConnections();
    const QString name = QStringLiteral("%1@%2#%3").arg(m_baseName, QString::number(own.id), QString::number(m_serial));
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name, true);

    QSqlDatabase clone = QSqlDatabase::cloneDatabase(m_baseName, name);
    clone.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!clone.open()) {
        qCWarning(lcVumo) << VUMO_SRC_POS << "cannot open thread connection" << clone.lastError().text();
        return clone;
    }
    ApplyPragmas(clone);
    own.names.append(name);
    return clone;
}

} // namespace Quorvia::vumo::database
