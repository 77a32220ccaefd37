#include "entity/VumoCategoryEntity.h"

namespace Quorvia::vumo::entity {

VumoCategoryEntity::VumoCategoryEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoCategoryEntity::~VumoCategoryEntity() = default;

} // namespace Quorvia::vumo::entity
