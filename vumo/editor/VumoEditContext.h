#pragma once
// What every page of the listing editor needs to know about the seller and the stores. The
// editor is handed one by whoever opens it (the listing page, a test), so nothing below the
// shell reads the login.
#include "database/CategoryDbInterface.h"
#include "database/VumoDbInterface.h"
#include "utils/SellerPaths.h"

#include <QString>

#include <memory>

namespace Quorvia::vumo::editor {

struct VumoEditContext
{
    QString uid;            // the seller: picture folder and the remembered picture folder
    int stockMode = -1;     // the login's stock mode (1: no stock field, stock -1)
    QString backOfficeLink; // seller back office, for the "请先设置类目销售属性" notice
    QString shopName;       // shown by the product preview
    // Null: the stores of VumoDBMgr.
    std::shared_ptr<database::VumoDbInterface> store;
    std::shared_ptr<database::CategoryDbInterface> categories;

    QString ImageFolder() const { return utils::SellerImageFolder(uid); }
};

} // namespace Quorvia::vumo::editor
