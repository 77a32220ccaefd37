#include "database/VumoDb.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoCompleteness.h"
#include "database/dml/RowMapping.h"
#include "database/dml/SellerCatsDml.h"
#include "database/dml/VumoDataDml.h"
#include "database/dml/VumoExtDml.h"
#include "database/dml/VumoImgDml.h"
#include "database/dml/VumoRedDml.h"
#include "database/dml/VumoSkuDml.h"
#include "entity/PropertyValue.h"
#include "entity/RedSyncCommentEntity.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoDataExtEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "utils/Log.h"
#include "utils/SqlText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <new>
#include <utility>

namespace Quorvia::vumo::database {

using namespace Quorvia::vumo::entity;
using Quorvia::utils::SqlText;

namespace {

constexpr int kStatusLocalStore = 2014;
constexpr int kStatusRecycleBin = 2015;

const char* const kCreateConfig = "CREATE TABLE IF NOT EXISTS CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR);";
const char* const kImageColumns[] = {"img_id",   "name",     "img_url",   "is_main",          "state",
                                     "index_id", "color_id", "client_id", "is_online_mainPic"};

bool isColumnName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return pattern.match(name).hasMatch();
}

// "a='x' and b='y'"; false when a column name is not a plain identifier.
bool joinPairs(const VumoDbInterface::ColumnValues& pairs, const QString& separator, QString& out)
{
    QStringList parts;
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it) {
        if (!isColumnName(it.key())) {
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "invalid column name" << it.key();
            return false;
        }
        parts << QStringLiteral("%1='%2'").arg(it.key(), SqlText(it.value()));
    }
    out = parts.join(separator);
    return !parts.isEmpty();
}

QString quotedList(const QStringList& ids)
{
    QStringList quoted;
    for (const QString& id : ids)
        quoted << QStringLiteral("'%1'").arg(SqlText(id));
    return quoted.join(QLatin1Char(','));
}

} // namespace

// Prepared statements per thread connection and statement text. The owner thread's statements
// live here; a worker thread's live in that thread's own storage, so they go with the thread,
// before its connections close, and never from another thread: a worker's connection closes
// in the thread's exit, which can still run while the owner destroys the store.
class PreparedStatements
{
public:
    PreparedStatements()
        : m_owner(QThread::currentThread())
    {
    }

    // Statements are looked up by the address of their text and then compared, so the long
    // REPLACE texts are not hashed on every row.
    QSqlQuery* get(const QSqlDatabase& db, const QString& sql)
    {
        if (!db.isOpen())
            return nullptr;
        if (QThread::currentThread() != m_owner)
            return lookup(workerStatements(), db, sql);
        QMutexLocker locker(&m_mutex);
        return lookup(m_byConnection, db, sql);
    }

private:
    struct Entry
    {
        QString sql;
        std::shared_ptr<QSqlQuery> query;
    };
    using Statements = QHash<QString, QHash<const void*, Entry>>;

    static Statements& workerStatements()
    {
        thread_local Statements statements;
        thread_local bool released = false;
        if (!released) {
            released = true;
            DbConnection::AtThreadEnd([] { workerStatements().clear(); });
        }
        return statements;
    }

    static QSqlQuery* lookup(Statements& byConnection, const QSqlDatabase& db, const QString& sql)
    {
        {
            const auto connection = byConnection.constFind(db.connectionName());
            if (connection != byConnection.constEnd()) {
                const auto found = connection->constFind(sql.constData());
                if (found != connection->constEnd() && found->sql == sql && found->query->driver() == db.driver())
                    return found->query.get();
            }
        }
        pruneStale(byConnection);
        auto& statements = byConnection[db.connectionName()];
        auto query = std::make_shared<QSqlQuery>(db);
        query->setForwardOnly(true);
        if (!query->prepare(sql)) {
            qCWarning(lcVumo).noquote() << QStringLiteral("预编译%1失败").arg(sql) << query->lastError().text();
            return nullptr;
        }
        statements.insert(sql.constData(), Entry{sql, query});
        return query.get();
    }

    // Connections that went away take their statements with them.
    static void pruneStale(Statements& byConnection)
    {
        for (auto it = byConnection.begin(); it != byConnection.end();) {
            bool alive = false;
            for (const Entry& entry : std::as_const(it.value()))
                alive = alive || entry.query->driver();
            if (alive)
                ++it;
            else
                it = byConnection.erase(it);
        }
    }

    QThread* const m_owner;
    QMutex m_mutex;
    Statements m_byConnection;
};

// One multi-table write, all or nothing. At the top level it is a transaction of its own that
// holds the write lock from its start (the first statement of a save is a look-up); inside the
// caller's transaction, which holds that lock already, it is a savepoint. Rolled back unless
// committed.
class VumoDb::WriteScope
{
public:
    explicit WriteScope(VumoDb& db)
        : m_db(db)
    {
        switch (m_db.m_store.BeginWrite()) {
        case SqlStore::WriteStart::Began:
            m_kind = Kind::Transaction;
            break;
        case SqlStore::WriteStart::Nested:
            if (m_db.execPrepared(QStringLiteral("SAVEPOINT vumo_write"), {}))
                m_kind = Kind::Savepoint;
            break;
        case SqlStore::WriteStart::Failed:
            break;
        }
    }
    ~WriteScope()
    {
        if (m_kind == Kind::Transaction) {
            m_db.m_store.RollbackTransaction();
        } else if (m_kind == Kind::Savepoint) {
            m_db.execPrepared(QStringLiteral("ROLLBACK TO vumo_write"), {});
            m_db.execPrepared(QStringLiteral("RELEASE vumo_write"), {});
        }
    }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    bool isOpen() const { return m_kind != Kind::None; }
    bool Commit()
    {
        const bool done = m_kind == Kind::Transaction ? m_db.m_store.CommitTransaction()
            : m_kind == Kind::Savepoint               ? m_db.execPrepared(QStringLiteral("RELEASE vumo_write"), {})
                                                      : false;
        if (done)
            m_kind = Kind::None; // otherwise the destructor rolls back
        return done;
    }

private:
    enum class Kind { None, Transaction, Savepoint };
    VumoDb& m_db;
    Kind m_kind = Kind::None;
};

VumoDb::VumoDb(DbConnectionPtr connection, QObject* parent)
    : VumoDbInterface(parent)
    , m_store(connection)
    , m_dataDml(std::make_shared<dml::VumoDataDml>(connection))
    , m_extDml(std::make_shared<dml::VumoExtDml>(connection))
    , m_skuDml(std::make_shared<dml::VumoSkuDml>(connection))
    , m_sellerCatsDml(std::make_shared<dml::SellerCatsDml>(connection))
    , m_imgDml(std::make_shared<dml::VumoImgDml>(connection))
    , m_redDml(std::make_shared<dml::VumoRedDml>(connection))
    , m_prepared(std::make_unique<PreparedStatements>())
{
    m_dataLayout = buildLayout(*m_dataDml, VumoDataEntity::staticMetaObject);
    m_extLayout = buildLayout(*m_extDml, VumoDataExtEntity::staticMetaObject);
    m_skuLayout = buildLayout(*m_skuDml, VumoSkuEntity::staticMetaObject);
    m_imgLayout = buildLayout(*m_imgDml, VumoImgEntity::staticMetaObject);
    m_sellerCatsLayout = buildLayout(*m_sellerCatsDml, SellerCatsEntity::staticMetaObject);
    m_redLayout = buildLayout(*m_redDml, RedSyncCommentEntity::staticMetaObject);
}

VumoDb::~VumoDb() = default;

template <class Dml>
VumoDb::RowLayout VumoDb::buildLayout(const Dml& dml, const QMetaObject& meta) const
{
    RowLayout layout;
    layout.sql = dml.ReplaceStatement();
    layout.names = dml.Columns();
    for (const QString& name : std::as_const(layout.names))
        layout.properties << meta.property(meta.indexOfProperty(name.toLatin1().constData()));
    return layout;
}

// The generic replace with the statement prepared once per thread: the download stores tens
// of thousands of listings one transaction each.
template <class Dml, class Entity>
bool VumoDb::replaceRow(const Dml& dml, const RowLayout& layout, const Entity& record)
{
    QSqlQuery* query = m_prepared->get(m_store.Db(), layout.sql);
    if (!query)
        return false;
    for (int i = 0; i < layout.properties.size(); ++i)
        query->bindValue(i, dml.ToColumn(layout.names.at(i), layout.properties.at(i).read(&record)));
    if (!query->exec()) {
        Quorvia::database::dml::LogStatementFailure(query->lastError().text());
        return false;
    }
    return true;
}

bool VumoDb::execPrepared(const QString& sql, const QVariantList& values, QSqlQuery** out)
{
    QSqlQuery* query = m_prepared->get(m_store.Db(), sql);
    if (!query)
        return false;
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    if (!query->exec()) {
        qCWarning(lcVumo).noquote() << QStringLiteral("执行SQL:%1 失败,%2").arg(sql, query->lastError().text());
        return false;
    }
    if (out)
        *out = query;
    return true;
}

bool VumoDb::Transaction()
{
    return m_store.BeginTransaction();
}

bool VumoDb::Commit()
{
    return m_store.CommitTransaction();
}

bool VumoDb::Rollback()
{
    return m_store.RollbackTransaction();
}

bool VumoDb::GetConfig(const QString& key, QString& value)
{
    return m_store.ReadConfig(key, value);
}

bool VumoDb::SetConfig(const QString& key, const QString& value)
{
    return m_store.WriteConfig(key, value);
}

bool VumoDb::UpdateExecBatchSql(const QStringList& statements)
{
    return m_store.ExecBatch(statements);
}

bool VumoDb::ExecSql(const QString& sql)
{
    return m_store.Exec(sql);
}

bool VumoDb::CheckDatabase()
{
    // A store of a newer release is left exactly as it is: no table created, no version set.
    QString stored;
    if (m_store.ReadConfig(QStringLiteral("Version"), stored)
        && SqlStore::VersionNumber(stored) > SqlStore::VersionNumber(QString::fromLatin1(kCurrentVersion))) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "listing store of a newer version" << stored
                                     << "left untouched";
        return false;
    }
    if (!m_store.Exec(QString::fromUtf8(kCreateConfig)))
        return false;
    if (!m_store.BeginTransaction()) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "cannot begin transaction" << m_store.Db().lastError().text();
        return false;
    }
    bool existed = false;
    const bool created = m_dataDml->CreateTable(existed, dml::VumoDataDml::CreateStatement())
        && m_extDml->CreateTable(existed, dml::VumoExtDml::CreateStatement())
        && m_skuDml->CreateTable(existed, dml::VumoSkuDml::CreateStatement())
        && m_imgDml->CreateTable(existed, dml::VumoImgDml::CreateStatement())
        && m_sellerCatsDml->CreateTable(existed, dml::SellerCatsDml::CreateStatement())
        && m_redDml->CreateTable(existed, dml::VumoRedDml::CreateStatement());
    if (!created || !m_store.CommitTransaction()) {
        m_store.RollbackTransaction();
        return false;
    }
    if (!existed)
        return SetConfig(QStringLiteral("Version"), QString::fromLatin1(kCurrentVersion));
    return upgrade();
}

// Runs the schema steps the stored version is below. A step whose columns are already there
// counts as done (a database without a version but with every column would otherwise fail on
// duplicate columns); the first failing step stops the upgrade and keeps the old version, so
// the next start tries again.
bool VumoDb::upgrade()
{
    struct Step
    {
        float threshold;
        QList<QPair<QString, QString>> columns;
    };
    const QList<Step> steps = {
        {1.5f,
         {{QStringLiteral("input_pids"), QStringLiteral("text")},
          {QStringLiteral("input_strs"), QStringLiteral("text")}}},
        {1.7f, {{QStringLiteral("ad_content"), QStringLiteral("text")}}},
        {1.9f, {{QStringLiteral("brand_id"), QStringLiteral("INTEGER DEFAULT 0")}}},
        {2.0f, {{QStringLiteral("upload_status"), QStringLiteral("INTEGER DEFAULT -1")}}},
    };

    QString text;
    GetConfig(QStringLiteral("Version"), text);
    // The stored text is read at the thresholds' own precision: "1.7" is not below 1.7.
    const double stored = double(float(SqlStore::VersionNumber(text)));

    QSet<QString> present;
    {
        QSqlQuery info(m_store.Db());
        if (!info.exec(QStringLiteral("PRAGMA table_info(vumo_data)")))
            return false;
        while (info.next())
            present.insert(info.value(1).toString().toLower());
    }

    bool ran = false;
    const QString table = m_dataDml->TableName();
    for (const Step& step : steps) {
        if (!SqlStore::VersionBelow(stored, step.threshold))
            continue;
        ran = true;
        QStringList statements;
        for (const auto& column : step.columns) {
            if (!present.contains(column.first.toLower()))
                statements << SqlStore::AlterAddColumn(table, column.first, column.second);
        }
        if (statements.isEmpty())
            continue;
        if (!UpdateExecBatchSql(statements)) {
            qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "schema upgrade stopped at"
                                         << statements.join(QLatin1Char(';'));
            return false;
        }
        for (const auto& column : step.columns)
            present.insert(column.first.toLower());
    }
    if (ran)
        return SetConfig(QStringLiteral("Version"), QString::fromLatin1(kCurrentVersion));
    return true;
}

// Each colour group of the record replaces the stored pictures of that colour. The download
// path binds the same delete, so tens of thousands of listings do not compile one each.
bool VumoDb::writeImageGroups(VumoDataEntity& record, bool bound, bool isNew)
{
    const QString clientId = record.client_id();
    auto& groups = record.Images();
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        const bool deleted = isNew
            || (bound ? execPrepared(QStringLiteral("delete from vumo_image where client_id=? and color_id=?"),
                                     {clientId, it.key()})
                      : m_store.Exec(QStringLiteral("delete from vumo_image where client_id='%1' and color_id=%2")
                                         .arg(SqlText(clientId), QString::number(it.key()))));
        if (!deleted)
            return false;
        for (VumoImgEntity* image : it.value()) {
            if (!image)
                continue;
            image->set_client_id(clientId);
            image->set_color_id(it.key());
            if (!replaceRow(*m_imgDml, m_imgLayout, *image))
                return false;
        }
    }
    return true;
}

// Data, extension, SKUs and pictures of one listing. A local edit leaves the SKU rows marked
// deleted (status 0) that the record does not carry, so the next upload still removes them
// on the marketplace, and marks the removed ones so first; it keeps the default SKU (which
// holds the listing's marketplace SKU id) unless the record brings its own. A download
// replaces all SKUs. A listing not stored before has no SKU or picture rows to clear.
bool VumoDb::writeListing(VumoDataEntity& record, bool fromLocalEdit, bool isNew, const QList<qint64>& removedSkuIds)
{
    const QString clientId = record.client_id();
    if (!replaceRow(*m_dataDml, m_dataLayout, record))
        return false;
    VumoDataExtEntity ext;
    record.FillExt(ext);
    if (!replaceRow(*m_extDml, m_extLayout, ext))
        return false;

    if (fromLocalEdit && !isNew) {
        for (const qint64 skuId : removedSkuIds) {
            if (skuId > 0
                && !execPrepared(QStringLiteral("UPDATE vumo_sku SET status=0 WHERE client_id=? AND sku_id=? "
                                                "AND attributes!=''"),
                                 {clientId, skuId}))
                return false;
        }
        const bool bringsDefault = std::any_of(
            record.Skus().cbegin(), record.Skus().cend(),
            [](const VumoSkuEntity* sku) { return sku && sku->attributes().isEmpty(); });
        const QString clearSkus = bringsDefault
            ? QStringLiteral("DELETE FROM vumo_sku WHERE client_id=? AND (status!=0 OR attributes='')")
            : QStringLiteral("DELETE FROM vumo_sku WHERE client_id=? AND status!=0 AND attributes!=''");
        if (!execPrepared(clearSkus, {clientId}))
            return false;
    } else if (!isNew && !execPrepared(QStringLiteral("DELETE FROM vumo_sku WHERE client_id=?"), {clientId})) {
        return false;
    }
    // A listing from outside replaces its pictures as a whole: a colour set it no longer has
    // would otherwise stay behind from the earlier copy.
    if (!fromLocalEdit && !isNew
        && !execPrepared(QStringLiteral("DELETE FROM vumo_image WHERE client_id=?"), {clientId}))
        return false;
    for (VumoSkuEntity* sku : record.Skus()) {
        if (!sku)
            continue;
        sku->set_client_id(clientId);
        if (sku->vumo_id() == 0)
            sku->set_vumo_id(record.vumo_id());
        if (!replaceRow(*m_skuDml, m_skuLayout, *sku))
            return false;
    }
    return writeImageGroups(record, !fromLocalEdit, isNew);
}

bool VumoDb::SaveDownloadedVumo(VumoDataEntity& record, bool* existed, QString* checkMessage)
{
    if (existed)
        *existed = false;
    const QString message = CheckVumoCompleteness(record, m_stockMode.load());
    record.set_is_vumoinfo_complete(message.isEmpty());
    if (checkMessage)
        *checkMessage = message;
    if (record.client_id().isEmpty()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "listing without client_id not stored" << record.vumo_id();
        return false;
    }

    WriteScope scope(*this);
    if (!scope.isOpen())
        return false;
    // One look-up: the row with this vumo_id (marked 1), else a row with this client_id.
    QSqlQuery* query = nullptr;
    const QVariant vumoId = record.vumo_id() != 0 ? QVariant(record.vumo_id())
                                                  : QVariant(QMetaType::fromType<qint64>());
    if (!execPrepared(QStringLiteral("SELECT client_id, 1 FROM vumo_data WHERE vumo_id=? "
                                     "UNION ALL SELECT client_id, 0 FROM vumo_data WHERE client_id=?"),
                      {vumoId, record.client_id()}, &query))
        return false;
    bool known = false;
    QString previous;
    while (query->next()) {
        known = true;
        if (query->value(1).toInt() == 1) {
            previous = query->value(0).toString();
            break;
        }
    }
    query->finish();
    if (!previous.isNull()) {
        if (existed)
            *existed = true;
        qCInfo(lcVumo).noquote()
            << QStringLiteral("商品 %1 已经存在，原 clientId = %2").arg(record.vumo_id()).arg(previous);
        record.set_client_id(previous);
    }
    if (!writeListing(record, false, !known))
        return false;
    return scope.Commit();
}

bool VumoDb::SaveVumo(VumoDataEntity& record, QString* checkMessage, const QList<qint64>& removedSkuIds)
{
    const QString message = CheckVumoCompleteness(record, m_stockMode.load());
    record.set_is_vumoinfo_complete(message.isEmpty());
    if (checkMessage)
        *checkMessage = message;
    if (record.client_id().isEmpty()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "listing without client_id not stored";
        return false;
    }
    WriteScope scope(*this);
    if (!scope.isOpen() || !writeListing(record, true, false, removedSkuIds))
        return false;
    return scope.Commit();
}

bool VumoDb::ClearSellerCategories()
{
    return ExecSql(QStringLiteral("DELETE FROM %1").arg(m_sellerCatsDml->TableName()));
}

bool VumoDb::ReplaceSellerCategories(const QList<SellerCatsEntity*>& list)
{
    if (list.isEmpty())
        return false;
    WriteScope scope(*this);
    if (!scope.isOpen() || !ClearSellerCategories())
        return false;
    for (const SellerCatsEntity* category : list) {
        if (!category || !replaceRow(*m_sellerCatsDml, m_sellerCatsLayout, *category))
            return false;
    }
    return scope.Commit();
}

bool VumoDb::GetVumo(const QString& clientId, VumoDataEntity& record)
{
    const QString failure = QStringLiteral("获取商品信息失败clientid=%1").arg(clientId);
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    const QString sql =
        QStringLiteral(
            "SELECT b.producter,b.wrap,b.pack_listing,b.service, a.* FROM vumo_data a LEFT JOIN vumo_ext b ON "
            "a.client_id=b.client_id  WHERE a.client_id='%1'")
            .arg(SqlText(clientId));
    if (!query.exec(sql) || !query.next()) {
        qCWarning(lcVumo).noquote() << failure << query.lastError().text();
        return false;
    }
    Quorvia::database::dml::FillFromRecord(record, query.record());
    query.finish();

    record.ClearImages();
    QList<VumoImgEntity*> images;
    const QString imageSql =
        QStringLiteral(
            "select img_id,name,img_url,is_main, state,index_id,color_id,client_id, is_online_mainPic from vumo_image "
            "where client_id='%1' order by color_id asc,index_id asc")
            .arg(SqlText(clientId));
    if (!QueryImages(imageSql, images)) {
        qCWarning(lcVumo).noquote() << failure;
        return false;
    }
    for (VumoImgEntity* image : images)
        record.AddImage(image);

    record.ClearSkus();
    QList<VumoSkuEntity*> skus;
    if (!GetSkus(clientId, skus)) {
        qDeleteAll(skus);
        qCWarning(lcVumo).noquote() << failure;
        return false;
    }
    for (VumoSkuEntity* sku : skus)
        record.AddSku(sku);
    return true;
}

bool VumoDb::GetSellerCategories(QList<SellerCatsEntity*>& list, QMap<qint64, SellerCatsEntity*>& map)
{
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select cid,parent_id,name,is_parent,is_open,is_home_show,index_id from "
                                   "seller_category order by parent_id asc,index_id asc"))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    while (query.next()) {
        auto* category = new (std::nothrow) SellerCatsEntity;
        if (!category) {
            qCWarning(lcVumo).noquote() << QStringLiteral("店内分类实体创建失败");
            return false;
        }
        Quorvia::database::dml::FillFromRecord(*category, query.record());
        list.append(category);
        map.insert(category->cid(), category);
    }
    return true;
}

bool VumoDb::GetVumosByClientIds(const QStringList& clientIds, QList<VumoDataEntity*>& list)
{
    if (clientIds.isEmpty())
        return true;
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    const QString sql =
        QStringLiteral(
            "select "
            "a.client_id,a.vumo_id,a.cid,a.brand_id,a.title,a.upc_code,a.item_num,a.length,a.wide,a.high,a.weight,"
            "a.cost_price,a.market_price,a.attributes,a.yv_price,a.desc,a.logo,a.stock_num,a.is_vumoinfo_complete,"
            "a.input_pids,a.input_strs,b.pack_listing,b.service from vumo_data a left join vumo_ext b on "
            "a.client_id=b.client_id where a.client_id in (%1)")
            .arg(quotedList(clientIds));
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    while (query.next()) {
        auto* record = new VumoDataEntity;
        Quorvia::database::dml::FillFromRecord(*record, query.record());
        list.append(record);
    }
    return true;
}

bool VumoDb::CountVumos(const QString& condition, qint64& count)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT COUNT(client_id) FROM vumo_data WHERE %1").arg(condition))
        || !query.next()) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    count = query.value(0).toLongLong();
    return true;
}

bool VumoDb::QueryTextPairs(const QString& sql, QList<TextPair>& list)
{
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    if (query.record().count() < 2)
        return false;
    while (query.next())
        list.append(qMakePair(query.value(0).toString(), query.value(1).toString()));
    return true;
}

bool VumoDb::QueryVumoRows(const QString& sql, QList<VUMO_LIST_STRUCT>& list)
{
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text() << sql;
        return false;
    }
    if (query.record().count() < 19) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "table query returns" << query.record().count() << "columns";
        return false;
    }
    while (query.next()) {
        VUMO_LIST_STRUCT row;
        row.client_id = query.value(0).toString();
        row.vumo_id = query.value(1).toLongLong();
        row.cid = query.value(2).toLongLong();
        row.title = query.value(3).toString();
        row.vumo_status = query.value(4).toInt();
        row.item_num = query.value(5).toString();
        row.cost_price = query.value(6).toLongLong();
        row.market_price = query.value(7).toLongLong();
        row.yv_price = query.value(8).toLongLong();
        row.stock_num = query.value(9).toLongLong();
        row.modified = ParseDateTime(query.value(10));
        row.min_yvprice = query.value(11).toLongLong();
        row.max_yvprice = query.value(12).toLongLong();
        row.template_name = query.value(13).toString();
        row.shop_categorys = query.value(14).toString();
        row.is_vumoinfo_complete = query.value(15).toInt() != 0;
        row.ad_content = query.value(16).toString();
        const QVariant uploadStatus = query.value(17);
        row.upload_status = uploadStatus.isNull() ? -1 : uploadStatus.toInt();
        row.error_msg = query.value(18).toString();
        list.append(std::move(row));
    }
    return true;
}

bool VumoDb::GetVumoField(const QString& clientId, const QString& column, QVariant& value)
{
    if (!isColumnName(column)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "invalid column name" << column;
        return false;
    }
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT %1 FROM vumo_data WHERE client_id='%2'").arg(column, SqlText(clientId)))
        || !query.next()) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    value = query.value(0);
    return true;
}

bool VumoDb::GetSkus(const QString& clientId, QList<VumoSkuEntity*>& list, bool withDefault)
{
    QString sql = QStringLiteral("SELECT * FROM vumo_sku WHERE client_id='%1' AND status!=0").arg(SqlText(clientId));
    if (!withDefault)
        sql += QStringLiteral(" AND attributes!=''");
    return m_skuDml->SelectSql(sql, list);
}

bool VumoDb::queryIds(const QString& sql, QList<qint64>& list)
{
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    while (query.next())
        list.append(query.value(0).toLongLong());
    return true;
}

bool VumoDb::GetSkuIdsByVumoId(qint64 vumoId, QList<qint64>& list)
{
    return queryIds(
        QStringLiteral(" SELECT sku_id FROM vumo_sku WHERE vumo_id='%1' AND status!=0 AND attributes!=''").arg(vumoId),
        list);
}

bool VumoDb::GetDeletedSkuIds(const QString& clientId, QList<qint64>& list)
{
    return queryIds(QStringLiteral(" SELECT sku_id FROM vumo_sku WHERE client_id='%1' AND status=0 AND attributes!=''")
                        .arg(SqlText(clientId)),
                    list);
}

bool VumoDb::SelectImages(const ColumnValues& conditions, QList<VumoImgEntity*>& list)
{
    QString where;
    if (!joinPairs(conditions, QStringLiteral(" and "), where))
        return false;
    return m_imgDml->SelectSql(
        QStringLiteral("select name,img_url,is_main,state,index_id,client_id from vumo_image where %1").arg(where),
        list);
}

bool VumoDb::InsertImages(const QList<VumoImgEntity*>& list)
{
    WriteScope scope(*this);
    if (!scope.isOpen())
        return false;
    for (const VumoImgEntity* image : list) {
        if (!image || !replaceRow(*m_imgDml, m_imgLayout, *image))
            return false;
    }
    return scope.Commit();
}

bool VumoDb::DeleteLocalImages(const QString& clientId)
{
    return ExecSql(
        QStringLiteral("delete from vumo_image where %1").arg(QStringLiteral("client_id='%1'").arg(SqlText(clientId))));
}

bool VumoDb::DeleteImages(const ColumnValues& conditions)
{
    // No conditions would delete every picture of every listing.
    QString where;
    if (!joinPairs(conditions, QStringLiteral(" and "), where))
        return false;
    return ExecSql(QStringLiteral("delete from vumo_image where %1").arg(where));
}

bool VumoDb::UpdateImages(const ColumnValues& conditions, const ColumnValues& values)
{
    QString where;
    QString assignments;
    if (!joinPairs(conditions, QStringLiteral(" and "), where) || !joinPairs(values, QStringLiteral(","), assignments))
        return false;
    return ExecSql(QStringLiteral("update vumo_image set %2 where %1").arg(where, assignments));
}

bool VumoDb::CountPictureUses(const QString& name, qint64& uses)
{
    QSqlQuery* query = nullptr;
    if (name.isEmpty()
        || !execPrepared(QStringLiteral("SELECT (SELECT COUNT(*) FROM vumo_image WHERE name=? AND state!=1) + "
                                        "(SELECT COUNT(*) FROM vumo_data WHERE logo=?)"),
                         {name, name}, &query)
        || !query->next())
        return false;
    uses = query->value(0).toLongLong();
    query->finish();
    return true;
}

bool VumoDb::queryText(const QString& sql, QString& text)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(sql) || !query.next()) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    text = query.value(0).toString();
    return true;
}

// A single-listing update that changed nothing (no such listing) is a failure.
bool VumoDb::updateOneRow(const QString& sql)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    return query.numRowsAffected() > 0;
}

bool VumoDb::GetDescription(const QString& clientId, QString& text)
{
    return queryText(QStringLiteral("SELECT desc FROM vumo_data where client_id='%1'").arg(SqlText(clientId)), text);
}

bool VumoDb::SetDescription(const QString& clientId, const QString& text)
{
    return updateOneRow(
        QStringLiteral("UPDATE vumo_data SET desc='%1' WHERE client_id='%2'").arg(SqlText(text), SqlText(clientId)));
}

bool VumoDb::GetPackListing(const QString& clientId, QString& text)
{
    return queryText(QStringLiteral("SELECT pack_listing FROM vumo_ext where client_id='%1'").arg(SqlText(clientId)),
                     text);
}

bool VumoDb::SetPackListing(const QString& clientId, const QString& text)
{
    return updateOneRow(QStringLiteral("UPDATE vumo_ext SET pack_listing='%1' WHERE client_id='%2'")
                            .arg(SqlText(text), SqlText(clientId)));
}

bool VumoDb::GetService(const QString& clientId, QString& text)
{
    return queryText(QStringLiteral("SELECT service FROM vumo_ext where client_id='%1'").arg(SqlText(clientId)), text);
}

bool VumoDb::SetService(const QString& clientId, const QString& text)
{
    return updateOneRow(
        QStringLiteral("UPDATE vumo_ext SET service='%1' WHERE client_id='%2'").arg(SqlText(text), SqlText(clientId)));
}

bool VumoDb::DeleteVumos(const QList<VumoDataEntity*>& list)
{
    bool all = true;
    for (const VumoDataEntity* record : list)
        all = (record && DeleteVumo(*record)) && all;
    return all;
}

// All four tables or none: a half-deleted listing would leave orphan SKUs and pictures.
bool VumoDb::DeleteVumo(const VumoDataEntity& record)
{
    const QString id = SqlText(record.client_id());
    const QList<QPair<QString, QString>> steps = {
        {QStringLiteral("DELETE FROM vumo_data WHERE client_id='%1'").arg(id),
         QStringLiteral("删除商品：删除商品信息失败！")},
        {QStringLiteral("DELETE FROM vumo_ext WHERE client_id='%1'").arg(id),
         QStringLiteral("删除商品：删除商品扩展信息失败！")},
        {QStringLiteral("DELETE FROM vumo_sku WHERE client_id='%1'").arg(id),
         QStringLiteral("删除商品：删除SKU失败！")},
        {QStringLiteral("delete from vumo_image where %1").arg(QStringLiteral("client_id='%1'").arg(id)),
         QStringLiteral("删除商品：删除图片失败！")},
    };
    WriteScope scope(*this);
    if (!scope.isOpen())
        return false;
    for (const auto& step : steps) {
        if (!m_store.Exec(step.first)) {
            qCWarning(lcVumo).noquote() << step.second;
            return false;
        }
    }
    return scope.Commit();
}

bool VumoDb::MoveToRecycleBin(const VumoDataEntity& record)
{
    return ExecSql(QStringLiteral("UPDATE vumo_data SET vumo_status=%1 WHERE client_id='%2'")
                       .arg(kStatusRecycleBin)
                       .arg(SqlText(record.client_id())));
}

// Another listing or picture row may share the file (copied listings): keep it then.
bool VumoDb::referencedElsewhere(const QString& clientId, const QString& picture)
{
    QSqlQuery* query = nullptr;
    if (!execPrepared(QStringLiteral("SELECT (SELECT COUNT(*) FROM vumo_data WHERE logo=? AND client_id!=?)"
                                     " + (SELECT COUNT(*) FROM vumo_image WHERE name=? AND client_id!=?)"),
                      {picture, clientId, picture, clientId}, &query))
        return true;
    const bool used = !query->next() || query->value(0).toLongLong() > 0;
    query->finish();
    return used;
}

bool VumoDb::RemoveVumo(const VumoDataEntity& record, bool permanent)
{
    if (!permanent)
        return MoveToRecycleBin(record);
    const QString clientId = record.client_id();
    QString logo;
    if (!queryText(QStringLiteral("SELECT logo FROM vumo_data WHERE client_id='%1'").arg(SqlText(clientId)), logo)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("获取商品主图失败clientid=%1").arg(clientId);
        logo.clear();
    }
    if (!DeleteVumo(record))
        return false;
    // Only a plain file name inside the seller's picture folder is ever removed.
    const bool plainName = !logo.isEmpty() && QFileInfo(logo).fileName() == logo && logo != QLatin1String(".")
        && logo != QLatin1String("..") && !logo.contains(QLatin1Char('\\'));
    if (plainName && !referencedElsewhere(clientId, logo)) {
        if (!m_imageFolder.isEmpty()) {
            const QString path = QDir(m_imageFolder).filePath(logo);
            if (QFile::exists(path) && !QFile::remove(path))
                qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "cannot remove picture" << path;
        }
    }
    return true;
}

bool VumoDb::fillImages(const QString& sql, int columns, QList<VumoImgEntity*>& list)
{
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    const QSqlRecord shape = query.record();
    if (shape.count() < columns) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "picture query returns" << shape.count() << "columns";
        return false;
    }
    while (query.next()) {
        auto* image = new VumoImgEntity;
        for (int i = 0; i < 9; ++i)
            image->setProperty(kImageColumns[i], query.value(i));
        for (int i = 9; i < columns; ++i) {
            const QByteArray name = shape.fieldName(i).toLatin1();
            if (image->metaObject()->indexOfProperty(name.constData()) >= 0)
                image->setProperty(name.constData(), query.value(i));
        }
        list.append(image);
    }
    return true;
}

bool VumoDb::QueryImages(const QString& sql, QList<VumoImgEntity*>& list)
{
    return fillImages(sql, 9, list);
}

bool VumoDb::QueryImagesEx(const QString& sql, QList<VumoImgEntity*>& list)
{
    return fillImages(sql, 10, list);
}

// Every value the listing names for a category attribute must be one of that attribute's
// valid values; attributes the category does not know are left alone.
bool VumoDb::CheckAttributeValues(qint64 cid, const QString& attributes, CategoryDbInterface* categoryDb,
                                  QString* errorText)
{
    auto fail = [errorText](const QString& message) {
        qCWarning(lcVumo).noquote() << message;
        if (errorText)
            *errorText = message;
        return false;
    };
    QList<CategoryAttributeWithValues> known;
    if (!categoryDb || !categoryDb->GetAttributesWithValues(cid, 0, known)
        || !categoryDb->GetAttributesWithValues(cid, 1, known))
        return fail(QStringLiteral("数据库读取类目cid=%1的属性id和属性值id失败").arg(cid));
    QHash<QString, QSet<QString>> valuesByAttribute;
    for (const CategoryAttributeWithValues& attribute : std::as_const(known)) {
        QSet<QString>& values = valuesByAttribute[QString::number(attribute.aid)];
        for (const CategoryAttributeValue& value : attribute.values)
            values.insert(QString::number(value.vid));
    }
    QList<QPair<QString, QStringList>> items;
    if (!ParseAttributeItems(attributes, items))
        return fail(QStringLiteral("商品属性有误"));
    for (const auto& item : std::as_const(items)) {
        const auto it = valuesByAttribute.constFind(item.first);
        if (it == valuesByAttribute.constEnd())
            continue;
        for (const QString& vid : item.second) {
            if (!it->contains(vid))
                return fail(QStringLiteral("数据库读取数据错误，vumoCatsAttvalueIds不包含属性aid=%1的所有属性值vid")
                                .arg(item.first));
        }
    }
    if (errorText)
        errorText->clear();
    return true;
}

bool VumoDb::FindVumoById(qint64 vumoId, QString& clientId, int& status, QString& shopCategorys)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT client_id,vumo_status,shop_categorys From vumo_data WHERE vumo_id=%1")
                        .arg(vumoId))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    if (!query.next())
        return false;
    clientId = query.value(0).toString();
    status = query.value(1).toInt();
    shopCategorys = query.value(2).toString();
    return true;
}

bool VumoDb::SetUploadResult(const VumoDataEntity& record, bool succeeded, const QString& errorText)
{
    const QString clientId = SqlText(record.client_id());
    if (!succeeded) {
        // One pass over the template: a "%1" inside the server's text is not a placeholder.
        return updateOneRow(QStringLiteral("UPDATE vumo_data SET error_msg='%1', upload_status=%2 WHERE client_id='%3'")
                                .arg(SqlText(errorText), QString::number(record.upload_status()), clientId));
    }
    const QString update =
        QStringLiteral("UPDATE vumo_data SET vumo_id=%1, vumo_status=%2, status=%3, upload_status=%4 "
                       "WHERE client_id='%5'")
            .arg(QString::number(record.vumo_id()), QString::number(record.vumo_status()),
                 QString::number(record.status()), QString::number(record.upload_status()), clientId);
    WriteScope scope(*this);
    if (!scope.isOpen() || !updateOneRow(update))
        return false;
    // Back in the local store the listing is new to the marketplace: its SKU ids are gone.
    if (record.vumo_status() == kStatusLocalStore
        && !m_store.Exec(QStringLiteral("UPDATE vumo_sku SET sku_id='' WHERE client_id='%1'").arg(clientId)))
        return false;
    return scope.Commit();
}

bool VumoDb::GetSyncComments(QList<RedSyncCommentEntity*>& list)
{
    return m_redDml->SelectSql(QStringLiteral("SELECT * FROM synccomment ORDER BY create_date DESC"), list);
}

bool VumoDb::DeleteSyncComment(qint64 newSkuId)
{
    return ExecSql(QStringLiteral("DELETE FROM synccomment WHERE new_skuid = %1").arg(newSkuId));
}

bool VumoDb::SaveSyncComment(const RedSyncCommentEntity& record)
{
    return replaceRow(*m_redDml, m_redLayout, record);
}

} // namespace Quorvia::vumo::database
