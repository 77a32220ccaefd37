#pragma once
// The marketplace simulator started in-process for a test: port 0, a seed (the demo seed or a
// catalogue given by the test), its store in the test's temporary home, and the home's
// "config/network.ini" and "config/login.ini" pointing at it.
//
// The plug-in reads "network.ini" once per process: start the fixture before the first
// request is built, and keep one fixture for the whole test executable.
#include "core/MarketplaceServer.h"

#include <QString>

#include <memory>

namespace VumoTest {

class TempHome;

class MarketplaceFixture
{
public:
    MarketplaceFixture();
    ~MarketplaceFixture();

    // Starts with `catalogue` when given, else with the named seed. Writes network.ini and
    // login.ini into `home`.
    bool start(const TempHome& home, const Quorvia::marketplace::SeedCatalogue* catalogue = nullptr,
               const QString& seed = QStringLiteral("demo"));
    // Stops and starts again on the same port and store (what a restart of the program does).
    bool restart();
    void stop();

    QString error() const { return m_error; }
    QString baseUrl() const;
    QString url(const QString& path) const { return baseUrl() + path; }
    Quorvia::marketplace::MarketplaceServer& server() { return *m_server; }

    // A small catalogue made by hand: the seller of DemoLogin, a tree of two top categories
    // with three leaves (1101 and 1102 under 1100; 2101 under 2100), attributes "品牌" and
    // "颜色", and `listings` listings 1000000001... in category 1101 (one SKU each, outer id
    // "OUT-<n>", price 10.00 + n, on sale), every fifth one for sale (CUSTORMER_DOWN).
    static Quorvia::marketplace::SeedCatalogue SmallCatalogue(int listings = 3);

private:
    std::unique_ptr<Quorvia::marketplace::MarketplaceServer> m_server;
    Quorvia::marketplace::MarketplaceOptions m_options;
    Quorvia::marketplace::SeedCatalogue m_catalogue;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace VumoTest
