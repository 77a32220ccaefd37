#include "entity/VumoSkuEntity.h"

#include "entity/PropertyValue.h"
#include "entity/VumoStatus.h"

namespace Quorvia::vumo::entity {

VumoSkuEntity::VumoSkuEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoSkuEntity::~VumoSkuEntity() = default;

QVariant VumoSkuEntity::ConvertValue(const QString& name, const QVariant& raw) const
{
    if (name == QLatin1String("cost_price") || name == QLatin1String("market_price")
        || name == QLatin1String("yv_price"))
        return PriceFromApi(raw);
    if (name == QLatin1String("status")) {
        if (IsNumericVariant(raw)) {
            const int code = raw.toInt();
            return code >= 0 && code <= 2 ? code : 2;
        }
        return SkuStatusFromApiText(raw.toString());
    }
    return IEntity::ConvertValue(name, raw);
}

} // namespace Quorvia::vumo::entity
