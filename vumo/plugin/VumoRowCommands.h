#pragma once
// The commands on the table's rows: tick, select, delete, restore, copy, paste, copy numbers and
// open the listing page. The page's slots forward here; the page keeps the layout.
#include "database/VumoListStruct.h"

#include <QList>
#include <QString>

namespace Quorvia::vumo {

class VumoCommandTable;
class VumoMainWidget;

class VumoRowCommands
{
public:
    explicit VumoRowCommands(VumoMainWidget& page);

    // Declares the commands with their handlers.
    void Declare(VumoCommandTable& table);

    // The delete flow on the given rows (ticked or selected).
    void DeleteVumos(const QList<VUMO_LIST_STRUCT>& rows, bool localOnly);
    void RestoreSelected();
    void CopySelected();
    void PasteIntoCurrentClass();
    void CopyIdsToClipboard();
    void OpenListingPages();

    const QList<VUMO_LIST_STRUCT>& CopyBuffer() const { return m_copyBuffer; }

private:
    VumoMainWidget& m_page;
    QList<VUMO_LIST_STRUCT> m_copyBuffer;
};

} // namespace Quorvia::vumo
