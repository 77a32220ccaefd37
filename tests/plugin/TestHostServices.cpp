// The adapters over the workbench's run-time loaded services: every fall-back with an empty
// service folder, and the real services' values coming through.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "utils/SellerPaths.h"
#include "utils/VumoIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

using Quorvia::utils::AppShareHelp;
using Quorvia::utils::DatabaseHelp;

class TestHostServices : public QObject
{
    Q_OBJECT

    static QString seller() { return AppShareHelp::instance()->GetUid(); }

private:
    static void useServiceDir(const QString& dir)
    {
        qputenv("QUORVIA_SERVICE_DIR", dir.toLocal8Bit());
        AppShareHelp::instance()->Reload();
        DatabaseHelp::instance()->Reload();
    }

private slots:
    void cleanup() { useServiceDir(QCoreApplication::applicationDirPath()); }

    void fallBacksWithoutServices()
    {
        VumoTest::TempHome home;
        home.writeLogin(); // a login exists, but nothing can read it
        QTemporaryDir empty;
        useServiceDir(empty.path());

        AppShareHelp* share = AppShareHelp::instance();
        QVERIFY(share->GetCurrentUser() == nullptr);
        QVERIFY(share->GetUid().isEmpty());
        QVERIFY(share->GetAccessToken().isEmpty());
        QVERIFY(share->GetShopName().isEmpty());
        QCOMPARE(share->GetVenderId(), qint64(0));
        QCOMPARE(share->GetShopType(), 0);
        QVERIFY(share->GetAppKey().isEmpty());
        QVERIFY(share->GetAppSecret().isEmpty());
        QVERIFY(share->GetUUID().isEmpty());
        QVERIFY(qAbs(share->GetServerTime().secsTo(QDateTime::currentDateTime())) <= 5);

        // What a caller writes into the fall-back list does not stick.
        share->GetTemplateInfo().append({QStringLiteral("模板"), QStringLiteral("id")});
        QVERIFY(share->GetTemplateInfo().isEmpty());

        QSqlDatabase db;
        QVERIFY(DatabaseHelp::instance()->Manager() == nullptr);
        QVERIFY(!DatabaseHelp::instance()->GetDB(Quorvia::utils::PluginDisplayName(), QStringLiteral("Vumo"), db));
        QVERIFY(!db.isOpen());

        QVERIFY(Quorvia::utils::SellerFolder(seller()).isEmpty());
        QVERIFY(Quorvia::utils::VumoIniPath(seller()).isEmpty());
        QVERIFY(!Quorvia::utils::VumoIni::SetCatsVersion(seller(), 3));
        QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("users"))));
    }

    void realServicesComeThrough()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin login;
        login.uid = QStringLiteral("seller_甲");
        login.shopName = QStringLiteral("甲的小店");
        login.venderId = Q_INT64_C(8000000001);
        login.shopType = 8;
        home.writeLogin(login);
        useServiceDir(QCoreApplication::applicationDirPath());

        AppShareHelp* share = AppShareHelp::instance();
        QVERIFY(share->GetCurrentUser() != nullptr);
        QCOMPARE(share->GetUid(), login.uid);
        QCOMPARE(share->GetShopName(), login.shopName);
        QCOMPARE(share->GetAccessToken(), login.accessToken.toUtf8());
        QCOMPARE(share->GetAppKey(), login.appKey.toUtf8());
        QCOMPARE(share->GetAppSecret(), login.appSecret.toUtf8());
        QCOMPARE(share->GetVenderId(), login.venderId);
        QCOMPARE(share->GetShopType(), 8);
        const QString uuid = share->GetUUID();
        QVERIFY(!uuid.isEmpty());
        QCOMPARE(share->GetUUID(), uuid);

        const QString expected = QDir::toNativeSeparators(home.path())
            + QStringLiteral("/users/seller_甲/plugin/商品管理/");
        QCOMPARE(Quorvia::utils::SellerFolder(seller()), expected);
        // Asking for the path makes nothing; the folder appears only when a writer ensures it.
        QVERIFY(!QFileInfo::exists(expected));
        QVERIFY(Quorvia::utils::EnsureFolder(expected));
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(Quorvia::utils::VumoIniPath(seller()), expected + QStringLiteral("vumo.ini"));

        QSqlDatabase db;
        QVERIFY(DatabaseHelp::instance()->GetDB(Quorvia::utils::PluginDisplayName(), QStringLiteral("Vumo"), db));
        QVERIFY(db.isOpen());
        QCOMPARE(
            QFileInfo(db.databaseName()).canonicalFilePath(),
            QFileInfo(home.filePath(QStringLiteral("users/seller_甲/databases/商品管理/Vumo.db"))).canonicalFilePath());
    }
};

VUMO_TEST_CLASS(TestHostServices)
#include "TestHostServices.moc"
