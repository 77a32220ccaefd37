#include "entity/VumoImgEntity.h"

#include "entity/PropertyValue.h"

namespace Quorvia::vumo::entity {

VumoImgEntity::VumoImgEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoImgEntity::~VumoImgEntity() = default;

QVariant VumoImgEntity::ConvertValue(const QString& name, const QVariant& raw) const
{
    if (name == QLatin1String("is_main")) {
        if (raw.metaType().id() == QMetaType::Bool)
            return raw.toBool();
        return raw.toString().trimmed() == QStringLiteral("是");
    }
    // color_id and the other numbers: the base turns texts into 64-bit values.
    return IEntity::ConvertValue(name, raw);
}

} // namespace Quorvia::vumo::entity
