#include "support/CliRun.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1; // -1: hung, -2: crashed
    QString output;    // standard error, then standard output
};

// The workbench offscreen on the data root `home`, without a plug-in mode unless `env` names one.
Run runWorkbench(const QString& home, const QStringList& args, QMap<QString, QString> env = {})
{
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!env.contains(QStringLiteral("FAKE_PLUGIN_MODE")))
        env.insert(QStringLiteral("FAKE_PLUGIN_MODE"), QString());
    const VumoTest::CliRun run = VumoTest::RunCli(QStringLiteral(WORKBENCH_EXE), home, args, env, 90000);
    return {run.exitCode, QString::fromUtf8(run.err + run.out)};
}

// The workbench on `home` loading `plugin`, asked to save a screenshot to `shot`.
Run screenshot(const VumoTest::TempHome& home, const QString& shot, const QString& plugin = QStringLiteral(FAKE_PLUGIN),
               const QMap<QString, QString>& env = {}, const QStringList& more = {})
{
    return runWorkbench(
        home.path(), QStringList{QStringLiteral("--plugin"), plugin, QStringLiteral("--screenshot"), shot} + more, env);
}

QStringList reportLines(const QString& path)
{
    return QString::fromUtf8(VumoTest::ReadBytes(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString todaysLog(const VumoTest::TempHome& home)
{
    return QString::fromUtf8(VumoTest::ReadBytes(home.filePath(
        QStringLiteral("logs/quorvia-%1.log").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))))));
}

} // namespace

class WorkbenchProgramTest : public QObject
{
    Q_OBJECT
private slots:
    void screenshotAfterFirstLoad()
    {
        // The login comes from the command line; nothing is at the default place.
        VumoTest::TempHome home;
        VumoTest::DemoLogin demo;
        demo.uid = QStringLiteral("second_seller");
        demo.accessToken = QStringLiteral("token-2");
        demo.stockMode = 1;
        demo.shopType = 8;
        const QString moved = home.filePath(QStringLiteral("elsewhere.ini"));
        QVERIFY(QFile::rename(home.writeLogin(demo), moved));
        const QString shot = home.filePath(QStringLiteral("shot.png"));
        const QString report = home.filePath(QStringLiteral("report.txt"));

        const Run run = screenshot(home, shot, QStringLiteral(FAKE_PLUGIN),
                                   {{QStringLiteral("FAKE_PLUGIN_REPORT"), report}},
                                   {QStringLiteral("--login"), moved});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));

        const QImage image(shot, "PNG");
        QVERIFY2(image.width() >= 1000 && image.height() >= 600, qPrintable(run.output));

        // The host's order of calls, the login handed over, and the widget deleted before the
        // plug-in object.
        const QStringList expected{
            QStringLiteral("instance"),
            QStringLiteral("Initialize"),
            QStringLiteral("SetUserInfo token=token-2 key=demo-app-key secret=demo-app-secret "
                           "ids=10001,20001 stockMode=1 shopType=8"),
            QStringLiteral("CreateMainWidget appshare.uid=second_seller"),
            QStringLiteral("delete widget"),
            QStringLiteral("delete plugin"),
        };
        QCOMPARE(reportLines(report), expected);
        QVERIFY(todaysLog(home).contains(QStringLiteral("[workbench] screenshot saved")));
    }

    void missingLoginTightensTheLog()
    {
        // Without a login the message says what to create. A log an older version left
        // readable to all is tightened; what it held stays.
        VumoTest::TempHome home;
        const QString path = home.filePath(
            QStringLiteral("logs/quorvia-%1.log").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
        QVERIFY(VumoTest::WriteBytes(path, "earlier line\n"));
        QVERIFY(QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const Run run = screenshot(home, home.filePath(QStringLiteral("s.png")));
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.output.contains(QDir::toNativeSeparators(home.filePath(QStringLiteral("config/login.ini")))),
                 qPrintable(run.output));
        QVERIFY(run.output.contains(QStringLiteral("uid=")));
        const QString text = todaysLog(home);
        QVERIFY(text.startsWith(QStringLiteral("earlier line\n")));
        QVERIFY(text.contains(QStringLiteral("login.ini")));
        // The message quotes an example login file; its credentials are masked like any other.
        QVERIFY2(text.contains(QStringLiteral("access_token=***")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("demo-access-token")));
        QVERIFY(!text.contains(QStringLiteral("demo-app-secret")));
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());

        // A new day's file is created that way.
        QVERIFY(QFile::remove(path));
        screenshot(home, home.filePath(QStringLiteral("s.png")));
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(path) & QFileDevice::ReadOwner);
    }

    void pluginOutcomes_data()
    {
        QTest::addColumn<QString>("plugin");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("shot");
        QTest::addColumn<int>("exitCode"); // -1: any failure
        QTest::addColumn<QString>("message");
        const QString fake = QStringLiteral(FAKE_PLUGIN);
        const QString shot = QStringLiteral("s.png");
        QTest::newRow("already loaded") << fake << QStringLiteral("ready") << shot << 0 << QString();
        QTest::newRow("no signal at all") << fake << QStringLiteral("nosignal") << shot << 0 << QString();
        QTest::newRow("never loads") << fake << QStringLiteral("never") << shot << 3 << QStringLiteral("超时");
        QTest::newRow("foreign verification")
            << QStringLiteral(FAKE_PLUGIN_WRONG) << QString() << shot << -1 << QStringLiteral("校验信息");
        QTest::newRow("not a plug-in") << QStringLiteral(SETTINGS_LIB) << QString() << shot << -1
                                       << QStringLiteral("缺少导出函数 qt_plugin_query_verification_data");
        QTest::newRow("no widget") << fake << QStringLiteral("null") << shot << -1 << QStringLiteral("没有创建主窗口");
        QTest::newRow("unwritable screenshot")
            << fake << QString() << QStringLiteral("no/such/folder/s.png") << -1 << QStringLiteral("无法保存截图");
    }
    void pluginOutcomes()
    {
        QFETCH(QString, plugin);
        QFETCH(QString, mode);
        QFETCH(QString, shot);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        VumoTest::TempHome home;
        home.writeLogin();
        const Run run = screenshot(home, home.filePath(shot), plugin, {{QStringLiteral("FAKE_PLUGIN_MODE"), mode}},
                                   {QStringLiteral("--screenshot-timeout"), QStringLiteral("2")});
        QVERIFY2(exitCode < 0 ? run.exitCode > 0 : run.exitCode == exitCode, qPrintable(run.output));
        QVERIFY2(run.output.contains(message), qPrintable(run.output));
        QCOMPARE(QFile::exists(home.filePath(shot)), exitCode == 0);
    }

    void missingPluginWithLoggingRulesFromTheDataRoot()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        QVERIFY(
            VumoTest::WriteBytes(home.filePath(QStringLiteral("config/qtlogging.ini")),
                                 "; quiet host\n[Rules]\nworkbench.info=false\n[Other]\nworkbench.critical=false\n"));

        const Run run = screenshot(home, home.filePath(QStringLiteral("s.png")),
                                   QStringLiteral("/nonexistent/libnothing.so"));
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.output.contains(QStringLiteral("找不到插件文件")), qPrintable(run.output));
        const QString log = todaysLog(home);
        // Only the [Rules] section counts: info is off, critical stays on.
        QVERIFY2(log.contains(QStringLiteral("critical [workbench] 找不到插件文件")), qPrintable(log));
        QVERIFY(!log.contains(QStringLiteral("info [workbench]")));
    }

    void withoutDisplayAndWithBadArguments()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QMap<QString, QString> noDisplay{{QStringLiteral("QT_QPA_PLATFORM"), QString()},
                                               {QStringLiteral("DISPLAY"), QString()},
                                               {QStringLiteral("WAYLAND_DISPLAY"), QString()}};
        const QString shot = home.filePath(QStringLiteral("s.png"));
        const Run shoot = screenshot(home, shot, QStringLiteral(FAKE_PLUGIN), noDisplay);
        QVERIFY2(shoot.exitCode == 0 && QFile::exists(shot), qPrintable(shoot.output));

        const Run interactive = runWorkbench(home.path(), {}, noDisplay);
        QCOMPARE(interactive.exitCode, 1);
        QVERIFY(interactive.output.contains(QStringLiteral("QT_QPA_PLATFORM=offscreen")));

        QCOMPARE(runWorkbench(home.path(), {QStringLiteral("--no-such-flag")}).exitCode, 1);
        QCOMPARE(runWorkbench(home.path(), {QStringLiteral("--screenshot-timeout"), QStringLiteral("soon")}).exitCode,
                 1);
    }
};

VUMO_TEST_CLASS(WorkbenchProgramTest)
#include "WorkbenchProgramTest.moc"
