#include "plugin/VumoCommandTable.h"

namespace Quorvia::vumo {

int VumoCommandTable::slot(VumoCommand id)
{
    const int index = int(id);
    if (id == VumoCommand::None || index <= 0 || index >= int(VumoCommand::Count))
        return -1;
    return index;
}

bool VumoCommandTable::Declare(VumoCommandEntry entry)
{
    const int index = slot(entry.id);
    if (index < 0 || m_entries[index].id != VumoCommand::None)
        return false;
    m_entries[index] = std::move(entry);
    return true;
}

bool VumoCommandTable::Declare(VumoCommand id, const QString& text, VumoCommandHandler handler, VumoCommandRule rule)
{
    return Declare({id, text, {}, {}, std::move(handler), std::move(rule)});
}

const VumoCommandEntry* VumoCommandTable::Find(VumoCommand id) const
{
    const int index = slot(id);
    if (index < 0 || m_entries[index].id == VumoCommand::None)
        return nullptr;
    return &m_entries[index];
}

bool VumoCommandTable::IsDeclared(VumoCommand id) const
{
    return Find(id) != nullptr;
}

bool VumoCommandTable::IsBuilt(VumoCommand id) const
{
    const VumoCommandEntry* entry = Find(id);
    return entry && entry->handler;
}

bool VumoCommandTable::IsEnabled(VumoCommand id) const
{
    const VumoCommandEntry* entry = Find(id);
    return entry && entry->handler && (!entry->rule || entry->rule());
}

QString VumoCommandTable::ToolTip(VumoCommand id) const
{
    const VumoCommandEntry* entry = Find(id);
    if (!entry || !entry->handler)
        return VumoNotAvailableTip();
    return entry->toolTip.isEmpty() ? entry->text : entry->toolTip;
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
        if (m_entries[i].id == VumoCommand::None)
            missing << VumoCommand(i);
    }
    return missing;
}

} // namespace Quorvia::vumo
