#pragma once
// The listing page's editor commands: the editor embedded below the table, the editor as a
// dialog (double-click), "新建新品", "新建模板" and a new listing from a template. The page's
// slots forward here; the page keeps the layout.
#include "database/VumoListStruct.h"
#include "editor/VumoEditContext.h"

#include <QString>
#include <QVariant>

namespace Quorvia::vumo {

class VumoCommandTable;
class VumoEditerWidget;
class VumoMainWidget;

class VumoEditorCommands
{
public:
    explicit VumoEditorCommands(VumoMainWidget& page);

    // Declares the new-listing commands with their handlers.
    void Declare(VumoCommandTable& table);

    // The editor below the table, created empty and disabled.
    VumoEditerWidget* CreateEmbeddedEditor(QWidget* parent);
    VumoEditerWidget* EmbeddedEditor() const { return m_embedded; }

    // Before a command acts on rows: unsaved changes of the embedded editor are saved on
    // request. False when the seller asked to save and the save failed.
    bool SettleEmbedded();
    // Shows a listing below the table (editable or not), or nothing for an empty client id.
    void ShowInEmbedded(const QString& clientId, bool editable);

    void NewVumo();
    void NewTemplate();
    // data: the template's client id; empty takes the selected template row.
    void TemplateToNewVumo(const QVariant& data);
    // The editor as a dialog on a listing (double-click).
    void EditInDialog(const VUMO_LIST_STRUCT& row);

    editor::VumoEditContext Context() const;

private:
    // Runs a dialog editor in a new-listing mode; a saved listing joins the table and counts.
    void createInDialog(const QString& clientId, int mode, const QString& title);
    void addCreated(const VUMO_LIST_STRUCT& row);
    void showStatusOf(VumoEditerWidget* editor);

    VumoMainWidget& m_page;
    VumoEditerWidget* m_embedded = nullptr;
};

} // namespace Quorvia::vumo
