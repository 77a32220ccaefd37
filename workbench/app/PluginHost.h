#pragma once
// Loads one plug-in library the way the workbench always has: check the verification text,
// take the instance, hand over the login, ask for the main widget.
#include "quorvia/LoginRecord.h"

#include <QLibrary>
#include <QPointer>
#include <QString>

class QObject;
class QWidget;

namespace Quorvia::core::plugin {
class Plugin;
}

namespace Quorvia::workbench {

class PluginHost final
{
public:
    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library, compares its verification text and takes its plug-in object. On
    // failure returns false with a message for the seller.
    bool Load(const QString& path, QString* error);

    // SetUserInfo, then CreateMainWidget. Null (and a message) when the plug-in gives none.
    // The caller owns the widget and must delete it before Unload().
    QWidget* Start(const Quorvia::core::plugin::LoginRecord& login, QString* error);

    // Deletes the plug-in object and releases the library.
    void Unload();

private:
    QLibrary m_library;
    QPointer<QObject> m_instance;
    Quorvia::core::plugin::Plugin* m_plugin = nullptr;
};

} // namespace Quorvia::workbench
