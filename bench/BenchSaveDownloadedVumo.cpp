// Storing downloaded listings one transaction each, as the download does, against the same
// rows written with plain prepared INSERTs in one transaction.
// Prints: job, our ms, plain-insert ms, ratio (like for like: both in one transaction), then the
// figure with one transaction per listing. Exit status 1 when the first ratio is above 3.
#include "database/DbConnection.h"
#include "database/VumoDb.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using Quorvia::vumo::database::DbConnection;
using Quorvia::vumo::database::VumoDb;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoImgEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

int kListings = 30000; // an argument may lower it for profiling
constexpr int kSkus = 3;
constexpr int kPictures = 2;
constexpr double kTarget = 3.0;

std::unique_ptr<VumoDataEntity> makeListing(int n)
{
    auto r = std::make_unique<VumoDataEntity>();
    r->set_client_id(QStringLiteral("{%1-bench-listing}").arg(n, 8, 10, QLatin1Char('0')));
    r->set_vumo_id(1000000000LL + n);
    r->set_cid(600 + n % 50);
    r->set_title(QStringLiteral("不锈钢保温杯 500ml 第%1款").arg(n));
    r->set_ad_content(QStringLiteral("限时特价"));
    r->set_item_num(QStringLiteral("ITEM-%1").arg(n));
    r->set_logo(QStringLiteral("logo-%1.jpg").arg(n));
    r->set_desc(QStringLiteral("<p>商品描述 %1</p><img src=\"http://img.example/%1.jpg\"/>").arg(n));
    r->set_weight(0.5);
    r->set_length(10);
    r->set_wide(10);
    r->set_high(20);
    r->set_market_price(5900);
    r->set_yv_price(3900);
    r->set_min_yvprice(3900);
    r->set_max_yvprice(3900);
    r->set_stock_num(100);
    r->set_vumo_status(8);
    r->set_status(2);
    r->set_upload_status(1);
    r->set_attributes(QStringLiteral("1001:2001|1002:2002"));
    r->set_modified(QDateTime(QDate(2024, 1, 1), QTime(8, 0)).addSecs(n));
    r->set_created(QDateTime(QDate(2023, 1, 1), QTime(8, 0)));
    r->set_pack_listing(QStringLiteral("杯子x1"));
    r->set_service(QStringLiteral("全国联保"));
    for (int s = 0; s < kSkus; ++s) {
        auto* sku = new VumoSkuEntity;
        sku->set_vumo_id(r->vumo_id());
        sku->set_sku_id(r->vumo_id() * 10 + s);
        sku->set_status(2);
        sku->set_attributes(QStringLiteral("1:%1^2:1").arg(s));
        sku->set_stock_num(30);
        sku->set_yv_price(3900);
        sku->set_market_price(5900);
        sku->set_outer_id(QStringLiteral("SKU-%1-%2").arg(n).arg(s));
        r->AddSku(sku);
    }
    for (int p = 0; p < kPictures; ++p) {
        auto* img = new VumoImgEntity;
        img->set_name(QStringLiteral("pic-%1-%2.jpg").arg(n).arg(p));
        img->set_img_url(QStringLiteral("jfs/t1/%1/%2.jpg").arg(n).arg(p));
        img->set_is_main(p == 0);
        img->set_index_id(p);
        img->set_img_id(r->vumo_id() * 10 + p);
        r->AddImage(img);
    }
    return r;
}

QSqlDatabase openStore(const QString& path, std::shared_ptr<DbConnection>& connection, std::unique_ptr<VumoDb>& store)
{
    connection = DbConnection::OpenFile(path);
    if (!connection)
        return QSqlDatabase();
    store = std::make_unique<VumoDb>(connection);
    if (!store->CheckDatabase())
        return QSqlDatabase();
    return connection->database();
}

// The reference: every column of every row bound by hand from the records into one prepared
// INSERT per table, all in one transaction.
bool plainInsert(QSqlDatabase db, const std::vector<std::unique_ptr<VumoDataEntity>>& listings)
{
    QSqlQuery data(db);
    QSqlQuery ext(db);
    QSqlQuery sku(db);
    QSqlQuery img(db);
    const bool prepared =
        data.prepare(QStringLiteral(
            "INSERT INTO vumo_data (client_id,vumo_id,spu_id,cid,brand_id,shop_categorys,title,upc_code,vumo_status,"
            "item_num,length,wide,high,weight,cost_price,market_price,yv_price,min_yvprice,max_yvprice,desc,logo,"
            "stock_num,property_alias,attributes,input_pids,input_strs,created,modified,outer_id,status,transport_id,"
            "online_time,offline_time,template_name,ad_content,is_pay_first,is_shelf_life,is_imported,is_can_vat,"
            "is_special_wet,is_appliances_card,is_health_product,is_serial_no,shelf_life_days,vumo_big_small_model,"
            "vumo_pack_type,error_msg,upload_status,is_vumoinfo_complete) VALUES "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"))
        && ext.prepare(QStringLiteral("INSERT INTO vumo_ext (client_id,vumo_id,producter,wrap,pack_listing,service) "
                                      "VALUES (?,?,?,?,?,?)"))
        && sku.prepare(
            QStringLiteral("INSERT INTO vumo_sku (client_id,vumo_id,sku_id,status,attributes,stock_num,yv_price,"
                           "cost_price,market_price,outer_id,created,modified) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"))
        && img.prepare(QStringLiteral("INSERT INTO vumo_image (name,img_url,is_main,state,index_id,color_id,client_id,"
                                      "img_id,is_online_mainPic) VALUES (?,?,?,?,?,?,?,?,?)"));
    if (!prepared || !db.transaction())
        return false;
    const QString fmt = QStringLiteral("yyyy-MM-ddThh:mm:ss");
    for (const auto& r : listings) {
        auto t = [&fmt](const QDateTime& dt) { return dt.isValid() ? dt.toString(fmt) : QString(); };
        const QVariantList values = {r->client_id(),
                                     r->vumo_id(),
                                     r->spu_id(),
                                     r->cid(),
                                     r->brand_id(),
                                     r->shop_categorys(),
                                     r->title(),
                                     r->upc_code(),
                                     r->vumo_status(),
                                     r->item_num(),
                                     r->length(),
                                     r->wide(),
                                     r->high(),
                                     r->weight(),
                                     r->cost_price(),
                                     r->market_price(),
                                     r->yv_price(),
                                     r->min_yvprice(),
                                     r->max_yvprice(),
                                     r->desc(),
                                     r->logo(),
                                     r->stock_num(),
                                     r->property_alias(),
                                     r->attributes(),
                                     r->input_pids(),
                                     r->input_strs(),
                                     t(r->created()),
                                     t(r->modified()),
                                     r->outer_id(),
                                     r->status(),
                                     r->transport_id(),
                                     t(r->online_time()),
                                     t(r->offline_time()),
                                     r->template_name(),
                                     r->ad_content(),
                                     int(r->is_pay_first()),
                                     int(r->is_shelf_life()),
                                     int(r->is_imported()),
                                     int(r->is_can_vat()),
                                     int(r->is_special_wet()),
                                     int(r->is_appliances_card()),
                                     int(r->is_health_product()),
                                     int(r->is_serial_no()),
                                     r->shelf_life_days(),
                                     r->vumo_big_small_model(),
                                     r->vumo_pack_type(),
                                     r->error_msg(),
                                     r->upload_status(),
                                     1};
        for (int i = 0; i < values.size(); ++i)
            data.bindValue(i, values.at(i));
        if (!data.exec())
            return false;
        const QVariantList extValues = {r->client_id(), r->vumo_id(),      r->producter(),
                                        r->wrap(),      r->pack_listing(), r->service()};
        for (int i = 0; i < extValues.size(); ++i)
            ext.bindValue(i, extValues.at(i));
        if (!ext.exec())
            return false;
        for (const VumoSkuEntity* s : r->Skus()) {
            const QVariantList v = {r->client_id(),    s->vumo_id(),   s->sku_id(),     s->status(),
                                    s->attributes(),   s->stock_num(), s->yv_price(),   s->cost_price(),
                                    s->market_price(), s->outer_id(),  t(s->created()), t(s->modified())};
            for (int i = 0; i < v.size(); ++i)
                sku.bindValue(i, v.at(i));
            if (!sku.exec())
                return false;
        }
        for (const VumoImgEntity* p : r->Images().value(0)) {
            const QVariantList v = {p->name(),      p->img_url(),  p->is_main() ? 1 : 0,
                                    p->state(),     p->index_id(), p->color_id(),
                                    r->client_id(), p->img_id(),   p->is_online_mainPic()};
            for (int i = 0; i < v.size(); ++i)
                img.bindValue(i, v.at(i));
            if (!img.exec())
                return false;
        }
    }
    return db.commit();
}

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

qint64 rowsIn(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM vumo_data)+(SELECT COUNT(*) FROM vumo_ext)"
                          "+(SELECT COUNT(*) FROM vumo_sku)+(SELECT COUNT(*) FROM vumo_image)"));
    return q.next() ? q.value(0).toLongLong() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0)
        kListings = QByteArray(argv[1]).toInt();
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    qputenv("QUORVIA_HOME", dir.path().toLocal8Bit());

    std::vector<std::unique_ptr<VumoDataEntity>> listings;
    listings.reserve(kListings);
    for (int n = 0; n < kListings; ++n)
        listings.push_back(makeListing(n));
    const qint64 expectedRows = qint64(kListings) * (2 + kSkus + kPictures);

    qint64 referenceMs = 0;
    double referenceCpu = 0;
    {
        std::shared_ptr<DbConnection> connection;
        std::unique_ptr<VumoDb> store;
        QSqlDatabase db = openStore(dir.filePath(QStringLiteral("reference.db")), connection, store);
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = cpuMs();
        if (!db.isOpen() || !plainInsert(db, listings) || rowsIn(db) != expectedRows) {
            std::fprintf(stderr, "reference insert failed\n");
            return 2;
        }
        referenceMs = timer.elapsed();
        referenceCpu = cpuMs() - cpu0;
    }

    // Ours, twice: inside one transaction of the caller (as a download worker holds one around
    // a page of listings; the same transaction setup as the reference, so the ratio is the
    // store's own cost), and with every call its own transaction (commit cost included).
    struct Run
    {
        qint64 ms = -1;
        double cpu = 0;
    };
    auto runOurs = [&](const QString& file, bool outerTransaction) {
        Run run;
        std::shared_ptr<DbConnection> connection;
        std::unique_ptr<VumoDb> store;
        QSqlDatabase db = openStore(dir.filePath(file), connection, store);
        if (!db.isOpen())
            return run;
        QElapsedTimer timer;
        timer.start();
        const double cpu0 = cpuMs();
        if (outerTransaction && !store->Transaction())
            return run;
        for (auto& r : listings) {
            if (!store->SaveDownloadedVumo(*r)) {
                std::fprintf(stderr, "SaveDownloadedVumo failed\n");
                return run;
            }
        }
        if (outerTransaction && !store->Commit())
            return run;
        const qint64 ms = timer.elapsed();
        const double cpu = cpuMs() - cpu0;
        if (rowsIn(db) != expectedRows) {
            std::fprintf(stderr, "stored %lld rows, expected %lld\n", rowsIn(db), expectedRows);
            return run;
        }
        run.ms = ms;
        run.cpu = cpu;
        return run;
    };
    const Run batched = runOurs(QStringLiteral("ours-batched.db"), true);
    const Run single = runOurs(QStringLiteral("ours-single.db"), false);
    if (batched.ms < 0 || single.ms < 0)
        return 2;

    const double ratio = referenceMs > 0 ? double(batched.ms) / double(referenceMs) : 0.0;
    const double singleRatio = referenceMs > 0 ? double(single.ms) / double(referenceMs) : 0.0;
    // Processor times show how much of a wall-clock ratio is waiting on a busy machine.
    std::printf("SaveDownloadedVumo %d listings x %d SKUs x %d pictures in one transaction, %lld ms, "
                "plain prepared insert in one transaction %lld ms, ratio %.2f (target <= %.1f; cpu %.0f/%.0f ms)\n",
                kListings, kSkus, kPictures, batched.ms, referenceMs, ratio, kTarget, batched.cpu, referenceCpu);
    std::printf("SaveDownloadedVumo %d listings, one transaction each, %lld ms, ratio %.2f to the plain insert "
                "(cpu %.0f ms; for information)\n",
                kListings, single.ms, singleRatio, single.cpu);
    return ratio <= kTarget ? 0 : 1;
}
