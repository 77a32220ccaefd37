#pragma once
// The address book "network.ini" and the proxy file "networkproxy.ini" from <home>/config,
// read once when the singleton is created. Nothing is written back.
#include <QHash>
#include <QNetworkProxy>
#include <QString>

#include <optional>

class QNetworkAccessManager;

namespace Quorvia::utils {
class IniSetting;
}

namespace Quorvia::network::config {

class NetworkConfig final
{
public:
    // Reads from the "config" folder of the data root (created when missing).
    NetworkConfig();
    // Reads from the given folder; an empty path leaves every key at its default.
    explicit NetworkConfig(const QString& configDir);

    static NetworkConfig* Instance();

    QString ConfigDir() const { return m_configDir; }

    // "network.ini" by group and key; unknown keys give an empty text.
    QString Value(const QString& group, const QString& key) const;
    static QString DefaultValue(const QString& group, const QString& key);

    // [login]
    QString GetLoginUrl() const;
    // [apiserver]
    QString GetApiUrl() const; // the open-API gateway
    QString GetServerUrl() const;
    QString GetKlServerUrl() const;
    QString GetMsgServerUrl() const;
    QString GetIsvTestUrl() const;
    QString GetShopInfoUrl() const;
    QString GetVpLogUrl() const;
    QString GetTimeServerUrl() const;
    QString GetMsgUrl() const;
    QString GetOpServerUrl() const;
    QString GetRedirectUrl() const;
    QString GetPhoneVerification() const;
    QString GetCertUrl() const;
    QString GetSkinUrl() const;
    QString GetPopQvServerUrl() const;
    QString GetSubmitFeedback() const;
    QString GetWsServerUrl() const;
    QString GetPlatformUrl() const;
    QString GetPfApiServerUrl() const;
    // [orvaneurl]
    QString GetTemplateUrl() const;
    QString GetCategoryAttribUrl() const;
    QString GetVumoItemUrl() const; // "%1" stands for the listing number
    QString GetDotLogUrl() const;
    QString GetHelpUrl() const;
    QString GetImagesUrl() const; // base address of the image server
    QString GetFeedbackUrl() const;
    QString GetOrderInfo() const;
    QString GetNotificationUrl() const;
    QString GetVumoUrl() const;
    QString GetWebPortalUrl() const;
    QString GetPolicyUrl() const;
    QString GetMsgSubscribeUrl() const;

    // [Proxy] of "networkproxy.ini", as written (empty when absent).
    QString GetProxyType() const { return m_proxyType; }
    QString GetProxyServerAddress() const { return m_proxyAddress; }
    QString GetProxyPort() const { return m_proxyPort; }
    QString GetProxyUserName() const { return m_proxyUser; }
    QString GetProxyPassword() const { return m_proxyPassword; }

    // The proxy "networkproxy.ini" names, if it names a usable one.
    std::optional<QNetworkProxy> Proxy() const { return m_proxy; }
    // Routes the manager through that proxy; leaves it alone otherwise.
    void ApplyProxy(QNetworkAccessManager* manager) const;

private:
    void Load(const QString& configDir);
    static QString ReadIni(const utils::IniSetting& ini, const QString& group, const QString& key,
                           const QString& defaultValue);
    static std::optional<QNetworkProxy> ParseProxy(const QString& type, const QString& address, const QString& port,
                                                   const QString& user, const QString& password);

    QString m_configDir;
    QHash<QString, QString> m_values; // "group/key" -> text
    QString m_proxyType;
    QString m_proxyAddress;
    QString m_proxyPort;
    QString m_proxyUser;
    QString m_proxyPassword;
    std::optional<QNetworkProxy> m_proxy;
};

} // namespace Quorvia::network::config
