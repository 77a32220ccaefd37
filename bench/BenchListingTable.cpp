// Loading 30,000 listings into the listing table: the store's table query, the model reset and
// the first paint of the view (offscreen, grab()), against the same query iterated with
// QSqlQuery alone reading every column, in the same run. Then filtering the 30,000 rows by a
// title text and clearing the filter (each up to the repaint that shows it), against the same
// bare query, and a sort by title.
// Prints one line per job; exit status 1 when the load is more than 2x the bare query.
#include "database/DbConnection.h"
#include "database/VumoDb.h"
#include "database/VumoDemoStore.h"
#include "plugin/VumoHeaderView.h"
#include "plugin/VumoTableRules.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Quorvia::vumo;
using Quorvia::vumo::database::DbConnection;
using Quorvia::vumo::database::VumoDb;

namespace {

int kListings = 30000; // an argument may lower it for profiling
constexpr int kRounds = 5;
constexpr double kTarget = 2.0;

const QString kTableQuery = QStringLiteral(
    "SELECT client_id, vumo_id, cid, title, vumo_status, item_num, cost_price, market_price, yv_price, stock_num, "
    "modified, min_yvprice, max_yvprice, template_name, shop_categorys, is_vumoinfo_complete, ad_content, "
    "upload_status, error_msg From vumo_data ");

template <class Job>
double timeMs(Job&& job)
{
    QElapsedTimer timer;
    timer.start();
    job();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    // The view reads and writes its column layout under the data root: keep it temporary.
    qputenv("QUORVIA_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc > 1)
        kListings = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());

    QString error;
    auto connection = DbConnection::OpenFile(home.filePath(QStringLiteral("Vumo.db")), &error);
    if (!connection) {
        std::fprintf(stderr, "cannot open the store: %s\n", qPrintable(error));
        return 1;
    }
    VumoDb store(connection);
    QElapsedTimer fillTimer;
    fillTimer.start();
    if (!store.CheckDatabase() || !Quorvia::vumo::database::FillDemoStore(store, kListings, &error)) {
        std::fprintf(stderr, "cannot fill the store: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 fillMs = fillTimer.elapsed();

    VumoTableView view;
    view.resize(1280, 720);
    view.show();
    app.processEvents();

    int ourRows = 0;
    int referenceRows = 0;
    auto oursJob = [&] {
        QList<VUMO_LIST_STRUCT> rows;
        if (!store.QueryVumoRows(kTableQuery, rows))
            return;
        view.SetVumoList(rows);
        const QPixmap painted = view.grab();
        ourRows = painted.isNull() ? 0 : view.VumoModel()->rowCount();
    };
    auto referenceJob = [&] {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        if (!query.exec(kTableQuery))
            return;
        int n = 0;
        qint64 sink = 0;
        while (query.next()) {
            for (int column = 0; column < 19; ++column)
                sink += query.value(column).isNull() ? 0 : 1;
            ++n;
        }
        referenceRows = sink > 0 ? n : 0;
    };

    referenceJob(); // warm the page cache for both sides
    // Interleaved, so a busy neighbour on the machine slows both alike.
    std::vector<double> ours;
    std::vector<double> reference;
    for (int i = 0; i < kRounds; ++i) {
        ours.push_back(timeMs(oursJob));
        reference.push_back(timeMs(referenceJob));
    }
    if (ourRows != kListings || referenceRows != kListings) {
        std::fprintf(stderr, "row counts disagree: table %d, query %d, expected %d\n", ourRows, referenceRows,
                     kListings);
        return 1;
    }
    const double oursMs = median(ours);
    const double referenceMs = median(reference);
    const double ratio = oursMs / referenceMs;
    // Where the time goes: the store's query into row records, alone.
    const double queryMs = timeMs([&] {
        QList<VUMO_LIST_STRUCT> rows;
        store.QueryVumoRows(kTableQuery, rows);
    });

    // Filter by a title text that about a tenth of the listings hold, then clear; both count
    // until the views have laid out and painted the result.
    QLineEdit* title = view.FrozenHeader()->FilterEdit(VumoColTitle);
    int kept = 0;
    int afterClear = 0;
    std::vector<double> filters;
    std::vector<double> clears;
    std::vector<double> bareAgain;
    for (int i = 0; i < kRounds; ++i) {
        filters.push_back(timeMs([&] {
            title->setText(QStringLiteral("保温杯"));
            view.OnFilterChanged();
            app.processEvents();
            kept = view.grab().isNull() ? 0 : kListings - view.FilteredOutCount();
        }));
        clears.push_back(timeMs([&] {
            view.OnClickClearFilters();
            app.processEvents();
            afterClear = view.grab().isNull() ? 0 : kListings - view.FilteredOutCount();
        }));
        bareAgain.push_back(timeMs(referenceJob));
    }
    if (kept <= 0 || kept >= kListings || afterClear != kListings) {
        std::fprintf(stderr, "filter rows wrong: kept %d, after clearing %d of %d\n", kept, afterClear, kListings);
        return 1;
    }
    const double filterMs = median(filters);
    const double clearMs = median(clears);
    const double bareMs = median(bareAgain);
    const double sortMs = timeMs([&] { view.sortByColumn(VumoColTitle, Qt::AscendingOrder); });

    std::printf("listing_table_load (%d listings: table query + model reset + first paint), %.1f ms, "
                "bare QSqlQuery %.1f ms, ratio %.2fx (goal within %.1fx)\n",
                kListings, oursMs, referenceMs, ratio, kTarget);
    std::printf("listing_table_store_query (VumoDb::QueryVumoRows alone), %.1f ms\n", queryMs);
    std::printf("listing_table_filter (%d rows by title, %d kept, until painted), %.1f ms; clearing %.1f ms; "
                "bare QSqlQuery %.1f ms (goal: each within it)\n",
                kListings, kept, filterMs, clearMs, bareMs);
    std::printf("listing_table_sort (by title) %.1f ms; store fill %lld ms\n", sortMs, fillMs);
    return ratio <= kTarget ? 0 : 1;
}
