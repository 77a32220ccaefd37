// The look at a store file before it is opened for writing: damaged, newer and locked files
// are recognised, the seller is told which file and what to do, and the file stays as it was.
#include "support/SqlFile.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/CategoryDb.h"
#include "database/DbConnection.h"
#include "database/StoreFileCheck.h"
#include "database/VumoDb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Quorvia::vumo::database;

namespace {

// A store as another release left it: the given journal mode, a CONFIG table with `version`
// and one listing table of its own shape.
bool makeStore(const QString& path, const QString& journalMode, const QString& version)
{
    VumoTest::SqlFile db(path);
    return db.exec({QStringLiteral("PRAGMA journal_mode=%1").arg(journalMode),
                    QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)"),
                    QStringLiteral("INSERT INTO CONFIG VALUES ('Version','%1')").arg(version),
                    QStringLiteral("CREATE TABLE vumo_data (client_id TEXT PRIMARY KEY, title TEXT, shape_v9 TEXT)"),
                    QStringLiteral("INSERT INTO vumo_data VALUES ('c-1','杯子','x')")});
}

const QString kCurrent = QStringLiteral("2.0");
constexpr int kShortWaitMs = 100;

} // namespace

class TestStoreFileCheck : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
    QString path(const QString& name = QStringLiteral("Vumo.db")) const
    {
        return m_home->filePath(QStringLiteral("users/u/databases/商品管理/") + name);
    }

private slots:
    void init() { m_home = std::make_unique<VumoTest::TempHome>(); }
    void cleanup() { m_home.reset(); }

    void missingEmptyCurrentAndOlderStoresAreReady()
    {
        StoreFileStatus status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Ready);
        QVERIFY(!QFileInfo::exists(path())); // looking creates nothing
        QVERIFY(StoreFileMessage(status, StoreKind::Listings).isEmpty());

        QVERIFY(VumoTest::WriteBytes(path(), QByteArray()));
        QCOMPARE(InspectStoreFile(path(), kCurrent, kShortWaitMs).state, StoreFileState::Ready);
        QFile::remove(path());

        QVERIFY(makeStore(path(), QStringLiteral("WAL"), QStringLiteral("2.0")));
        status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Ready);
        QCOMPARE(status.version, QStringLiteral("2.0"));

        QVERIFY(makeStore(path(QStringLiteral("Old.db")), QStringLiteral("DELETE"), QStringLiteral("1.4")));
        status = InspectStoreFile(path(QStringLiteral("Old.db")), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Ready); // the upgrade is the check's business
        QCOMPARE(status.version, QStringLiteral("1.4"));
    }

    void damagedFilesAreReportedAndKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("这不是数据库\n").repeated(400);
        QTest::newRow("short SQLite header") << QByteArray("SQLite format 3\0\x10\x00", 18);
        QByteArray torn("SQLite format 3\0", 16);
        torn += QByteArray(4096 - torn.size(), '\x7f');
        QTest::newRow("header over garbage") << torn;
    }
    void damagedFilesAreReportedAndKept()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(VumoTest::WriteBytes(path(), bytes));
        const StoreFileStatus status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Damaged);
        QCOMPARE(VumoTest::ReadBytes(path()), bytes);

        const QString message = StoreFileMessage(status, StoreKind::Listings);
        QVERIFY2(message.contains(QDir::toNativeSeparators(QFileInfo(path()).absoluteFilePath())), qPrintable(message));
        QVERIFY(message.startsWith(QStringLiteral("商品数据库文件已损坏")));
        QVERIFY(message.contains(QStringLiteral("下载商品")));
        QVERIFY(StoreFileMessage(status, StoreKind::Categories).contains(QStringLiteral("更新类目")));
    }

    // The file is only read: a store in rollback-journal mode would have its header rewritten
    // by the switch to WAL, and its tables and version by the schema check.
    void newerStoreIsOnlyRead_data()
    {
        QTest::addColumn<QString>("journalMode");
        QTest::newRow("rollback journal") << QStringLiteral("DELETE");
        QTest::newRow("write-ahead log") << QStringLiteral("WAL");
    }
    void newerStoreIsOnlyRead()
    {
        QFETCH(QString, journalMode);
        QVERIFY(makeStore(path(), journalMode, QStringLiteral("9.9")));
        const QByteArray before = VumoTest::ReadBytes(path());
        const StoreFileStatus status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Newer);
        QCOMPARE(status.version, QStringLiteral("9.9"));
        QCOMPARE(VumoTest::ReadBytes(path()), before);

        const QString message = StoreFileMessage(status, StoreKind::Categories);
        QVERIFY(message.startsWith(QStringLiteral("商品类目数据库文件来自更新版本的Quorvia工作台")));
        QVERIFY(message.contains(QStringLiteral("数据库版本9.9，当前程序支持的版本为2.0")));
        QVERIFY(message.contains(QDir::toNativeSeparators(QFileInfo(path()).absoluteFilePath())));
    }

    // Whoever opens a newer store anyway (a connection handed in directly): the checks of
    // both stores refuse before creating a table or setting the version.
    void checksLeaveANewerStoreAlone()
    {
        for (const QString& name : {QStringLiteral("Vumo.db"), QStringLiteral("Category.db")}) {
            QVERIFY(makeStore(path(name), QStringLiteral("WAL"), QStringLiteral("9.9")));
            const QByteArray before = VumoTest::ReadBytes(path(name));
            DbConnectionPtr connection = DbConnection::OpenFile(path(name));
            QVERIFY(connection);
            const QString connectionName = connection->baseConnectionName();
            if (name == QStringLiteral("Vumo.db"))
                QVERIFY(!VumoDb(connection).CheckDatabase());
            else
                QVERIFY(!CategoryDb(connection).CheckDatabase());
            {
                QSqlQuery q(connection->database());
                QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table'")) && q.next());
                QCOMPARE(q.value(0).toInt(), 2);
                QVERIFY(q.exec(QStringLiteral("SELECT value FROM CONFIG WHERE key='Version'")) && q.next());
                QCOMPARE(q.value(0).toString(), QStringLiteral("9.9"));
            }
            {
                QSqlDatabase db = connection->database();
                db.close();
            }
            connection.reset();
            QSqlDatabase::removeDatabase(connectionName);
            QCOMPARE(VumoTest::ReadBytes(path(name)), before);
        }
    }

    // Another program holds the store: one that keeps it from being read (an exclusive lock
    // in rollback-journal mode), one that keeps it from being written (a write-ahead log
    // writer in the middle of its transaction). Once it lets go the store is Ready.
    void lockedStoreIsReported_data()
    {
        QTest::addColumn<QString>("journalMode");
        QTest::addColumn<QString>("begin");
        QTest::newRow("no reading") << QStringLiteral("DELETE") << QStringLiteral("BEGIN EXCLUSIVE");
        QTest::newRow("no writing") << QStringLiteral("WAL") << QStringLiteral("BEGIN IMMEDIATE");
    }
    void lockedStoreIsReported()
    {
        QFETCH(QString, journalMode);
        QFETCH(QString, begin);
        QVERIFY(makeStore(path(), journalMode, QStringLiteral("2.0")));
        VumoTest::SqlFile other(path());
        QVERIFY(other.exec({begin, QStringLiteral("UPDATE vumo_data SET title='改' WHERE client_id='c-1'")}));

        StoreFileStatus status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Locked);
        const QString message = StoreFileMessage(status, StoreKind::Listings);
        QVERIFY(message.startsWith(QStringLiteral("商品数据库文件正被其他程序占用")));
        QVERIFY(message.contains(QDir::toNativeSeparators(QFileInfo(path()).absoluteFilePath())));

        QVERIFY(other.exec({QStringLiteral("COMMIT")}));
        status = InspectStoreFile(path(), kCurrent, kShortWaitMs);
        QCOMPARE(status.state, StoreFileState::Ready);
    }
};

VUMO_TEST_CLASS(TestStoreFileCheck)
#include "TestStoreFileCheck.moc"
