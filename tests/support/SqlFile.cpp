#include "SqlFile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace VumoTest {

SqlFile::SqlFile(const QString& path)
    : m_name(QStringLiteral("sqlfile-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    db.open();
}

SqlFile::~SqlFile()
{
    {
        QSqlDatabase connection = db();
        connection.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool SqlFile::exec(const QStringList& statements) const
{
    QSqlQuery q(db());
    for (const QString& sql : statements) {
        if (!q.exec(sql)) {
            qWarning() << sql << q.lastError().text();
            return false;
        }
    }
    return true;
}

QVariantList SqlFile::column(const QString& sql) const
{
    QVariantList values;
    QSqlQuery q(db());
    if (q.exec(sql)) {
        while (q.next())
            values << q.value(0);
    }
    return values;
}

QStringList Release14ListingStore()
{
    return {
        QStringLiteral(
            "CREATE TABLE vumo_data(client_id TEXT PRIMARY KEY ,vumo_id INTEGER,spu_id INTEGER,cid INTEGER,"
            "shop_categorys TEXT,title TEXT,upc_code TEXT,vumo_status INTEGER,item_num TEXT,length INTEGER,wide "
            "INTEGER,"
            "high INTEGER,weight REAL,cost_price INTEGER,market_price INTEGER,yv_price  INTEGER,desc BLOB,logo TEXT,"
            "stock_num INTEGER,property_alias TEXT,attributes TEXT,created INTEGER(8),modified INTEGER(8),outer_id "
            "TEXT,"
            "status INTEGER(1),transport_id INTEGER,online_time INTEGER(8),offline_time INTEGER(8),is_pay_first "
            "INTEGER(1),"
            "is_shelf_life INTEGER(1),is_imported INTEGER(1),is_can_vat  INTEGER(1),is_special_wet INTEGER(1),"
            "is_appliances_card INTEGER(1),is_health_product INTEGER(1),is_serial_no INTEGER(1),shelf_life_days "
            "INTEGER,"
            "vumo_big_small_model INTEGER,vumo_pack_type INTEGER,min_yvprice INTEGER,max_yvprice INTEGER,"
            "template_name TEXT,error_msg TEXT,is_vumoinfo_complete INTEGER(1))"),
        QStringLiteral("CREATE INDEX vumodata_vumoid_index ON vumo_data (vumo_id)"),
        QStringLiteral("CREATE TABLE vumo_ext(client_id TEXT PRIMARY KEY,vumo_id INTEGER,producter TEXT,wrap TEXT,"
                       "pack_listing TEXT,service TEXT)"),
        QStringLiteral("CREATE INDEX vumoext_vumoid_index ON vumo_ext (vumo_id)"),
        QStringLiteral("CREATE TABLE vumo_sku(client_id TEXT,vumo_id INTEGER,sku_id INTEGER,status INTEGER(1),"
                       "attributes TEXT,stock_num INTEGER,yv_price INTEGER,cost_price INTEGER,market_price INTEGER,"
                       "outer_id TEXT,created INTEGER(8),modified INTEGER(8),primary key(client_id,attributes))"),
        QStringLiteral("CREATE INDEX vumosku_clientid_index ON vumo_sku (client_id)"),
        QStringLiteral("CREATE INDEX vumosku_vumoid_index ON vumo_sku (vumo_id)"),
        QStringLiteral("CREATE INDEX vumosku_skuid_index ON vumo_sku (sku_id)"),
        QStringLiteral("CREATE TABLE vumo_image(name text,img_url text,is_main integer(1),state integer(1),"
                       "index_id integer,color_id integer,client_id text,img_id integer,is_online_mainPic integer(1),"
                       "primary key(CLIENT_ID,name,img_id))"),
        QStringLiteral(
            "CREATE TABLE seller_category(cid INTEGER PRIMARY KEY,parent_id INTEGER,name TEXT,index_id INTEGER,"
            "is_parent INTEGER(1),is_open INTEGER(1),is_home_show INTEGER(1))"),
        QStringLiteral("CREATE TABLE synccomment(new_skuid INTEGER PRIMARY KEY UNIQUE,ori_skuid INTEGER,"
                       "last_req_date INTEGER(8),create_date INTEGER(8))"),
        QStringLiteral("CREATE INDEX sync_comm_index ON synccomment(new_skuid)"),
        QStringLiteral("CREATE TABLE CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR)"),
    };
}

} // namespace VumoTest
