#pragma once
// The completeness check of a listing before it is stored: the first rule the record breaks,
// as the text the seller sees.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo::database {

// Empty when the listing is complete. stockMode 1 checks the package fields instead of the
// stock. Example: a SKU priced above the listing's market price gives
// "销售属性Yv价必须小于或等于商品市场价".
QString CheckVumoCompleteness(const Quorvia::vumo::entity::VumoDataEntity& record, int stockMode);

// Splits input_pids and input_strs at "|" into parallel lists; an empty text is no entry.
// Different lengths are logged and give false.
bool AnalysisAttvalues(const QString& inputPids, const QString& inputStrs, QStringList& pids, QStringList& strs);

// The attribute text "aid:vid|aid:vid1,vid2" (items may also be separated by "^" or ";" as
// the marketplace sends them) as attribute -> value ids. False when an item names no
// attribute or no value.
bool ParseAttributeItems(const QString& attributes, QList<QPair<QString, QStringList>>& items);

} // namespace Quorvia::vumo::database
