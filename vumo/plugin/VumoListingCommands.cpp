#include "plugin/VumoListingCommands.h"

#include "database/VumoDbInterface.h"
#include "editor/VumoEditStore.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoCommandRules.h"
#include "utils/Log.h"

namespace Quorvia::vumo {

bool PasteVumoCopy(database::VumoDbInterface& store, const QString& sourceClientId, int vumoClass,
                   const QDateTime& serverTime, const QString& newClientId, entity::VumoDataEntity& copy,
                   QString& message)
{
    if (!VumoPasteAllowed(vumoClass)) {
        message = VumoPasteRefusedText();
        return false;
    }
    if (sourceClientId.isEmpty() || newClientId.isEmpty() || !store.GetVumo(sourceClientId, copy)) {
        message = QStringLiteral("粘贴：获取商品信息失败");
        return false;
    }
    editor::MakeVumoCopy(copy, newClientId);
    copy.set_vumo_status(VumoPasteStatus(vumoClass));
    if (VumoPasteStatus(vumoClass) == 2013)
        copy.set_template_name(VumoPasteTemplateName(serverTime));
    if (!store.SaveVumo(copy)) {
        message = QStringLiteral("粘贴出错：保存商品信息至数据库失败！");
        return false;
    }
    message.clear();
    return true;
}

bool RestoreVumoFromRecycleBin(database::VumoDbInterface& store, const QString& clientId)
{
    entity::VumoDataEntity record;
    if (clientId.isEmpty() || !store.GetVumo(clientId, record) || record.vumo_status() != 2015)
        return false;
    record.set_vumo_status(2014);
    record.set_vumo_id(0);
    return store.SetUploadResult(record, true);
}

qint64 FirstSkuIdOf(database::VumoDbInterface& store, const QString& clientId)
{
    QList<entity::VumoSkuEntity*> skus;
    qint64 skuId = 0;
    if (!clientId.isEmpty() && store.GetSkus(clientId, skus, true)) {
        for (const entity::VumoSkuEntity* sku : skus) {
            if (sku && sku->sku_id() > 0) {
                skuId = sku->sku_id();
                break;
            }
        }
    }
    qDeleteAll(skus);
    return skuId;
}

int StoredClassOf(database::VumoDbInterface& store, const QString& clientId, qint64 vumoId)
{
    bool found = false;
    int status = -1;
    if (!clientId.isEmpty()) {
        QVariant value;
        found = store.GetVumoField(clientId, QStringLiteral("vumo_status"), value) && !value.isNull();
        if (found)
            status = value.toInt(&found);
    }
    if (!found && vumoId > 0) {
        QString storedClientId;
        QString shopCategorys;
        found = store.FindVumoById(vumoId, storedClientId, status, shopCategorys);
    }
    return found ? ClassOfStatus(status) : -1;
}

bool FillTemplateList(database::VumoDbInterface& store, QList<QPair<QString, QString>>& templates)
{
    if (!templates.isEmpty())
        return true;
    QList<QPair<QString, QString>> rows;
    if (!store.QueryTextPairs(VumoTemplateListSql(), rows)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("获取模板信息失败！");
        return false;
    }
    templates = rows;
    return true;
}

} // namespace Quorvia::vumo
