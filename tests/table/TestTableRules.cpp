// What the listing table shows and how it orders, filters and lays out its columns, without
// any widget.
#include "support/TestMain.h"

#include "entity/VumoDataEntity.h"
#include "plugin/VumoTableRules.h"

#include <QTest>
#include <QThread>

#include <memory>

using namespace Quorvia::vumo;

namespace {

VUMO_LIST_STRUCT row(const QString& clientId)
{
    VUMO_LIST_STRUCT r;
    r.client_id = clientId;
    r.vumo_id = 1000000001;
    r.title = QStringLiteral("保温杯 Cup");
    r.vumo_status = 8;
    r.cost_price = 900;
    r.market_price = 2000;
    r.yv_price = 1500;
    r.min_yvprice = 1500;
    r.max_yvprice = 1500;
    r.stock_num = 7;
    r.modified = QDateTime(QDate(2024, 3, 5), QTime(14, 5, 6));
    r.upload_status = 1;
    return r;
}

// Every member of a row in one text, so two rows compare in one step.
QString rowText(const VUMO_LIST_STRUCT& r)
{
    QStringList parts = {r.client_id,      r.title,      r.item_num,  r.template_name,
                         r.shop_categorys, r.ad_content, r.error_msg, r.modified.toString(Qt::ISODate)};
    for (qint64 n :
         {r.vumo_id, r.cid, qint64(r.vumo_status), r.cost_price, r.market_price, r.yv_price, r.stock_num, r.min_yvprice,
          r.max_yvprice, qint64(r.is_vumoinfo_complete), qint64(r.upload_status), qint64(r.checked)})
        parts << QString::number(n);
    return parts.join(QLatin1Char(' '));
}

// Sends rows from whichever thread emits.
class RowSender : public QObject
{
    Q_OBJECT
signals:
    void sent(const VUMO_LIST_STRUCT& row, const QList<VUMO_LIST_STRUCT>& rows);
};

} // namespace

class TestTableRules : public QObject
{
    Q_OBJECT

private slots:
    void cellTexts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("vumo id") << int(VumoColVumoId) << qint64(1234567890) << "1234567890";
        QTest::newRow("vumo id 0 is empty") << int(VumoColVumoId) << qint64(0) << "";
        QTest::newRow("cost price") << int(VumoColCostPrice) << qint64(1999) << "19.99";
        QTest::newRow("cost price negative") << int(VumoColCostPrice) << qint64(-1) << "";
        QTest::newRow("stock") << int(VumoColStock) << qint64(0) << "0";
        QTest::newRow("stock negative") << int(VumoColStock) << qint64(-1) << "";
        QTest::newRow("status on sale") << int(VumoColStatus) << qint64(520) << "在售 待审核";
        QTest::newRow("status template") << int(VumoColStatus) << qint64(2013) << "模板";
        QTest::newRow("status unknown") << int(VumoColStatus) << qint64(9999) << "未知状态";
        QTest::newRow("never changed") << int(VumoColUploadStatus) << qint64(-1) << "已上传";
        QTest::newRow("changed") << int(VumoColUploadStatus) << qint64(0) << "修改后未上传";
        QTest::newRow("failed") << int(VumoColUploadStatus) << qint64(2) << "上传失败";
        QTest::newRow("upload unknown") << int(VumoColUploadStatus) << qint64(7) << "";
    }
    void cellTexts()
    {
        QFETCH(int, column);
        QFETCH(qint64, value);
        QFETCH(QString, expected);
        // The value goes into the member the column shows.
        VUMO_LIST_STRUCT r = row(QStringLiteral("a"));
        qint64* wide = column == VumoColVumoId ? &r.vumo_id : column == VumoColCostPrice ? &r.cost_price : &r.stock_num;
        if (column == VumoColStatus)
            r.vumo_status = int(value);
        else if (column == VumoColUploadStatus)
            r.upload_status = int(value);
        else
            *wide = value;
        QCOMPARE(VumoCellText(r, column), expected);
    }

    void yvPriceShowsTheRangeOfTheSkus()
    {
        VUMO_LIST_STRUCT r = row(QStringLiteral("a"));
        r.yv_price = 1200;
        r.min_yvprice = 1200;
        r.max_yvprice = 1550;
        QCOMPARE(VumoCellText(r, VumoColYvPrice), QStringLiteral("12.00~15.50"));
        r.max_yvprice = 1200;
        QCOMPARE(VumoCellText(r, VumoColYvPrice), QStringLiteral("12.00"));
        // One price shown is the listing's own, not the SKU bound.
        r.yv_price = 1300;
        QCOMPARE(VumoCellText(r, VumoColYvPrice), QStringLiteral("13.00"));
        r.yv_price = -1;
        r.max_yvprice = 1550;
        QCOMPARE(VumoCellText(r, VumoColYvPrice), QString());
    }

    void textColumnsAndEdges()
    {
        VUMO_LIST_STRUCT r = row(QStringLiteral("a"));
        r.template_name = QStringLiteral("夏季模板");
        r.error_msg = QStringLiteral("上传失败：标题过长");
        QCOMPARE(VumoCellText(r, VumoColTemplateName), QStringLiteral("夏季模板"));
        QCOMPARE(VumoCellText(r, VumoColErrorMsg), QStringLiteral("上传失败：标题过长"));
        QCOMPARE(VumoCellText(r, VumoColModified), QStringLiteral("2024-03-05 14:05:06"));
        QCOMPARE(VumoCellText(r, VumoColCheck), QString());
        QCOMPARE(VumoCellText(r, -1), QString());
        QCOMPARE(VumoCellText(r, VumoColCount), QString());
        r.modified = QDateTime();
        QCOMPARE(VumoCellText(r, VumoColModified), QString());
    }

    void sortingComparesNumbersByValue()
    {
        VUMO_LIST_STRUCT cheap = row(QStringLiteral("b"));
        VUMO_LIST_STRUCT dear = row(QStringLiteral("a"));
        cheap.cost_price = 900;  // "9.00"
        dear.cost_price = 10000; // "100.00" sorts before "9.00" as text
        QVERIFY(VumoRowLess(cheap, dear, VumoColCostPrice));
        QVERIFY(!VumoRowLess(dear, cheap, VumoColCostPrice));
        cheap.stock_num = 9;
        dear.stock_num = 10;
        QVERIFY(VumoRowLess(cheap, dear, VumoColStock));
        cheap.vumo_id = 999999999;
        dear.vumo_id = 1000000000;
        QVERIFY(VumoRowLess(cheap, dear, VumoColVumoId));
        cheap.modified = QDateTime(QDate(2023, 12, 31), QTime(23, 0));
        QVERIFY(VumoRowLess(cheap, dear, VumoColModified));
        // A range sorts by its lower end.
        dear.yv_price = 1000;
        dear.min_yvprice = 1000;
        dear.max_yvprice = 5000;
        cheap.yv_price = 2000;
        cheap.min_yvprice = cheap.max_yvprice = 2000;
        QVERIFY(VumoRowLess(dear, cheap, VumoColYvPrice));
        // Equal keys fall back to client_id: a strict weak order, repeatable.
        VUMO_LIST_STRUCT twin = dear;
        twin.client_id = QStringLiteral("c");
        QVERIFY(VumoRowLess(dear, twin, VumoColTitle));
        QVERIFY(!VumoRowLess(twin, dear, VumoColTitle));
        QVERIFY(!VumoRowLess(dear, dear, VumoColTitle));
        // The tick column sorts ticked rows last when ascending.
        twin.checked = true;
        QVERIFY(VumoRowLess(cheap, twin, VumoColCheck));
    }

    void filtersMatchTheShownTextCaseSensitively()
    {
        VUMO_LIST_STRUCT r = row(QStringLiteral("a"));
        r.yv_price = r.min_yvprice = 1200;
        r.max_yvprice = 1550;
        QVERIFY(VumoRowMatchesFilters(r, {}));
        QVERIFY(VumoRowMatchesFilters(r, {{VumoColTitle, {QStringLiteral("保温")}}}));
        QVERIFY(VumoRowMatchesFilters(r, {{VumoColTitle, {QStringLiteral("Cup")}}}));
        QVERIFY(!VumoRowMatchesFilters(r, {{VumoColTitle, {QStringLiteral("cup")}}}));
        // The displayed price text, not the stored number.
        QVERIFY(VumoRowMatchesFilters(r, {{VumoColYvPrice, {QStringLiteral("~15.5")}}}));
        QVERIFY(!VumoRowMatchesFilters(r, {{VumoColYvPrice, {QStringLiteral("1200")}}}));
        QVERIFY(VumoRowMatchesFilters(r, {{VumoColUploadStatus, {QStringLiteral("已上传")}}}));
        // Every column must match, and both fields of one column.
        QVERIFY(!VumoRowMatchesFilters(
            r, {{VumoColTitle, {QStringLiteral("保温")}}, {VumoColStock, {QStringLiteral("8")}}}));
        QVERIFY(!VumoRowMatchesFilters(r, {{VumoColTitle, {QStringLiteral("保温"), QStringLiteral("壶")}}}));
        QVERIFY(VumoRowMatchesFilters(r, {{VumoColTitle, {QString(), QStringLiteral("杯")}}}));
        // An empty cell contains only the empty text.
        QVERIFY(!VumoRowMatchesFilters(r, {{VumoColErrorMsg, {QStringLiteral("失败")}}}));
        QVERIFY(VumoFiltersEmpty({{VumoColTitle, {QString(), QString()}}}));
        QVERIFY(!VumoFiltersEmpty({{VumoColTitle, {QString(), QStringLiteral("x")}}}));
    }

    void headerBoxState()
    {
        QCOMPARE(VumoHeaderCheckState(0, 0), int(Qt::Unchecked));
        QCOMPARE(VumoHeaderCheckState(0, 3), int(Qt::Unchecked));
        QCOMPARE(VumoHeaderCheckState(1, 3), int(Qt::PartiallyChecked));
        QCOMPARE(VumoHeaderCheckState(3, 3), int(Qt::Checked));
    }

    void layoutPlanFromSavedColumns()
    {
        const QVector<VumoColumnEntry> saved = {
            {3, 300, true}, {0, 40, true},  {99, 50, true}, {13, 0, false},
            {3, 10, false}, {-1, 10, true}, {11, 70, true}, {2, 120, true},
        };
        const VumoColumnLayoutPlan plan = VumoPlanColumnLayout(saved, -1);
        // Named columns first in their order, then the others in default order; each once.
        QCOMPARE(plan.order, (QVector<int>{3, 0, 13, 11, 2, 1, 4, 5, 6, 7, 8, 9, 10, 12}));
        QCOMPARE(plan.widths.value(3), 300);
        QCOMPARE(plan.widths.value(0), 40);
        QVERIFY(!plan.widths.contains(13)); // 0 keeps the current width
        QCOMPARE(plan.userHidden, (QSet<int>{13}));
        QCOMPARE(plan.forcedHidden, (QSet<int>{VumoColCid}));

        const VumoColumnLayoutPlan stockless = VumoPlanColumnLayout(saved, 1);
        QVERIFY(stockless.forcedHidden.contains(VumoColStock));
        QVERIFY(stockless.forcedHidden.contains(VumoColCid));
        QVERIFY(!stockless.userHidden.contains(VumoColStock));

        const VumoColumnLayoutPlan empty = VumoPlanColumnLayout({}, -1);
        QCOMPARE(empty.order.size(), int(VumoColCount));
        for (int i = 0; i < VumoColCount; ++i)
            QCOMPARE(empty.order.at(i), i);
        QVERIFY(empty.widths.isEmpty());
        QVERIFY(empty.userHidden.isEmpty());
    }

    void rowOfAFullRecord()
    {
        Quorvia::vumo::entity::VumoDataEntity record;
        record.set_client_id(QStringLiteral("c-9"));
        record.set_vumo_id(1234567890);
        record.set_cid(655);
        record.set_title(QStringLiteral("标题"));
        record.set_vumo_status(1026);
        record.set_item_num(QStringLiteral("N-1"));
        record.set_cost_price(1);
        record.set_market_price(2);
        record.set_yv_price(3);
        record.set_min_yvprice(4);
        record.set_max_yvprice(5);
        record.set_stock_num(6);
        record.set_modified(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
        record.set_template_name(QStringLiteral("T"));
        record.set_shop_categorys(QStringLiteral("1-2|a/b"));
        record.set_is_vumoinfo_complete(true);
        record.set_ad_content(QStringLiteral("ad"));
        record.set_upload_status(2);
        record.set_error_msg(QStringLiteral("err"));
        const VUMO_LIST_STRUCT r = VumoListStructFromEntity(record);
        QCOMPARE(
            rowText(r),
            QStringLiteral("c-9 标题 N-1 T 1-2|a/b ad err 2024-01-02T03:04:05 1234567890 655 1026 1 2 3 6 4 5 1 2 0"));
        QCOMPARE(VumoCellText(r, VumoColYvPrice), QStringLiteral("0.04~0.05"));

        // The same row crosses threads in a queued signal, whole and in a list.
        RegisterVumoListStructMetaType();
        RowSender sender;
        QList<VUMO_LIST_STRUCT> received;
        QThread* receiverThread = nullptr;
        connect(
            &sender, &RowSender::sent, this,
            [&](const VUMO_LIST_STRUCT& one, const QList<VUMO_LIST_STRUCT>& list) {
                receiverThread = QThread::currentThread();
                received = QList<VUMO_LIST_STRUCT>{one} + list;
            },
            Qt::QueuedConnection);
        std::unique_ptr<QThread> worker(QThread::create([&] { emit sender.sent(r, {r}); }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QVERIFY(received.isEmpty()); // nothing until this thread's loop delivers it
        QTRY_COMPARE(received.size(), 2);
        QCOMPARE(receiverThread, QThread::currentThread());
        for (const VUMO_LIST_STRUCT& copy : received)
            QCOMPARE(rowText(copy), rowText(r));
    }
};

VUMO_TEST_CLASS(TestTableRules)
#include "TestTableRules.moc"
