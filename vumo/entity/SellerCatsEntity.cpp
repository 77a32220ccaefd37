#include "entity/SellerCatsEntity.h"

namespace Quorvia::vumo::entity {

SellerCatsEntity::SellerCatsEntity(QObject* parent)
    : IEntity(parent)
{
}

SellerCatsEntity::~SellerCatsEntity() = default;

} // namespace Quorvia::vumo::entity
