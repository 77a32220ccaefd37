// Parses and converts a 5 MB answer shaped like a page of listing answers, with our reader and,
// on the same bytes in the same run, with QJsonDocument::fromJson(..).toVariant(). Then the
// degenerate shapes (60 MB of tiny values, long strings of empty containers, wide objects): time
// and peak memory of each reader, each run once in a forked child of its own.
#include "network/utils/YvJsonParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QVariant>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

QByteArray Listing(int n)
{
    const QByteArray id = QByteArray::number(1000000000LL + n);
    QByteArray skus;
    for (int s = 0; s < 6; ++s) {
        if (s)
            skus += ',';
        skus += "{\"sku_id\":" + QByteArray::number(2000000000LL + n * 10 + s) + ",\"vumo_id\":" + id
            + ",\"attributes\":\"1001:" + QByteArray::number(s) + "^1002:" + QByteArray::number(s * 7)
            + "\",\"yv_price\":" + QByteArray::number(1999 + s) + ".50,\"stock_num\":" + QByteArray::number(100 + s)
            + ",\"outer_id\":\"SKU-" + id + "-" + QByteArray::number(s)
            + "\",\"status\":\"Valid\",\"color\":\"\\u7ea2\\u8272\",\"size\":\"XL\"}";
    }
    return "{\"vumo_get_response\":{\"code\":\"0\",\"vumo\":{\"vumo_id\":" + id + ",\"spu_id\":" + QByteArray::number(n)
        + ",\"cid\":9731,\"vender_id\":10001,"
          "\"shop_id\":20001,\"brand_id\":0,\"vumo_status\":8,"
          "\"title\":\"新款春季女装 连衣裙 \\\"热卖\\\" 第"
        + QByteArray::number(n)
        + "号\","
          "\"item_num\":\"A-"
        + id
        + "\",\"upc_code\":\"\",\"transport_id\":0,"
          "\"online_time\":\"2024-03-01 10:00:00\",\"offline_time\":\"\","
          "\"attributes\":\"1001:1|1002:7,8|1003:12\",\"desc\":\"<p>商品详情<img src=\\\"http://img.example/"
        + id
        + ".jpg\\\"/></p>\\n<p>第二段</p>\",\"producter\":\"某某厂\",\"wrap\":\"纸盒\","
          "\"cubage\":\"10*20*30\",\"pack_listing\":\"主机x1\",\"service\":\"全国联保\","
          "\"cost_price\":1200.00,\"market_price\":2999.99,\"yv_price\":1999.50,\"stock_num\":600,"
          "\"logo\":\"jfs/t1/"
        + id
        + ".jpg\",\"creator\":\"demo_seller\",\"status\":1,"
          "\"weight\":0.35,\"created\":\"2024-01-02 03:04:05\",\"modified\":\"2024-05-06 07:08:09\","
          "\"outer_id\":\"O-"
        + id
        + "\",\"shop_categorys\":\"11-12;13-14\",\"ad_content\":\"限时特惠\","
          "\"is_can_vat\":true,\"vumo_attribute\":null,\"property_alias\":\"1001:1:大红\","
          "\"skus\":["
        + skus
        + "],\"vumo_pack_type\":1,\"vumo_big_small_model\":0,"
          "\"is_appliances_card\":false,\"is_serial_no\":false,\"shelf_life_days\":365,"
          "\"is_shelf_life\":false,\"is_health_product\":false,\"is_imported\":false,"
          "\"is_special_wet\":false,\"is_pay_first\":true}}}";
}

QByteArray Document(qsizetype targetBytes)
{
    QByteArray doc = "{\"page\":1,\"answers\":[";
    for (int n = 0; doc.size() < targetBytes; ++n) {
        if (n)
            doc += ",\n";
        doc += Listing(n);
    }
    doc += "]}";
    return doc;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename Job>
double TimeMs(Job job)
{
    QElapsedTimer clock;
    clock.start();
    job();
    return double(clock.nsecsElapsed()) / 1e6;
}

// Repeats `item` (with `separator` between) inside `open`/`close` up to about `targetBytes`.
QByteArray Repeated(const char* open, const QByteArray& item, const char* separator, const char* close,
                    qsizetype targetBytes)
{
    QByteArray doc = open;
    doc.reserve(targetBytes + 64);
    for (int n = 0; doc.size() < targetBytes; ++n) {
        if (n)
            doc += separator;
        doc += item;
    }
    return doc + close;
}

QByteArray SmallIntegers(qsizetype targetBytes)
{
    QByteArray doc = "[";
    doc.reserve(targetBytes + 64);
    for (int n = 0; doc.size() < targetBytes; ++n) {
        if (n)
            doc += ',';
        doc += char('0' + n % 10);
    }
    return doc + "]";
}

QByteArray WideObject(qsizetype targetBytes)
{
    QByteArray doc = "{";
    doc.reserve(targetBytes + 64);
    for (int n = 0; doc.size() < targetBytes; ++n) {
        if (n)
            doc += ',';
        doc += "\"k" + QByteArray::number(n) + "\":" + QByteArray::number(n % 100);
    }
    return doc + "}";
}

struct ChildFigures
{
    double ms = -1;
    double peakMb = -1; // resident high-water mark above what the child started with
    qint64 count = -1;
};

// Runs `job` (which returns an element count) in a forked child and reads back its time and
// its peak resident memory beyond the parent's pages it started with.
ChildFigures InChild(const std::function<qint64()>& job)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        rusage start{};
        getrusage(RUSAGE_SELF, &start);
        QElapsedTimer clock;
        clock.start();
        const qint64 count = job();
        ChildFigures figures;
        figures.ms = double(clock.nsecsElapsed()) / 1e6;
        rusage end{};
        getrusage(RUSAGE_SELF, &end);
        figures.peakMb = double(end.ru_maxrss - start.ru_maxrss) / 1024.0;
        figures.count = count;
        const ssize_t written = ::write(fds[1], &figures, sizeof figures);
        _exit(written == ssize_t(sizeof figures) ? 0 : 1);
    }
    ::close(fds[1]);
    ChildFigures figures;
    if (pid > 0) {
        if (::read(fds[0], &figures, sizeof figures) != ssize_t(sizeof figures))
            figures = ChildFigures();
        int status = 0;
        waitpid(pid, &status, 0);
    }
    ::close(fds[0]);
    return figures;
}

qint64 ElementCount(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantList)
        return value.toList().size();
    if (value.typeId() == QMetaType::QVariantMap)
        return value.toMap().size();
    return 0;
}

// One degenerate shape: both readers, each in its own child. False when they disagree.
bool DegenerateShape(const char* name, const QByteArray& document)
{
    const ChildFigures ours = InChild([&document] {
        QByteArray copy = document;
        copy.detach();
        QVariant result;
        Quorvia::utils::YvJsonParser parser;
        return parser.parse(copy, result, true) ? ElementCount(result) : qint64(-1);
    });
    const ChildFigures reference = InChild(
        [&document] { return ElementCount(QJsonDocument::fromJson(document).toVariant()); });
    std::printf("json_parse_%s (%.1f MB, %lld elements): YvJsonParser %.0f ms %.0f MB peak, "
                "QJsonDocument %.0f ms %.0f MB peak, time ratio %.2fx, memory ratio %.2fx\n",
                name, double(document.size()) / (1024.0 * 1024.0), qlonglong(ours.count), ours.ms, ours.peakMb,
                reference.ms, reference.peakMb, reference.ms / ours.ms, reference.peakMb / ours.peakMb);
    std::fflush(stdout);
    if (ours.count != reference.count || ours.count <= 0) {
        std::fprintf(stderr, "readers disagree on %s: %lld vs %lld elements\n", name, qlonglong(ours.count),
                     qlonglong(reference.count));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray document = Document(5 * 1024 * 1024);
    const int rounds = 15;
    qsizetype oursCount = 0;
    qsizetype refCount = 0;

    // The copy is part of our cost: the reader works in place.
    const auto oursJob = [&] {
        QByteArray copy = document;
        copy.detach();
        QVariant result;
        Quorvia::utils::YvJsonParser parser;
        if (!parser.parse(copy, result, true)) {
            std::fprintf(stderr, "parse failed: %s\n", qPrintable(parser.errorDesc()));
            std::exit(1);
        }
        oursCount = result.toMap().value(QStringLiteral("answers")).toList().size();
    };
    const auto referenceJob = [&] {
        const QVariant result = QJsonDocument::fromJson(document).toVariant();
        refCount = result.toMap().value(QStringLiteral("answers")).toList().size();
    };
    // Interleaved, so a busy neighbour on the machine slows both alike.
    std::vector<double> oursTimes;
    std::vector<double> referenceTimes;
    for (int i = 0; i < rounds; ++i) {
        oursTimes.push_back(TimeMs(oursJob));
        referenceTimes.push_back(TimeMs(referenceJob));
    }
    const double ours = Median(oursTimes);
    const double reference = Median(referenceTimes);
    if (oursCount != refCount || oursCount == 0) {
        std::fprintf(stderr, "readers disagree: %lld vs %lld listings\n", qlonglong(oursCount), qlonglong(refCount));
        return 1;
    }
    std::printf("json_parse_5mb (%lld listings, %.1f MB): YvJsonParser %.1f ms, "
                "QJsonDocument %.1f ms, ratio %.2fx\n",
                qlonglong(oursCount), double(document.size()) / (1024.0 * 1024.0), ours, reference, reference / ours);
    std::fflush(stdout);

    // BENCH_JSON_MB shrinks the degenerate documents for a quick look.
    const qsizetype big = qsizetype(qEnvironmentVariableIntValue("BENCH_JSON_MB") > 0
                                        ? qEnvironmentVariableIntValue("BENCH_JSON_MB")
                                        : 60)
        * 1024 * 1024;
    bool agree = true;
    agree = DegenerateShape("small_integers", SmallIntegers(big)) && agree;
    agree = DegenerateShape("empty_arrays", Repeated("[", "[]", ",", "]", big)) && agree;
    agree = DegenerateShape("empty_objects", Repeated("[", "{}", ",", "]", big)) && agree;
    agree = DegenerateShape("short_strings", Repeated("[", "\"ab\"", ",", "]", big)) && agree;
    agree = DegenerateShape("nested_pairs", Repeated("[", "[[[[1]]]]", ",", "]", big)) && agree;
    agree = DegenerateShape("wide_object", WideObject(big / 4)) && agree;
    return agree ? 0 : 1;
}
