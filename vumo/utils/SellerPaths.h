#pragma once
// Per-seller locations under the data root.
#include <QString>

namespace Quorvia::utils {

// The plug-in's display name "商品管理": folder name and database owner.
QString PluginDisplayName();

// <home>/users/<uid>/plugin/商品管理/ (created when missing; empty when that fails).
QString SellerFolder();
// SellerFolder() + "vumo.ini"; empty when there is no seller folder.
QString VumoIniPath();
// SellerFolder() + "images/" (created when missing).
QString SellerImageFolder();

} // namespace Quorvia::utils
