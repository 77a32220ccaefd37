#pragma once
// The category store on one SQLite connection (the host's "Category" database): four tables
// written by the category download and read by the editor, the pickers and the importers.
// List and map outputs are new records owned by the caller (qDeleteAll).
#include "database/CategoryDbInterface.h"
#include "database/SqlStore.h"

#include <memory>

namespace Quorvia::vumo::database {

namespace dml {
class VumoCategoryDml;
class VumoCategoryAttributeDml;
class VenderShopCategoryDml;
class VumoAttributeGroupsDml;
} // namespace dml

class CategoryDb final : public CategoryDbInterface
{
    Q_OBJECT

public:
    explicit CategoryDb(DbConnectionPtr connection, QObject* parent = nullptr);
    ~CategoryDb() override;

    static constexpr const char* kCurrentVersion = "2.0";

    bool CheckDatabase() override;
    bool ReplaceVenderShopCategories(const QList<VenderShopCategoryEntity*>& list) override;
    bool GetVenderShopCategories(QList<VenderShopCategoryEntity*>& list) override;
    bool GetVenderShopCategoryMap(QMap<qint64, VenderShopCategoryEntity*>& map) override;
    bool SaveVenderShopCategory(const VenderShopCategoryEntity& record) override;
    bool SaveCategoryAttributes(const QList<VumoCategoryEntity*>& list) override;
    bool GetCategoryAttributes(qint64 cid, QList<VumoCategoryEntity*>& list) override;
    bool SaveAttributeValues(const QList<VumoCategoryAttributeEntity*>& list) override;
    bool GetAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list) override;
    bool GetAttributesWithValues(qint64 cid, int isSaleProp, QList<CategoryAttributeWithValues>& list) override;
    bool SaveAttributeGroups(const QList<VumoAttributeGroupsEntity*>& list) override;
    bool GetAttributeGroups(qint64 cid, QList<VumoAttributeGroupsEntity*>& list) override;
    bool SaveCategoryData(const VenderShopCategoryEntity* category, const QList<VumoCategoryEntity*>& attributes,
                          const QMap<qint64, QList<VumoCategoryAttributeEntity*>>& values,
                          const QList<VumoAttributeGroupsEntity*>& groups) override;
    bool SaveCategoryDataLists(const VenderShopCategoryEntity* category, const QList<VumoCategoryEntity*>& attributes,
                               const QList<VumoCategoryAttributeEntity*>& values,
                               const QList<VumoAttributeGroupsEntity*>& groups) override;
    bool ClearAll() override;
    bool ApplyCategoryRecords(const QVector<CategoryRecordRows>& records, bool replaceAll,
                              const CategoryWriteProgress& progress = {}, qint64* failedCid = nullptr) override;
    bool GetSpecialAttributes(qint64 cid, QList<VumoCategoryEntity*>& list) override;
    bool GetValidAttributeValues(qint64 aid, QList<VumoCategoryAttributeEntity*>& list) override;
    bool GetValueName(qint64 vid, QString& name) override;
    bool GetRequiredAttributeValues(qint64 cid, int isReq, int isSaleProp, QMap<qint64, QList<qint64>>& map) override;
    bool GetValueNames(qint64 aid, QMap<QString, qint64>& map) override;
    bool GetValueNameAndAttribute(qint64 vid, QString& name, qint64& aid) override;
    bool GetAttributeByName(const QString& name, qint64 cid, qint64& aid, QString& features) override;

    bool GetConfig(const QString& key, QString& value) override;
    bool SetConfig(const QString& key, const QString& value) override;
    bool UpdateExecBatchSql(const QStringList& statements) override;

    // A stored version text that falls below a threshold, both taken at single precision
    // (so "1.6" is not below 1.6, "1.5" and a missing version are).
    static bool StoredVersionBelow(const QString& stored, float threshold);

private:
    // Adds vumo_category.features unless it is there already (a half-finished upgrade).
    bool UpgradeFeatures();
    bool HasColumn(const QString& table, const QString& column);
    // Runs `work` inside a transaction: commit when it returns true, else roll back.
    template <class Work>
    bool InTransaction(Work work);

    SqlStore m_store;
    std::shared_ptr<dml::VumoCategoryDml> m_categoryDml;
    std::shared_ptr<dml::VumoCategoryAttributeDml> m_attributeDml;
    std::shared_ptr<dml::VenderShopCategoryDml> m_shopCategoryDml;
    std::shared_ptr<dml::VumoAttributeGroupsDml> m_groupsDml;
};

} // namespace Quorvia::vumo::database
