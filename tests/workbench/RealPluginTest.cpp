// The workbench with the real plug-in, as a seller starts it: a fresh home must come out with
// both stores at the current schema and the seller's folder; an old store is upgraded in place.
#include "support/CliRun.h"
#include "support/SqlFile.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>

namespace {

// The workbench with the plug-in it finds beside itself, saving a screenshot to `shot`.
VumoTest::CliRun runWithRealPlugin(const VumoTest::TempHome& home, const QString& shot)
{
    return VumoTest::RunCli(QStringLiteral(WORKBENCH_EXE), home.path(), {QStringLiteral("--screenshot"), shot},
                            {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")},
                             {QStringLiteral("QUORVIA_SERVICE_DIR"), QString()}},
                            90000);
}

// Reads one store with a connection of its own, closed before returning.
struct StoreFacts
{
    QStringList tables;
    QStringList indexes;
    QString version;
    QStringList dataColumns;
    QStringList titles;
};

QStringList texts(const QVariantList& values)
{
    QStringList out;
    for (const QVariant& v : values)
        out << v.toString();
    return out;
}

StoreFacts readStore(const QString& path)
{
    const VumoTest::SqlFile db(path);
    StoreFacts facts;
    const QString objects = QStringLiteral(
        "select name from sqlite_master where type='%1' and name not like 'sqlite_%' order by name");
    facts.tables = texts(db.column(objects.arg(QStringLiteral("table"))));
    facts.indexes = texts(db.column(objects.arg(QStringLiteral("index"))));
    facts.version = db.column(QStringLiteral("select value from CONFIG where key='Version'")).value(0).toString();
    facts.dataColumns = texts(
        db.column(QStringLiteral("select name from pragma_table_info('vumo_data') order by cid")));
    facts.titles = texts(db.column(QStringLiteral("select title from vumo_data")));
    return facts;
}

QString storePath(const VumoTest::TempHome& home, const QString& name)
{
    return home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/%1.db").arg(name));
}

} // namespace

class RealPluginTest : public QObject
{
    Q_OBJECT
private slots:
    void freshHomeGetsStoresAndSellerFolder()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString shot = home.filePath(QStringLiteral("shot.png"));
        const VumoTest::CliRun run = runWithRealPlugin(home, shot);
        QVERIFY2(run.exitCode == 0, run.err.constData());

        QImage image(shot);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 800 && image.height() >= 500);

        const StoreFacts vumo = readStore(storePath(home, QStringLiteral("Vumo")));
        QCOMPARE(vumo.tables,
                 (QStringList{QStringLiteral("CONFIG"), QStringLiteral("seller_category"),
                              QStringLiteral("synccomment"), QStringLiteral("vumo_data"), QStringLiteral("vumo_ext"),
                              QStringLiteral("vumo_image"), QStringLiteral("vumo_sku")}));
        for (const char* index : {"vumodata_vumoid_index", "vumoext_vumoid_index", "vumosku_clientid_index",
                                  "vumosku_vumoid_index", "vumosku_skuid_index", "sync_comm_index"})
            QVERIFY2(vumo.indexes.contains(QLatin1String(index)), index);
        QCOMPARE(vumo.version, QStringLiteral("2.0"));

        const StoreFacts category = readStore(storePath(home, QStringLiteral("Category")));
        QCOMPARE(category.tables,
                 (QStringList{QStringLiteral("CONFIG"), QStringLiteral("vender_shop_category"),
                              QStringLiteral("vumo_attribute_groups"), QStringLiteral("vumo_category"),
                              QStringLiteral("vumo_category_attribute")}));
        QCOMPARE(category.version, QStringLiteral("2.0"));

        QVERIFY(QFileInfo(home.filePath(QStringLiteral("users/demo_seller/plugin/商品管理"))).isDir());
    }

    void oldStoreIsUpgradedWithItsRowsKept()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString path = storePath(home, QStringLiteral("Vumo"));
        {
            // The store as release 1.4 left it: vumo_data without the five later columns.
            const VumoTest::SqlFile db(path);
            QVERIFY(db.exec(VumoTest::Release14ListingStore()
                            + QStringList{QStringLiteral("INSERT INTO CONFIG VALUES ('Version', '1.4')"),
                                          QStringLiteral("INSERT INTO vumo_data (client_id, vumo_id, title) "
                                                         "VALUES ('c-1', 42, '老店''s 商品')")}));
        }

        const VumoTest::CliRun run = runWithRealPlugin(home, home.filePath(QStringLiteral("shot.png")));
        QVERIFY2(run.exitCode == 0, run.err.constData());

        const StoreFacts vumo = readStore(path);
        QCOMPARE(vumo.version, QStringLiteral("2.0"));
        QCOMPARE(vumo.titles, QStringList{QStringLiteral("老店's 商品")});
        // The added columns come last, in the order the upgrade steps add them.
        QCOMPARE(vumo.dataColumns.mid(vumo.dataColumns.size() - 5),
                 (QStringList{QStringLiteral("input_pids"), QStringLiteral("input_strs"), QStringLiteral("ad_content"),
                              QStringLiteral("brand_id"), QStringLiteral("upload_status")}));
        QVERIFY(vumo.tables.contains(QLatin1String("vumo_sku")));
    }
};

VUMO_TEST_CLASS(RealPluginTest)
#include "RealPluginTest.moc"
