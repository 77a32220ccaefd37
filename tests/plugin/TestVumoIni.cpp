// The settings file: IniSetting's argument orders and its no-file mode, and the typed keys of
// "vumo.ini" in a seller's folder.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "utils/IniSetting.h"
#include "utils/SellerPaths.h"
#include "utils/VumoIni.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

using Quorvia::utils::IniSetting;
using Quorvia::utils::VumoIni;

class TestVumoIni : public QObject
{
    Q_OBJECT

private:
    // The seller the host reports, as the plug-in's shell hands it down.
    static QString seller() { return Quorvia::utils::AppShareHelp::instance()->GetUid(); }

    static QString sellerIni(const VumoTest::TempHome& home, const QString& uid)
    {
        return home.filePath(QStringLiteral("users/%1/plugin/商品管理/vumo.ini").arg(uid));
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
    }

    void iniSettingKeepsGroupsAndKeysApart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/test.ini"));
        IniSetting ini(path);
        // Value takes (key, group), SetValue takes (group, key).
        QVERIFY(ini.SetValue(QStringLiteral("G1"), QStringLiteral("k"), QStringLiteral("one")));
        QVERIFY(ini.SetValue(QStringLiteral("G2"), QStringLiteral("k"), QStringLiteral("two")));
        QCOMPARE(ini.Value(QStringLiteral("k"), QStringLiteral("G1")).toString(), QStringLiteral("one"));
        QCOMPARE(ini.Value(QStringLiteral("k"), QStringLiteral("G2")).toString(), QStringLiteral("two"));
        QCOMPARE(ini.Value(QStringLiteral("G1"), QStringLiteral("k"), 7).toInt(), 7);
        QVERIFY(QFile::exists(path)); // missing folders were created

        // Another object on the same file sees the values, stored as UTF-8 text.
        IniSetting other(path);
        QVERIFY(other.SetValue(QStringLiteral("G1"), QStringLiteral("名称"), QStringLiteral("店铺")));
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("G1/名称")).toString(), QStringLiteral("店铺"));
        QCOMPARE(raw.value(QStringLiteral("G2/k")).toString(), QStringLiteral("two"));
    }

    void iniSettingWithoutFile()
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
    }

    void iniSettingReportsUnwritableFile()
    {
        QTemporaryDir dir;
        // A folder where the file should be: the write cannot reach the disk.
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
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Synchronize]\ncatsVersion=12abc\ncategoryUpdateTime=2024/01/02 03:04:05\n"
                  "[ImageMananger]\nUserImagePath=a, b\n\x01\xff garbage line\n");
        out.close();
        QCOMPARE(VumoIni::CatsVersion(seller()), qint64(0));
        QVERIFY(!VumoIni::CategoryUpdateTime(seller()).isValid());
        QVERIFY(VumoIni::UserImagePath(seller()).isEmpty());

        // An invalid time is stored as "no update yet" rather than some date.
        QVERIFY(VumoIni::SetCategoryUpdateTime(seller(), QDateTime()));
        QVERIFY(!VumoIni::CategoryUpdateTime(seller()).isValid());
    }

    void withoutSellerNothingIsWritten()
    {
        VumoTest::TempHome home; // no login file: no uid, no seller folder
        QVERIFY(Quorvia::utils::VumoIniPath(seller()).isEmpty());
        QVERIFY(!VumoIni::SetCatsVersion(seller(), 5));
        QVERIFY(!VumoIni::SetUserImagePath(seller(), QStringLiteral("/x")));
        QCOMPARE(VumoIni::CatsVersion(seller()), qint64(0));
        QVERIFY(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }
};

VUMO_TEST_CLASS(TestVumoIni)
#include "TestVumoIni.moc"
