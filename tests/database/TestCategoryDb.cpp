// The category store on a real SQLite file: schema and upgrade, all-or-nothing writes, queries.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "database/CategoryDb.h"
#include "database/DbConnection.h"
#include "entity/VenderShopCategoryEntity.h"
#include "entity/VumoAttributeGroupsEntity.h"
#include "entity/VumoCategoryAttributeEntity.h"
#include "entity/VumoCategoryEntity.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <memory>

using namespace Quorvia::vumo::database;
using namespace Quorvia::vumo::entity;

namespace {

std::unique_ptr<VumoCategoryEntity> Attribute(qint64 aid, qint64 cid, const QString& name, int sale = 0, int index = 0,
                                              int group = 0)
{
    auto a = std::make_unique<VumoCategoryEntity>();
    a->set_aid(aid);
    a->set_cid(cid);
    a->set_name(name);
    a->set_is_sale_prop(sale);
    a->set_index_id(index);
    a->set_group_id(group);
    a->set_status(1);
    a->set_input_type(1);
    a->set_is_req(1);
    return a;
}

std::unique_ptr<VumoCategoryAttributeEntity> Value(qint64 aid, qint64 vid, const QString& name, int index = 0,
                                                   int status = 1)
{
    auto v = std::make_unique<VumoCategoryAttributeEntity>();
    v->set_aid(aid);
    v->set_vid(vid);
    v->set_name(name);
    v->set_index_id(index);
    v->set_status(status);
    return v;
}

std::unique_ptr<VenderShopCategoryEntity> Category(qint64 id, const QString& name, int lev = 3, int status = 1)
{
    auto c = std::make_unique<VenderShopCategoryEntity>();
    c->set_id(id);
    c->set_name(name);
    c->set_lev(lev);
    c->set_status(status);
    return c;
}

} // namespace

class TestCategoryDb : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
    DbConnectionPtr m_conn;
    std::unique_ptr<CategoryDb> m_db;

    bool Exec(const QString& sql)
    {
        QSqlQuery q(m_conn->database());
        return q.exec(sql);
    }
    QStringList Columns(const QString& table)
    {
        QSqlQuery q(m_conn->database());
        QStringList names;
        if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
            while (q.next())
                names << q.value(1).toString();
        return names;
    }
    QString Version()
    {
        QString v;
        m_db->GetConfig(QStringLiteral("Version"), v);
        return v;
    }
    // A store made by an older release: tables without features and the given version.
    void MakeOldStore(const QString& version)
    {
        QVERIFY(Exec(QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)")));
        QVERIFY(Exec(QStringLiteral(
            "CREATE TABLE vumo_category(aid INTEGER PRIMARY KEY,name TEXT,cid INTEGER,is_key_prop "
            "INTEGER(1),is_sale_prop INTEGER(1),index_id INTEGER,status INTEGER,att_type INTEGER,input_type "
            "INTEGER,is_req  INTEGER,is_fet INTEGER,is_nav INTEGER,group_id INTEGER)")));
        QVERIFY(Exec(QStringLiteral("INSERT INTO vumo_category (aid,name,cid) VALUES (1,'品牌',9)")));
        if (!version.isEmpty())
            QVERIFY(Exec(QStringLiteral("INSERT INTO CONFIG VALUES ('Version','%1')").arg(version)));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<VumoTest::TempHome>();
        QString error;
        m_conn = DbConnection::OpenFile(m_home->filePath(QStringLiteral("Category.db")), &error);
        QVERIFY2(m_conn, qPrintable(error));
        m_db = std::make_unique<CategoryDb>(m_conn);
    }
    void cleanup()
    {
        m_db.reset();
        m_conn.reset();
        m_home.reset();
    }

    void newStoreGetsTablesAndVersion()
    {
        QVERIFY(m_db->CheckDatabase());
        QCOMPARE(Version(), QStringLiteral("2.0"));
        QSqlQuery q(m_conn->database());
        QVERIFY(q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','index') ORDER BY name")));
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        for (const char* name :
             {"CONFIG", "vumo_category", "vumo_category_attribute", "vumo_attribute_groups", "vender_shop_category",
              "vumocategory_cid_index", "vumocategoryattribute_aid_index", "vumoattributegroups_cid_index"})
            QVERIFY2(names.contains(QLatin1String(name)), name);
        QVERIFY(Columns(QStringLiteral("vumo_category")).contains(QStringLiteral("features")));
        // A second check on the finished store changes nothing and succeeds.
        QVERIFY(m_db->CheckDatabase());
        QCOMPARE(Version(), QStringLiteral("2.0"));
    }

    void upgradeByStoredVersion_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("addsFeatures");
        QTest::addColumn<QString>("after");
        QTest::newRow("1.5") << QStringLiteral("1.5") << true << QStringLiteral("2.0");
        QTest::newRow("missing") << QString() << true << QStringLiteral("2.0");
        QTest::newRow("unreadable") << QStringLiteral("abc") << true << QStringLiteral("2.0");
        QTest::newRow("1.6") << QStringLiteral("1.6") << false << QStringLiteral("1.6");
    }
    void upgradeByStoredVersion()
    {
        QFETCH(QString, stored);
        QFETCH(bool, addsFeatures);
        QFETCH(QString, after);
        MakeOldStore(stored);
        QVERIFY(m_db->CheckDatabase());
        QCOMPARE(Columns(QStringLiteral("vumo_category")).contains(QStringLiteral("features")), addsFeatures);
        QCOMPARE(Version(), after);
        // The old rows survive the upgrade.
        QList<VumoCategoryEntity*> rows;
        QVERIFY(m_db->GetCategoryAttributes(9, rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first()->name(), QStringLiteral("品牌"));
        qDeleteAll(rows);
    }

    void versionLostAfterFeaturesAdded()
    {
        // Tables of the current schema but no version row: nothing to add, version written.
        QVERIFY(m_db->CheckDatabase());
        QVERIFY(Exec(QStringLiteral("DELETE FROM CONFIG")));
        QVERIFY(m_db->CheckDatabase());
        QCOMPARE(Version(), QStringLiteral("2.0"));
    }

    void storedVersionThreshold()
    {
        QVERIFY(CategoryDb::StoredVersionBelow(QStringLiteral("1.59"), 1.6f));
        QVERIFY(!CategoryDb::StoredVersionBelow(QStringLiteral("1.6"), 1.6f));
        QVERIFY(!CategoryDb::StoredVersionBelow(QStringLiteral(" 1.60 "), 1.6f));
        QVERIFY(CategoryDb::StoredVersionBelow(QString(), 1.6f));
    }

    void failedValueKeepsPreviousCategoryData()
    {
        QVERIFY(m_db->CheckDatabase());
        auto cat = Category(9, QStringLiteral("T恤"));
        auto size = Attribute(1, 9, QStringLiteral("尺码"));
        auto s = Value(1, 11, QStringLiteral("S"));
        QMap<qint64, QList<VumoCategoryAttributeEntity*>> values{{1, {s.get()}}};
        QVERIFY(m_db->SaveCategoryData(cat.get(), {size.get()}, values, {}));

        // Second download: renamed attribute, a new value, and one value the store refuses.
        QVERIFY(Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON vumo_category_attribute "
                                    "WHEN NEW.name='坏' BEGIN SELECT RAISE(ABORT,'refused'); END")));
        auto cat2 = Category(9, QStringLiteral("T恤2"));
        auto size2 = Attribute(1, 9, QStringLiteral("尺寸"));
        auto m = Value(1, 12, QStringLiteral("M"));
        auto bad = Value(1, 13, QStringLiteral("坏"));
        auto group = std::make_unique<VumoAttributeGroupsEntity>();
        group->set_group_id(5);
        group->set_cid(9);
        QVERIFY(!m_db->SaveCategoryDataLists(cat2.get(), {size2.get()}, {m.get(), bad.get()}, {group.get()}));

        QList<VumoCategoryEntity*> attributes;
        QVERIFY(m_db->GetCategoryAttributes(9, attributes));
        QCOMPARE(attributes.size(), 1);
        QCOMPARE(attributes.first()->name(), QStringLiteral("尺码"));
        qDeleteAll(attributes);
        QList<VumoCategoryAttributeEntity*> stored;
        QVERIFY(m_db->GetAttributeValues(1, stored));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first()->vid(), qint64(11));
        qDeleteAll(stored);
        QList<VumoAttributeGroupsEntity*> groups;
        QVERIFY(m_db->GetAttributeGroups(9, groups));
        QVERIFY(groups.isEmpty());
        QMap<qint64, VenderShopCategoryEntity*> cats;
        QVERIFY(m_db->GetVenderShopCategoryMap(cats));
        QCOMPARE(cats.value(9)->name(), QStringLiteral("T恤"));
        qDeleteAll(cats);

        // Without a category record nothing is written.
        QVERIFY(!m_db->SaveCategoryData(nullptr, {size2.get()}, {}, {}));
    }

    void lookupsQuoteTheirText()
    {
        QVERIFY(m_db->CheckDatabase());
        auto brand = Attribute(7, 9, QStringLiteral("品牌's"));
        brand->set_features(QStringLiteral("erpAttType:KZSX"));
        QVERIFY(m_db->SaveCategoryAttributes({brand.get()}));
        QVERIFY(m_db->SaveAttributeValues({Value(7, 71, QStringLiteral("无效"), 0, 0).get()}));

        qint64 aid = 0;
        QString features;
        QVERIFY(m_db->GetAttributeByName(QStringLiteral("品牌's"), 9, aid, features));
        QCOMPARE(aid, qint64(7));
        QCOMPARE(features, QStringLiteral("erpAttType:KZSX"));
        QVERIFY(!m_db->GetAttributeByName(QStringLiteral("品牌's"), 10, aid, features));
        QVERIFY(!m_db->GetAttributeByName(QStringLiteral("%1' OR '1'='1"), 9, aid, features));

        QString name;
        aid = 0;
        QVERIFY(m_db->GetValueNameAndAttribute(71, name, aid));
        QCOMPARE(name, QStringLiteral("无效"));
        QCOMPARE(aid, qint64(7));
        QVERIFY(!m_db->GetValueName(99, name));
    }

    void batchAndConfig()
    {
        QVERIFY(m_db->CheckDatabase());
        QVERIFY(!m_db->UpdateExecBatchSql({}));
        QVERIFY(!m_db->UpdateExecBatchSql({QStringLiteral("INSERT INTO vumo_category (aid) VALUES (1)"),
                                           QStringLiteral("INSERT INTO no_such_table VALUES (1)")}));
        QList<VumoCategoryEntity*> rows;
        QVERIFY(m_db->GetCategoryAttributes(0, rows));
        QVERIFY(rows.isEmpty()); // the first statement was rolled back
        QVERIFY(m_db->SetConfig(QStringLiteral("last'key"), QStringLiteral("v'1")));
        QString value;
        QVERIFY(m_db->GetConfig(QStringLiteral("last'key"), value));
        QCOMPARE(value, QStringLiteral("v'1"));
    }

    void closedConnectionFailsCleanly()
    {
        m_conn->database().close();
        QVERIFY(!m_db->CheckDatabase());
        QList<CategoryAttributeWithValues> list;
        QVERIFY(!m_db->GetAttributesWithValues(9, 1, list));
        QString name;
        QVERIFY(!m_db->GetValueName(1, name));
        auto cat = Category(1, QStringLiteral("x"));
        QVERIFY(!m_db->SaveCategoryData(cat.get(), {}, {}, {}));
    }
};

VUMO_TEST_CLASS(TestCategoryDb)
#include "TestCategoryDb.moc"
