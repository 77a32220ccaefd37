// The workbench with the real plug-in, as a seller starts it: an old store is upgraded in place
// with its rows kept, a missing one is created at the current schema, and the seller's folder
// appears. The schemas themselves are checked by the database tests.
#include "support/CliRun.h"
#include "support/SqlFile.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QFileInfo>
#include <QImage>
#include <QTest>

namespace {

QString storeVersion(const QString& path)
{
    return VumoTest::SqlFile(path)
        .column(QStringLiteral("select value from CONFIG where key='Version'"))
        .value(0)
        .toString();
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
    void oldStoreIsUpgradedAndMissingOneCreated()
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

        const QString shot = home.filePath(QStringLiteral("shot.png"));
        const VumoTest::CliRun run = VumoTest::RunCli(QStringLiteral(WORKBENCH_EXE), home.path(),
                                                      {QStringLiteral("--screenshot"), shot},
                                                      {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")},
                                                       {QStringLiteral("QUORVIA_SERVICE_DIR"), QString()}},
                                                      90000);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QImage image(shot);
        QVERIFY(image.width() >= 800 && image.height() >= 500);

        QCOMPARE(storeVersion(path), QStringLiteral("2.0"));
        {
            const VumoTest::SqlFile db(path);
            QCOMPARE(QVariant(db.column(QStringLiteral("select title from vumo_data"))).toStringList(),
                     QStringList{QStringLiteral("老店's 商品")});
            // The added columns come last, in the order the upgrade steps add them.
            const QStringList columns =
                QVariant(db.column(QStringLiteral("select name from pragma_table_info('vumo_data') order by cid")))
                    .toStringList();
            QCOMPARE(
                columns.mid(columns.size() - 5),
                (QStringList{QStringLiteral("input_pids"), QStringLiteral("input_strs"), QStringLiteral("ad_content"),
                             QStringLiteral("brand_id"), QStringLiteral("upload_status")}));
        }
        QCOMPARE(storeVersion(storePath(home, QStringLiteral("Category"))), QStringLiteral("2.0"));
        QVERIFY(QFileInfo(home.filePath(QStringLiteral("users/demo_seller/plugin/商品管理"))).isDir());
    }
};

VUMO_TEST_CLASS(RealPluginTest)
#include "RealPluginTest.moc"
