#include "support/TempHome.h"
#include "support/TestMain.h"

#include "quorvia/AppShare.h"
#include "quorvia/DatabaseManage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <memory>

namespace {

// Both service libraries, loaded from the build folder the way the plug-in loads them. Going
// out of scope unloads them, so the next load starts from nothing.
struct Services
{
    QLibrary appShareLib{QStringLiteral(APPSHARE_LIB)};
    QLibrary databaseLib{QStringLiteral(DATABASE_LIB)};
    Quorvia::appshare::AppShare* appShare = nullptr;
    Quorvia::database::DatabaseManage* database = nullptr;

    Services()
    {
        if (auto get = reinterpret_cast<GetAppShareFunc>(appShareLib.resolve("GetAppShare")))
            appShare = get();
        if (auto get = reinterpret_cast<GetDatabaseManageFunc>(databaseLib.resolve("GetDatabaseManage")))
            database = get();
    }
    ~Services()
    {
        databaseLib.unload();
        appShareLib.unload();
    }
    // The listing plug-in's store `name` as GetDB hands it out; invalid when GetDB refuses.
    QSqlDatabase db(const QString& name = QStringLiteral("Vumo"), const QString& owner = QStringLiteral("商品管理"))
    {
        QSqlDatabase db;
        return database->GetDB(owner, name, db) ? db : QSqlDatabase();
    }
};

} // namespace

class ServiceLibrariesTest : public QObject
{
    Q_OBJECT
private slots:
    void noLoginMeansNoUserUntilOneAppears()
    {
        VumoTest::TempHome home;
        Services services;
        QVERIFY(services.appShare && services.database);
        QVERIFY(!services.appShare->GetCurrentUser());
        QVERIFY(services.appShare->GetAppKey().isEmpty());
        QVERIFY(!services.db().isValid());
        QVERIFY(!QDir(home.filePath(QStringLiteral("users"))).exists());

        // The seller logs in later in the same process.
        home.writeLogin();
        QVERIFY(services.appShare->GetCurrentUser());
        QCOMPARE(services.appShare->GetCurrentUser()->GetUid(), VumoTest::DemoLogin().uid);
    }

    void installationIdIsKept()
    {
        VumoTest::TempHome home;
        const QString file = home.filePath(QStringLiteral("config/uuid"));
        QString first;
        {
            Services services;
            QVERIFY(services.appShare);
            first = services.appShare->GetUUID();
            QVERIFY(!QUuid::fromString(first).isNull());
        }
        {
            Services services;
            QCOMPARE(services.appShare->GetUUID(), first);
        }

        // A damaged file gives a fresh id that is kept from then on.
        QVERIFY(VumoTest::WriteBytes(file, "not-a-uuid\n"));
        QString replaced;
        {
            Services services;
            replaced = services.appShare->GetUUID();
        }
        QVERIFY(!QUuid::fromString(replaced).isNull());
        QVERIFY(replaced != first);
        Services services;
        QCOMPARE(services.appShare->GetUUID(), replaced);
    }

    void getDbOpensTheSellersStoreWithWal()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Services services;
        QVERIFY(services.database);
        QString firstName;
        {
            QSqlDatabase db = services.db();
            QVERIFY(db.isOpen());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
            QVERIFY(query.exec(QStringLiteral("CREATE TABLE t (v TEXT)")));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO t VALUES ('x')")));
            firstName = db.connectionName();
        }
        {
            // Same owner and name on the same thread: the cached connection.
            QSqlDatabase again = services.db();
            QCOMPARE(again.connectionName(), firstName);
            const QSqlDatabase category = services.db(QStringLiteral("Category"));
            QVERIFY(category.isValid() && category.connectionName() != firstName);

            // A connection closed by its user is opened again.
            again.close();
            QSqlDatabase reopened = services.db();
            QVERIFY(reopened.isOpen());
            QSqlQuery query(reopened);
            QVERIFY(query.exec(QStringLiteral("SELECT v FROM t")) && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("x"));
        }
    }

    void getDbRefusesWhatItCannotOpen()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Services services;
        QVERIFY(services.database);
        QVERIFY(!services.db(QStringLiteral("Vumo"), QStringLiteral("../../..")).isValid());
        QVERIFY(!services.db(QStringLiteral("../Vumo")).isValid());
        QVERIFY(!services.db(QStringLiteral("Vumo"), QString()).isValid());

        // A plain file where the seller's databases folder belongs.
        const QString uid = VumoTest::DemoLogin().uid;
        QVERIFY(VumoTest::WriteBytes(home.filePath(QStringLiteral("users/%1/databases").arg(uid)), QByteArray()));
        QVERIFY(!services.db().isValid());
    }

    void workerThreadsGetTheirOwnConnection()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Services services;
        QVERIFY(services.database);
        const QString guiName = services.db().connectionName();
        QVERIFY(!guiName.isEmpty());
        QString workerName;
        bool workerOk = false;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            const QSqlDatabase db = services.db();
            workerName = db.connectionName();
            QSqlQuery query(db);
            workerOk = query.exec(QStringLiteral("CREATE TABLE w (v INTEGER)"));
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QVERIFY(workerOk);
        QVERIFY(!workerName.isEmpty());
        QVERIFY(workerName != guiName);
        // Gone with its thread; the GUI thread's stays.
        QVERIFY(!QSqlDatabase::contains(workerName));
        QVERIFY(QSqlDatabase::contains(guiName));
    }
};

VUMO_TEST_CLASS(ServiceLibrariesTest)
#include "ServiceLibrariesTest.moc"
