// The built plug-in library as the workbench sees it: loaded with QLibrary, reached only
// through its two exported functions and the plug-in interface.
#include "LogCapture.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "quorvia/Plugin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using Quorvia::core::plugin::Plugin;

namespace {
using InstanceFunc = QObject* (*)();
using VerificationFunc = const char* (*)();

// Share of the first pane in a splitter's two panes.
double firstShare(const QSplitter* splitter)
{
    const QList<int> sizes = splitter->sizes();
    if (sizes.size() != 2 || sizes[0] + sizes[1] <= 0)
        return -1;
    return double(sizes[0]) / double(sizes[0] + sizes[1]);
}
} // namespace

class TestPluginLibrary : public QObject
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
        // One data root for the whole class: the library keeps its stores until it unloads.
        m_home = std::make_unique<VumoTest::TempHome>();
        VumoTest::DemoLogin login;
        login.shopName = QStringLiteral("插件测试店");
        m_home->writeLogin(login);
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());

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

    void verificationText()
    {
        auto verify = reinterpret_cast<VerificationFunc>(m_library.resolve("qt_plugin_query_verification_data"));
        QVERIFY(verify);
        QCOMPARE(QByteArray(verify()),
                 QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.8.1\ndebug=false\n"
                            "buildkey=Windows msvc release full-config"));
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
        QCOMPARE(QByteArray(first->metaObject()->className()), QByteArray("Quorvia::vumo::VumoPlugin"));
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
        QVERIFY(widget->parent() == nullptr);
        QCOMPARE(QByteArray(widget->metaObject()->className()), QByteArray("Quorvia::vumo::VumoMainWidget"));
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品数据库失败！")));
        QVERIFY(!LogCapture::Contains("trade", QStringLiteral("检查商品类目数据库失败！")));
        QVERIFY(QFileInfo::exists(m_home->filePath(QStringLiteral("users/demo_seller/databases/商品管理/Vumo.db"))));

        // The host's screenshot waits on this signal, connected by name.
        QSignalSpy spy(widget.get(), SIGNAL(FirstLoadFinishedSignal()));
        QVERIFY(spy.isValid());
        QVERIFY(!widget->property("vumoFirstLoadDone").toBool());
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(widget->property("vumoFirstLoadDone").toBool());

        QVERIFY(widget->findChild<QWidget*>(QStringLiteral("vumomanage_toolbar")));
        auto* tree = widget->findChild<QTreeWidget*>(QStringLiteral("m_vumoTree"));
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("插件测试店(0)")); // every node shows its count
        auto* view = widget->findChild<QTableView*>(QStringLiteral("m_vumoTableView"));
        QVERIFY(view);
        QVERIFY(!view->isColumnHidden(11));

        // Tree | (table over editor), 200:800 and 200:210; a wider window widens the table and
        // leaves the tree at its 200 pixels.
        const QList<QSplitter*> splitters = widget->findChildren<QSplitter*>();
        QCOMPARE(splitters.size(), 2);
        const QSplitter* horizontal = splitters[0]->orientation() == Qt::Horizontal ? splitters[0] : splitters[1];
        const QSplitter* vertical = splitters[0]->orientation() == Qt::Vertical ? splitters[0] : splitters[1];
        QVERIFY(horizontal != vertical);
        QVERIFY(horizontal->isAncestorOf(tree));
        QVERIFY(vertical->isAncestorOf(view));
        QVERIFY(horizontal->isAncestorOf(vertical));
        QVERIFY2(qAbs(horizontal->sizes().value(0) - 200) <= 2,
                 qPrintable(QString::number(horizontal->sizes().value(0))));
        QVERIFY(horizontal->sizes().value(1) > 800);
        QVERIFY2(qAbs(firstShare(vertical) - 200.0 / 410.0) < 0.03, qPrintable(QString::number(firstShare(vertical))));
        QVERIFY(!vertical->widget(1)->isEnabled()); // the editor stays empty and disabled
    }

    void stockColumnHiddenWhenStockIsNotManaged()
    {
        std::unique_ptr<QWidget> widget = createShown(1);
        QVERIFY(widget);
        QTRY_VERIFY(widget->property("vumoFirstLoadDone").toBool());
        auto* view = widget->findChild<QTableView*>(QStringLiteral("m_vumoTableView"));
        QVERIFY(view->isColumnHidden(11));
        QVERIFY(!view->isColumnHidden(3));
    }
};

VUMO_TEST_CLASS(TestPluginLibrary)
#include "TestPluginLibrary.moc"
