// The demo listings: believable and complete enough to look at every class of the view, the
// same on every run, and reachable from vumo-cli for screenshots.
#include "support/CliRun.h"
#include "support/ListingFixture.h"
#include "support/SqlFile.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "entity/VumoStatus.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

using namespace Quorvia::vumo;
using Quorvia::vumo::database::VumoDemoSummary;
using VumoTest::CliRun;
using VumoTest::ListingFixture;

namespace {

CliRun runCli(const QString& home, const QStringList& args)
{
    return VumoTest::RunCli(QStringLiteral(VUMO_CLI), home, args, 120000);
}

qint64 count(ListingFixture& f, const QString& condition)
{
    qint64 n = -1;
    if (!f.store()->CountVumos(condition, n))
        return -1;
    return n;
}

} // namespace

class TestDemoStore : public QObject
{
    Q_OBJECT

private slots:

    void listingsHoldTogether()
    {
        // What a marketplace listing of the store always satisfies.
        QSet<qint64> vumoIds;
        for (int i = 0; i < 500; ++i) {
            auto r = database::MakeDemoListing(i);
            QVERIFY(!r->title().trimmed().isEmpty());
            QVERIFY(r->min_yvprice() <= r->max_yvprice());
            QCOMPARE(r->yv_price(), r->min_yvprice());
            QVERIFY(r->market_price() >= r->max_yvprice());
            QVERIFY(r->cost_price() >= 0 && r->cost_price() <= r->yv_price());
            QVERIFY(r->stock_num() >= 0);
            qint64 skuStock = 0;
            for (const auto* sku : r->Skus()) {
                QVERIFY(sku->yv_price() >= r->min_yvprice() && sku->yv_price() <= r->max_yvprice());
                skuStock += sku->stock_num();
            }
            if (!r->Skus().isEmpty())
                QCOMPARE(r->stock_num(), skuStock);
            const bool online = entity::IsMarketplaceVumoStatus(r->vumo_status());
            if (online) {
                QVERIFY(r->vumo_id() >= 1000000000LL && r->vumo_id() <= 9999999999LL);
                QVERIFY(!vumoIds.contains(r->vumo_id()));
                vumoIds.insert(r->vumo_id());
            }
            if (r->vumo_status() == entity::VUMO_STATUS_TEMPLATE) {
                QCOMPARE(r->vumo_id(), 0);
                QVERIFY(!r->template_name().isEmpty());
            } else {
                QVERIFY(r->template_name().isEmpty());
            }
            if (r->vumo_status() == entity::VUMO_STATUS_LOCAL_STORE)
                QCOMPARE(r->vumo_id(), 0);
            QCOMPARE(r->upload_status() == 2, !r->error_msg().isEmpty());
        }
    }

    void filledStoreCoversEveryClass()
    {
        ListingFixture f(400);
        QVERIFY2(f.isValid(), qPrintable(f.errorText()));
        const VumoDemoSummary& summary = f.summary();
        QCOMPARE(summary.listings, 400);
        QCOMPARE(summary.sellerCategories, 13);
        QCOMPARE(count(f, QStringLiteral("1=1")), 400);
        const QList<int> codes = {1, 2, 4, 8, 513, 514, 516, 520, 1026, 1028, 2013, 2014, 2015};
        int total = 0;
        for (int code : codes) {
            const qint64 n = count(f, QStringLiteral("vumo_status=%1").arg(code));
            QVERIFY2(n > 0, qPrintable(QStringLiteral("no listing with status %1").arg(code)));
            QCOMPARE(n, qint64(summary.byStatus.value(code)));
            total += int(n);
        }
        QCOMPARE(total, 400);
        QCOMPARE(count(f, QStringLiteral("shop_categorys=''")), qint64(summary.withoutShopCategory));
        QVERIFY(summary.withoutShopCategory > 0);
        QVERIFY(count(f, QStringLiteral("min_yvprice<>max_yvprice")) > 0);
        QVERIFY(count(f, QStringLiteral("upload_status=0")) > 0);
        QVERIFY(count(f, QStringLiteral("upload_status=2 AND error_msg<>''")) > 0);
    }

    void fillingAgainRewritesInsteadOfAdding()
    {
        ListingFixture f(50);
        QVERIFY(f.isValid());
        QVERIFY(f.fill(80));
        QCOMPARE(count(f, QStringLiteral("1=1")), 80);
        QCOMPARE(count(f, QStringLiteral("client_id='demo-000049'")), 1);
        QString error;
        QVERIFY(!database::FillDemoStore(*f.store(), -1, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(count(f, QStringLiteral("1=1")), 80);
    }

    void cliFillsTheSellersStore()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const CliRun run = runCli(home.path(), {QStringLiteral("fill-demo-store"), QStringLiteral("60")});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(QString::fromUtf8(run.out).contains(QStringLiteral("演示商品 60 个")));
        const VumoTest::SqlFile db(home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/Vumo.db")));
        QCOMPARE(db.column(QStringLiteral("SELECT COUNT(*) FROM vumo_data")).value(0).toInt(), 60);
        QCOMPARE(
            db.column(QStringLiteral("SELECT title FROM vumo_data WHERE client_id='demo-000003'")).value(0).toString(),
            database::MakeDemoListing(3)->title());
    }

    // A store of a newer release, or a damaged one, is named and left as it was.
    void cliRefusesStoresItMustNotWrite()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        const QString path = home.filePath(QStringLiteral("users/demo_seller/databases/商品管理/Vumo.db"));
        QVERIFY(VumoTest::SqlFile(path).exec(
            {QStringLiteral("PRAGMA journal_mode=DELETE"),
             QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)"),
             QStringLiteral("INSERT INTO CONFIG VALUES ('Version','9.9')")}));
        const QByteArray newer = VumoTest::ReadBytes(path);
        CliRun run = runCli(home.path(), {QStringLiteral("fill-demo-store"), QStringLiteral("5")});
        QCOMPARE(run.exitCode, 1);
        QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.contains(QStringLiteral("商品数据库文件来自更新版本")), qPrintable(err));
        QVERIFY(err.contains(QDir::toNativeSeparators(path)));
        QCOMPARE(VumoTest::ReadBytes(path), newer);

        QFile::remove(path);
        QVERIFY(VumoTest::WriteBytes(path, QByteArray(2048, 'x')));
        run = runCli(home.path(), {QStringLiteral("fill-demo-store"), QStringLiteral("5")});
        QCOMPARE(run.exitCode, 1);
        err = QString::fromUtf8(run.err);
        QVERIFY2(err.contains(QStringLiteral("商品数据库文件已损坏")), qPrintable(err));
        QCOMPARE(VumoTest::ReadBytes(path), QByteArray(2048, 'x'));
    }

    void cliRefusesBadCountsAndMissingLogin()
    {
        VumoTest::TempHome home;
        const CliRun noLogin = runCli(home.path(), {QStringLiteral("fill-demo-store"), QStringLiteral("5")});
        QCOMPARE(noLogin.exitCode, 1);
        QVERIFY(!noLogin.err.isEmpty());
        home.writeLogin();
        for (const QString& bad : {QStringLiteral("abc"), QStringLiteral("-4")}) {
            const CliRun run = runCli(home.path(), {QStringLiteral("fill-demo-store"), bad});
            QCOMPARE(run.exitCode, 2);
            QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("商品数量")));
        }
    }
};

VUMO_TEST_CLASS(TestDemoStore)
#include "TestDemoStore.moc"
