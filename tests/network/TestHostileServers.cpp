// Both request paths against servers that misbehave on purpose: endless bodies, header floods,
// redirects of a signed POST, bodies cut short and gzip bombs. Every server is on 127.0.0.1,
// every loop is bounded, and the limits are small so each case ends quickly.
#include "support/TestServer.h"

#include "network/http/SimpleHttp.h"
#include "network/http/SyncHttpRequest.h"
#include "network/http/TaskParam.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

using namespace Quorvia::network::http;
using VumoTest::HttpRequestSeen;
using VumoTest::TestServer;

namespace {

// A POST through the asynchronous path, waited for.
HTTP_RETURN_RESULT PostAsync(const QString& url, const QByteArray& body, qint64 cap)
{
    POST_TASK_PARAM task;
    task.url = url;
    task.body = body;
    task.acceptGzip = true;
    int calls = 0;
    HTTP_RETURN_RESULT result;
    task.resultCallback = [&](HTTP_RETURN_STATE, const HTTP_RETURN_RESULT& r) {
        ++calls;
        result = r;
    };
    SimpleHttp http(task);
    http.SetMaxBodySize(cap);
    http.Start();
    QDeadlineTimer deadline(10000);
    while (calls == 0 && !deadline.hasExpired())
        QTest::qWait(10);
    return result;
}

// A server on its own thread that answers the first request with a chunked body that never
// ends, or with header lines that never end, as fast as the connection takes them. It stops
// when the client goes away, after `hardLimit` bytes or after `seconds`, whichever comes
// first. The run is kept short: a flood keeps both cores busy while it lasts. With `clientNapMs`
// the thread that made the server sleeps that long once the answer has begun.
class FloodServer
{
public:
    enum Flood { Body, Headers };

    FloodServer(Flood flood, qint64 hardLimit, int seconds, int clientNapMs = 0)
        : m_flood(flood)
        , m_hardLimit(hardLimit)
        , m_seconds(seconds)
        , m_clientNapMs(clientNapMs)
    {
        m_thread.reset(QThread::create([this] { Run(); }));
        m_thread->start();
        QDeadlineTimer ready(5000);
        while (m_port == 0 && !ready.hasExpired())
            QThread::msleep(5);
    }
    ~FloodServer() { m_thread->wait(15000); }

    quint16 Port() const { return m_port; }
    qint64 Written() const { return m_written; }
    bool Wait() { return m_thread->wait(15000); }

private:
    void Run()
    {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost, 0))
            return;
        m_port = server.serverPort();
        if (!server.waitForNewConnection(5000))
            return;
        std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        QByteArray request;
        QDeadlineTimer deadline(m_seconds * 1000);
        while (!request.contains("\r\n\r\n") && !deadline.hasExpired() && socket->waitForReadyRead(1000))
            request += socket->readAll();
        QByteArray chunk;
        if (m_flood == Body) {
            socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
            chunk = QByteArray::number(64 * 1024, 16) + "\r\n" + QByteArray(64 * 1024, 'x') + "\r\n";
            // Posted before the client can see the headers, so it sleeps before reading the body.
            if (m_clientNapMs > 0) {
                const int nap = m_clientNapMs;
                QMetaObject::invokeMethod(
                    &m_client, [nap] { QThread::msleep(nap); }, Qt::QueuedConnection);
            }
        } else {
            socket->write("HTTP/1.1 200 OK\r\n");
            for (int i = 0; i < 1000; ++i)
                chunk += "X-Flood-" + QByteArray::number(i) + ": " + QByteArray(50, 'y') + "\r\n";
        }
        while (m_written < m_hardLimit && !deadline.hasExpired()
               && socket->state() == QAbstractSocket::ConnectedState) {
            socket->write(chunk);
            if (!socket->waitForBytesWritten(2000))
                break;
            m_written += chunk.size();
        }
    }

    const Flood m_flood;
    const qint64 m_hardLimit;
    const int m_seconds;
    const int m_clientNapMs;
    QObject m_client; // lives in the thread that made the server
    std::atomic<quint16> m_port{0};
    std::atomic<qint64> m_written{0};
    std::unique_ptr<QThread> m_thread;
};

} // namespace

class TestHostileServers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = std::make_unique<VumoTest::TempHome>(); }

    void endlessChunkedBodyEndsAtTheCap_data()
    {
        QTest::addColumn<bool>("blocking");
        QTest::newRow("blocking POST") << true;
        QTest::newRow("asynchronous POST") << false;
    }

    void endlessChunkedBodyEndsAtTheCap()
    {
        QFETCH(bool, blocking);
        constexpr qint64 cap = 1024 * 1024;
        // The client's thread is kept busy for a moment as the answer begins, as a GUI thread
        // may be: meanwhile nothing is read, so nothing more may be taken from the server.
        FloodServer server(FloodServer::Body, 256LL * 1024 * 1024, 3, 800);
        QVERIFY(server.Port() != 0);
        const QString url = QStringLiteral("http://127.0.0.1:%1/routerjson").arg(server.Port());
        HTTP_RETURN_RESULT result;
        if (blocking) {
            SyncHttpRequest http;
            http.SetMaxBodySize(cap);
            result = http.Post(url, "a=1", 30000, true);
            QCOMPARE(result.status, 203);
        } else {
            result = PostAsync(url, "a=1", cap);
        }
        QCOMPARE(VumoTest::ErrorDesc(result.data), OversizeBodyText(cap));
        QVERIFY(server.Wait());
        // Unread data must hold the server back (past the cap only what the sockets buffer),
        // not pile up in memory until the abort gets through.
        const qint64 bound = cap + 16LL * 1024 * 1024;
        QVERIFY2(server.Written() < bound, qPrintable(QStringLiteral("server wrote %1 bytes").arg(server.Written())));
    }

    void headerFloodEndsWithTheTimeLimit()
    {
        // Qt's HTTP thread is kept from its event loop while the header lines pour in; the
        // call (with the object that made it) must still end near its time limit, not wait
        // on that thread. The margin is loose on purpose: the fault cost five seconds more.
        constexpr int limitMs = 300;
        FloodServer server(FloodServer::Headers, 256LL * 1024 * 1024, 4);
        QVERIFY(server.Port() != 0);
        QElapsedTimer clock;
        clock.start();
        HTTP_RETURN_RESULT result;
        {
            SyncHttpRequest http;
            result = http.Post(QStringLiteral("http://127.0.0.1:%1/routerjson").arg(server.Port()), "a=1", limitMs,
                               true);
        }
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(result.status, 201);
        QVERIFY2(elapsed < limitMs + 2500, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
    }

    void hostileAnswersToASignedPostFail_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<bool>("blocking");
        for (const bool blocking : {true, false}) {
            const char* how = blocking ? "blocking" : "asynchronous";
            QTest::addRow("%s, 307 to another port", how) << QByteArray("307") << blocking;
            QTest::addRow("%s, 302 to another port", how) << QByteArray("302") << blocking;
            QTest::addRow("%s, body shorter than its length", how) << QByteArray("short") << blocking;
            QTest::addRow("%s, gzip bomb", how) << QByteArray("bomb") << blocking;
        }
    }

    void hostileAnswersToASignedPostFail()
    {
        QFETCH(QByteArray, kind);
        QFETCH(bool, blocking);
        constexpr qint64 cap = 64 * 1024;
        TestServer other;
        QVERIFY(other.listen([](const HttpRequestSeen&, QTcpSocket* s) { TestServer::respond(s, 200, "{}"); }));
        const QByteArray location = other.url(QStringLiteral("/steal")).toUtf8();
        const QByteArray bomb = VumoTest::gzipBytes(QByteArray(8 * 1024 * 1024, '\0'));
        QVERIFY(bomb.size() < cap); // small on the wire, only inflation passes the cap
        TestServer server;
        QVERIFY(server.listen([&](const HttpRequestSeen&, QTcpSocket* s) {
            if (kind == "short") {
                s->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"a\":1}");
                s->flush();
                QTimer::singleShot(200, s, [s] { s->disconnectFromHost(); }); // after the partial body is read
            } else if (kind == "bomb") {
                TestServer::respond(s, 200, bomb, {"Content-Encoding: gzip"});
            } else {
                TestServer::respond(s, kind.toInt(), QByteArray(), {"Location: " + location});
            }
        }));
        const QString url = server.url(QStringLiteral("/routerjson"));
        const QByteArray body = "access_token=secret-token&sign=ABC";
        HTTP_RETURN_RESULT result;
        if (blocking) {
            SyncHttpRequest http;
            http.SetMaxBodySize(cap);
            result = http.Post(url, body, 5000, true);
            QVERIFY2(result.status != 200, result.data.constData());
            if (kind == "bomb")
                QCOMPARE(result.status, 203);
            else if (kind != "short")
                QCOMPARE(result.status, kind.toInt());
        } else {
            result = PostAsync(url, body, cap);
        }
        QTest::qWait(100); // a forwarded request would have arrived by now
        QCOMPARE(other.connections(), 0);
        QCOMPARE(server.requests().size(), 1);
        const QString text = VumoTest::ErrorDesc(result.data);
        if (kind == "short")
            QVERIFY2(text.startsWith(IncompleteBodyText(QString()).trimmed()), result.data.constData());
        else if (kind == "bomb")
            QCOMPARE(text, OversizeBodyText(cap));
        else
            QVERIFY2(text.contains(QString::fromUtf8(location)), result.data.constData());
        if (blocking && kind == "short") {
            // A download of a cut-short file writes nothing.
            SyncHttpRequest http;
            QVERIFY(!http.SyncDownloadFile(server.url("/pic.jpg"), m_home->filePath("cut.jpg"), 5000, false));
            QVERIFY(!QFile::exists(m_home->filePath("cut.jpg")));
        }
    }

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
};

VUMO_TEST_CLASS(TestHostileServers)
#include "TestHostileServers.moc"
