#include "plugin/VumoPlugin.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/MsgBox.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <QTimer>

namespace Quorvia::vumo {

VumoPlugin::VumoPlugin(QObject* parent)
    : QObject(parent)
{
}

VumoPlugin::~VumoPlugin() = default;

void VumoPlugin::Initialize()
{
}

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
    // The seller's folder holds vumo.ini and the pictures; have it ready before any page needs it.
    if (!Quorvia::utils::EnsureFolder(
            Quorvia::utils::SellerImageFolder(Quorvia::utils::AppShareHelp::instance()->GetUid())))
        qCWarning(lcTrade).noquote() << QStringLiteral("创建商品管理用户目录失败");
    auto* widget = new VumoMainWidget(nullptr);
    // A store file that was not opened leaves an empty shop: say which file and why, once the
    // host has embedded the widget (start-up itself never waits for the seller).
    const QString problem = VumoDBMgr::instance()->StoreProblemText();
    if (!problem.isEmpty()) {
        QTimer::singleShot(0, widget, [widget, problem] {
            Quorvia::core::ui::ShowMsgBox(widget, problem, Quorvia::core::ui::MsgBox::Information, QMessageBox::Ok);
        });
    }
    return widget;
}

} // namespace Quorvia::vumo
