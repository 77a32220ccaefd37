#pragma once
// The plug-in's root object, the one the workbench receives from qt_plugin_instance().
#include "quorvia/Plugin.h"

#include <QObject>

namespace Quorvia::vumo {

class VumoPlugin : public QObject, public Quorvia::core::plugin::Plugin
{
    Q_OBJECT
public:
    explicit VumoPlugin(QObject* parent = nullptr);
    ~VumoPlugin() override;

    void Initialize() override; // nothing to do: everything starts lazily
    void SetUserInfo(const Quorvia::core::plugin::LoginRecord& record) override;
    // Checks both stores (failures are logged; a store file that could not be opened is also
    // reported to the seller once the widget shows) and builds a parentless main widget that
    // the workbench owns from then on.
    QWidget* CreateMainWidget() override;
};

} // namespace Quorvia::vumo
