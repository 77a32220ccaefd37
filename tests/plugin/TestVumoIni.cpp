// The adapters over the workbench's run-time loaded services (every fall-back with an empty
// service folder, the real services' values coming through), and the settings file: IniSetting's
// no-file mode and the typed keys of "vumo.ini" in a seller's folder.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "utils/IniSetting.h"
#include "utils/SellerPaths.h"
#include "utils/VumoIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

using Quorvia::utils::AppShareHelp;
using Quorvia::utils::DatabaseHelp;
using Quorvia::utils::IniSetting;
using Quorvia::utils::VumoIni;

class TestHostServices : public QObject
{
    Q_OBJECT

private:
    // The seller the host reports, as the plug-in's shell hands it down.
    static QString seller() { return AppShareHelp::instance()->GetUid(); }
    static void useServiceDir(const QString& dir)
    {
        qputenv("QUORVIA_SERVICE_DIR", dir.toLocal8Bit());
        AppShareHelp::instance()->Reload();
        DatabaseHelp::instance()->Reload();
    }

    static QString sellerIni(const VumoTest::TempHome& home, const QString& uid)
    {
        return home.filePath(QStringLiteral("users/%1/plugin/商品管理/vumo.ini").arg(uid));
    }

private slots:
    void initTestCase() { useServiceDir(QCoreApplication::applicationDirPath()); }
    void cleanup() { useServiceDir(QCoreApplication::applicationDirPath()); }

    void iniSettingWithoutFileOrUnwritable()
    {
        const bool rootIniExisted = QFile::exists(QStringLiteral("/vumo.ini"));
        const QDir cwd;
        const QStringList before = cwd.entryList(QDir::Files);

        IniSetting none{QString()};
        QCOMPARE(none.Value(QStringLiteral("k"), QStringLiteral("G"), 42).toInt(), 42);
        QVERIFY(!none.SetValue(QStringLiteral("G"), QStringLiteral("k"), 1));
        QCOMPARE(none.Value(QStringLiteral("k"), QStringLiteral("G"), 42).toInt(), 42);

        QCOMPARE(QFile::exists(QStringLiteral("/vumo.ini")), rootIniExisted);
        QCOMPARE(cwd.entryList(QDir::Files), before);

        // A folder where the file should be: the write cannot reach the disk, and says so.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vumo.ini"));
        QVERIFY(QDir().mkpath(path));
        IniSetting ini(path);
        QVERIFY(!ini.SetValue(QStringLiteral("G"), QStringLiteral("k"), 1));
    }

    void missingFileGivesDefaultsAndFirstWriteCreatesIt()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin login;
        login.uid = QStringLiteral("ini_seller");
        home.writeLogin(login);

        QCOMPARE(VumoIni::CatsVersion(seller()), qint64(0));
        QVERIFY(!VumoIni::CategoryUpdateTime(seller()).isValid());
        QVERIFY(VumoIni::UserImagePath(seller()).isEmpty());
        QVERIFY(VumoIni::VumoExportPath(seller()).isEmpty());
        const QString file = sellerIni(home, login.uid);
        QVERIFY(!QFile::exists(file)); // reading never creates the file

        // Past 2^53: a detour through double would lose the last digit.
        const qint64 version = Q_INT64_C(9007199254740993);
        QVERIFY(VumoIni::SetCatsVersion(seller(), version));
        QVERIFY(QFile::exists(file));
        QCOMPARE(VumoIni::CatsVersion(seller()), version);

        const QDateTime time(QDate(2024, 2, 29), QTime(23, 59, 58));
        QVERIFY(VumoIni::SetCategoryUpdateTime(seller(), time));
        QCOMPARE(VumoIni::CategoryUpdateTime(seller()), time);

        QSettings raw(file, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Synchronize/catsVersion")).toString(), QStringLiteral("9007199254740993"));
        QCOMPARE(raw.value(QStringLiteral("Synchronize/categoryUpdateTime")).toString(),
                 QStringLiteral("2024-02-29 23:59:58"));
    }

    void foldersRoundTrip_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("chinese and spaces") << QStringLiteral("/home/卖家 甲/我的 图片");
        QTest::newRow("comma") << QStringLiteral("/data/a,b/c");
        QTest::newRow("leading at") << QStringLiteral("@Variant(x)/图片");
        QTest::newRow("quotes and semicolon") << QStringLiteral("/tmp/\"x\";y=z");
    }

    void foldersRoundTrip()
    {
        QFETCH(QString, folder);
        VumoTest::TempHome home;
        home.writeLogin();
        QVERIFY(VumoIni::SetUserImagePath(seller(), folder));
        QVERIFY(VumoIni::SetVumoExportPath(seller(), folder + QStringLiteral("/导出")));
        QCOMPARE(VumoIni::UserImagePath(seller()), folder);
        QCOMPARE(VumoIni::VumoExportPath(seller()), folder + QStringLiteral("/导出"));
        // Keys stay in their own groups.
        QSettings raw(Quorvia::utils::VumoIniPath(seller()), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("ImageMananger/UserImagePath")).toString(), folder);
        QVERIFY(!raw.contains(QStringLiteral("VumoExport/UserImagePath")));
    }

    void damagedValuesGiveDefaults()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString file = Quorvia::utils::VumoIniPath(seller());
        QVERIFY(!file.isEmpty());
        QVERIFY(Quorvia::utils::EnsureFolder(Quorvia::utils::SellerFolder(seller())));
        QVERIFY(VumoTest::WriteBytes(file,
                                     "[Synchronize]\ncatsVersion=12abc\ncategoryUpdateTime=2024/01/02 03:04:05\n"
                                     "[ImageMananger]\nUserImagePath=a, b\n\x01\xff garbage line\n"));
        QCOMPARE(VumoIni::CatsVersion(seller()), qint64(0));
        QVERIFY(!VumoIni::CategoryUpdateTime(seller()).isValid());
        QVERIFY(VumoIni::UserImagePath(seller()).isEmpty());

        // An invalid time is stored as "no update yet" rather than some date.
        QVERIFY(VumoIni::SetCategoryUpdateTime(seller(), QDateTime()));
        QVERIFY(!VumoIni::CategoryUpdateTime(seller()).isValid());
    }

    void fallBacksWithoutServices()
    {
        VumoTest::TempHome home;
        home.writeLogin(); // a login exists, but nothing can read it
        QTemporaryDir empty;
        useServiceDir(empty.path());

        AppShareHelp* share = AppShareHelp::instance();
        QVERIFY(share->GetCurrentUser() == nullptr);
        QVERIFY(share->GetUid().isEmpty());
        QVERIFY(share->GetAppSecret().isEmpty());
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
        QVERIFY(!Quorvia::utils::VumoIni::SetUserImagePath(seller(), QStringLiteral("/x")));
        QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("users"))));
    }

    void realServicesComeThrough()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin login;
        login.uid = QStringLiteral("seller_甲");
        login.shopName = QStringLiteral("甲的小店");
        login.venderId = Q_INT64_C(8000000001);
        home.writeLogin(login);
        useServiceDir(QCoreApplication::applicationDirPath());

        AppShareHelp* share = AppShareHelp::instance();
        QCOMPARE(share->GetUid(), login.uid);
        QCOMPARE(share->GetShopName(), login.shopName);
        QCOMPARE(share->GetAppSecret(), login.appSecret.toUtf8());
        QCOMPARE(share->GetVenderId(), login.venderId);

        const QString expected = QDir::toNativeSeparators(home.path())
            + QStringLiteral("/users/seller_甲/plugin/商品管理/");
        QCOMPARE(Quorvia::utils::SellerFolder(seller()), expected);
        // Asking for the path makes nothing; the folder appears only when a writer ensures it.
        QVERIFY(!QFileInfo::exists(expected));
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
#include "TestVumoIni.moc"
