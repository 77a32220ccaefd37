#pragma once
// The listing page's upload commands: "上传商品" on the ticked listings and the menu's "上传"
// on the selected ones, each opening the upload dialog; every outcome goes to the page.
#include "database/VumoListStruct.h"

#include <QList>

namespace Quorvia::vumo {

class VumoCommandTable;
class VumoMainWidget;

class VumoUploadCommands
{
public:
    explicit VumoUploadCommands(VumoMainWidget& page);

    void Declare(VumoCommandTable& table);
    // "提示：请勾选要上传的商品！" when nothing is ticked.
    void UploadTicked();
    // Nothing happens when no row is selected.
    void UploadSelected();

private:
    // Runs the dialog modally on the listings, then reloads the listing below the table.
    void upload(const QList<VUMO_LIST_STRUCT>& listings);

    VumoMainWidget& m_page;
};

} // namespace Quorvia::vumo
