#include "editor/VumoBasisInfo.h"

namespace Quorvia::vumo {

VumoBasisInfo::VumoBasisInfo(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
{
}

VumoBasisInfo::~VumoBasisInfo() = default;

void VumoBasisInfo::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
}

bool VumoBasisInfo::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    Q_UNUSED(errors)
    Q_UNUSED(save)
    return m_vumo != nullptr;
}

bool VumoBasisInfo::CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
{
    Q_UNUSED(errors)
    Q_UNUSED(copy)
    return m_vumo != nullptr;
}

} // namespace Quorvia::vumo
