#pragma once
// Points the plug-in at a test's own server the way an install is pointed: the data root's
// "config/network.ini" names it. The plug-in reads that file once per process; a test that brings
// its own server has it read again (while no request is under way), and the old one comes back.
#include "core/MarketplaceServer.h"
#include "network/config/NetworkConfig.h"
#include "quorvia/DataRoot.h"

namespace VumoTest {

class AddressBookAt
{
public:
    // Every address under `baseUrl` ("http://127.0.0.1:<port>"); the gateway is ".../routerjson".
    explicit AddressBookAt(const QString& baseUrl)
        : m_previous(*Quorvia::network::config::NetworkConfig::Instance())
    {
        using Quorvia::network::config::NetworkConfig;
        const QString file = Quorvia::DataRoot() + QStringLiteral("/config/network.ini");
        if (!Quorvia::marketplace::WriteNetworkIni(file, baseUrl, &m_error))
            return;
        *NetworkConfig::Instance() = NetworkConfig();
        m_ok = NetworkConfig::Instance()->GetApiUrl() == baseUrl + QStringLiteral("/routerjson");
        if (!m_ok)
            m_error = QStringLiteral("the address book did not take ") + file;
    }
    ~AddressBookAt() { *Quorvia::network::config::NetworkConfig::Instance() = m_previous; }
    AddressBookAt(const AddressBookAt&) = delete;
    AddressBookAt& operator=(const AddressBookAt&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

private:
    Quorvia::network::config::NetworkConfig m_previous;
    QString m_error;
    bool m_ok = false;
};

} // namespace VumoTest
