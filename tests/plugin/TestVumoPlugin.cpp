// The plug-in object linked into the test: login hand-over and the start-up store checks.
#include "LogCapture.h"
#include "support/SqlFile.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/VumoDBMgr.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoPlugin.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "ui/MsgBox.h"

#include <QCoreApplication>
#include <QDir>
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
    // Each case starts as the plug-in does before the host's hand-over.
    void init() { UserInfo::instance()->SetLogin(LoginRecord()); }
    void cleanup() { Quorvia::vumo::database::VumoDBMgr::instance()->Reset(); }

    void loginDefaultsAndHandOver()
    {
        // Without a login: no credentials, stock editable, no comment synchronisation.
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
        QVERIFY2(!LogCapture::Contains("trade", QStringLiteral("检查商品数据库失败！")),
                 qPrintable(LogCapture::Lines().join(QLatin1Char('\n'))));
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品类目数据库失败！")));
        const QString folder = home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/"));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("Vumo.db")));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("Category.db")));
    }

    // Store files the plug-in must not open: the seller is told which file and what to do,
    // the file stays as it was, and start-up goes on with an empty shop.
    void damagedStoreIsReportedAtStartUp()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString vumo = storeFolder(home) + QStringLiteral("Vumo.db");
        const QByteArray garbage = QByteArray("not a database at all\n").repeated(200);
        QVERIFY(VumoTest::WriteBytes(vumo, garbage));

        const QString message = startAndCollectMessage();
        QVERIFY2(message.contains(QStringLiteral("商品数据库文件已损坏")), qPrintable(message));
        QVERIFY(message.contains(QDir::toNativeSeparators(vumo)));
        QVERIFY(!message.contains(QStringLiteral("商品类目数据库"))); // that one is fine
        QCOMPARE(VumoTest::ReadBytes(vumo), garbage);
        QVERIFY(QFileInfo::exists(storeFolder(home) + QStringLiteral("Category.db")));
    }

    void newerStoresAreNeverWritten()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString vumo = storeFolder(home) + QStringLiteral("Vumo.db");
        const QString category = storeFolder(home) + QStringLiteral("Category.db");
        // Rollback-journal mode: even switching the journal would rewrite the header.
        QVERIFY(makeStore(vumo, QStringLiteral("9.9")));
        QVERIFY(makeStore(category, QStringLiteral("9.9")));
        const QByteArray vumoBefore = VumoTest::ReadBytes(vumo);
        const QByteArray categoryBefore = VumoTest::ReadBytes(category);

        const QString message = startAndCollectMessage();
        QVERIFY2(message.contains(QStringLiteral("商品数据库文件来自更新版本")), qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("商品类目数据库文件来自更新版本")));
        QVERIFY(message.contains(QDir::toNativeSeparators(vumo)));
        QVERIFY(message.contains(QDir::toNativeSeparators(category)));
        QCOMPARE(VumoTest::ReadBytes(vumo), vumoBefore);
        QCOMPARE(VumoTest::ReadBytes(category), categoryBefore);
    }

    // Another program holds an exclusive lock: start-up reports it instead of waiting for
    // the lock statement after statement.
    void lockedStoreIsReportedAtStartUp()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString vumo = storeFolder(home) + QStringLiteral("Vumo.db");
        QVERIFY(makeStore(vumo, QStringLiteral("2.0")));
        QString message;
        {
            const VumoTest::SqlFile other(vumo); // another program in the middle of a write
            QVERIFY(other.exec(
                {QStringLiteral("BEGIN EXCLUSIVE"), QStringLiteral("INSERT INTO CONFIG VALUES ('held','1')")}));
            message = startAndCollectMessage();
            other.exec({QStringLiteral("ROLLBACK")});
        }
        QVERIFY2(message.contains(QStringLiteral("商品数据库文件正被其他程序占用")), qPrintable(message));
        QVERIFY(message.contains(QDir::toNativeSeparators(vumo)));
    }

private:
    static QString storeFolder(const VumoTest::TempHome& home)
    {
        const QString folder = home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/"));
        QDir().mkpath(folder);
        return folder;
    }
    // A store in rollback-journal mode holding the given version.
    static bool makeStore(const QString& path, const QString& version)
    {
        const VumoTest::SqlFile db(path);
        return db.exec({QStringLiteral("PRAGMA journal_mode=DELETE"),
                        QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)"),
                        QStringLiteral("INSERT INTO CONFIG VALUES ('Version','%1')").arg(version)});
    }
    // Starts the plug-in and returns the text of the message box it shows (empty if none).
    static QString startAndCollectMessage()
    {
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        QStringList shown;
        Quorvia::core::ui::SetMsgBoxHook([&shown](Quorvia::core::ui::MsgBox& box) {
            shown << box.Text();
            return QMessageBox::Ok;
        });
        VumoPlugin plugin;
        std::unique_ptr<QWidget> widget(plugin.CreateMainWidget());
        // The box comes once the host's event loop runs; the widget goes only after its first
        // load, whose threads read the stores.
        if (widget
            && (!QTest::qWaitFor([&shown] { return !shown.isEmpty(); }, 10000)
                || !QTest::qWaitFor([&widget] { return widget->property("vumoFirstLoadDone").toBool(); }, 10000)))
            qWarning() << "start-up did not finish in time";
        Quorvia::core::ui::SetMsgBoxHook({});
        return shown.join(QStringLiteral("\n"));
    }
};

VUMO_TEST_CLASS(TestVumoPlugin)
#include "TestVumoPlugin.moc"
