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
};

QString storePath(const VumoTest::TempHome& home, const QString& uid, const QString& name)
{
    return home.filePath(QStringLiteral("users/%1/databases/商品管理/%2.db").arg(uid, name));
}

QString journalMode(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode")) || !query.next())
        return {};
    return query.value(0).toString();
}

} // namespace

class ServiceLibrariesTest : public QObject
{
    Q_OBJECT
private slots:
    void currentUserComesFromTheLoginFile()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin demo;
        demo.uid = QStringLiteral("seller_一");
        demo.shopType = 8;
        home.writeLogin(demo);

        Services services;
        QVERIFY(services.appShare);
        Quorvia::appshare::CurrentUser* user = services.appShare->GetCurrentUser();
        QVERIFY(user);
        QCOMPARE(user->GetUid(), demo.uid);
        QCOMPARE(user->GetAccessToken(), demo.accessToken.toUtf8());
        QCOMPARE(user->GetShopName(), demo.shopName);
        QCOMPARE(user->venderId, demo.venderId);
        QCOMPARE(user->shopId, demo.shopId);
        QCOMPARE(user->shopType, 8);
        QCOMPARE(services.appShare->GetAppKey(), demo.appKey.toUtf8());
        QCOMPARE(services.appShare->GetAppSecret(), demo.appSecret.toUtf8());
        QVERIFY(qAbs(services.appShare->GetServerTime().secsTo(QDateTime::currentDateTime())) <= 2);

        // One list, shared by reference with whoever asks.
        services.appShare->GetTemplateInfo().append({QStringLiteral("模板一"), QStringLiteral("c-1")});
        QCOMPARE(services.appShare->GetTemplateInfo().size(), 1);
    }

    void noLoginMeansNoUserUntilOneAppears()
    {
        VumoTest::TempHome home;
        Services services;
        QVERIFY(services.appShare && services.database);
        QVERIFY(!services.appShare->GetCurrentUser());
        QVERIFY(services.appShare->GetAppKey().isEmpty());
        {
            QSqlDatabase db;
            QVERIFY(!services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db));
            QVERIFY(!db.isOpen());
        }
        QVERIFY(!QDir(home.filePath(QStringLiteral("users"))).exists());

        // The seller logs in later in the same process.
        home.writeLogin();
        QVERIFY(services.appShare->GetCurrentUser());
        QCOMPARE(services.appShare->GetCurrentUser()->GetUid(), VumoTest::DemoLogin().uid);
    }

    void loginFileVariableSelectsAnotherLogin()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        VumoTest::DemoLogin other;
        other.uid = QStringLiteral("other_seller");
        VumoTest::TempHome elsewhere;
        const QString otherFile = elsewhere.writeLogin(other);
        qputenv("QUORVIA_HOME", home.path().toLocal8Bit()); // elsewhere took over the variable
        qputenv("QUORVIA_LOGIN_FILE", QFile::encodeName(otherFile));

        Services services;
        QVERIFY(services.appShare);
        Quorvia::appshare::CurrentUser* user = services.appShare->GetCurrentUser();
        const QString uid = user ? user->GetUid() : QString();
        {
            QSqlDatabase db;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db));
        }
        qunsetenv("QUORVIA_LOGIN_FILE");
        QCOMPARE(uid, other.uid);
        QVERIFY(QFileInfo::exists(storePath(home, other.uid, QStringLiteral("Vumo"))));
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
            QCOMPARE(services.appShare->GetUUID(), first);
        }
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(kept.readAll()).trimmed(), first);
        kept.close();
        {
            Services services;
            QCOMPARE(services.appShare->GetUUID(), first);
        }

        // A damaged file gives a fresh id that is kept from then on.
        QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
        kept.write("not-a-uuid\n");
        kept.close();
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
        const QString uid = VumoTest::DemoLogin().uid;
        Services services;
        QVERIFY(services.database);
        QString firstName;
        {
            QSqlDatabase db;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db));
            QVERIFY(db.isOpen());
            QCOMPARE(QFileInfo(db.databaseName()).canonicalFilePath(),
                     QFileInfo(storePath(home, uid, QStringLiteral("Vumo"))).canonicalFilePath());
            QCOMPARE(journalMode(db), QStringLiteral("wal"));
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("CREATE TABLE t (v TEXT)")));
            QVERIFY(query.exec(QStringLiteral("INSERT INTO t VALUES ('x')")));
            firstName = db.connectionName();
        }
        {
            // Same owner and name on the same thread: the cached connection.
            QSqlDatabase again;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), again));
            QCOMPARE(again.connectionName(), firstName);
            QSqlDatabase category;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Category"), category));
            QVERIFY(category.connectionName() != firstName);
            QVERIFY(QFileInfo::exists(storePath(home, uid, QStringLiteral("Category"))));

            // A connection closed by its user is opened again.
            again.close();
            QSqlDatabase reopened;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), reopened));
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
        QSqlDatabase db;
        QVERIFY(!services.database->GetDB(QStringLiteral("../../.."), QStringLiteral("Vumo"), db));
        QVERIFY(!services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("../Vumo"), db));
        QVERIFY(!services.database->GetDB(QString(), QStringLiteral("Vumo"), db));
        QVERIFY(!services.database->GetDB(QStringLiteral("商品管理"), QString(), db));
        QVERIFY(!db.isOpen());

        // A plain file where the seller's databases folder belongs.
        const QString uid = VumoTest::DemoLogin().uid;
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("users/") + uid)));
        QFile blocker(home.filePath(QStringLiteral("users/%1/databases").arg(uid)));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db));
        QVERIFY(!db.isOpen());
    }

    void workerThreadsGetTheirOwnConnection()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Services services;
        QVERIFY(services.database);
        QString guiName;
        {
            QSqlDatabase db;
            QVERIFY(services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db));
            guiName = db.connectionName();
        }
        QString workerName;
        bool workerOk = false;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            QSqlDatabase db;
            if (!services.database->GetDB(QStringLiteral("商品管理"), QStringLiteral("Vumo"), db))
                return;
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
