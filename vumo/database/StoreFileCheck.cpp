#include "database/StoreFileCheck.h"

#include "database/SqlStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace Quorvia::vumo::database {

namespace {

// Primary result codes of SQLite, as the Qt driver passes them on.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kReadOnly = 8;
constexpr int kCorrupt = 11;
constexpr int kNotADatabase = 26;

constexpr qint64 kSmallestDatabase = 512; // one page of the smallest page size

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

StoreFileState stateOf(const QSqlError& error)
{
    switch (primaryCode(error)) {
    case kBusy:
    case kLocked:
        return StoreFileState::Locked;
    case kCorrupt:
    case kNotADatabase:
        return StoreFileState::Damaged;
    default:
        return StoreFileState::Unreadable;
    }
}

// One short-lived connection of its own; removed again on every way out.
class ProbeConnection
{
public:
    ProbeConnection(const QString& path, bool readOnly, int busyTimeoutMs)
        : m_name(QStringLiteral("vumo-probe-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (readOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        m_open = db.open();
        if (!m_open)
            m_openError = db.lastError();
    }
    ~ProbeConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    ProbeConnection(const ProbeConnection&) = delete;
    ProbeConnection& operator=(const ProbeConnection&) = delete;

    bool isOpen() const { return m_open; }
    QSqlError openError() const { return m_openError; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_open = false;
    QSqlError m_openError;
};

// Reads the stored version; false with the failing statement's error.
bool readVersion(const QSqlDatabase& db, QString& version, QSqlError& error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name='CONFIG'"))) {
        error = query.lastError();
        return false;
    }
    const bool hasConfig = query.next();
    query.finish();
    if (!hasConfig)
        return true; // tables not made yet: a new store
    if (!query.exec(QStringLiteral("SELECT value FROM CONFIG WHERE key='Version'"))) {
        error = query.lastError();
        return false;
    }
    if (query.next())
        version = query.value(0).toString();
    return true;
}

StoreFileStatus failed(StoreFileStatus status, StoreFileState state, const QString& detail)
{
    status.state = state;
    status.detail = detail;
    return status;
}

} // namespace

StoreFileStatus InspectStoreFile(const QString& path, const QString& currentVersion, int busyTimeoutMs)
{
    StoreFileStatus status;
    status.path = QFileInfo(path).absoluteFilePath();
    status.supported = currentVersion;
    const QFileInfo info(status.path);
    if (!info.exists())
        return status;
    if (!info.isFile())
        return failed(status, StoreFileState::Unreadable, QStringLiteral("not a file"));
    if (info.size() == 0)
        return status; // SQLite takes an empty file for a new database

    // Garbage is told apart by its header before SQLite is asked to open anything.
    {
        QFile file(status.path);
        if (!file.open(QIODevice::ReadOnly))
            return failed(status, StoreFileState::Unreadable, file.errorString());
        static const QByteArray kMagic("SQLite format 3\0", 16);
        if (info.size() < kSmallestDatabase || file.read(kMagic.size()) != kMagic)
            return failed(status, StoreFileState::Damaged, QStringLiteral("no SQLite header"));
    }

    // The version is read on a read-only connection: a newer store is never opened otherwise.
    QString version;
    QSqlError error;
    bool versionRead = false;
    {
        ProbeConnection reader(status.path, true, busyTimeoutMs);
        if (!reader.isOpen())
            return failed(status, stateOf(reader.openError()), reader.openError().text());
        versionRead = readVersion(reader.db(), version, error);
        // A read-only connection cannot finish what a crashed writer left behind; only then is
        // the version read on the writing connection below.
        if (!versionRead && primaryCode(error) != kReadOnly)
            return failed(status, stateOf(error), error.text());
    }

    ProbeConnection writer(status.path, false, busyTimeoutMs);
    if (!writer.isOpen())
        return failed(status, stateOf(writer.openError()), writer.openError().text());
    if (!versionRead && !readVersion(writer.db(), version, error))
        return failed(status, stateOf(error), error.text());
    status.version = version;
    if (SqlStore::VersionNumber(version) > SqlStore::VersionNumber(currentVersion))
        return failed(status, StoreFileState::Newer, QString());

    // Reading is not all: the start-up check and every save need the write lock.
    QSqlQuery query(writer.db());
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failed(status, stateOf(query.lastError()), query.lastError().text());
    query.exec(QStringLiteral("ROLLBACK"));
    return status;
}

QString StoreFileMessage(const StoreFileStatus& status, StoreKind kind)
{
    const QString store = kind == StoreKind::Listings ? QStringLiteral("商品数据库") : QStringLiteral("商品类目数据库");
    const QString refill = kind == StoreKind::Listings ? QStringLiteral("下载商品") : QStringLiteral("更新类目");
    const QString path = QDir::toNativeSeparators(status.path);
    switch (status.state) {
    case StoreFileState::Ready:
        return QString();
    case StoreFileState::Damaged:
        return QStringLiteral("%1文件已损坏，无法读取：\n%2\n请关闭Quorvia工作台，把这个文件移到其他文件夹留作备份，"
                              "再重新启动工作台：工作台会新建一个空的%1，然后请重新%3。")
            .arg(store, path, refill);
    case StoreFileState::Newer:
        return QStringLiteral(
                   "%1文件来自更新版本的Quorvia工作台（数据库版本%3，当前程序支持的版本为%4）：\n%2\n"
                   "为避免损坏您的数据，当前程序不会打开或修改这个文件。请升级Quorvia工作台后再使用商品管理。")
            .arg(store, path, status.version, status.supported);
    case StoreFileState::Locked:
        return QStringLiteral(
                   "%1文件正被其他程序占用：\n%2\n请关闭正在使用这个文件的程序（例如另一个Quorvia工作台或vumo-cli），"
                   "然后重新启动Quorvia工作台。")
            .arg(store, path);
    case StoreFileState::Unreadable:
        return QStringLiteral(
                   "无法读取%1文件：\n%2\n请检查这个文件及其所在文件夹的读写权限，然后重新启动Quorvia工作台。")
            .arg(store, path);
    }
    return QString();
}

} // namespace Quorvia::vumo::database
