// The listing download of the demo catalogue from the simulator with 20 ms per answer: four
// workers against one, in the same run. Prints: job, listings/s with 4 workers, listings/s with
// one, their ratio, the same with the pictures already on disk, and the store's share of the
// one-worker run (the same listings stored again on one thread). Exit status 1 when the first
// ratio is below 3.5.
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "plugin/UserInfo.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/VumoDownloadThread.h"
#include "utils/SellerPaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>

#include <cstdio>
#include <memory>

using Quorvia::vumo::VumoDownloadThread;
using Quorvia::vumo::entity::VumoDataEntity;

namespace {

constexpr double kTarget = 3.5;
constexpr int kLatencyMs = 20;

// Empties the store and, when asked, the picture folder.
void wipe(Quorvia::vumo::database::VumoDbInterface& store, bool pictures)
{
    for (const char* table : {"vumo_data", "vumo_ext", "vumo_sku", "vumo_image"})
        store.ExecSql(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    if (pictures)
        QDir(Quorvia::utils::SellerImageFolder(Quorvia::utils::AppShareHelp::instance()->GetUid())).removeRecursively();
}

// Wall time in ms of one download of everything; `stored` counts the listings stored.
qint64 download(int workers, int& stored, QStringList& clientIds)
{
    VumoDownloadThread thread(Quorvia::utils::AppShareHelp::instance()->GetUid(), workers);
    thread.SetCondition({});
    stored = 0;
    QObject::connect(&thread, &VumoDownloadThread::OnVumoHandleFinishedSignal, &thread,
                     [&stored, &clientIds](VumoDataEntity* record) {
                         ++stored;
                         clientIds << record->client_id();
                         delete record;
                     });
    QEventLoop loop;
    QObject::connect(&thread, &VumoDownloadThread::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    thread.start();
    loop.exec();
    const qint64 ms = clock.elapsed();
    QCoreApplication::sendPostedEvents(&thread);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    VumoTest::ListingFixture fixture(0);
    VumoTest::MarketplaceFixture market;
    if (!fixture.isValid() || !market.start(fixture.home())) {
        std::fprintf(stderr, "bench_download: cannot start: %s\n", qPrintable(market.error() + fixture.errorText()));
        return 1;
    }
    Quorvia::vumo::UserInfo::instance()->SetLogin(VumoTest::DemoLogin().Record());
    market.server().Control({{"latency_ms", kLatencyMs}});
    auto& store = *fixture.store();

    int storedOne = 0, storedFour = 0, stored = 0;
    QStringList ids, ignored;
    // One pass first, so the simulator has drawn every picture before the timed runs: its
    // drawing is the stand-in's cost, not the download's.
    download(4, stored, ignored);
    wipe(store, true);
    const qint64 oneMs = download(1, storedOne, ids);
    // The store's part: the same listings read and stored again on one thread.
    QElapsedTimer clock;
    clock.start();
    for (const QString& id : std::as_const(ids)) {
        VumoDataEntity record;
        if (store.GetVumo(id, record))
            store.SaveDownloadedVumo(record);
    }
    const qint64 storeMs = clock.elapsed();
    wipe(store, true);
    const qint64 fourMs = download(4, storedFour, ignored);
    // With the pictures already on disk only the listing calls are left.
    wipe(store, false);
    const qint64 warmOneMs = download(1, stored, ignored);
    wipe(store, false);
    const qint64 warmFourMs = download(4, stored, ignored);
    market.stop();

    auto rate = [](int n, qint64 ms) { return n * 1000.0 / qMax<qint64>(ms, 1); };
    const double one = rate(storedOne, oneMs);
    const double four = rate(storedFour, fourMs);
    const double ratio = one > 0 ? four / one : 0;
    std::printf("download demo catalogue (%d listings, %d ms per answer): 4 workers %.1f listings/s, 1 worker "
                "%.1f listings/s, ratio %.2f (goal >= %.1f); pictures already fetched: %.1f vs %.1f listings/s, "
                "ratio %.2f; store share of the 1-worker run %.1f%% (stored again in %lld ms of %lld ms)\n",
                storedOne, kLatencyMs, four, one, ratio, kTarget, rate(stored, warmFourMs), rate(stored, warmOneMs),
                rate(stored, warmFourMs) / qMax(rate(stored, warmOneMs), 0.001),
                oneMs > 0 ? storeMs * 100.0 / oneMs : 0.0, storeMs, oneMs);
    return storedOne > 0 && storedOne == storedFour && ratio >= kTarget ? 0 : 1;
}
