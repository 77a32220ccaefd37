#include "entity/VumoAttributeGroupsEntity.h"

namespace Quorvia::vumo::entity {

VumoAttributeGroupsEntity::VumoAttributeGroupsEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoAttributeGroupsEntity::~VumoAttributeGroupsEntity() = default;

} // namespace Quorvia::vumo::entity
