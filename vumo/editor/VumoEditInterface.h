#pragma once
// One page of the listing editor. A page shows one listing and hands its values back; it never
// writes the store or removes files: the editor writes the listing with its SKUs, pictures and
// extension in one transaction and removes files only after the commit.
#include "editor/VumoEditSave.h"

#include <QStringList>
#include <QWidget>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class VumoEditInterface : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    ~VumoEditInterface() override = default;

    // Fills the page from the listing. The editor owns the record; the page keeps the pointer
    // until the next load and writes into it on save.
    virtual void LoadVumo(entity::VumoDataEntity* vumo) = 0;
    // Validates the page (every check runs, one message each appended to `errors`), writes the
    // page's values into the loaded listing and its side work into `save`. True when nothing
    // failed. Writes nothing else.
    virtual bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) = 0;
    // Unused slot of the page protocol.
    virtual void Spare() { }
    // The preview: validates like CheckAndSave but writes into `copy`; copies no files.
    virtual bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
    {
        Q_UNUSED(errors)
        Q_UNUSED(copy)
        return true;
    }

signals:
    void VumoChangedSignal();
};

} // namespace Quorvia::vumo
