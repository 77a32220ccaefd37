#include "editor/VumoSkuPage.h"

namespace Quorvia::vumo {

VumoSkuPage::VumoSkuPage(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
{
}

VumoSkuPage::~VumoSkuPage() = default;

void VumoSkuPage::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
}

bool VumoSkuPage::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    Q_UNUSED(errors)
    Q_UNUSED(save)
    return true;
}

bool VumoSkuPage::CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
{
    Q_UNUSED(errors)
    Q_UNUSED(copy)
    return true;
}

void VumoSkuPage::OnYvCatsChanged(qint64 cid)
{
    Q_UNUSED(cid)
}

} // namespace Quorvia::vumo
