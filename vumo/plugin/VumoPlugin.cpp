#include "plugin/VumoPlugin.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoMainWidget.h"
#include "utils/Log.h"

namespace Quorvia::vumo {

VumoPlugin::VumoPlugin(QObject* parent)
    : QObject(parent)
{
}

VumoPlugin::~VumoPlugin() = default;

void VumoPlugin::Initialize() {}

void VumoPlugin::SetUserInfo(const Quorvia::core::plugin::LoginRecord& record)
{
    UserInfo::instance()->SetLogin(record);
}

QWidget* VumoPlugin::CreateMainWidget()
{
    using Quorvia::vumo::database::VumoDBMgr;
    // A failed check does not stop the plug-in: every store operation then fails on its own.
    if (!VumoDBMgr::instance()->GetVumoDb()->CheckDatabase())
        qCCritical(lcTrade).noquote() << QStringLiteral("检查商品数据库失败！");
    if (!VumoDBMgr::instance()->GetCategoryDb()->CheckDatabase())
        qCCritical(lcTrade).noquote() << QStringLiteral("检查商品类目数据库失败！");
    return new VumoMainWidget(nullptr);
}

} // namespace Quorvia::vumo
