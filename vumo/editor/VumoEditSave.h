#pragma once
// What a save of the editor does besides writing the listing record. Pages only validate and
// fill the record and this; the editor then writes everything in one transaction and touches
// files only after the commit.
#include <QList>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::editor {

struct VumoEditSave
{
    // Stored SKUs with a marketplace id that are no longer in the table: kept, marked deleted
    // (status 0), so the next upload removes them on the marketplace.
    QList<qint64> removedSkuIds;
    // Names of files in the picture folder the listing no longer uses. After the commit each is
    // removed unless a picture row or a logo still names it; never a path outside the folder.
    QStringList releasedFiles;
    // Names of files this save copied into the picture folder; when the save fails they are
    // removed again unless something else uses them.
    QStringList copiedFiles;
};

} // namespace Quorvia::vumo::editor
