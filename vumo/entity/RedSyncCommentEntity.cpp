#include "entity/RedSyncCommentEntity.h"

namespace Quorvia::vumo::entity {

RedSyncCommentEntity::RedSyncCommentEntity(QObject* parent)
    : IEntity(parent)
{
}

RedSyncCommentEntity::~RedSyncCommentEntity() = default;

} // namespace Quorvia::vumo::entity
