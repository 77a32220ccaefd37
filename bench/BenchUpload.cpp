// The listing upload of 100 changed listings to the simulator with 20 ms per answer: first as
// new listings (one add each), then changed again (the online-time check and one update each).
// The reference is the same requests sent back to back from one thread without the store or the
// write-back; the share outside the network is what the upload spends beyond it. Prints one
// line; exit status 1 when a listing failed.
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/UserInfo.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "request/PopVumoGet.h"
#include "request/PopVumoUpdate.h"
#include "sync/VumoUploadThread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QThread>

#include <cstdio>
#include <memory>
#include <vector>

using Quorvia::vumo::VumoUploadThread;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

constexpr int kListings = 100;
constexpr int kLatencyMs = 20;

class ModifiedGet : public Quorvia::vumo::request::PopVumoGet
{
public:
    QStringList GetFields() const override { return {QStringLiteral("modified")}; }
};

VumoSkuEntity* Sku(const QString& attributes, qint64 price, const QString& outerId)
{
    auto* sku = new VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_yv_price(price);
    sku->set_stock_num(9);
    sku->set_status(2);
    sku->set_outer_id(outerId);
    return sku;
}

QStringList makeListings(Quorvia::vumo::database::VumoDbInterface& store)
{
    QStringList ids;
    for (int i = 0; i < kListings; ++i) {
        VumoDataEntity record;
        record.set_client_id(QStringLiteral("bench-%1").arg(i));
        record.set_title(QStringLiteral("基准商品 %1").arg(i));
        record.set_cid(1101);
        record.set_vumo_status(2014);
        record.set_status(2);
        record.set_upload_status(0);
        record.set_yv_price(1000 + i);
        record.set_market_price(5000);
        record.set_stock_num(18);
        record.set_desc(QStringLiteral("<p>描述 %1</p>").arg(i));
        record.AddSku(Sku(QStringLiteral("5002:101"), 1000 + i, QStringLiteral("B%1-1").arg(i)));
        record.AddSku(Sku(QStringLiteral("5002:102"), 1100 + i, QStringLiteral("B%1-2").arg(i)));
        if (store.SaveVumo(record))
            ids << record.client_id();
    }
    return ids;
}

// Wall time in ms of one upload run; `failed` counts the listings that did not go.
qint64 upload(const QStringList& ids, int& failed)
{
    VumoUploadThread thread(Quorvia::utils::AppShareHelp::instance()->GetUid());
    thread.SetClientIds(ids);
    QEventLoop loop;
    QObject::connect(&thread, &VumoUploadThread::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    thread.Start();
    loop.exec();
    const qint64 ms = clock.elapsed();
    failed = thread.Failed();
    return ms;
}

// The requests of the update run alone, from one thread: the online time, then the update.
qint64 requestsOnly(const std::vector<std::unique_ptr<VumoDataEntity>>& records)
{
    QEventLoop loop;
    QElapsedTimer clock;
    std::unique_ptr<QThread> sender(QThread::create([&records] {
        for (const auto& record : records) {
            ModifiedGet get;
            get.SetVumoId(record->vumo_id());
            get.SyncRequest(60000);
            Quorvia::vumo::request::PopVumoUpdate update;
            update.SetVumo(record.get());
            update.SyncRequest(180000);
        }
    }));
    QObject::connect(sender.get(), &QThread::finished, &loop, &QEventLoop::quit);
    clock.start();
    sender->start();
    loop.exec();
    const qint64 ms = clock.elapsed();
    sender->wait();
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    VumoTest::ListingFixture fixture(0);
    VumoTest::MarketplaceFixture market;
    const auto catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(3);
    if (!fixture.isValid() || !market.start(fixture.home(), &catalogue)) {
        std::fprintf(stderr, "bench_upload: cannot start: %s\n", qPrintable(market.error() + fixture.errorText()));
        return 1;
    }
    Quorvia::vumo::UserInfo::instance()->SetLogin(VumoTest::DemoLogin().Record());
    market.server().Control({{"latency_ms", kLatencyMs}});
    auto& store = *fixture.store();

    const QStringList ids = makeListings(store);
    int addFailed = 0, updateFailed = 0;
    const qint64 addMs = upload(ids, addFailed);
    for (const QString& id : ids)
        store.ExecSql(QStringLiteral("UPDATE vumo_data SET title=title || ' 改', upload_status=0 WHERE client_id='%1'")
                          .arg(id));
    const qint64 updateMs = upload(ids, updateFailed);

    std::vector<std::unique_ptr<VumoDataEntity>> records;
    for (const QString& id : ids) {
        auto record = std::make_unique<VumoDataEntity>();
        if (store.GetVumo(id, *record))
            records.push_back(std::move(record));
    }
    const qint64 networkMs = requestsOnly(records);
    market.stop();

    auto rate = [](int n, qint64 ms) { return n * 1000.0 / qMax<qint64>(ms, 1); };
    const double outside = updateMs > 0 ? qMax<qint64>(updateMs - networkMs, 0) * 100.0 / updateMs : 0.0;
    std::printf("upload %d changed listings (%d ms per answer): added %.1f listings/s, updated %.1f listings/s; "
                "the same update requests alone %.1f listings/s (%lld ms of %lld ms), ratio %.2f; share outside "
                "the network %.1f%%\n",
                int(ids.size()), kLatencyMs, rate(int(ids.size()), addMs), rate(int(ids.size()), updateMs),
                rate(int(records.size()), networkMs), networkMs, updateMs,
                rate(int(ids.size()), updateMs) / qMax(rate(int(records.size()), networkMs), 0.001), outside);
    return ids.size() == kListings && addFailed == 0 && updateFailed == 0 ? 0 : 1;
}
