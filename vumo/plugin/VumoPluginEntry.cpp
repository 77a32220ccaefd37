// The library's only program entry points, looked up by the workbench's plug-in loader.
#include "plugin/VumoPlugin.h"

#include "quorvia/Plugin.h"

#include <QPointer>

namespace {

// Owns the instance for the life of the library: an instance the workbench did not delete is
// deleted at unload, while its code is still mapped.
struct PluginInstanceHolder
{
    QPointer<QObject> instance;
    ~PluginInstanceHolder() { delete instance.data(); }
};

PluginInstanceHolder& holder()
{
    static PluginInstanceHolder h;
    return h;
}

} // namespace

extern "C" Q_DECL_EXPORT const char* qt_plugin_query_verification_data()
{
    return QUORVIA_PLUGIN_VERIFICATION_DATA;
}

extern "C" Q_DECL_EXPORT QObject* qt_plugin_instance()
{
    PluginInstanceHolder& h = holder();
    if (!h.instance)
        h.instance = new Quorvia::vumo::VumoPlugin(nullptr);
    return h.instance.data();
}
