#include "editor/VumoImgsPage.h"

namespace Quorvia::vumo {

VumoImgsPage::VumoImgsPage(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
{
}

VumoImgsPage::~VumoImgsPage() = default;

void VumoImgsPage::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
}

bool VumoImgsPage::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    Q_UNUSED(errors)
    Q_UNUSED(save)
    return true;
}

void VumoImgsPage::SetLoadedAsNew(bool asNew)
{
    m_loadedAsNew = asNew;
}

void VumoImgsPage::SetColors(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit)
{
    Q_UNUSED(colorValue)
    Q_UNUSED(isInit)
}

void VumoImgsPage::SetLogoPath(QString logoPath)
{
    Q_UNUSED(logoPath)
}

} // namespace Quorvia::vumo
