#include "utils/SellerPaths.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "quorvia/DataRoot.h"

#include <QCoreApplication>
#include <QDir>

namespace Quorvia::utils {

QString PluginDisplayName()
{
    return QCoreApplication::translate("Quorvia::vumo::VumoPlugin", "商品管理");
}

QString SellerFolder()
{
    // The data root stands in for the application's own folder, which is not writable here.
    const QString uid = AppShareHelp::instance()->GetUid();
    if (uid.isEmpty())
        return QString(); // no seller, no per-seller files
    const QString sep = QDir::separator();
    const QString folder = QDir::toNativeSeparators(Quorvia::DataRoot()) + sep + QStringLiteral("users") + sep
        + uid + sep + QStringLiteral("plugin") + sep + PluginDisplayName() + sep;
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return QString();
    return folder;
}

QString VumoIniPath()
{
    // Without a seller folder there is no settings file: never fall back to "/vumo.ini".
    const QString folder = SellerFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QStringLiteral("vumo.ini");
}

QString SellerImageFolder()
{
    const QString seller = SellerFolder();
    if (seller.isEmpty())
        return QString();
    const QString folder = seller + QStringLiteral("images") + QDir::separator();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return QString();
    return folder;
}

} // namespace Quorvia::utils
