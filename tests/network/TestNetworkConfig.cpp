// The address book: defaults for a fresh install, values read per group, the proxy file.
#include "support/TestServer.h"

#include "network/config/NetworkConfig.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

using Quorvia::network::config::NetworkConfig;
using VumoTest::HttpRequestSeen;
using VumoTest::TestServer;

class TestNetworkConfig : public QObject
{
    Q_OBJECT

private slots:
    void freshInstallPointsAtTheLocalSimulator()
    {
        VumoTest::TempHome home;
        const QString dir = home.filePath("config");
        NetworkConfig config(dir);
        QVERIFY(QDir(dir).exists()); // created when missing
        QCOMPARE(config.GetApiUrl(), QStringLiteral("http://127.0.0.1:18080/routerjson"));
        QCOMPARE(config.GetImagesUrl(), QStringLiteral("http://127.0.0.1:18080"));
        QVERIFY(!config.Proxy().has_value());
        QVERIFY(config.GetProxyServerAddress().isEmpty());

        // Values are read inside their group.
        QVERIFY(VumoTest::WriteBytes(dir + "/network.ini",
                                     "[apiserver]\nurl=http://api.example.test/routerjson\n"
                                     "wsserverurl=http://ws.example.test/服务\n"
                                     "[orvaneurl]\nimagesurl=http://img.example.test\nurl=http://wrong.test\n"));
        NetworkConfig written(dir);
        QCOMPARE(written.GetApiUrl(), QStringLiteral("http://api.example.test/routerjson"));
        QCOMPARE(written.GetWsServerUrl(), QStringLiteral("http://ws.example.test/服务"));
        QCOMPARE(written.GetImagesUrl(), QStringLiteral("http://img.example.test"));
        // Keys the file leaves out keep their defaults.
        QCOMPARE(written.GetServerUrl(), NetworkConfig::DefaultValue("apiserver", "serverurl"));
        QCOMPARE(written.Value("orvaneurl", "nosuchkey"), QString());
    }

    void proxyFileIsReadAndValidated_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("type"); // -1: no proxy
        QTest::newRow("http") << QByteArray(
            "[Proxy]\nType=HTTP\nServerAddress=10.0.0.1\nPort=3128\nUserName=u\nPassword=p\n")
                              << int(QNetworkProxy::HttpProxy);
        QTest::newRow("numeric socks") << QByteArray("[Proxy]\nType=1\nServerAddress=10.0.0.1\nPort=1080\n")
                                       << int(QNetworkProxy::Socks5Proxy);
        QTest::newRow("none") << QByteArray("[Proxy]\nType=none\nServerAddress=10.0.0.1\nPort=1080\n") << -1;
        QTest::newRow("no address") << QByteArray("[Proxy]\nType=HTTP\nPort=3128\n") << -1;
        QTest::newRow("bad port") << QByteArray("[Proxy]\nType=HTTP\nServerAddress=10.0.0.1\nPort=99999\n") << -1;
    }

    void proxyFileIsReadAndValidated()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, type);
        VumoTest::TempHome home;
        QVERIFY(VumoTest::WriteBytes(home.filePath("config/networkproxy.ini"), ini));
        NetworkConfig config(home.filePath("config"));
        QCOMPARE(config.Proxy().has_value(), type >= 0);
        if (type >= 0) {
            QCOMPARE(int(config.Proxy()->type()), type);
            QCOMPARE(config.Proxy()->hostName(), QStringLiteral("10.0.0.1"));
            QCOMPARE(config.Proxy()->user(), config.GetProxyUserName());
        }
    }

    void namedProxyCarriesTheTraffic()
    {
        TestServer proxy;
        QVERIFY(proxy.listen([](const HttpRequestSeen&, QTcpSocket* s) { TestServer::respond(s, 200, "via proxy"); }));
        VumoTest::TempHome home;
        QVERIFY(VumoTest::WriteBytes(
            home.filePath("config/networkproxy.ini"),
            "[Proxy]\nType=HTTP\nServerAddress=127.0.0.1\nPort=" + QByteArray::number(proxy.port()) + "\n"));
        NetworkConfig config(home.filePath("config"));
        QNetworkAccessManager manager;
        config.ApplyProxy(&manager);
        QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(QStringLiteral("http://shop.example.invalid/item/1"))));
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(reply->readAll(), QByteArray("via proxy"));
        QCOMPARE(proxy.requests().first().target, QByteArray("http://shop.example.invalid/item/1"));
        delete reply;
    }
};

VUMO_TEST_CLASS(TestNetworkConfig)
#include "TestNetworkConfig.moc"
