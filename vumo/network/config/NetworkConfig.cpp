#include "network/config/NetworkConfig.h"

#include "quorvia/DataRoot.h"
#include "utils/CSingleton.h"
#include "utils/IniSetting.h"
#include "utils/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>

namespace Quorvia::network::config {

namespace {

struct KeyDefault
{
    const char* group;
    const char* key;
    const char* value;
};

// A fresh install talks to the local marketplace simulator.
#define QV_LOCAL "http://127.0.0.1:18080"
constexpr KeyDefault kKeys[] = {
    {"login", "loginurl", QV_LOCAL "/login"},
    {"apiserver", "url", QV_LOCAL "/routerjson"},
    {"apiserver", "serverurl", QV_LOCAL "/apiserver"},
    {"apiserver", "klserverurl", QV_LOCAL "/klserver"},
    {"apiserver", "msgserverurl", QV_LOCAL "/msgserver"},
    {"apiserver", "isvtesturl", QV_LOCAL "/isvtest"},
    {"apiserver", "shopinfourl", QV_LOCAL "/shopinfo"},
    {"apiserver", "vplogurl", QV_LOCAL "/vplog"},
    {"apiserver", "timeserverurl", QV_LOCAL "/time"},
    {"apiserver", "msgurl", QV_LOCAL "/msg"},
    {"apiserver", "opserverurl", QV_LOCAL "/opserver"},
    {"apiserver", "redirecturl", QV_LOCAL "/redirect"},
    {"apiserver", "phoneverification", QV_LOCAL "/phoneverification"},
    {"apiserver", "certurl", QV_LOCAL "/cert"},
    {"apiserver", "skinurl", QV_LOCAL "/skin"},
    {"apiserver", "popqvserverurl", QV_LOCAL "/popqvserver"},
    {"apiserver", "submitfeedback", QV_LOCAL "/feedback/submit"},
    {"apiserver", "wsserverurl", QV_LOCAL "/wsserver"},
    {"apiserver", "platformurl", QV_LOCAL "/platform"},
    {"apiserver", "pfapiserverurl", QV_LOCAL "/pfapi"},
    {"orvaneurl", "templateurl", QV_LOCAL "/templates/template.csv"},
    {"orvaneurl", "categoryattriburl", QV_LOCAL "/categoryattrib"},
    {"orvaneurl", "vumoitemurl", QV_LOCAL "/item/%1.html"},
    {"orvaneurl", "dotlogurl", QV_LOCAL "/dotlog"},
    {"orvaneurl", "helpurl", QV_LOCAL "/help"},
    {"orvaneurl", "imagesurl", QV_LOCAL},
    {"orvaneurl", "feedbackurl", QV_LOCAL "/feedback"},
    {"orvaneurl", "orderinfo", QV_LOCAL "/orderinfo"},
    {"orvaneurl", "notificationurl", QV_LOCAL "/notification"},
    {"orvaneurl", "vumourl", QV_LOCAL "/vumo"},
    {"orvaneurl", "webportalurl", QV_LOCAL "/"},
    {"orvaneurl", "policyurl", QV_LOCAL "/policy"},
    {"orvaneurl", "msgsubscribeurl", QV_LOCAL "/msgsubscribe"},
};
#undef QV_LOCAL

QString Slot(const QString& group, const QString& key)
{
    return group + QLatin1Char('/') + key;
}

} // namespace

NetworkConfig::NetworkConfig()
{
    const QString dir = DataRoot() + QStringLiteral("/config");
    Load(QDir().mkpath(dir) ? dir : QString());
}

NetworkConfig::NetworkConfig(const QString& configDir)
{
    Load(configDir.isEmpty() || QDir().mkpath(configDir) ? configDir : QString());
}

NetworkConfig* NetworkConfig::Instance()
{
    return utils::CSingleton<NetworkConfig>::instance();
}

QString NetworkConfig::ReadIni(const utils::IniSetting& ini, const QString& group, const QString& key,
                               const QString& defaultValue)
{
    return ini.Value(key, group, defaultValue).toString();
}

void NetworkConfig::Load(const QString& configDir)
{
    m_configDir = configDir;
    const QString networkIni = configDir.isEmpty() ? QString()
                                                   : QDir(configDir).filePath(QStringLiteral("network.ini"));
    const bool haveNetworkIni = !networkIni.isEmpty() && QFileInfo::exists(networkIni);
    const utils::IniSetting network(haveNetworkIni ? networkIni : QString());
    for (const KeyDefault& entry : kKeys) {
        const QString group = QString::fromLatin1(entry.group);
        const QString key = QString::fromLatin1(entry.key);
        const QString fallback = QString::fromLatin1(entry.value);
        m_values.insert(Slot(group, key), ReadIni(network, group, key, fallback));
    }

    const QString proxyIni = configDir.isEmpty() ? QString()
                                                 : QDir(configDir).filePath(QStringLiteral("networkproxy.ini"));
    if (proxyIni.isEmpty() || !QFileInfo::exists(proxyIni))
        return;
    const utils::IniSetting ini(proxyIni);
    const QString group = QStringLiteral("Proxy");
    m_proxyType = ReadIni(ini, group, QStringLiteral("Type"), QString());
    m_proxyAddress = ReadIni(ini, group, QStringLiteral("ServerAddress"), QString());
    m_proxyPort = ReadIni(ini, group, QStringLiteral("Port"), QString());
    m_proxyUser = ReadIni(ini, group, QStringLiteral("UserName"), QString());
    m_proxyPassword = ReadIni(ini, group, QStringLiteral("Password"), QString());
    m_proxy = ParseProxy(m_proxyType, m_proxyAddress, m_proxyPort, m_proxyUser, m_proxyPassword);
}

// Type is a name ("HTTP", "SOCKS5", "none") or the number of Qt's proxy type.
std::optional<QNetworkProxy> NetworkConfig::ParseProxy(const QString& type, const QString& address, const QString& port,
                                                       const QString& user, const QString& password)
{
    const QString host = address.trimmed();
    if (host.isEmpty())
        return std::nullopt;
    const QString name = type.trimmed().toLower();
    QNetworkProxy::ProxyType proxyType = QNetworkProxy::HttpProxy;
    bool numeric = false;
    const int number = name.toInt(&numeric);
    if (numeric) {
        if (number == QNetworkProxy::Socks5Proxy)
            proxyType = QNetworkProxy::Socks5Proxy;
        else if (number == QNetworkProxy::HttpProxy || number == QNetworkProxy::HttpCachingProxy)
            proxyType = QNetworkProxy::HttpProxy;
        else
            return std::nullopt;
    } else if (name.isEmpty() || name == QLatin1String("http") || name == QLatin1String("https")) {
        proxyType = QNetworkProxy::HttpProxy;
    } else if (name.startsWith(QLatin1String("socks"))) {
        proxyType = QNetworkProxy::Socks5Proxy;
    } else {
        return std::nullopt; // "none" and anything unknown: no proxy
    }
    bool portOk = false;
    const uint portNumber = port.trimmed().toUInt(&portOk);
    if (!portOk || portNumber == 0 || portNumber > 65535) {
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + QStringLiteral("networkproxy.ini: invalid proxy port") << port;
        return std::nullopt;
    }
    return QNetworkProxy(proxyType, host, quint16(portNumber), user, password);
}

void NetworkConfig::ApplyProxy(QNetworkAccessManager* manager) const
{
    if (manager && m_proxy)
        manager->setProxy(*m_proxy);
}

QString NetworkConfig::Value(const QString& group, const QString& key) const
{
    return m_values.value(Slot(group, key));
}

QString NetworkConfig::DefaultValue(const QString& group, const QString& key)
{
    for (const KeyDefault& entry : kKeys) {
        if (group == QLatin1String(entry.group) && key == QLatin1String(entry.key))
            return QString::fromLatin1(entry.value);
    }
    return {};
}

#define QV_GETTER(name, group, key)                                                                                    \
    QString NetworkConfig::name() const                                                                                \
    {                                                                                                                  \
        return Value(QStringLiteral(group), QStringLiteral(key));                                                      \
    }

QV_GETTER(GetLoginUrl, "login", "loginurl")
QV_GETTER(GetApiUrl, "apiserver", "url")
QV_GETTER(GetServerUrl, "apiserver", "serverurl")
QV_GETTER(GetKlServerUrl, "apiserver", "klserverurl")
QV_GETTER(GetMsgServerUrl, "apiserver", "msgserverurl")
QV_GETTER(GetIsvTestUrl, "apiserver", "isvtesturl")
QV_GETTER(GetShopInfoUrl, "apiserver", "shopinfourl")
QV_GETTER(GetVpLogUrl, "apiserver", "vplogurl")
QV_GETTER(GetTimeServerUrl, "apiserver", "timeserverurl")
QV_GETTER(GetMsgUrl, "apiserver", "msgurl")
QV_GETTER(GetOpServerUrl, "apiserver", "opserverurl")
QV_GETTER(GetRedirectUrl, "apiserver", "redirecturl")
QV_GETTER(GetPhoneVerification, "apiserver", "phoneverification")
QV_GETTER(GetCertUrl, "apiserver", "certurl")
QV_GETTER(GetSkinUrl, "apiserver", "skinurl")
QV_GETTER(GetPopQvServerUrl, "apiserver", "popqvserverurl")
QV_GETTER(GetSubmitFeedback, "apiserver", "submitfeedback")
QV_GETTER(GetWsServerUrl, "apiserver", "wsserverurl")
QV_GETTER(GetPlatformUrl, "apiserver", "platformurl")
QV_GETTER(GetPfApiServerUrl, "apiserver", "pfapiserverurl")
QV_GETTER(GetTemplateUrl, "orvaneurl", "templateurl")
QV_GETTER(GetCategoryAttribUrl, "orvaneurl", "categoryattriburl")
QV_GETTER(GetVumoItemUrl, "orvaneurl", "vumoitemurl")
QV_GETTER(GetDotLogUrl, "orvaneurl", "dotlogurl")
QV_GETTER(GetHelpUrl, "orvaneurl", "helpurl")
QV_GETTER(GetImagesUrl, "orvaneurl", "imagesurl")
QV_GETTER(GetFeedbackUrl, "orvaneurl", "feedbackurl")
QV_GETTER(GetOrderInfo, "orvaneurl", "orderinfo")
QV_GETTER(GetNotificationUrl, "orvaneurl", "notificationurl")
QV_GETTER(GetVumoUrl, "orvaneurl", "vumourl")
QV_GETTER(GetWebPortalUrl, "orvaneurl", "webportalurl")
QV_GETTER(GetPolicyUrl, "orvaneurl", "policyurl")
QV_GETTER(GetMsgSubscribeUrl, "orvaneurl", "msgsubscribeurl")
#undef QV_GETTER

} // namespace Quorvia::network::config
