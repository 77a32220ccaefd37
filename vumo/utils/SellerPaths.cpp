#include "utils/SellerPaths.h"

#include "quorvia/DataRoot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Quorvia::utils {

QString PluginDisplayName()
{
    return QCoreApplication::translate("Quorvia::vumo::VumoPlugin", "商品管理");
}

QString SellerFolder(const QString& uid)
{
    // The data root stands in for the application's own folder, which is not writable here.
    if (uid.isEmpty())
        return QString(); // no seller, no per-seller files
    const QString sep = QDir::separator();
    return QDir::toNativeSeparators(Quorvia::DataRoot()) + sep + QStringLiteral("users") + sep + uid + sep
        + QStringLiteral("plugin") + sep + PluginDisplayName() + sep;
}

QString VumoIniPath(const QString& uid)
{
    // Without a seller folder there is no settings file: never fall back to "/vumo.ini".
    const QString folder = SellerFolder(uid);
    if (folder.isEmpty())
        return QString();
    return folder + QStringLiteral("vumo.ini");
}

QString SellerImageFolder(const QString& uid)
{
    const QString seller = SellerFolder(uid);
    if (seller.isEmpty())
        return QString();
    return seller + QStringLiteral("images") + QDir::separator();
}

bool EnsureFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return QFileInfo(folder).isDir() || QDir().mkpath(folder);
}

} // namespace Quorvia::utils
