#pragma once
// The workbench's plug-in interface. Slot order matters to the host: destructor, Initialize,
// SetUserInfo, CreateMainWidget.
#include "quorvia/LoginRecord.h"

#include <QFrame>

class QWidget;

namespace Quorvia::core::plugin {

class Plugin
{
public:
    virtual ~Plugin() = default;
    virtual void Initialize() = 0;
    virtual void SetUserInfo(const LoginRecord& record) = 0;
    virtual QWidget* CreateMainWidget() = 0;
};

} // namespace Quorvia::core::plugin

// The text a plug-in's qt_plugin_query_verification_data() must return for this host.
#define QUORVIA_PLUGIN_VERIFICATION_DATA                                                                               \
    "pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.8.1\ndebug=false\nbuildkey=Windows msvc release full-config"
