// Creation and upgrade of the listing database.
#include "VumoStoreFixture.h"
#include "support/ListingFixture.h"
#include "support/SqlFile.h"
#include "support/TestMain.h"

#include <QSqlQuery>
#include <QTest>

using namespace VumoTest;

namespace {

// Records every batch the store runs, so the upgrade steps can be seen.
class RecordingVumoDb : public VumoDb
{
public:
    using VumoDb::VumoDb;
    bool UpdateExecBatchSql(const QStringList& statements) override
    {
        batches << statements;
        if (!failOn.isEmpty() && statements.join(QLatin1Char(' ')).contains(failOn))
            return false;
        return VumoDb::UpdateExecBatchSql(statements);
    }
    QList<QStringList> batches;
    QString failOn;
};

QStringList columnsOf(const StoreFixture& f, const QString& table)
{
    QStringList names;
    QSqlQuery q(f.db());
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next())
        names << q.value(1).toString();
    return names;
}

QString alter(const QString& column, const QString& type)
{
    return QStringLiteral("ALTER table vumo_data add %1 %2 ").arg(column, type);
}

// The columns later releases added, in order (the last step of an old store may be missing).
const QStringList kLaterColumns = {QStringLiteral("input_pids text"), QStringLiteral("input_strs text"),
                                   QStringLiteral("ad_content text"), QStringLiteral("brand_id INTEGER DEFAULT 0"),
                                   QStringLiteral("upload_status INTEGER DEFAULT -1")};

// A 1.4 store with a listing, the first `added` later columns, and `version` in CONFIG (none
// when null).
void makeOldDatabase(StoreFixture& f, int added, const QString& version)
{
    for (const QString& statement : Release14ListingStore())
        QVERIFY2(f.exec(statement), qPrintable(statement));
    QVERIFY(f.exec(QStringLiteral("INSERT INTO vumo_data (client_id, vumo_id, title) VALUES ('old-1', 77, '旧商品')")));
    for (const QString& column : kLaterColumns.mid(0, added))
        QVERIFY(f.exec(QStringLiteral("ALTER TABLE vumo_data ADD ") + column));
    if (!version.isNull())
        QVERIFY(f.exec(QStringLiteral("INSERT INTO CONFIG VALUES ('Version','%1')").arg(version)));
}

} // namespace

class TestVumoSchema : public QObject
{
    Q_OBJECT
private slots:
    void newDatabaseHasEveryTableAndVersion()
    {
        StoreFixture f;
        auto* store = f.make<RecordingVumoDb>();
        QVERIFY(store->CheckDatabase());

        QStringList tables;
        QSqlQuery q(f.db());
        QVERIFY(q.exec(QStringLiteral("select name from sqlite_master where type='table' order by name")));
        while (q.next())
            tables << q.value(0).toString();
        QCOMPARE(tables,
                 QStringList(
                     {"CONFIG", "seller_category", "synccomment", "vumo_data", "vumo_ext", "vumo_image", "vumo_sku"}));
        QString version;
        QVERIFY(store->GetConfig(QStringLiteral("Version"), version));
        QCOMPARE(version, QStringLiteral("2.0"));
        // No upgrade ran: no batch, and the later columns sit where the create statement puts them.
        QVERIFY(store->batches.isEmpty());
        const QStringList columns = columnsOf(f, QStringLiteral("vumo_data"));
        QCOMPARE(columns.indexOf(QStringLiteral("brand_id")), 4);
        QCOMPARE(columns.last(), QStringLiteral("is_vumoinfo_complete"));

        // A second check on the same file changes nothing.
        QVERIFY(store->CheckDatabase());
        QVERIFY(store->batches.isEmpty());
    }

    void upgradeRunsTheStepsBelowTheStoredVersion_data()
    {
        QTest::addColumn<int>("added");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QList<QStringList>>("expected");
        const QStringList step15 = {alter("input_pids", "text"), alter("input_strs", "text")};
        const QStringList step17 = {alter("ad_content", "text")};
        const QStringList step19 = {alter("brand_id", "INTEGER DEFAULT 0")};
        const QStringList step20 = {alter("upload_status", "INTEGER DEFAULT -1")};
        QTest::newRow("1.4") << 0 << "1.4" << QList<QStringList>{step15, step17, step19, step20};
        QTest::newRow("1.7") << 3 << "1.7" << QList<QStringList>{step19, step20};
        QTest::newRow("1.9") << 4 << "1.9" << QList<QStringList>{step20};
        QTest::newRow("2.0") << 5 << "2.0" << QList<QStringList>{};
        // Without a version every step is due, but the columns are there: nothing may fail.
        QTest::newRow("no version, all columns") << 5 << QString() << QList<QStringList>{};
        // An upgrade cut short earlier: only what is still missing is added.
        QTest::newRow("1.4, half done") << 1 << "1.4"
                                        << QList<QStringList>{{alter("input_strs", "text")}, step17, step19, step20};
    }

    void upgradeRunsTheStepsBelowTheStoredVersion()
    {
        QFETCH(int, added);
        QFETCH(QString, version);
        QFETCH(QList<QStringList>, expected);
        StoreFixture f;
        makeOldDatabase(f, added, version);
        auto* store = f.make<RecordingVumoDb>();
        QVERIFY(store->CheckDatabase());
        QCOMPARE(store->batches, expected);

        QString stored;
        QVERIFY(store->GetConfig(QStringLiteral("Version"), stored));
        QCOMPARE(stored, QStringLiteral("2.0"));
        QCOMPARE(f.scalar(QStringLiteral("SELECT title FROM vumo_data WHERE client_id='old-1'")).toString(),
                 QStringLiteral("旧商品"));
        // The listing is readable through every column the store uses.
        QList<VUMO_LIST_STRUCT> rows;
        QVERIFY(store->QueryVumoRows(ListingFixture::TableQuery(), rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().vumo_id, 77);
        QCOMPARE(rows.first().upload_status, -1);
    }

    void failedStepStopsAndKeepsTheOldVersion()
    {
        StoreFixture f;
        makeOldDatabase(f, 2, QStringLiteral("1.6"));
        {
            auto* store = f.make<RecordingVumoDb>();
            store->failOn = QStringLiteral("brand_id");
            QVERIFY(!store->CheckDatabase());
            // 1.7 ran, 1.9 failed, 2.0 never started.
            QCOMPARE(store->batches.size(), 2);
            QString stored;
            QVERIFY(store->GetConfig(QStringLiteral("Version"), stored));
            QCOMPARE(stored, QStringLiteral("1.6"));
            const QStringList columns = columnsOf(f, QStringLiteral("vumo_data"));
            QVERIFY(columns.contains(QStringLiteral("ad_content")));
            QVERIFY(!columns.contains(QStringLiteral("upload_status")));
        }
        // The next start finishes the job without repeating the column already added.
        auto* store = f.make<RecordingVumoDb>();
        QVERIFY(store->CheckDatabase());
        QCOMPARE(store->batches,
                 (QList<QStringList>{{alter("brand_id", "INTEGER DEFAULT 0")},
                                     {alter("upload_status", "INTEGER DEFAULT -1")}}));
        QString stored;
        QVERIFY(store->GetConfig(QStringLiteral("Version"), stored));
        QCOMPARE(stored, QStringLiteral("2.0"));
    }

    void noConnectionFailsCleanly()
    {
        auto connection = std::make_shared<DbConnection>(QSqlDatabase());
        VumoDb store(connection);
        QVERIFY(!store.CheckDatabase());
        auto record = makeListing(QStringLiteral("c1"), 1);
        QVERIFY(!store.SaveVumo(*record));
        QVERIFY(!store.SaveDownloadedVumo(*record));
        VumoDataEntity read;
        QVERIFY(!store.GetVumo(QStringLiteral("c1"), read));
        qint64 count = -1;
        QVERIFY(!store.CountVumos(QStringLiteral("1=1"), count));
        QVERIFY(!store.UpdateExecBatchSql({QStringLiteral("SELECT 1")}));
        QVERIFY(!store.Transaction());
    }
};

VUMO_TEST_CLASS(TestVumoSchema)
#include "TestVumoSchema.moc"
