// The listing table's item model: roles, ticks and their signal, row operations and sorting;
// the filter model the views show it through.
#include "support/TestMain.h"

#include "LogCapture.h"
#include "entity/VumoDataEntity.h"
#include "plugin/VumoTableFilterModel.h"
#include "plugin/VumoTableRules.h"
#include "plugin/VumoTableViewModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Quorvia::vumo;

namespace {

VUMO_LIST_STRUCT makeRow(int n)
{
    VUMO_LIST_STRUCT r;
    r.client_id = QStringLiteral("c-%1").arg(n);
    r.vumo_id = 1000000000 + n;
    r.title = QStringLiteral("商品 %1").arg(n);
    r.vumo_status = 8;
    r.cost_price = 100 * n;
    r.market_price = 200 * n;
    r.yv_price = r.min_yvprice = r.max_yvprice = 150 * n;
    r.stock_num = n;
    r.upload_status = 1;
    return r;
}

QList<VUMO_LIST_STRUCT> makeRows(int count)
{
    QList<VUMO_LIST_STRUCT> rows;
    for (int i = 0; i < count; ++i)
        rows << makeRow(i);
    return rows;
}

QStringList clientIds(const QList<VUMO_LIST_STRUCT>& rows)
{
    QStringList ids;
    for (const VUMO_LIST_STRUCT& r : rows)
        ids << r.client_id;
    return ids;
}

// A "contol" line with the source prefix and the given text.
bool logged(const QString& text)
{
    for (const QString& line : LogCapture::Lines()) {
        if (line.startsWith(QStringLiteral("contol: VumoTableViewModel[")) && line.contains(text))
            return true;
    }
    return false;
}

// Titles "Cup n", "cup n", "Pen n" in turn: the filter "Cup" keeps rows 0, 3, 6, 9 ...
QList<VUMO_LIST_STRUCT> makeCupRows(int count)
{
    QList<VUMO_LIST_STRUCT> rows = makeRows(count);
    const QStringList words = {QStringLiteral("Cup"), QStringLiteral("cup"), QStringLiteral("Pen")};
    for (int i = 0; i < count; ++i)
        rows[i].title = QStringLiteral("%1 %2").arg(words.at(i % 3)).arg(i);
    return rows;
}

// Titles as the filter model shows them, in view order.
QStringList shownTitles(const QAbstractItemModel& model)
{
    QStringList titles;
    for (int row = 0; row < model.rowCount(); ++row)
        titles << model.index(row, VumoColTitle).data().toString();
    return titles;
}

} // namespace

class TestTableModel : public QObject
{
    Q_OBJECT

private slots:
    void rolesOfACell()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(3));
        QCOMPARE(model.columnCount(), 14);
        QCOMPARE(model.rowCount(), 3);

        const QModelIndex price = model.index(1, VumoColCostPrice);
        QCOMPARE(model.data(price).toString(), QStringLiteral("1.00"));
        QCOMPARE(model.data(price, Qt::ToolTipRole).toString(), QStringLiteral("1.00"));

        // The tick column has a check state and no text; other columns no check state.
        QCOMPARE(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(model.data(model.index(0, 0)).toString().isEmpty());
        QVERIFY(!model.data(price, Qt::CheckStateRole).isValid());
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
        QVERIFY(!(model.flags(price) & Qt::ItemIsUserCheckable));

        // Out of range gives nothing.
        QVERIFY(!model.index(3, 0).isValid());
        QVERIFY(!model.index(0, 14).isValid());
        QVERIFY(!model.data(QModelIndex()).isValid());
        QVERIFY(!model.setData(QModelIndex(), Qt::Checked, Qt::CheckStateRole));
        VUMO_LIST_STRUCT out;
        QVERIFY(!model.GetVumo(3, out));
        QVERIFY(!model.GetVumo(-1, out));
    }

    void tickingARowReportsTheNewState()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(3));
        QSignalSpy spy(&model, &VumoTableViewModel::ModelCheckBoxStateChanged);
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 2);
        QVERIFY(model.IsChecked(1));
        QCOMPARE(model.CheckedCount(), 1);
        QCOMPARE(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(spy.takeFirst().at(0).toInt(), 0);
        QCOMPARE(model.CheckedCount(), 0);
        // Only the check role of the tick column is writable.
        QVERIFY(!model.setData(model.index(1, 3), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(1, 0), QStringLiteral("x"), Qt::EditRole));
        QCOMPARE(spy.size(), 0);
    }

    void bulkTicksAndTheTickedRows()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(5));
        QSignalSpy spy(&model, &VumoTableViewModel::ModelCheckBoxStateChanged);
        model.SetRowsCheckState({3, 1, 9, -1}, Qt::Checked);
        QCOMPARE(model.CheckedCount(), 2);
        QCOMPARE(clientIds(model.GetCheckedVumos()), (QStringList{QStringLiteral("c-1"), QStringLiteral("c-3")}));
        model.ToggleRowsChecked({1, 2});
        QCOMPARE(clientIds(model.GetCheckedVumos()), (QStringList{QStringLiteral("c-2"), QStringLiteral("c-3")}));
        model.setAllCheckState(Qt::Checked);
        QCOMPARE(model.CheckedCount(), 5);
        model.setAllCheckState(Qt::Unchecked);
        QCOMPARE(model.CheckedCount(), 0);
        QVERIFY(model.GetCheckedVumos().isEmpty());
        QCOMPARE(spy.size(), 4);
        QCOMPARE(clientIds(model.GetVumosOfRows({4, 0, 7})),
                 (QStringList{QStringLiteral("c-4"), QStringLiteral("c-0")}));
    }

    void replacingRowsDropsTicks()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(3));
        model.setAllCheckState(Qt::Checked);
        QSignalSpy reset(&model, &VumoTableViewModel::ModelReset);
        QList<VUMO_LIST_STRUCT> fresh = makeRows(2);
        fresh[0].checked = true; // a stray flag from outside is not taken over
        model.SetVumoList(fresh);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.CheckedCount(), 0);
        QVERIFY(!model.IsChecked(0));
        model.ClearVumoList();
        QCOMPARE(model.rowCount(), 0);
    }

    void updateOrInsertByClientId()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(3));
        model.SetRowsCheckState({1}, Qt::Checked);

        VUMO_LIST_STRUCT changed = makeRow(1);
        changed.title = QStringLiteral("改过的标题");
        changed.upload_status = 0;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QVERIFY(model.UpdateOrInsertVumo(changed));
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(1, VumoColTitle)).toString(), QStringLiteral("改过的标题"));
        QCOMPARE(model.data(model.index(1, VumoColUploadStatus)).toString(), QStringLiteral("修改后未上传"));
        QVERIFY(model.IsChecked(1)); // an update keeps the tick

        Quorvia::vumo::entity::VumoDataEntity record;
        record.set_client_id(QStringLiteral("new-1"));
        record.set_title(QStringLiteral("新商品"));
        record.set_yv_price(990);
        record.set_min_yvprice(990);
        record.set_max_yvprice(990);
        record.set_vumo_status(2014);
        QVERIFY(model.UpdateOrInsertVumo(record));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.RowOfClientId(QStringLiteral("new-1")), 3);
        QCOMPARE(model.data(model.index(3, VumoColYvPrice)).toString(), QStringLiteral("9.90"));
        QCOMPARE(model.data(model.index(3, VumoColStatus)).toString(), QStringLiteral("本地仓库"));
        QVERIFY(!model.IsChecked(3));

        LogCapture log;
        VUMO_LIST_STRUCT nameless = makeRow(7);
        nameless.client_id.clear();
        QVERIFY(!model.UpdateOrInsertVumo(nameless));
        QCOMPARE(model.rowCount(), 4);
        QVERIFY(logged(QStringLiteral("ClientId 为空！")));
    }

    void removeAndUploadStatus()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeRows(4));
        model.SetRowsCheckState({2}, Qt::Checked);
        QVERIFY(model.SetUploadStatus(QStringLiteral("c-3"), 2));
        QCOMPARE(model.data(model.index(3, VumoColUploadStatus)).toString(), QStringLiteral("上传失败"));
        QVERIFY(!model.SetUploadStatus(QStringLiteral("nope"), 1));

        QSignalSpy ticks(&model, &VumoTableViewModel::ModelCheckBoxStateChanged);
        QVERIFY(model.RemoveVumo(QStringLiteral("c-2")));
        QCOMPARE(model.CheckedCount(), 0); // the ticked row went with it
        QCOMPARE(ticks.size(), 1);
        QVERIFY(!model.RemoveVumo(QStringLiteral("c-2")));
        QCOMPARE(model.RowOfClientId(QStringLiteral("c-3")), 2);
        QCOMPARE(model.RemoveVumos({QStringLiteral("c-0"), QStringLiteral("zz"), QStringLiteral("c-3")}), 2);
        QCOMPARE(clientIds(model.Rows()), QStringList{QStringLiteral("c-1")});
    }

    void lookupsRefuseEmptyKeys()
    {
        VumoTableViewModel model;
        QList<VUMO_LIST_STRUCT> rows = makeRows(2);
        rows[1].vumo_id = 0; // a local listing
        model.SetVumoList(rows);
        LogCapture log;
        QCOMPARE(model.RowOfVumoId(0), -1);
        QVERIFY(logged(QStringLiteral("Vumo Id 为0！")));
        QCOMPARE(model.RowOfVumoId(1000000000), 0);
        QCOMPARE(model.RowOfClientId(QString()), -1);
        QVERIFY(logged(QStringLiteral("ClientId 为空！")));
        QCOMPARE(model.RowOfClientId(QStringLiteral("c-1")), 1);
    }

    void sortKeepsPersistentIndexesOnTheirListing()
    {
        VumoTableViewModel model;
        QList<VUMO_LIST_STRUCT> rows = makeRows(12); // costs 0, 1.00, ... 11.00: text order differs
        std::reverse(rows.begin(), rows.end());
        model.SetVumoList(rows);
        model.SetRowsCheckState({0}, Qt::Checked);                         // c-11
        const QPersistentModelIndex tracked(model.index(2, VumoColTitle)); // c-9
        model.sort(VumoColCostPrice, Qt::AscendingOrder);
        QStringList expected;
        for (int i = 0; i < 12; ++i)
            expected << QStringLiteral("c-%1").arg(i);
        QCOMPARE(clientIds(model.Rows()), expected);
        QCOMPARE(tracked.row(), 9);
        QCOMPARE(tracked.column(), int(VumoColTitle));
        QVERIFY(model.IsChecked(11));
        QCOMPARE(model.RowOfClientId(QStringLiteral("c-11")), 11);

        model.sort(VumoColCostPrice, Qt::DescendingOrder);
        QCOMPARE(model.Rows().first().client_id, QStringLiteral("c-11"));
        QCOMPARE(tracked.row(), 2);
        QCOMPARE(model.RowOfClientId(QStringLiteral("c-0")), 11);
        // -1 and out-of-range columns keep the order.
        model.sort(-1);
        model.sort(20);
        QCOMPARE(model.Rows().first().client_id, QStringLiteral("c-11"));
    }

    // The views see the model through the filter model: rows in and out of view, the cells and
    // ticks that follow them, and the model's own changes passed on (checked by Qt's tester).
    void filterModelShowsTheKeptRows()
    {
        VumoTableViewModel model;
        model.SetVumoList(makeCupRows(10));
        VumoTableFilterModel filter(&model);
        QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(filter.rowCount(), 10);
        QCOMPARE(filter.columnCount(), int(VumoColCount));

        const QPersistentModelIndex stays(filter.index(6, VumoColTitle));
        const QPersistentModelIndex goes(filter.index(4, VumoColTitle));
        filter.SetFilters({{VumoColTitle, {QStringLiteral("Cup")}}, {VumoColItemNum, {QString()}}});
        QVERIFY(filter.IsFiltering());
        // Case-sensitive: "cup 1" stays out.
        QCOMPARE(shownTitles(filter), (QStringList{"Cup 0", "Cup 3", "Cup 6", "Cup 9"}));
        QCOMPARE(filter.FilteredOutCount(), 6);
        QCOMPARE(filter.SourceRow(1), 3);
        QCOMPARE(filter.ViewRow(6), 2);
        QCOMPARE(filter.ViewRow(4), -1);
        QCOMPARE(filter.SourceRow(4), -1);
        QCOMPARE(stays.row(), 2);
        QVERIFY(!goes.isValid());
        QCOMPARE(model.rowCount(), 10); // the rows themselves stay

        // Texts from both headers for one column must all match.
        filter.SetFilters({{VumoColTitle, {QStringLiteral("Cup"), QStringLiteral("9")}}});
        QCOMPARE(shownTitles(filter), QStringList{"Cup 9"});
        QVERIFY(!stays.isValid());
        // Nothing kept: the header texts still come from the model.
        filter.SetFilters({{VumoColTitle, {QStringLiteral("zzz")}}});
        QCOMPARE(filter.rowCount(), 0);
        QCOMPARE(filter.headerData(VumoColTitle, Qt::Horizontal).toString(), QStringLiteral("商品名称"));
        filter.SetFilters({{VumoColTitle, {QStringLiteral("Cup")}}});
        const QPersistentModelIndex cup6(filter.index(2, VumoColTitle));

        // Ticks: a click in the view reaches its model row; only shown ticks count.
        QVERIFY(filter.setData(filter.index(1, VumoColCheck), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model.IsChecked(3));
        QSignalSpy changed(&filter, &QAbstractItemModel::dataChanged);
        model.SetRowsCheckState({1}, Qt::Checked); // "cup 1", out of view
        QCOMPARE(changed.size(), 0);
        QCOMPARE(filter.CheckedShownCount(), 1);
        model.SetRowsCheckState({9}, Qt::Checked);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 3);
        QCOMPARE(filter.CheckedShownCount(), 2);

        // New, changed and removed rows.
        VUMO_LIST_STRUCT cup = makeRow(20);
        cup.title = QStringLiteral("Cup 20");
        VUMO_LIST_STRUCT pen = makeRow(21);
        pen.title = QStringLiteral("Pen 21");
        QVERIFY(model.UpdateOrInsertVumo(pen));
        QVERIFY(model.UpdateOrInsertVumo(cup));
        QCOMPARE(shownTitles(filter), (QStringList{"Cup 0", "Cup 3", "Cup 6", "Cup 9", "Cup 20"}));
        QCOMPARE(filter.SourceRow(4), 11);
        QVERIFY(model.RemoveVumo(QStringLiteral("c-1")));
        QVERIFY(model.RemoveVumo(QStringLiteral("c-3")));
        QCOMPARE(shownTitles(filter), (QStringList{"Cup 0", "Cup 6", "Cup 9", "Cup 20"}));
        QCOMPARE(filter.SourceRow(3), 9);
        QCOMPARE(cup6.row(), 1);

        // Sorting sorts the model; the view order follows it.
        filter.sort(VumoColCostPrice, Qt::DescendingOrder);
        QCOMPARE(shownTitles(filter), (QStringList{"Cup 20", "Cup 9", "Cup 6", "Cup 0"}));
        QCOMPARE(model.Rows().first().client_id, QStringLiteral("c-21"));
        QCOMPARE(cup6.row(), 2);
        QCOMPARE(cup6.data().toString(), QStringLiteral("Cup 6"));

        // New rows keep the texts; no texts show everything.
        model.SetVumoList(makeCupRows(7));
        QCOMPARE(shownTitles(filter), (QStringList{"Cup 0", "Cup 3", "Cup 6"}));
        filter.SetFilters({});
        QVERIFY(!filter.IsFiltering());
        QCOMPARE(filter.rowCount(), 7);
        QCOMPARE(filter.FilteredOutCount(), 0);
    }
};

VUMO_TEST_CLASS(TestTableModel)
#include "TestTableModel.moc"
