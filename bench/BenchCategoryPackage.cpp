// Storing the full category package of the simulator's "scale" seed as the download does (read
// and check the whole package, then one transaction) against the same rows written with plain
// prepared INSERTs in one transaction. Prints: job, our ms, plain-insert ms, ratio, then the
// peak memory of our run over the package size. Exit status 1 past a ratio of 2 or a peak of
// 4 times the package.
#include "core/MarketGateway.h"
#include "core/MarketStore.h"
#include "database/CategoryDb.h"
#include "database/DbConnection.h"
#include "sync/CategoryPackage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>

using namespace Quorvia::vumo::database;
using Quorvia::vumo::sync::CategoryPackage;

namespace {

constexpr double kTargetRatio = 2.0;
constexpr double kTargetMemory = 4.0;

// The package as the simulator serves it for version 0.
QByteArray FullPackage(const QString& dataDir)
{
    using namespace Quorvia::marketplace;
    MarketStore store;
    if (!store.Open(dataDir) || !store.LoadCatalogue(MakeSeedCatalogue(QStringLiteral("scale"), 0)))
        return QByteArray();
    MarketGateway gateway(store);
    const SeedSeller& seller = store.Seller();
    GatewayRequest request;
    request.params = {{"method", "quorvia.incr.category.get"},
                      {"app_key", seller.appKey},
                      {"access_token", seller.accessToken},
                      {"timestamp", "2024-01-01 00:00:00"},
                      {"v", "1.0"},
                      {"orvane_param_json", R"({"vender_id":"1","event_type":"1","category_version":"0"})"}};
    request.params.insert("sign", MarketGateway::Sign(request.params, seller.appSecret));
    return gateway.Handle(request).body;
}

// "VmRSS" or "VmHWM" of this process in bytes.
qint64 Memory(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

std::shared_ptr<DbConnection> Store(const QString& path)
{
    auto connection = DbConnection::OpenFile(path);
    if (!connection || !CategoryDb(connection).CheckDatabase())
        return nullptr;
    return connection;
}

bool PlainInsert(QSqlDatabase db, const QVector<CategoryRecordRows>& records)
{
    QSqlQuery c(db), a(db), v(db), g(db);
    if (!c.prepare(QStringLiteral("INSERT INTO vender_shop_category VALUES (?,?,?,?,?,?,?)"))
        || !a.prepare(QStringLiteral("INSERT INTO vumo_category VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"))
        || !v.prepare(QStringLiteral("INSERT INTO vumo_category_attribute VALUES (?,?,?,?,?,?)"))
        || !g.prepare(QStringLiteral("INSERT INTO vumo_attribute_groups VALUES (?,?,?,?,?)")) || !db.transaction())
        return false;
    const auto exec = [](QSqlQuery& q, const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        return q.exec();
    };
    for (const CategoryRecordRows& r : records) {
        const CategoryRow& k = r.category;
        bool ok = exec(c, {k.id, k.index_id, k.fid, k.name, k.is_parent, k.status, k.lev});
        for (const AttributeGroupRow& x : r.groups)
            ok = ok && exec(g, {x.group_id, x.cid, x.name, x.status, x.index_id});
        for (const CategoryAttributeRow& x : r.attributes)
            ok = ok
                && exec(a,
                        {x.aid, x.name, x.cid, x.is_key_prop, x.is_sale_prop, x.index_id, x.status, x.att_type,
                         x.input_type, x.is_req, x.is_fet, x.is_nav, x.group_id, x.features});
        for (const AttributeValueRow& x : r.values)
            ok = ok && exec(v, {x.aid, x.vid, x.name, x.status, x.index_id, x.features});
        if (!ok)
            return false;
    }
    return db.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 2;
    qint64 packageBytes = 0;
    {
        const QByteArray body = FullPackage(dir.filePath(QStringLiteral("market")));
        QFile file(dir.filePath(QStringLiteral("package")));
        if (body.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(body) != body.size())
            return 2;
        packageBytes = body.size();
    }

    // Ours: from the received bytes to the committed store; the peak over what was in use
    // before the bytes arrived.
    QFile::copy(dir.filePath(QStringLiteral("package")), dir.filePath(QStringLiteral("copy"))); // warm page cache
    auto ours = Store(dir.filePath(QStringLiteral("ours.db")));
    // What building the package freed goes back to the system, so our run cannot hide in it.
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5"); // resets the peak
    clear.close();
    const qint64 before = Memory("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    int records = 0;
    {
        QFile file(dir.filePath(QStringLiteral("package")));
        QByteArray body = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        CategoryPackage package;
        QString error;
        if (!ours || !Quorvia::vumo::sync::ReadCategoryPackage(body, package, error)) {
            std::fprintf(stderr, "package not read: %s\n", qPrintable(error));
            return 2;
        }
        body = QByteArray();
        if (!CategoryDb(ours).ApplyCategoryRecords(package.records, true)) {
            std::fprintf(stderr, "package not stored\n");
            return 2;
        }
        records = int(package.records.size());
    }
    const qint64 oursMs = timer.elapsed();
    const qint64 peak = Memory("VmHWM:") - before;

    // The reference: the same rows, already read, each bound into a plain INSERT.
    CategoryPackage package;
    {
        QFile file(dir.filePath(QStringLiteral("package")));
        QString error;
        file.open(QIODevice::ReadOnly);
        Quorvia::vumo::sync::ReadCategoryPackage(file.readAll(), package, error);
    }
    auto reference = Store(dir.filePath(QStringLiteral("reference.db")));
    timer.restart();
    if (!reference || !PlainInsert(reference->database(), package.records)) {
        std::fprintf(stderr, "reference insert failed\n");
        return 2;
    }
    const qint64 referenceMs = qMax<qint64>(1, timer.elapsed());

    const double ratio = double(oursMs) / double(referenceMs);
    const double memory = double(peak) / double(packageBytes);
    std::printf("category package (%d categories, %.1f MB): %lld ms, plain insert %lld ms, ratio %.2f (goal <= %.1f); "
                "peak memory %.1f MB = %.2f x package (goal < %.0f)\n",
                records, packageBytes / 1048576.0, oursMs, referenceMs, ratio, kTargetRatio, peak / 1048576.0, memory,
                kTargetMemory);
    return ratio <= kTargetRatio && memory < kTargetMemory ? 0 : 1;
}
