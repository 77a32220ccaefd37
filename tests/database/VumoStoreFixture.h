#pragma once
// A listing store on a fresh file in a temporary home, and complete sample listings.
#include "database/DbConnection.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDb.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "support/TempHome.h"
#include "utils/SellerPaths.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <memory>

namespace VumoTest {

using Quorvia::vumo::database::DbConnection;
using Quorvia::vumo::database::DbConnectionPtr;
using Quorvia::vumo::database::VumoDb;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoImgEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

inline VumoSkuEntity* makeSku(const QString& attributes, qint64 yvPrice, qint64 skuId = 0)
{
    auto* sku = new VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_yv_price(yvPrice);
    sku->set_market_price(yvPrice + 100);
    sku->set_stock_num(5);
    sku->set_status(2);
    sku->set_sku_id(skuId);
    sku->set_outer_id(QStringLiteral("o-") + attributes);
    return sku;
}

inline VumoImgEntity* makeImage(const QString& name, qint64 colorId, qint64 index, int state = 0)
{
    auto* image = new VumoImgEntity;
    image->set_name(name);
    image->set_img_url(QStringLiteral("http://img.example/") + name);
    image->set_color_id(colorId);
    image->set_index_id(index);
    image->set_state(state);
    image->set_is_main(index == 0 && colorId == 0);
    image->set_img_id(100 + index + 10 * colorId);
    return image;
}

// A listing that passes the completeness check, with two SKUs and three pictures (two own,
// one of colour 9).
inline std::unique_ptr<VumoDataEntity> makeListing(const QString& clientId, qint64 vumoId)
{
    auto record = std::make_unique<VumoDataEntity>();
    record->set_client_id(clientId);
    record->set_vumo_id(vumoId);
    record->set_cid(655);
    record->set_title(QStringLiteral("Tom's 保温杯 %1").arg(clientId));
    record->set_logo(QStringLiteral("main-%1.jpg").arg(clientId));
    record->set_desc(QStringLiteral("<p>描述 it's</p>"));
    record->set_weight(1.25);
    record->set_length(10);
    record->set_wide(20);
    record->set_high(30);
    record->set_market_price(2000);
    record->set_yv_price(1500);
    record->set_min_yvprice(1500);
    record->set_max_yvprice(1500);
    record->set_stock_num(10);
    record->set_vumo_status(8);
    record->set_status(2);
    record->set_upload_status(1);
    record->set_attributes(QStringLiteral("1001:2001|1002:2002,2003"));
    record->set_input_pids(QStringLiteral("3001|3002"));
    record->set_input_strs(QStringLiteral("甲{DouHao}乙|丙"));
    record->set_modified(QDateTime(QDate(2024, 3, 5), QTime(14, 15, 16)));
    record->set_pack_listing(QStringLiteral("杯子x1"));
    record->set_service(QStringLiteral("保修一年"));
    record->set_producter(QStringLiteral("厂家"));
    record->set_wrap(QStringLiteral("纸盒"));
    record->AddSku(makeSku(QStringLiteral("1:1^2:1"), 1500, vumoId * 10 + 1));
    record->AddSku(makeSku(QStringLiteral("1:2^2:1"), 1500, vumoId * 10 + 2));
    record->AddImage(makeImage(QStringLiteral("a-%1.jpg").arg(clientId), 0, 0));
    record->AddImage(makeImage(QStringLiteral("b-%1.jpg").arg(clientId), 0, 1));
    record->AddImage(makeImage(QStringLiteral("c-%1.jpg").arg(clientId), 9, 0));
    return record;
}

// The sorted client ids of the rows a statement returns.
inline QStringList ClientIdsOf(Quorvia::vumo::database::VumoDbInterface& store, const QString& statement)
{
    QList<VUMO_LIST_STRUCT> rows;
    if (!store.QueryVumoRows(statement, rows))
        return {QStringLiteral("<statement failed>")};
    QStringList ids;
    for (const VUMO_LIST_STRUCT& row : rows)
        ids << row.client_id;
    ids.sort();
    return ids;
}

// A listing store on the file the workbench's database service gives the demo seller, so the
// plug-in's own VumoDBMgr reaches the same file once the login is written (sellerStore()).
class StoreFixture
{
public:
    StoreFixture() { open(); }
    ~StoreFixture() { close(); }

    void open()
    {
        QString error;
        connection = DbConnection::OpenFile(
            home.filePath(QStringLiteral("users/%1/databases/%2/Vumo.db")
                              .arg(DemoLogin().uid, Quorvia::utils::PluginDisplayName())),
            &error);
        if (connection)
            name = connection->baseConnectionName();
    }
    // Drops the store and the connection, keeping the file.
    void close()
    {
        store.reset();
        connection.reset();
        if (!name.isEmpty()) {
            {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
            name.clear();
        }
    }
    template <class Store = VumoDb>
    Store* make()
    {
        auto* s = new Store(connection);
        store.reset(s);
        return s;
    }

    // The store as the plug-in reaches it: logged in as the demo seller, through VumoDBMgr and
    // the host's database service (callers Reset() the manager when done).
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> sellerStore() const
    {
        home.writeLogin();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        return Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();
    }

    QSqlDatabase db() const { return connection->database(); }
    bool exec(const QString& sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql);
    }
    QVariant scalar(const QString& sql) const
    {
        QSqlQuery q(db());
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }

    TempHome home;
    DbConnectionPtr connection;
    std::unique_ptr<VumoDb> store;
    QString name;
};

} // namespace VumoTest
