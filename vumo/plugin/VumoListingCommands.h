#pragma once
// Store-side steps of the listing page's commands that need no widget: pasting a copy,
// restoring from the recycle bin, the listing page address of a listing and the workbench's
// template list.
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}
namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

// Saves a copy of the stored listing `sourceClientId` into `vumoClass` (1 or 4) under
// `newClientId`: the class's status, no marketplace number (the copy's SKUs lose theirs too,
// or an upload of the copy would change the original's SKUs), for templates the name
// "模板yyMMddhhmm". `copy` receives the saved record. False with the message to show:
// "粘贴：当前分类不能进行粘贴操作！", "粘贴：获取商品信息失败" or
// "粘贴出错：保存商品信息至数据库失败！".
bool PasteVumoCopy(database::VumoDbInterface& store, const QString& sourceClientId, int vumoClass,
                   const QDateTime& serverTime, const QString& newClientId, entity::VumoDataEntity& copy,
                   QString& message);

// Puts a recycle-bin listing back into the local store (status 2014). A restored listing is
// new to the marketplace: it loses its marketplace number and its SKU numbers. False when the
// listing is missing, not in the recycle bin, or the store fails.
bool RestoreVumoFromRecycleBin(database::VumoDbInterface& store, const QString& clientId);

// The first SKU number of a listing (its default SKU included); 0 when it has none.
qint64 FirstSkuIdOf(database::VumoDbInterface& store, const QString& clientId);

// The class (1..5) of a stored listing, from its status: looked up by client id, else by
// marketplace number when that is above 0; -1 when the listing is not found or its status
// belongs to no class.
int StoredClassOf(database::VumoDbInterface& store, const QString& clientId, qint64 vumoId);

// Fills `templates` from the store when it is empty (see VumoTemplateListSql); false and
// "获取模板信息失败！" logged when the query fails.
bool FillTemplateList(database::VumoDbInterface& store, QList<QPair<QString, QString>>& templates);

} // namespace Quorvia::vumo
