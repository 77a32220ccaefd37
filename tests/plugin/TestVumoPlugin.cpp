// The plug-in object linked into the test: login hand-over and the start-up store checks.
// Listed first among the sources so that it runs before any other class touches UserInfo.
#include "LogCapture.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/VumoDBMgr.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoPlugin.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

#include <memory>

using Quorvia::core::plugin::LoginRecord;
using Quorvia::vumo::UserInfo;
using Quorvia::vumo::VumoPlugin;

class TestVumoPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
        Quorvia::utils::DatabaseHelp::instance()->Reload();
    }
    void cleanup() { Quorvia::vumo::database::VumoDBMgr::instance()->Reset(); }

    void loginDefaultsAndHandOver()
    {
        // Before SetUserInfo: no credentials, stock editable, no comment synchronisation.
        UserInfo* info = UserInfo::instance();
        QVERIFY(info->GetAccessToken().isEmpty());
        QVERIFY(info->GetAppKey().isEmpty());
        QVERIFY(info->GetAppSecret().isEmpty());
        QCOMPARE(info->GetStockMode(), -1);
        QCOMPARE(info->GetShopType(), 0);
        QCOMPARE(info->GetFirstId(), qint64(-1));
        QCOMPARE(info->GetSecondId(), qint64(-1));

        VumoPlugin plugin;
        plugin.Initialize();
        LoginRecord record;
        record.accessToken = "token-1";
        record.appKey = "key-1";
        record.appSecret = "secret-1";
        record.fourthText = "host-private";
        record.firstId = Q_INT64_C(5000000000);
        record.secondId = 7;
        record.stockMode = 1;
        record.shopType = 8;
        plugin.SetUserInfo(record);
        QCOMPARE(info->GetAccessToken(), QByteArray("token-1"));
        QCOMPARE(info->GetAppKey(), QByteArray("key-1"));
        QCOMPARE(info->GetAppSecret(), QByteArray("secret-1"));
        QCOMPARE(info->GetFirstId(), Q_INT64_C(5000000000));
        QCOMPARE(info->GetSecondId(), qint64(7));
        QCOMPARE(info->GetStockMode(), 1);
        QCOMPARE(info->GetShopType(), 8);

        // A second hand-over replaces everything, empty values included.
        plugin.SetUserInfo(LoginRecord());
        QVERIFY(info->GetAccessToken().isEmpty());
        QVERIFY(info->GetAppSecret().isEmpty());
        QCOMPARE(info->GetFirstId(), qint64(-1));
        QCOMPARE(info->GetStockMode(), -1);
        QCOMPARE(info->GetShopType(), 0);
    }

    void failedStoreChecksAreLoggedAndStartUpGoesOn()
    {
        VumoTest::TempHome home; // no login: the workbench hands out no connections
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        LogCapture log;
        VumoPlugin plugin;
        std::unique_ptr<QWidget> widget(plugin.CreateMainWidget());
        QVERIFY(widget);
        QVERIFY(widget->parent() == nullptr);
        QVERIFY(LogCapture::Contains("trade", QStringLiteral("检查商品数据库失败！")));
        QVERIFY(LogCapture::Contains("trade", QStringLiteral("检查商品类目数据库失败！")));
        QTRY_VERIFY(widget->property("vumoFirstLoadDone").toBool());
    }

    void storesAreCheckedAtStartUp()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        LogCapture log;
        VumoPlugin plugin;
        std::unique_ptr<QWidget> widget(plugin.CreateMainWidget());
        QVERIFY(widget);
        QVERIFY2(!LogCapture::Contains("trade", QStringLiteral("检查商品数据库失败！")), qPrintable(LogCapture::Lines().join(QLatin1Char('\n'))));
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品类目数据库失败！")));
        const QString folder = home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/"));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("Vumo.db")));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("Category.db")));
    }
};

VUMO_TEST_CLASS(TestVumoPlugin)
#include "TestVumoPlugin.moc"
