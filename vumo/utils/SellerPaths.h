#pragma once
// Per-seller locations under the data root. Asking for a path never touches the disk;
// whoever writes there first calls EnsureFolder.
#include <QString>

namespace Quorvia::utils {

// The plug-in's display name "商品管理": folder name and database owner.
QString PluginDisplayName();

// <home>/users/<uid>/plugin/商品管理/; empty without a seller.
QString SellerFolder(const QString& uid);
// SellerFolder(uid) + "vumo.ini"; empty when there is no seller folder.
QString VumoIniPath(const QString& uid);
// SellerFolder(uid) + "images/"; empty when there is no seller folder.
QString SellerImageFolder(const QString& uid);

// Creates the folder when missing. False for an empty path or when it cannot be made.
bool EnsureFolder(const QString& folder);

} // namespace Quorvia::utils
