#include "entity/VumoDataExtEntity.h"

namespace Quorvia::vumo::entity {

VumoDataExtEntity::VumoDataExtEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoDataExtEntity::~VumoDataExtEntity() = default;

} // namespace Quorvia::vumo::entity
