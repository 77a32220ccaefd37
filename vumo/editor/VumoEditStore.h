#pragma once
// Writing what the listing editor collected, and turning a listing into an independent copy.
// No widgets: the editor, paste and tests share these.
#include "editor/VumoEditSave.h"

#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}
namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo::editor {

// Writes the listing with its SKUs, pictures and extension in one transaction (removed SKUs
// marked deleted in the same one). Only after the commit are the released files removed that
// nothing uses any more; when the write fails the store is unchanged and the files this save
// copied into the folder are taken back instead. `checkMessage` gets the completeness result.
bool SaveEditedVumo(database::VumoDbInterface& store, entity::VumoDataEntity& record, const VumoEditSave& save,
                    const QString& pictureFolder, QString* checkMessage = nullptr);

// Removes each named file from the picture folder when no picture row and no logo names it.
// Names with a folder part are ignored: only files inside the folder are ever removed.
// Gives the number removed.
int RemoveUnusedPictureFiles(database::VumoDbInterface& store, const QString& pictureFolder, const QStringList& names);

// Makes `record` a new local listing that shares nothing online with its source: new client
// id, vumo_id 0, SKU ids 0, pictures new (state 2, no marketplace id, not the online main
// one) except those deleted here, which the copy does not have; an http logo becomes the
// name of its local copy in the picture folder.
void MakeVumoCopy(entity::VumoDataEntity& record, const QString& newClientId);

} // namespace Quorvia::vumo::editor
