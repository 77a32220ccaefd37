#include "entity/VumoCategoryAttributeEntity.h"

namespace Quorvia::vumo::entity {

VumoCategoryAttributeEntity::VumoCategoryAttributeEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoCategoryAttributeEntity::~VumoCategoryAttributeEntity() = default;

} // namespace Quorvia::vumo::entity
