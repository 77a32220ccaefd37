// The simulator's connection handling over raw sockets: idle connections are closed, open
// connections are capped, and a failed accept (no file descriptors left) only pauses accepting.
#include "support/TestMain.h"

#include "core/MarketplaceServer.h"

#include <QDir>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>
#include <vector>

using Quorvia::marketplace::MarketplaceOptions;
using Quorvia::marketplace::MarketplaceServer;

namespace {

const QByteArray kStateRequest = "GET /__state HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

std::unique_ptr<QTcpSocket> Connect(quint16 port)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket;
}

bool Answered(QTcpSocket& socket)
{
    return socket.bytesAvailable() > 0 && socket.peek(12).startsWith("HTTP/1.1 200");
}

} // namespace

class MarketServerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_data;

    bool StartServer(MarketplaceServer& server, int idleMs, int maxConnections)
    {
        MarketplaceOptions options;
        options.port = 0;
        options.seed = QStringLiteral("empty");
        options.dataDir = m_data.filePath(QString::number(quintptr(&server)));
        options.idleTimeoutMs = idleMs;
        options.maxConnections = maxConnections;
        QDir().mkpath(options.dataDir);
        QString error;
        const bool started = server.Start(options, &error);
        if (!started)
            qWarning() << error;
        return started;
    }

private slots:
    // One server for both limits: the cap first, then every connection left alone is closed.
    void openConnectionsAreCappedAndIdleOnesClosed()
    {
        MarketplaceServer server;
        QVERIFY(StartServer(server, 1500, 2));
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        for (int i = 0; i < 3; ++i) {
            clients.push_back(Connect(server.Port()));
            QVERIFY(clients.back()->waitForConnected(5000));
            clients.back()->write(kStateRequest);
        }
        QTRY_VERIFY(Answered(*clients[0]) && Answered(*clients[1]));
        QCOMPARE(server.OpenConnections(), 2);
        QVERIFY(!Answered(*clients[2]));
        // One closes: the waiting one is taken and served.
        clients[0]->disconnectFromHost();
        QTRY_VERIFY(Answered(*clients[2]));
        QCOMPARE(server.OpenConnections(), 2);
        // A connection that never sends anything is closed too.
        auto quiet = Connect(server.Port());
        QVERIFY(quiet->waitForConnected(5000));
        QTRY_COMPARE_WITH_TIMEOUT(quiet->state(), QAbstractSocket::UnconnectedState, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(clients[2]->state(), QAbstractSocket::UnconnectedState, 10000);
        QTRY_COMPARE(server.OpenConnections(), 0);
    }

    // With no descriptor left, accept() fails; once descriptors are free again the connection
    // that waited is served (a server that stopped accepting for good would never answer).
    void acceptResumesAfterDescriptorsRunOut()
    {
        MarketplaceServer server;
        QVERIFY(StartServer(server, 60000, 10));
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_NOFILE, &saved) == 0);

        // Fill every free descriptor below the highest one in use, so that exactly one is left
        // under the lowered limit: the client's.
        std::vector<int> fillers;
        int highest = 0;
        for (const QString& entry :
             QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries))
            highest = qMax(highest, entry.toInt());
        for (;;) {
            const int fd = ::open("/dev/null", O_RDONLY);
            QVERIFY(fd >= 0);
            if (fd > highest) {
                ::close(fd);
                break;
            }
            fillers.push_back(fd);
        }
        rlimit tight = saved;
        tight.rlim_cur = rlim_t(highest + 2);
        QVERIFY(setrlimit(RLIMIT_NOFILE, &tight) == 0);
        auto client = Connect(server.Port());
        const bool connected = client->waitForConnected(5000);
        // The server's accept() runs now and finds no descriptor.
        QTest::qWait(300);
        const int openWhileTight = server.OpenConnections();
        setrlimit(RLIMIT_NOFILE, &saved);
        for (int fd : fillers)
            ::close(fd);
        QVERIFY(connected);
        QCOMPARE(openWhileTight, 0);

        client->write(kStateRequest);
        QTRY_VERIFY_WITH_TIMEOUT(Answered(*client), 10000);
        QCOMPARE(server.OpenConnections(), 1);
    }
};

VUMO_TEST_CLASS(MarketServerTest)
#include "MarketServerTest.moc"
