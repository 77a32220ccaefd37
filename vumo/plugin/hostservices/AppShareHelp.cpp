#include "plugin/hostservices/AppShareHelp.h"

#include "utils/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace Quorvia::utils {

namespace {
const char* const kLibraryName = "quorvia-appshare";
}

AppShareHelp::AppShareHelp() = default;

AppShareHelp::~AppShareHelp()
{
    Reload();
}

QString AppShareHelp::ServiceDirectory()
{
    const QString env = qEnvironmentVariable("QUORVIA_SERVICE_DIR");
    if (!env.isEmpty())
        return env;
    return QCoreApplication::applicationDirPath();
}

void AppShareHelp::Reload()
{
    m_appShare = nullptr;
    if (m_library) {
        m_library->unload();
        delete m_library;
        m_library = nullptr;
    }
    m_loaded = false;
}

void AppShareHelp::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_library = new QLibrary(QDir(ServiceDirectory()).filePath(QString::fromLatin1(kLibraryName)));
    if (!m_library->load()) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "加载AppShare失败:" << m_library->errorString();
        return;
    }
    auto get = reinterpret_cast<GetAppShareFunc>(m_library->resolve("GetAppShare"));
    if (!get) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "AppShare没有导出GetAppShare";
        return;
    }
    m_appShare = get();
}

Quorvia::appshare::CurrentUser* AppShareHelp::GetCurrentUser()
{
    load();
    return m_appShare ? m_appShare->GetCurrentUser() : nullptr;
}

QString AppShareHelp::GetUid()
{
    auto* user = GetCurrentUser();
    return user ? user->GetUid() : QString();
}

QByteArray AppShareHelp::GetAccessToken()
{
    auto* user = GetCurrentUser();
    return user ? user->GetAccessToken() : QByteArray();
}

QString AppShareHelp::GetShopName()
{
    auto* user = GetCurrentUser();
    return user ? user->GetShopName() : QString();
}

qint64 AppShareHelp::GetVenderId()
{
    auto* user = GetCurrentUser();
    return user ? user->venderId : 0;
}

qint32 AppShareHelp::GetShopType()
{
    auto* user = GetCurrentUser();
    return user ? user->shopType : 0;
}

QByteArray AppShareHelp::GetAppKey()
{
    load();
    return m_appShare ? m_appShare->GetAppKey() : QByteArray();
}

QByteArray AppShareHelp::GetAppSecret()
{
    load();
    return m_appShare ? m_appShare->GetAppSecret() : QByteArray();
}

QDateTime AppShareHelp::GetServerTime()
{
    load();
    return m_appShare ? m_appShare->GetServerTime() : QDateTime::currentDateTime();
}

QString AppShareHelp::GetUUID()
{
    load();
    return m_appShare ? m_appShare->GetUUID() : QString();
}

Quorvia::appshare::TemplateInfoList& AppShareHelp::GetTemplateInfo()
{
    load();
    if (m_appShare)
        return m_appShare->GetTemplateInfo();
    m_emptyTemplates.clear(); // callers may have written into the fall-back
    return m_emptyTemplates;
}

} // namespace Quorvia::utils
