// Records written with the generic REPLACE and read back with SELECT through a real SQLite file.
#include "support/RecordCompare.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/DbConnection.h"
#include "database/dml/RowMapping.h"
#include "database/dml/SellerCatsDml.h"
#include "database/dml/VenderShopCategoryDml.h"
#include "database/dml/VumoAttributeGroupsDml.h"
#include "database/dml/VumoCategoryAttributeDml.h"
#include "database/dml/VumoCategoryDml.h"
#include "database/dml/VumoDataDml.h"
#include "database/dml/VumoExtDml.h"
#include "database/dml/VumoImgDml.h"
#include "database/dml/VumoRedDml.h"
#include "database/dml/VumoSkuDml.h"
#include "entity/VumoSkuEntity.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Quorvia::vumo::database;
using namespace Quorvia::vumo::database::dml;
using namespace Quorvia::vumo::entity;

namespace {

template <class Dml>
bool CreateTable(Dml& dml)
{
    bool existed = false;
    return dml.CreateTable(existed, Dml::CreateStatement()) && !existed;
}

// Creates the table, writes `record` and reads it back as the only row of the table.
template <class Dml, class Entity>
void RoundTrip(Dml& dml, const Entity& record)
{
    QVERIFY(CreateTable(dml));
    QVERIFY(dml.Replace(record));
    QList<Entity*> rows;
    QVERIFY(dml.Select(QString(), rows));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(VumoTest::DifferingProperties(record, *rows.first()), QStringList());
    qDeleteAll(rows);
}

const QDateTime kWhen(QDate(2013, 5, 17), QTime(9, 30, 15));

} // namespace

class TestRowMapping : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
    DbConnectionPtr m_conn;
    int m_serial = 0;

private slots:
    void init()
    {
        m_home = std::make_unique<VumoTest::TempHome>();
        QString error;
        m_conn = DbConnection::OpenFile(m_home->filePath(QStringLiteral("t%1.db").arg(++m_serial)), &error);
        QVERIFY2(m_conn, qPrintable(error));
    }
    void cleanup()
    {
        m_conn.reset();
        m_home.reset();
    }

    void listingRoundTrip()
    {
        VumoDataEntity v;
        v.set_client_id(QStringLiteral("6b1c1d9e-0f4e-4f55-9d0c-1b2a3c4d5e6f"));
        v.set_vumo_id(9007199254740993LL); // beyond double precision
        v.set_spu_id(-5);
        v.set_shop_categorys(QStringLiteral("1-2;3"));
        v.set_title(QStringLiteral("Seller's \"best\" 衬衫; DROP TABLE vumo_data"));
        v.set_upc_code(QString()); // null text comes back as empty text
        v.set_vumo_status(520);
        v.set_weight(1.25);
        v.set_yv_price(1899);
        v.set_desc(QStringLiteral("<p>描述 it's</p>\n<img src=\"a.jpg\">"));
        v.set_created(kWhen);
        v.set_modified(kWhen.toUTC()); // the same moment in UTC still reads back equal
        v.set_online_time(QDateTime());
        v.set_is_pay_first(true);
        v.set_is_vumoinfo_complete(true);
        VumoDataDml dml(m_conn);
        RoundTrip(dml, v);

        // Date-times are stored as text, the description as text.
        QSqlQuery q(m_conn->database());
        QVERIFY(q.exec(QStringLiteral("SELECT created, typeof(created), typeof(desc), online_time FROM vumo_data")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("2013-05-17T09:30:15"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("text"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("text"));
        QCOMPARE(q.value(3).toString(), QString());
    }

    void listingColumnsLeaveOutMemoryFields()
    {
        VumoDataDml dml(m_conn);
        QVERIFY(CreateTable(dml));
        const QStringList columns = dml.Columns();
        for (const char* name :
             {"objectName", "vumo_attribute", "service", "pack_listing", "wrap", "producter", "skus", "cubage"})
            QVERIFY2(!columns.contains(QLatin1String(name)), name);
        QCOMPARE(columns.first(), QStringLiteral("client_id"));
        QCOMPARE(columns.last(), QStringLiteral("is_vumoinfo_complete"));
        // Every remaining property is a column of the table, and every column is written.
        QSqlQuery q(m_conn->database());
        QVERIFY(q.exec(QStringLiteral("SELECT * FROM vumo_data")));
        QStringList tableColumns;
        for (int i = 0; i < q.record().count(); ++i)
            tableColumns << q.record().fieldName(i);
        QCOMPARE(QSet<QString>(columns.begin(), columns.end()),
                 QSet<QString>(tableColumns.begin(), tableColumns.end()));
        QVERIFY(dml.ReplaceStatement().startsWith(QStringLiteral("REPLACE INTO vumo_data (client_id,vumo_id,")));

        // The memory-only fields hold values that would break the statement if they leaked.
        VumoDataEntity v;
        v.set_client_id(QStringLiteral("c1"));
        v.set_skus(QVariantList{QVariantMap{{QStringLiteral("sku_id"), 1}}});
        v.set_cubage(QStringLiteral("1:2:3"));
        v.set_service(QStringLiteral("保修"));
        QVERIFY(dml.Replace(v));
    }

    void extSkuImageRoundTrip()
    {
        VumoExtDml ext(m_conn);
        VumoSkuDml sku(m_conn);
        VumoImgDml img(m_conn);
        QVERIFY(CreateTable(sku));

        VumoDataExtEntity e;
        e.set_client_id(QStringLiteral("c1"));
        e.set_vumo_id(42);
        e.set_producter(QStringLiteral("厂's"));
        e.set_service(QStringLiteral("三包"));
        RoundTrip(ext, e);

        VumoSkuEntity s1, s2;
        s1.set_client_id(QStringLiteral("c1"));
        s1.set_sku_id(100);
        s1.set_attributes(QStringLiteral("1:2^3:4"));
        s1.set_stock_num(999999999);
        s1.set_yv_price(1999);
        s1.set_created(kWhen);
        s2.set_client_id(QStringLiteral("c1"));
        s2.set_status(0);
        s2.set_outer_id(QStringLiteral("o'1"));
        QVERIFY(sku.Replace(QList<VumoSkuEntity*>{&s1, &s2}));

        VumoImgEntity i1;
        i1.set_name(QStringLiteral("a.jpg"));
        i1.set_img_url(QStringLiteral("http://img/a.jpg"));
        i1.set_is_main(true);
        i1.set_client_id(QStringLiteral("c1"));
        i1.set_color_id(5001);
        i1.set_img_id(77);
        i1.set_is_online_mainPic(65535);
        RoundTrip(img, i1);

        QList<VumoSkuEntity*> ss;
        QVERIFY(sku.Select(QStringLiteral("client_id='c1' ORDER BY status DESC"), ss));
        QCOMPARE(ss.size(), 2);
        QCOMPARE(VumoTest::DifferingProperties(s1, *ss.at(0)), QStringList());
        QCOMPARE(VumoTest::DifferingProperties(s2, *ss.at(1)), QStringList());
        qDeleteAll(ss);
        ss.clear();

        // REPLACE on the same key overwrites instead of adding.
        s1.set_stock_num(5);
        QVERIFY(sku.Replace(s1));
        QVERIFY(sku.Update(QStringLiteral("yv_price=1"), QStringLiteral("attributes=''")));
        QVERIFY(sku.Select(QStringLiteral("client_id='c1'"), ss));
        QCOMPARE(ss.size(), 2);
        for (const VumoSkuEntity* s : ss) {
            QCOMPARE(s->yv_price(), s->attributes().isEmpty() ? qint64(1) : s1.yv_price());
            QCOMPARE(s->stock_num(), s->attributes().isEmpty() ? s2.stock_num() : qint64(5));
        }
        qDeleteAll(ss);
    }

    void commentPairsStoreSeconds()
    {
        VumoRedDml dml(m_conn);
        RedSyncCommentEntity r;
        r.set_new_skuid(11);
        r.set_ori_skuid(22);
        r.set_last_req_date(kWhen);
        r.set_create_date(QDateTime());
        RoundTrip(dml, r);

        QSqlQuery q(m_conn->database());
        QVERIFY(q.exec(QStringLiteral("SELECT last_req_date, typeof(last_req_date) FROM synccomment")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), kWhen.toSecsSinceEpoch());
        QCOMPARE(q.value(1).toString(), QStringLiteral("integer"));
    }

    void sellerAndCategoryRecordsRoundTrip()
    {
        SellerCatsEntity sc;
        sc.set_cid(5);
        sc.set_name(QStringLiteral("男装'"));
        sc.set_is_parent(true);
        sc.set_index_id(-2);
        SellerCatsDml seller(m_conn);
        RoundTrip(seller, sc);

        VumoCategoryEntity c;
        c.set_aid(1);
        c.set_name(QStringLiteral("颜色"));
        c.set_group_id(7);
        c.set_features(QStringLiteral("a:b"));
        VumoCategoryDml cat(m_conn);
        RoundTrip(cat, c);

        VumoCategoryAttributeEntity a;
        a.set_aid(1);
        a.set_vid(2);
        a.set_name(QStringLiteral("红"));
        VumoCategoryAttributeDml val(m_conn);
        RoundTrip(val, a);

        VumoAttributeGroupsEntity g;
        g.set_group_id(7);
        g.set_cid(9);
        g.set_name(QStringLiteral("基本"));
        VumoAttributeGroupsDml grp(m_conn);
        RoundTrip(grp, g);

        VenderShopCategoryEntity v;
        v.set_id(9);
        v.set_fid(3);
        v.set_name(QStringLiteral("T恤"));
        VenderShopCategoryDml shop(m_conn);
        RoundTrip(shop, v);
    }

    void rowsInOtherShapes()
    {
        // Integer seconds in a text-date column, text in integer columns, BLOB bytes as text,
        // NULLs and columns without a property.
        QSqlQuery q(m_conn->database());
        QVERIFY(
            q.exec(QStringLiteral("SELECT 'c9' AS client_id, 1368754215 AS created, '2013-05-17T09:30:15' AS modified, "
                                  "'12' AS vumo_id, NULL AS title, CAST('描述' AS BLOB) AS desc, 1 AS is_can_vat, "
                                  "'x' AS no_such_property, 'abc' AS cid")));
        QVERIFY(q.next());
        VumoDataEntity v;
        v.set_title(QStringLiteral("old"));
        v.set_cid(5);
        Quorvia::database::dml::FillFromRecord(v, q.record());
        QCOMPARE(v.client_id(), QStringLiteral("c9"));
        QCOMPARE(v.created(), QDateTime::fromSecsSinceEpoch(1368754215));
        QCOMPARE(v.modified(), kWhen);
        QCOMPARE(v.vumo_id(), qint64(12));
        QVERIFY(v.title().isEmpty());
        QCOMPARE(v.desc(), QStringLiteral("描述"));
        QVERIFY(v.is_can_vat());
        QCOMPARE(v.cid(), qint64(0));
    }

    void oneDmlServesWorkerThreads()
    {
        VumoSkuDml dml(m_conn);
        QVERIFY(CreateTable(dml));
        bool written = false;
        QThread* worker = QThread::create([&] {
            VumoSkuEntity s;
            s.set_client_id(QStringLiteral("w"));
            s.set_attributes(QStringLiteral("1:1"));
            written = dml.Replace(s);
        });
        worker->start();
        QVERIFY(worker->wait(10000));
        delete worker;
        QVERIFY(written);
        QList<VumoSkuEntity*> rows;
        QVERIFY(dml.Select(QStringLiteral("client_id='w'"), rows));
        QCOMPARE(rows.size(), 1);
        qDeleteAll(rows);
    }

    void failuresAreReported()
    {
        VumoDataDml dml(m_conn);
        QList<VumoDataEntity*> rows;
        // No table yet.
        QVERIFY(!dml.Select(QString(), rows));
        QVERIFY(!dml.LastError().isEmpty());
        VumoDataEntity v;
        QVERIFY(!dml.Replace(v));
        QVERIFY(!dml.Replace(QList<VumoDataEntity*>{nullptr}));
        QVERIFY(!dml.Delete(QStringLiteral("no_such_column=1")));

        // A table already there is reported and left alone.
        QVERIFY(CreateTable(dml));
        bool existed = false;
        QVERIFY(dml.CreateTable(existed, QStringLiteral("this is not sql")));
        QVERIFY(existed);

        // A broken create statement fails.
        VumoExtDml ext(m_conn);
        existed = false;
        QVERIFY(!ext.CreateTable(existed, QStringLiteral("CREATE TABLE vumo_ext(;")));
        QVERIFY(!existed);

        // Replace of a list stops at the first failure.
        VumoSkuDml sku(m_conn);
        QVERIFY(CreateTable(sku));
        QVERIFY(QSqlQuery(m_conn->database())
                    .exec(QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON vumo_sku WHEN NEW.outer_id='bad' "
                                         "BEGIN SELECT RAISE(ABORT,'refused'); END")));
        VumoSkuEntity a, bad, c;
        a.set_attributes(QStringLiteral("a"));
        bad.set_attributes(QStringLiteral("b"));
        bad.set_outer_id(QStringLiteral("bad"));
        c.set_attributes(QStringLiteral("c"));
        QVERIFY(!sku.Replace(QList<VumoSkuEntity*>{&a, &bad, &c}));
        QVERIFY(sku.LastError().contains(QStringLiteral("refused")));
        QList<VumoSkuEntity*> ss;
        QVERIFY(sku.Select(QString(), ss));
        QCOMPARE(ss.size(), 1);
        QCOMPARE(ss.first()->attributes(), QStringLiteral("a"));
        qDeleteAll(ss);
    }
};

VUMO_TEST_CLASS(TestRowMapping)
#include "TestRowMapping.moc"
