// The workbench with the real plug-in, as a seller starts it: a fresh home must come out with
// both stores at the current schema and the seller's folder; an old store is upgraded in place.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

struct Outcome
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString output;
};

Outcome runWithRealPlugin(const VumoTest::TempHome& home, const QString& shot)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("QUORVIA_LOGIN_FILE"));
    env.remove(QStringLiteral("QUORVIA_SERVICE_DIR"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(WORKBENCH_EXE), {QStringLiteral("--home"), home.path(), QStringLiteral("--screenshot"), shot});
    Outcome outcome;
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        outcome.output = QStringLiteral("<hung>");
        return outcome;
    }
    outcome.exitCode = process.exitCode();
    outcome.status = process.exitStatus();
    outcome.output = QString::fromUtf8(process.readAll());
    return outcome;
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

StoreFacts readStore(const QString& path)
{
    StoreFacts facts;
    const QString name = QStringLiteral("inspect-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("select name, type from sqlite_master where name not like 'sqlite_%' order by name"));
            while (q.next())
                (q.value(1).toString() == QLatin1String("table") ? facts.tables : facts.indexes) << q.value(0).toString();
            q.exec(QStringLiteral("select value from CONFIG where key='Version'"));
            if (q.next())
                facts.version = q.value(0).toString();
            if (facts.tables.contains(QLatin1String("vumo_data"))) {
                q.exec(QStringLiteral("select * from vumo_data"));
                const QSqlRecord record = q.record();
                for (int i = 0; i < record.count(); ++i)
                    facts.dataColumns << record.fieldName(i);
                while (q.next())
                    facts.titles << q.value(QStringLiteral("title")).toString();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
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
        const Outcome run = runWithRealPlugin(home, shot);
        QVERIFY2(run.status == QProcess::NormalExit && run.exitCode == 0, qPrintable(run.output));

        QImage image(shot);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 800 && image.height() >= 500);

        const StoreFacts vumo = readStore(storePath(home, QStringLiteral("Vumo")));
        QCOMPARE(vumo.tables, (QStringList{QStringLiteral("CONFIG"), QStringLiteral("seller_category"),
                                           QStringLiteral("synccomment"), QStringLiteral("vumo_data"),
                                           QStringLiteral("vumo_ext"), QStringLiteral("vumo_image"),
                                           QStringLiteral("vumo_sku")}));
        for (const char* index : {"vumodata_vumoid_index", "vumoext_vumoid_index", "vumosku_clientid_index",
                                  "vumosku_vumoid_index", "vumosku_skuid_index", "sync_comm_index"})
            QVERIFY2(vumo.indexes.contains(QLatin1String(index)), index);
        QCOMPARE(vumo.version, QStringLiteral("2.0"));

        const StoreFacts category = readStore(storePath(home, QStringLiteral("Category")));
        QCOMPARE(category.tables, (QStringList{QStringLiteral("CONFIG"), QStringLiteral("vender_shop_category"),
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
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        {
            // vumo_data as it was at 1.4: without input_pids, input_strs, ad_content, brand_id, upload_status.
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO CONFIG VALUES ('Version', '1.4')")));
            QVERIFY(q.exec(QStringLiteral(
                "CREATE TABLE vumo_data(client_id TEXT PRIMARY KEY ,vumo_id INTEGER,spu_id INTEGER,cid INTEGER,"
                "shop_categorys TEXT,title TEXT,upc_code TEXT,vumo_status INTEGER,item_num TEXT,length INTEGER,"
                "wide INTEGER,high INTEGER,weight REAL,cost_price INTEGER,market_price INTEGER,yv_price  INTEGER,"
                "desc BLOB,logo TEXT,stock_num INTEGER,property_alias TEXT,attributes TEXT,created INTEGER(8),"
                "modified INTEGER(8),outer_id TEXT,status INTEGER(1),transport_id INTEGER,online_time INTEGER(8),"
                "offline_time INTEGER(8),is_pay_first INTEGER(1),is_shelf_life INTEGER(1),is_imported INTEGER(1),"
                "is_can_vat  INTEGER(1),is_special_wet INTEGER(1),is_appliances_card INTEGER(1),"
                "is_health_product INTEGER(1),is_serial_no INTEGER(1),shelf_life_days INTEGER,"
                "vumo_big_small_model INTEGER,vumo_pack_type INTEGER,min_yvprice INTEGER,max_yvprice INTEGER,"
                "template_name TEXT,error_msg TEXT,is_vumoinfo_complete INTEGER(1))")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO vumo_data (client_id, vumo_id, title) VALUES ('c-1', 42, '老店''s 商品')")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));

        const Outcome run = runWithRealPlugin(home, home.filePath(QStringLiteral("shot.png")));
        QVERIFY2(run.status == QProcess::NormalExit && run.exitCode == 0, qPrintable(run.output));

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
