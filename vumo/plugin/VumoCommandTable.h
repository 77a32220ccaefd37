#pragma once
// Every command of the listing page is declared here once: its text, icon, tool tip, handler
// and availability rule. Buttons and menu entries only name a command; whether it is enabled
// is asked here, so a command without a handler (its dialog or worker is not built yet) is
// visibly disabled everywhere at once, and nothing can fall through to a silent no-op.
#include "plugin/VumoCommandRules.h"

#include <QString>
#include <QVariant>

#include <array>
#include <functional>

namespace Quorvia::vumo {

// `data` is the menu entry's (a batch page, an import kind, local-only, a client id).
using VumoCommandHandler = std::function<void(const QVariant& data)>;
using VumoCommandRule = std::function<bool()>;

struct VumoCommandEntry
{
    VumoCommand id = VumoCommand::None;
    QString text;               // the button's text (menu entries carry their own)
    QString icon;               // resource path; empty for commands only found in menus
    QString toolTip;            // empty: the text
    VumoCommandHandler handler; // none: not built yet
    VumoCommandRule rule;       // none: always allowed
};

class VumoCommandTable
{
public:
    // False, and the table unchanged, for None/Count or an id declared before.
    bool Declare(VumoCommandEntry entry);
    // A command found only in menus: no icon, its text as the tool tip.
    bool Declare(VumoCommand id, const QString& text, VumoCommandHandler handler = {}, VumoCommandRule rule = {});

    bool IsDeclared(VumoCommand id) const;
    bool IsBuilt(VumoCommand id) const;
    // Built and allowed by its rule right now.
    bool IsEnabled(VumoCommand id) const;
    // Null for undeclared ids.
    const VumoCommandEntry* Find(VumoCommand id) const;
    // The declared tool tip, or VumoNotAvailableTip() while the command is not built.
    QString ToolTip(VumoCommand id) const;

    // Runs the handler when the command is enabled; false otherwise.
    bool Run(VumoCommand id, const QVariant& data = QVariant()) const;

    // Commands nobody declared (should be none once the page is built).
    QList<VumoCommand> Undeclared() const;

private:
    static int slot(VumoCommand id);

    std::array<VumoCommandEntry, size_t(VumoCommand::Count)> m_entries;
};

} // namespace Quorvia::vumo
