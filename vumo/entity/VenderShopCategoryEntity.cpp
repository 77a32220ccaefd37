#include "entity/VenderShopCategoryEntity.h"

namespace Quorvia::vumo::entity {

VenderShopCategoryEntity::VenderShopCategoryEntity(QObject* parent)
    : IEntity(parent)
{
}

VenderShopCategoryEntity::~VenderShopCategoryEntity() = default;

} // namespace Quorvia::vumo::entity
