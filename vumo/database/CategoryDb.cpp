#include "database/CategoryDb.h"

#include "database/dml/VenderShopCategoryDml.h"
#include "database/dml/VumoAttributeGroupsDml.h"
#include "database/dml/VumoCategoryAttributeDml.h"
#include "database/dml/VumoCategoryDml.h"
#include "utils/Log.h"
#include "utils/SqlText.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Quorvia::vumo::database {

using Quorvia::utils::SqlText;

namespace {

const QString kVersionKey = QStringLiteral("Version");
constexpr float kFeaturesThreshold = 1.6f;

} // namespace

CategoryDb::CategoryDb(DbConnectionPtr connection, QObject* parent)
    : CategoryDbInterface(parent)
    , m_store(connection)
    , m_categoryDml(std::make_shared<dml::VumoCategoryDml>(connection))
    , m_attributeDml(std::make_shared<dml::VumoCategoryAttributeDml>(connection))
    , m_shopCategoryDml(std::make_shared<dml::VenderShopCategoryDml>(connection))
    , m_groupsDml(std::make_shared<dml::VumoAttributeGroupsDml>(connection))
{
}

CategoryDb::~CategoryDb() = default;

template <class Work>
bool CategoryDb::InTransaction(Work work)
{
    if (!m_store.BeginTransaction()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << m_store.Db().lastError().text();
        return false;
    }
    if (work() && m_store.CommitTransaction())
        return true;
    m_store.RollbackTransaction();
    return false;
}

bool CategoryDb::StoredVersionBelow(const QString& stored, float threshold)
{
    const float value = float(SqlStore::VersionNumber(stored));
    return SqlStore::VersionBelow(double(value), threshold);
}

bool CategoryDb::HasColumn(const QString& table, const QString& column)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        return false;
    while (query.next()) {
        if (query.value(1).toString().compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool CategoryDb::UpgradeFeatures()
{
    const QString table = m_categoryDml->TableName();
    const QString column = QStringLiteral("features");
    if (HasColumn(table, column))
        return true;
    return m_store.ExecBatch({SqlStore::AlterAddColumn(table, column, QStringLiteral("text"))});
}

bool CategoryDb::CheckDatabase()
{
    // A store of a newer release is left exactly as it is: no table created, no version set.
    QString current;
    if (m_store.ReadConfig(kVersionKey, current)
        && SqlStore::VersionNumber(current) > SqlStore::VersionNumber(QString::fromLatin1(kCurrentVersion))) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "category store of a newer version" << current
                                    << "left untouched";
        return false;
    }
    if (!m_store.Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS CONFIG (key VARCHAR PRIMARY KEY, value VARCHAR);")))
        return false;

    bool existed = false;
    const bool created = InTransaction([&] {
        return m_categoryDml->CreateTable(existed, dml::VumoCategoryDml::CreateStatement())
            && m_attributeDml->CreateTable(existed, dml::VumoCategoryAttributeDml::CreateStatement())
            && m_groupsDml->CreateTable(existed, dml::VumoAttributeGroupsDml::CreateStatement())
            && m_shopCategoryDml->CreateTable(existed, dml::VenderShopCategoryDml::CreateStatement());
    });
    if (!created)
        return false;

    if (!existed)
        return m_store.WriteConfig(kVersionKey, QString::fromLatin1(kCurrentVersion));

    QString stored;
    m_store.ReadConfig(kVersionKey, stored); // missing counts as 0
    if (!StoredVersionBelow(stored, kFeaturesThreshold))
        return true;
    if (!UpgradeFeatures())
        return false;
    return m_store.WriteConfig(kVersionKey, QString::fromLatin1(kCurrentVersion));
}

bool CategoryDb::ReplaceVenderShopCategories(const QList<VenderShopCategoryEntity*>& list)
{
    // One transaction, so a failed insert cannot leave the table emptied.
    return InTransaction([&] { return m_shopCategoryDml->Delete(QString()) && m_shopCategoryDml->Replace(list); });
}

bool CategoryDb::GetVenderShopCategories(QList<VenderShopCategoryEntity*>& list)
{
    return m_shopCategoryDml->SelectSql(QStringLiteral("select id, index_id, fid, name, is_parent, status, lev  from "
                                                       "vender_shop_category where status=1 order by lev asc"),
                                        list);
}

bool CategoryDb::GetVenderShopCategoryMap(QMap<qint64, VenderShopCategoryEntity*>& map)
{
    QList<VenderShopCategoryEntity*> list;
    if (!GetVenderShopCategories(list))
        return false;
    for (VenderShopCategoryEntity* record : std::as_const(list)) {
        auto it = map.find(record->id());
        if (it != map.end()) {
            delete it.value();
            it.value() = record;
        } else {
            map.insert(record->id(), record);
        }
    }
    return true;
}

bool CategoryDb::SaveVenderShopCategory(const VenderShopCategoryEntity& record)
{
    return m_shopCategoryDml->Replace(record);
}

bool CategoryDb::SaveCategoryAttributes(const QList<VumoCategoryEntity*>& list)
{
    return m_categoryDml->Replace(list);
}

bool CategoryDb::GetCategoryAttributes(qint64 cid, QList<VumoCategoryEntity*>& list)
{
    return m_categoryDml->SelectSql(
        QStringLiteral("select aid, name, cid, is_key_prop, is_sale_prop, index_id, status, input_type, is_req, "
                       "is_fet, is_nav from vumo_category where cid=%1")
            .arg(cid),
        list);
}

bool CategoryDb::SaveAttributeValues(const QList<VumoCategoryAttributeEntity*>& list)
{
    return m_attributeDml->Replace(list);
}

bool CategoryDb::GetAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list)
{
    return m_attributeDml->SelectSql(
        QStringLiteral("select aid, vid, name, status, index_id from vumo_category_attribute where aid=%1").arg(aid),
        list);
}

bool CategoryDb::GetAttributesWithValues(qint64 cid, int isSaleProp, QList<CategoryAttributeWithValues>& list)
{
    const QString sql =
        QStringLiteral("select a.aid, a.name, a.cid, a.status, a.input_type, a.is_req, a.group_id, a.index_id, b.vid, "
                       "b.name, b.status, b.index_id from vumo_category a left join vumo_category_attribute b on "
                       "a.aid=b.aid where a.cid=%1 and a.is_sale_prop=%2 and a.status=1 and (b.status=1 or b.status is "
                       "null) order by a.group_id asc, a.index_id asc, a.aid asc,b.index_id asc, b.vid asc")
            .arg(cid)
            .arg(isSaleProp);
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("执行失败") << query.lastError().text();
        return false;
    }
    QList<CategoryAttributeWithValues> rows;
    while (query.next()) {
        const qint64 aid = query.value(0).toLongLong();
        // Rows of one attribute are adjacent (ordered by group, position, identifier).
        if (rows.isEmpty() || rows.last().aid != aid) {
            CategoryAttributeWithValues attribute;
            attribute.aid = aid;
            attribute.name = query.value(1).toString();
            attribute.cid = query.value(2).toLongLong();
            attribute.status = query.value(3).toInt();
            attribute.input_type = query.value(4).toInt();
            attribute.is_req = query.value(5).toInt();
            attribute.group_id = query.value(6).toInt();
            attribute.index_id = query.value(7).toLongLong();
            rows.append(attribute);
        }
        if (query.value(8).isNull())
            continue;
        CategoryAttributeValue value;
        value.vid = query.value(8).toLongLong();
        value.name = query.value(9).toString();
        value.status = query.value(10).toInt();
        value.index_id = query.value(11).toLongLong();
        rows.last().values.append(value);
    }
    list.append(rows);
    return true;
}

bool CategoryDb::SaveAttributeGroups(const QList<VumoAttributeGroupsEntity*>& list)
{
    return m_groupsDml->Replace(list);
}

bool CategoryDb::GetAttributeGroups(qint64 cid, QList<VumoAttributeGroupsEntity*>& list)
{
    return m_groupsDml->SelectSql(
        QStringLiteral(
            "SELECT group_id, cid, name, status, index_id From vumo_attribute_groups WHERE cid=%1 ORDER BY index_id")
            .arg(cid),
        list);
}

bool CategoryDb::SaveCategoryData(const VenderShopCategoryEntity* category,
                                  const QList<VumoCategoryEntity*>& attributes,
                                  const QMap<qint64, QList<VumoCategoryAttributeEntity*>>& values,
                                  const QList<VumoAttributeGroupsEntity*>& groups)
{
    if (!category)
        return false;
    return InTransaction([&] {
        if (!m_shopCategoryDml->Replace(*category))
            return false;
        if (!groups.isEmpty() && !m_groupsDml->Replace(groups))
            return false;
        if (!attributes.isEmpty() && !m_categoryDml->Replace(attributes))
            return false;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (!it.value().isEmpty() && !m_attributeDml->Replace(it.value()))
                return false;
        }
        return true;
    });
}

bool CategoryDb::SaveCategoryDataLists(const VenderShopCategoryEntity* category,
                                       const QList<VumoCategoryEntity*>& attributes,
                                       const QList<VumoCategoryAttributeEntity*>& values,
                                       const QList<VumoAttributeGroupsEntity*>& groups)
{
    QMap<qint64, QList<VumoCategoryAttributeEntity*>> byAttribute;
    for (VumoCategoryAttributeEntity* value : values) {
        if (!value)
            return false;
        byAttribute[value->aid()].append(value);
    }
    return SaveCategoryData(category, attributes, byAttribute, groups);
}

bool CategoryDb::ClearAll()
{
    return InTransaction([&] {
        return m_shopCategoryDml->Delete(QString()) && m_categoryDml->Delete(QString())
            && m_attributeDml->Delete(QString()) && m_groupsDml->Delete(QString());
    });
}

namespace {

// The prepared statements of one write, bound row by row.
struct CategoryStatements
{
    explicit CategoryStatements(const QSqlDatabase& db)
        : category(db)
        , attribute(db)
        , value(db)
        , group(db)
        , dropValues(db)
        , dropAttributes(db)
        , dropGroups(db)
        , dropCategory(db)
    {
    }

    bool Prepare(bool removals)
    {
        bool ok = category.prepare(QStringLiteral("REPLACE INTO vender_shop_category (id, index_id, fid, name, "
                                                  "is_parent, status, lev) VALUES (?,?,?,?,?,?,?)"))
            && attribute.prepare(QStringLiteral(
                "REPLACE INTO vumo_category (aid, name, cid, is_key_prop, is_sale_prop, index_id, status, att_type, "
                "input_type, is_req, is_fet, is_nav, group_id, features) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"))
            && value.prepare(QStringLiteral("REPLACE INTO vumo_category_attribute (aid, vid, name, status, index_id, "
                                            "features) VALUES (?,?,?,?,?,?)"))
            && group.prepare(QStringLiteral(
                "REPLACE INTO vumo_attribute_groups (group_id, cid, name, status, index_id) VALUES (?,?,?,?,?)"));
        if (ok && removals)
            ok = dropValues.prepare(QStringLiteral("DELETE FROM vumo_category_attribute WHERE aid IN "
                                                   "(SELECT aid FROM vumo_category WHERE cid=?)"))
                && dropAttributes.prepare(QStringLiteral("DELETE FROM vumo_category WHERE cid=?"))
                && dropGroups.prepare(QStringLiteral("DELETE FROM vumo_attribute_groups WHERE cid=?"))
                && dropCategory.prepare(QStringLiteral("DELETE FROM vender_shop_category WHERE id=?"));
        return ok;
    }

    static bool Run(QSqlQuery& query, std::initializer_list<QVariant> values)
    {
        int i = 0;
        for (const QVariant& v : values)
            query.bindValue(i++, v);
        if (query.exec())
            return true;
        qCWarning(lcTrade).noquote() << QStringLiteral("语句 执行失败:%1").arg(query.lastError().text());
        return false;
    }

    // What is stored for the category goes; its values before the attributes they hang on.
    bool Drop(qint64 cid)
    {
        return Run(dropValues, {cid}) && Run(dropAttributes, {cid}) && Run(dropGroups, {cid})
            && Run(dropCategory, {cid});
    }

    bool Write(const CategoryRecordRows& record)
    {
        const CategoryRow& c = record.category;
        if (!Run(category, {c.id, c.index_id, c.fid, c.name, c.is_parent, c.status, c.lev}))
            return false;
        for (const AttributeGroupRow& g : record.groups) {
            if (!Run(group, {g.group_id, g.cid, g.name, g.status, g.index_id}))
                return false;
        }
        for (const CategoryAttributeRow& a : record.attributes) {
            if (!Run(attribute,
                     {a.aid, a.name, a.cid, a.is_key_prop, a.is_sale_prop, a.index_id, a.status, a.att_type,
                      a.input_type, a.is_req, a.is_fet, a.is_nav, a.group_id, a.features}))
                return false;
        }
        for (const AttributeValueRow& v : record.values) {
            if (!Run(value, {v.aid, v.vid, v.name, v.status, v.index_id, v.features}))
                return false;
        }
        return true;
    }

    QSqlQuery category, attribute, value, group;
    QSqlQuery dropValues, dropAttributes, dropGroups, dropCategory;
};

} // namespace

bool CategoryDb::ApplyCategoryRecords(const QVector<CategoryRecordRows>& records, bool replaceAll,
                                      const CategoryWriteProgress& progress, qint64* failedCid)
{
    if (failedCid)
        *failedCid = 0;
    return InTransaction([&] {
        if (replaceAll
            && !(m_shopCategoryDml->Delete(QString()) && m_categoryDml->Delete(QString())
                 && m_attributeDml->Delete(QString()) && m_groupsDml->Delete(QString())))
            return false;
        CategoryStatements statements(m_store.Db());
        if (!statements.Prepare(!replaceAll)) {
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << m_store.Db().lastError().text();
            return false;
        }
        const int total = int(records.size());
        for (int i = 0; i < total; ++i) {
            const CategoryRecordRows& record = records.at(i);
            // A full write starts from empty tables: nothing to drop.
            const bool ok = (replaceAll || statements.Drop(record.category.id))
                && (record.Removes() || statements.Write(record));
            if (!ok) {
                if (failedCid)
                    *failedCid = record.category.id;
                return false;
            }
            if (progress && !progress(i + 1, total))
                return false;
        }
        return true;
    });
}

bool CategoryDb::GetSpecialAttributes(qint64 cid, QList<VumoCategoryEntity*>& list)
{
    return m_categoryDml->SelectSql(
        QStringLiteral("SELECT aid,name FROM vumo_category WHERE cid=%1 AND att_type=4 and status=1 ORDER BY aid ")
            .arg(cid),
        list);
}

bool CategoryDb::GetValidAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list)
{
    return m_attributeDml->SelectSql(
        QStringLiteral(
            "SELECT aid,vid,name,features FROM vumo_category_attribute WHERE aid=%1 and  status=1 ORDER BY index_id")
            .arg(aid),
        list);
}

bool CategoryDb::GetValueName(qint64 vid, QString& name)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT name FROM vumo_category_attribute WHERE vid=%1").arg(vid))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    if (!query.next())
        return false;
    name = query.value(0).toString();
    return true;
}

bool CategoryDb::GetRequiredAttributeValues(qint64 cid, int isReq, int isSaleProp, QMap<qint64, QList<qint64>>& map)
{
    const QString sql = QStringLiteral(" select a.aid, b.vid  from vumo_category a left join vumo_category_attribute b "
                                       "on a.aid = b.aid where a.cid=%1 and a.is_req=%2 and a.is_sale_prop=%3 and "
                                       "a.input_type in(1,2) order by a.index_id asc, b.index_id asc")
                            .arg(cid)
                            .arg(isReq)
                            .arg(isSaleProp);
    QSqlQuery query(m_store.Db());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("执行失败") << query.lastError().text();
        return false;
    }
    QMap<qint64, QList<qint64>> found;
    while (query.next()) {
        QList<qint64>& vids = found[query.value(0).toLongLong()];
        if (!query.value(1).isNull())
            vids.append(query.value(1).toLongLong());
    }
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        map[it.key()].append(it.value());
    return true;
}

bool CategoryDb::GetValueNames(qint64 aid, QMap<QString, qint64>& map)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT name, vid FROM vumo_category_attribute WHERE aid=%1").arg(aid))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    while (query.next())
        map.insert(query.value(0).toString(), query.value(1).toLongLong());
    return true;
}

bool CategoryDb::GetValueNameAndAttribute(qint64 vid, QString& name, qint64& aid)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT name, aid FROM vumo_category_attribute WHERE vid=%1").arg(vid))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    if (!query.next())
        return false;
    name = query.value(0).toString();
    aid = query.value(1).toLongLong();
    return true;
}

bool CategoryDb::GetAttributeByName(const QString& name, qint64 cid, qint64& aid, QString& features)
{
    QSqlQuery query(m_store.Db());
    if (!query.exec(QStringLiteral("SELECT aid, features FROM vumo_category WHERE name='%1' AND cid=%2")
                        .arg(SqlText(name), QString::number(cid)))) {
        qCWarning(lcVumo).noquote() << query.lastError().text();
        return false;
    }
    if (!query.next())
        return false;
    aid = query.value(0).toLongLong();
    features = query.value(1).toString();
    return true;
}

bool CategoryDb::GetConfig(const QString& key, QString& value)
{
    return m_store.ReadConfig(key, value);
}

bool CategoryDb::SetConfig(const QString& key, const QString& value)
{
    return m_store.WriteConfig(key, value);
}

bool CategoryDb::UpdateExecBatchSql(const QStringList& statements)
{
    return m_store.ExecBatch(statements);
}

} // namespace Quorvia::vumo::database
