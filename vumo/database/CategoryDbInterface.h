#pragma once
// The category store as its users see it: the marketplace categories the seller may list in,
// the attributes of each leaf category, their values and the attribute groups.
//
// Every operation returns true on success. List and map outputs are appended to with new
// records that the caller owns and must free (qDeleteAll); on failure nothing is appended.
#include "database/CategoryRows.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {
class VenderShopCategoryEntity;
class VumoCategoryEntity;
class VumoCategoryAttributeEntity;
class VumoAttributeGroupsEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::database {

// One value of a category attribute as the attribute pickers read it.
struct CategoryAttributeValue
{
    qint64 vid = 0;
    QString name;
    int status = 0;
    qint64 index_id = 0;
};

// One attribute of a category with its valid values (empty when it has none).
struct CategoryAttributeWithValues
{
    qint64 aid = 0;
    QString name;
    qint64 cid = 0;
    int status = 0;
    int input_type = 0;
    int is_req = 0;
    int group_id = 0;
    qint64 index_id = 0;
    QList<CategoryAttributeValue> values;
};

class CategoryDbInterface : public QObject
{
    Q_OBJECT

public:
    using VenderShopCategoryEntity = Quorvia::vumo::entity::VenderShopCategoryEntity;
    using VumoCategoryEntity = Quorvia::vumo::entity::VumoCategoryEntity;
    using VumoCategoryAttributeEntity = Quorvia::vumo::entity::VumoCategoryAttributeEntity;
    using VumoAttributeGroupsEntity = Quorvia::vumo::entity::VumoAttributeGroupsEntity;

    explicit CategoryDbInterface(QObject* parent = nullptr)
        : QObject(parent)
    {
    }
    ~CategoryDbInterface() override = default;

    // Creates missing tables and upgrades the schema to "2.0".
    virtual bool CheckDatabase() = 0;
    // Empties vender_shop_category and stores the list, all or nothing.
    virtual bool ReplaceVenderShopCategories(const QList<VenderShopCategoryEntity*>& list) = 0;
    // Valid categories ordered by level.
    virtual bool GetVenderShopCategories(QList<VenderShopCategoryEntity*>& list) = 0;
    // The same rows keyed by category identifier.
    virtual bool GetVenderShopCategoryMap(QMap<qint64, VenderShopCategoryEntity*>& map) = 0;
    virtual bool SaveVenderShopCategory(const VenderShopCategoryEntity& record) = 0;
    virtual bool SaveCategoryAttributes(const QList<VumoCategoryEntity*>& list) = 0;
    virtual bool GetCategoryAttributes(qint64 cid, QList<VumoCategoryEntity*>& list) = 0;
    virtual bool SaveAttributeValues(const QList<VumoCategoryAttributeEntity*>& list) = 0;
    virtual bool GetAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list) = 0;
    // Valid attributes of a category (sale attributes or the others) with their valid values,
    // in group, position and identifier order; an attribute without values comes once.
    virtual bool GetAttributesWithValues(qint64 cid, int isSaleProp, QList<CategoryAttributeWithValues>& list) = 0;
    virtual bool SaveAttributeGroups(const QList<VumoAttributeGroupsEntity*>& list) = 0;
    virtual bool GetAttributeGroups(qint64 cid, QList<VumoAttributeGroupsEntity*>& list) = 0;
    // One category with its groups, attributes and values (by attribute) in one transaction;
    // refused without a category record.
    virtual bool SaveCategoryData(const VenderShopCategoryEntity* category,
                                  const QList<VumoCategoryEntity*>& attributes,
                                  const QMap<qint64, QList<VumoCategoryAttributeEntity*>>& values,
                                  const QList<VumoAttributeGroupsEntity*>& groups) = 0;
    // As SaveCategoryData with the values of all attributes in one list.
    virtual bool SaveCategoryDataLists(const VenderShopCategoryEntity* category,
                                       const QList<VumoCategoryEntity*>& attributes,
                                       const QList<VumoCategoryAttributeEntity*>& values,
                                       const QList<VumoAttributeGroupsEntity*>& groups) = 0;
    // Empties the four category tables in one transaction.
    virtual bool ClearAll() = 0;
    // Writes the records in one transaction, all or nothing. `replaceAll`: the four tables are
    // emptied first. Otherwise each record replaces what is stored for its category (its row,
    // attributes, their values, groups). A record of a category that is not valid only removes
    // it. `progress` false rolls everything back; `failedCid` names the category a failed
    // statement belonged to (0 when the failure was not one record's).
    virtual bool ApplyCategoryRecords(const QVector<CategoryRecordRows>& records, bool replaceAll,
                                      const CategoryWriteProgress& progress = {}, qint64* failedCid = nullptr) = 0;
    // Valid attributes of type 4 (identifier and name only).
    virtual bool GetSpecialAttributes(qint64 cid, QList<VumoCategoryEntity*>& list) = 0;
    // Valid values of an attribute (aid, vid, name, features) by position.
    virtual bool GetValidAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list) = 0;
    // False when no value has this identifier.
    virtual bool GetValueName(qint64 vid, QString& name) = 0;
    // Attribute identifier -> its value identifiers (empty for an attribute without values),
    // for the selectable attributes (input types 1 and 2).
    virtual bool GetRequiredAttributeValues(qint64 cid, int isReq, int isSaleProp,
                                            QMap<qint64, QList<qint64>>& map) = 0;
    // Value name -> value identifier for one attribute.
    virtual bool GetValueNames(qint64 aid, QMap<QString, qint64>& map) = 0;
    // False when no value has this identifier.
    virtual bool GetValueNameAndAttribute(qint64 vid, QString& name, qint64& aid) = 0;
    // False when the category has no attribute of that name.
    virtual bool GetAttributeByName(const QString& name, qint64 cid, qint64& aid, QString& features) = 0;

    virtual bool GetConfig(const QString& key, QString& value) = 0;
    virtual bool SetConfig(const QString& key, const QString& value) = 0;
    // The statements in order in one transaction; an empty list fails.
    virtual bool UpdateExecBatchSql(const QStringList& statements) = 0;
};

} // namespace Quorvia::vumo::database
