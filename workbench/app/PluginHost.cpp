#include "PluginHost.h"

#include "MessageLog.h"
#include "quorvia/Plugin.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QWidget>

#include <cstring>

namespace Quorvia::workbench {

namespace {
using VerificationFunc = const char* (*)();
using InstanceFunc = QObject* (*)();
} // namespace

PluginHost::~PluginHost()
{
    Unload();
}

bool PluginHost::Load(const QString& path, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        m_library.unload();
        return false;
    };
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("找不到插件文件：%1").arg(shown));

    m_library.setFileName(QFileInfo(path).absoluteFilePath());
    // Code of the plug-in stays mapped after release: types it registered with Qt (meta types,
    // resources, the web engine it links) may still be referenced until the process ends.
    m_library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!m_library.load())
        return fail(QStringLiteral("无法加载插件 %1：%2").arg(shown, m_library.errorString()));

    const auto verification = reinterpret_cast<VerificationFunc>(
        m_library.resolve("qt_plugin_query_verification_data"));
    if (!verification)
        return fail(QStringLiteral("插件 %1 缺少导出函数 qt_plugin_query_verification_data").arg(shown));
    const char* text = verification();
    if (!text || std::strcmp(text, QUORVIA_PLUGIN_VERIFICATION_DATA) != 0) {
        return fail(QStringLiteral("插件 %1 的校验信息与工作台不符，已拒绝加载（插件给出：%2）")
                        .arg(shown,
                             text ? QString::fromUtf8(text).replace(QLatin1Char('\n'), QLatin1Char(' '))
                                  : QStringLiteral("空")));
    }

    const auto instance = reinterpret_cast<InstanceFunc>(m_library.resolve("qt_plugin_instance"));
    if (!instance)
        return fail(QStringLiteral("插件 %1 缺少导出函数 qt_plugin_instance").arg(shown));
    QObject* object = instance();
    auto* plugin = dynamic_cast<Quorvia::core::plugin::Plugin*>(object);
    if (!plugin)
        return fail(QStringLiteral("插件 %1 没有提供工作台插件接口").arg(shown));

    m_instance = object;
    m_plugin = plugin;
    m_plugin->Initialize();
    qCInfo(lcWorkbench) << "plug-in loaded:" << m_library.fileName();
    return true;
}

QWidget* PluginHost::Start(const Quorvia::core::plugin::LoginRecord& login, QString* error)
{
    if (!m_plugin || !m_instance) {
        if (error)
            *error = QStringLiteral("插件尚未加载");
        return nullptr;
    }
    m_plugin->SetUserInfo(login);
    QWidget* widget = m_plugin->CreateMainWidget();
    if (!widget && error)
        *error = QStringLiteral("插件 %1 没有创建主窗口").arg(QDir::toNativeSeparators(m_library.fileName()));
    return widget;
}

void PluginHost::Unload()
{
    if (m_instance)
        delete m_instance.data();
    m_plugin = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
}

} // namespace Quorvia::workbench
