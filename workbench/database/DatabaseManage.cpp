#include "quorvia/DatabaseManage.h"

#include "quorvia/AppShare.h"
#include "quorvia/DataRoot.h"
#include "quorvia/LoginFile.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

extern "C" Quorvia::appshare::AppShare* GetAppShare();

Q_LOGGING_CATEGORY(lcDatabase, "database")

namespace {

// Owner and name become a folder and a file name; nothing that could leave the seller's folder.
bool isSafeName(const QString& name)
{
    return Quorvia::login::IsSafeUid(name);
}

class DatabaseService final : public Quorvia::database::DatabaseManage
{
public:
    // Connections are closed while the application object is going away (a post routine):
    // at process exit Qt SQL's own registry may already be gone, so the destructor of this
    // static must not touch it.
    ~DatabaseService() override
    {
        // Unloaded while the application runs (a plug-in host may drop the library): close now
        // and take the post routine back, it would point into unmapped code.
        if (m_postRoutineAdded && QCoreApplication::instance()) {
            qRemovePostRoutine(&closeAllConnections);
            closeAll();
        }
    }

    void closeAll()
    {
        QMutexLocker lock(&m_mutex);
        for (const auto& watch : std::as_const(m_threadWatch))
            QObject::disconnect(watch);
        m_threadWatch.clear();
        for (const QString& name : std::as_const(m_connections)) {
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
        m_connections.clear();
        m_postRoutineAdded = false;
    }

    bool GetDB(const QString& owner, const QString& name, QSqlDatabase& db) override
    {
        if (!isSafeName(owner) || !isSafeName(name)) {
            qCWarning(lcDatabase) << "refused database name" << owner << name;
            return false;
        }
        Quorvia::appshare::CurrentUser* user = GetAppShare()->GetCurrentUser();
        const QString uid = user ? user->GetUid() : QString();
        if (!Quorvia::login::IsSafeUid(uid)) {
            qCWarning(lcDatabase) << "no logged-in seller; cannot open" << owner << name;
            return false;
        }
        const QString path = Quorvia::database::DatabaseFilePath(uid, owner, name);
        const QString folder = QFileInfo(path).path();

        // A connection belongs to the thread that opened it, so the cache is per thread.
        QThread* thread = QThread::currentThread();
        const Key key{thread, path};

        QMutexLocker lock(&m_mutex);
        const auto cached = m_connections.constFind(key);
        if (cached != m_connections.constEnd()) {
            QSqlDatabase existing = QSqlDatabase::database(*cached, false);
            if (existing.isOpen() || existing.open()) {
                db = existing;
                return true;
            }
            existing = QSqlDatabase();
            QSqlDatabase::removeDatabase(*cached);
            m_connections.remove(key);
        }

        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            qCWarning(lcDatabase) << "cannot create folder" << folder;
            return false;
        }
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
            qCWarning(lcDatabase) << "SQLite driver missing";
            return false;
        }

        QString connection;
        do {
            connection = QStringLiteral("quorvia-db-%1-%2-%3").arg(owner, name, QString::number(++m_serial));
        } while (QSqlDatabase::contains(connection));
        {
            QSqlDatabase opened = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            opened.setDatabaseName(path);
            opened.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
            if (!opened.open()) {
                qCWarning(lcDatabase) << "cannot open" << path << opened.lastError().text();
                opened = QSqlDatabase();
                QSqlDatabase::removeDatabase(connection);
                return false;
            }
            applyPragmas(opened, path);
            db = opened;
        }
        m_connections.insert(key, connection);
        watchThread(thread);
        if (!m_postRoutineAdded && QCoreApplication::instance()) {
            qAddPostRoutine(&closeAllConnections);
            m_postRoutineAdded = true;
        }
        return true;
    }

private:
    struct Key
    {
        QThread* thread;
        QString path;
        bool operator==(const Key& other) const { return thread == other.thread && path == other.path; }
    };
    friend size_t qHash(const Key& key, size_t seed) { return qHashMulti(seed, key.thread, key.path); }

    static void applyPragmas(QSqlDatabase& db, const QString& path)
    {
        // WAL lets the plug-in's worker threads read while one of them writes.
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next()
            || query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            qCWarning(lcDatabase) << "WAL journaling not available for" << path;
        if (!query.exec(QStringLiteral("PRAGMA busy_timeout=10000")))
            qCWarning(lcDatabase) << "cannot set busy timeout for" << path;
    }

    // Connections opened on a worker thread go when that thread ends. The application's own
    // thread keeps them until the service unloads. Caller holds the mutex.
    void watchThread(QThread* thread)
    {
        const QCoreApplication* app = QCoreApplication::instance();
        if (!app || thread == app->thread() || m_threadWatch.contains(thread))
            return;
        m_threadWatch.insert(thread,
                             QObject::connect(thread, &QThread::finished, [this, thread] { dropThread(thread); }));
    }

    void dropThread(QThread* thread)
    {
        QMutexLocker lock(&m_mutex);
        QObject::disconnect(m_threadWatch.take(thread));
        for (auto it = m_connections.begin(); it != m_connections.end();) {
            if (it.key().thread != thread) {
                ++it;
                continue;
            }
            const QString name = it.value();
            it = m_connections.erase(it);
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
    }

    QMutex m_mutex;
    QHash<Key, QString> m_connections;
    QHash<QThread*, QMetaObject::Connection> m_threadWatch;
    quint64 m_serial = 0;
    bool m_postRoutineAdded = false;

    static void closeAllConnections();
};

DatabaseService& service()
{
    static DatabaseService instance;
    return instance;
}

void DatabaseService::closeAllConnections()
{
    service().closeAll();
}

} // namespace

extern "C" Q_DECL_EXPORT Quorvia::database::DatabaseManage* GetDatabaseManage()
{
    return &service();
}
