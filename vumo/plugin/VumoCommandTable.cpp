#include "plugin/VumoCommandTable.h"

namespace Quorvia::vumo {

int VumoCommandTable::slot(VumoCommand id)
{
    const int index = int(id);
    if (id == VumoCommand::None || index <= 0 || index >= int(VumoCommand::Count))
        return -1;
    return index;
}

bool VumoCommandTable::Declare(VumoCommandSpec spec)
{
    const int index = slot(spec.id);
    if (index < 0 || m_specs[index].id != VumoCommand::None)
        return false;
    m_specs[index] = std::move(spec);
    return true;
}

const VumoCommandSpec* VumoCommandTable::Find(VumoCommand id) const
{
    const int index = slot(id);
    if (index < 0 || m_specs[index].id == VumoCommand::None)
        return nullptr;
    return &m_specs[index];
}

bool VumoCommandTable::IsDeclared(VumoCommand id) const
{
    return Find(id) != nullptr;
}

bool VumoCommandTable::IsBuilt(VumoCommand id) const
{
    const VumoCommandSpec* spec = Find(id);
    return spec && spec->handler;
}

bool VumoCommandTable::IsEnabled(VumoCommand id) const
{
    const VumoCommandSpec* spec = Find(id);
    return spec && spec->handler && (!spec->rule || spec->rule());
}

QString VumoCommandTable::ToolTip(VumoCommand id) const
{
    const VumoCommandSpec* spec = Find(id);
    if (!spec || !spec->handler)
        return VumoNotAvailableTip();
    return spec->toolTip.isEmpty() ? spec->text : spec->toolTip;
}

bool VumoCommandTable::Run(VumoCommand id, const QVariant& data) const
{
    if (!IsEnabled(id))
        return false;
    // A copy: a handler may run a nested event loop during which the table changes.
    const VumoCommandHandler handler = Find(id)->handler;
    handler(data);
    return true;
}

QList<VumoCommand> VumoCommandTable::Undeclared() const
{
    QList<VumoCommand> missing;
    for (int i = 1; i < int(VumoCommand::Count); ++i) {
        if (m_specs[i].id == VumoCommand::None)
            missing << VumoCommand(i);
    }
    return missing;
}

} // namespace Quorvia::vumo
