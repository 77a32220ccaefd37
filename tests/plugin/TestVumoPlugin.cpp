// The plug-in object linked into the test (login hand-over, the start-up store checks) and the
// built plug-in library as the workbench sees it: loaded with QLibrary, reached only through its
// two exported functions and the plug-in interface.
#include "LogCapture.h"
#include "support/SqlFile.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/VumoDBMgr.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoPlugin.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "quorvia/Plugin.h"
#include "ui/MsgBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using Quorvia::core::plugin::LoginRecord;
using Quorvia::vumo::UserInfo;
using Quorvia::vumo::VumoPlugin;

using Quorvia::core::plugin::Plugin;

namespace {
using InstanceFunc = QObject* (*)();
} // namespace

class TestVumoPlugin : public QObject
{
    Q_OBJECT

    QLibrary m_library;
    std::unique_ptr<VumoTest::TempHome> m_home;
    InstanceFunc m_instance = nullptr;

    Plugin* plugin() { return dynamic_cast<Plugin*>(m_instance()); }

    std::unique_ptr<QWidget> createShown(int stockMode)
    {
        Quorvia::core::plugin::LoginRecord record;
        record.accessToken = "token";
        record.stockMode = stockMode;
        plugin()->SetUserInfo(record);
        std::unique_ptr<QWidget> widget(plugin()->CreateMainWidget());
        if (widget) {
            widget->resize(1200, 800);
            widget->show();
        }
        return widget;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
        Quorvia::utils::DatabaseHelp::instance()->Reload();
        // One data root for the whole class: the library keeps its stores until it unloads.
        m_home = std::make_unique<VumoTest::TempHome>();
        VumoTest::DemoLogin login;
        login.shopName = QStringLiteral("插件测试店");
        m_home->writeLogin(login);

        m_library.setFileName(QStringLiteral(VUMO_PLUGIN_FILE));
        QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
        m_instance = reinterpret_cast<InstanceFunc>(m_library.resolve("qt_plugin_instance"));
        QVERIFY(m_instance);
    }
    void cleanupTestCase()
    {
        // The library stays loaded: widgets and singletons of it may still be referenced.
        m_home.reset();
    }
    // Each case starts as the plug-in does before the host's hand-over.
    void init() { UserInfo::instance()->SetLogin(LoginRecord()); }
    void cleanup() { Quorvia::vumo::database::VumoDBMgr::instance()->Reset(); }

    void loginHandOver()
    {
        UserInfo* info = UserInfo::instance();
        VumoPlugin plugin;
        plugin.Initialize();
        LoginRecord record;
        record.accessToken = "token-1";
        record.appKey = "key-1";
        record.appSecret = "secret-1";
        record.firstId = Q_INT64_C(5000000000);
        record.stockMode = 1;
        plugin.SetUserInfo(record);
        QCOMPARE(info->GetAccessToken(), QByteArray("token-1"));
        QCOMPARE(info->GetAppKey(), QByteArray("key-1"));
        QCOMPARE(info->GetAppSecret(), QByteArray("secret-1"));
        QCOMPARE(info->GetFirstId(), Q_INT64_C(5000000000));
        QCOMPARE(info->GetStockMode(), 1);

        // A second hand-over replaces everything, empty values included.
        plugin.SetUserInfo(LoginRecord());
        QVERIFY(info->GetAccessToken().isEmpty());
        QVERIFY(info->GetAppSecret().isEmpty());
        QCOMPARE(info->GetStockMode(), -1);
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

    // Store files the plug-in must not open (damaged, from a newer release, held by another
    // program): the seller is told which file and what to do, the files stay as they were, and
    // start-up goes on with an empty shop.
    void unusableStoresAreReportedAtStartUp_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("damaged") << "damaged" << QStringList{"商品数据库文件已损坏"};
        QTest::newRow("newer") << "newer"
                               << QStringList{"商品数据库文件来自更新版本", "商品类目数据库文件来自更新版本"};
        QTest::newRow("locked") << "locked" << QStringList{"商品数据库文件正被其他程序占用"};
    }
    void unusableStoresAreReportedAtStartUp()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, said);
        VumoTest::TempHome home;
        home.writeLogin();
        const QString vumo = storeFolder(home) + QStringLiteral("Vumo.db");
        const QString category = storeFolder(home) + QStringLiteral("Category.db");
        // Rollback-journal mode: even switching the journal would rewrite the header.
        if (kind == QLatin1String("damaged"))
            QVERIFY(VumoTest::WriteBytes(vumo, QByteArray("not a database at all\n").repeated(200)));
        else
            QVERIFY(makeStore(vumo, kind == QLatin1String("newer") ? QStringLiteral("9.9") : QStringLiteral("2.0")));
        if (kind == QLatin1String("newer"))
            QVERIFY(makeStore(category, QStringLiteral("9.9")));
        const QByteArray vumoBefore = VumoTest::ReadBytes(vumo);
        const QByteArray categoryBefore = VumoTest::ReadBytes(category);

        QString message;
        if (kind == QLatin1String("locked")) {
            const VumoTest::SqlFile other(vumo); // another program in the middle of a write
            QVERIFY(other.exec(
                {QStringLiteral("BEGIN EXCLUSIVE"), QStringLiteral("INSERT INTO CONFIG VALUES ('held','1')")}));
            message = startAndCollectMessage();
            other.exec({QStringLiteral("ROLLBACK")});
        } else {
            message = startAndCollectMessage();
        }
        for (const QString& text : said)
            QVERIFY2(message.contains(text), qPrintable(message));
        QVERIFY(message.contains(QDir::toNativeSeparators(vumo)));
        QCOMPARE(message.contains(QStringLiteral("商品类目数据库")), kind == QLatin1String("newer"));
        QCOMPARE(message.contains(QDir::toNativeSeparators(category)), kind == QLatin1String("newer"));
        QCOMPARE(VumoTest::ReadBytes(vumo), vumoBefore);
        if (kind == QLatin1String("newer"))
            QCOMPARE(VumoTest::ReadBytes(category), categoryBefore);
        else
            QVERIFY(QFileInfo::exists(category));
    }

    void exportsOnlyTheEntryPoints()
    {
        const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
        if (nm.isEmpty())
            QSKIP("nm is not installed");
        QProcess process;
        process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral(VUMO_PLUGIN_FILE)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QSet<QString> names;
        const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 3 && fields.at(1) != "A") // "A": version nodes, not code
                names.insert(QString::fromLatin1(fields.at(2)));
        }
        QCOMPARE(
            names,
            QSet<QString>({QStringLiteral("qt_plugin_instance"), QStringLiteral("qt_plugin_query_verification_data")}));
    }

    void instanceIsGuarded()
    {
        QObject* first = m_instance();
        QVERIFY(first);
        QCOMPARE(m_instance(), first);
        QVERIFY(dynamic_cast<Plugin*>(first)); // how the host reaches the interface
        first->setObjectName(QStringLiteral("first"));

        QPointer<QObject> guard(first);
        delete first;
        QVERIFY(guard.isNull());
        QObject* second = m_instance();
        QVERIFY(second);
        QVERIFY(second->objectName().isEmpty()); // a fresh object, even at a reused address
        QCOMPARE(m_instance(), second);
    }

    void mainWidgetFrame()
    {
        QVERIFY(plugin());
        plugin()->Initialize();
        LogCapture log;
        std::unique_ptr<QWidget> widget = createShown(-1);
        QVERIFY(widget);
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品数据库失败！")));
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品类目数据库失败！")));
        for (const char* store : {"Vumo.db", "Category.db"})
            QVERIFY(QFileInfo::exists(m_home->filePath(QStringLiteral("users/demo_seller/databases/商品管理/"))
                                      + QLatin1String(store)));

        // The host's screenshot waits on this signal, connected by name.
        QSignalSpy spy(widget.get(), SIGNAL(FirstLoadFinishedSignal()));
        QVERIFY(spy.isValid());
        QVERIFY(!widget->property("vumoFirstLoadDone").toBool());
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(widget->property("vumoFirstLoadDone").toBool());

        auto* tree = widget->findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("插件测试店(0)")); // every node shows its count
        auto* view = widget->findChild<QTableView*>(QStringLiteral("m_vumoTableView"));
        QVERIFY(view);
        QVERIFY(!view->isColumnHidden(11));

        // The login handed to the library's own plug-in object reaches its table.
        widget = createShown(1);
        QVERIFY(widget);
        QTRY_VERIFY(widget->property("vumoFirstLoadDone").toBool());
        QVERIFY(widget->findChild<QTableView*>(QStringLiteral("m_vumoTableView"))->isColumnHidden(11));
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
