// The blocking request against local servers: time-outs, error statuses, gzip, size cap,
// file download and the multipart upload.
#include "support/TestServer.h"

#include "network/http/SyncHttpRequest.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Quorvia::network::http;
using VumoTest::HttpRequestSeen;
using VumoTest::TestServer;

class TestSyncHttpRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = std::make_unique<VumoTest::TempHome>(); }

    void timeOutGives201AndTheTimeOutBody()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket*) {})); // never answers
        SyncHttpRequest http;
        QElapsedTimer clock;
        clock.start();
        const HTTP_RETURN_RESULT result = http.Post(server.url("/slow"), "a=1", 300, true);
        QCOMPARE(result.status, 201);
        QCOMPARE(result.data, QByteArray("{\"timeout\":\"http 请求超时\"}"));
        QVERIFY(clock.elapsed() < 5000);
        // A body that stalls half-way is a time-out too.
        server.setHandler([](const HttpRequestSeen&, QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"a\":");
        });
        QCOMPARE(http.Post(server.url("/routerjson"), "a=1", 300, true).status, 201);
        QVERIFY(http.TimedOut());
        // The object serves the next request normally.
        server.setHandler([](const HttpRequestSeen&, QTcpSocket* s) { TestServer::respond(s, 200, "ok"); });
        QCOMPARE(http.Get(server.url("/fast"), 5000, false).data, QByteArray("ok"));
    }

    void errorStatusKeepsOnlyTheBytesSeenInProgress()
    {
        // The body of a 500 arrives in two pieces; both reach the buffer through progress
        // notifications, once each and in order.
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket* s) {
            s->write("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 10\r\n\r\nfirst");
            s->flush();
            QTimer::singleShot(100, s, [s] { s->write("-last"); });
        }));
        SyncHttpRequest http;
        const HTTP_RETURN_RESULT result = http.Get(server.url("/boom"), 5000, false);
        QCOMPARE(result.status, 500);
        QCOMPARE(result.data, QByteArray("first-last"));
    }

    void refusedConnectionGivesStatusZeroAndNoBody()
    {
        quint16 port = 0;
        {
            TestServer gone;
            QVERIFY(gone.listen());
            port = gone.port();
        }
        SyncHttpRequest http;
        const HTTP_RETURN_RESULT result = http.Get(QStringLiteral("http://127.0.0.1:%1/x").arg(port), 5000, false);
        QCOMPARE(result.status, 0);
        QVERIFY(result.data.isEmpty());
    }

    void gzipIsInflatedOnlyWhenAskedAndAnnounced_data()
    {
        QTest::addColumn<bool>("ask");
        QTest::addColumn<bool>("announce");
        QTest::newRow("asked and announced") << true << true;
        QTest::newRow("announced, not asked") << false << true;
        QTest::newRow("asked, not announced") << true << false;
    }

    void gzipIsInflatedOnlyWhenAskedAndAnnounced()
    {
        QFETCH(bool, ask);
        QFETCH(bool, announce);
        const QByteArray plain = QByteArray("{\"vumo\":\"商品\"}").repeated(50);
        const QByteArray packed = VumoTest::gzipBytes(plain);
        TestServer server;
        QVERIFY(server.listen([&](const HttpRequestSeen&, QTcpSocket* s) {
            QList<QByteArray> headers;
            if (announce)
                headers << "Content-Encoding: gzip";
            TestServer::respond(s, 200, packed, headers);
        }));
        SyncHttpRequest http;
        const HTTP_RETURN_RESULT result = http.Get(server.url("/z"), 5000, ask);
        QCOMPARE(result.status, 200);
        QCOMPARE(result.data, ask && announce ? plain : packed);
        QCOMPARE(server.requests().first().headers.value("accept-encoding"),
                 ask ? QByteArray("gzip, deflate") : QByteArray("identity"));
    }

    void oversizeBodyFailsClearly_data()
    {
        QTest::addColumn<QByteArray>("reply");
        const QByteArray big(4096, 'x');
        QTest::newRow("with length") << TestServer::response(200, big);
        QTest::newRow("without length") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big);
        // Announces far more than the cap: refused without waiting for the bytes.
        QTest::newRow("announced only") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000000000\r\n\r\nxx");
    }

    void oversizeBodyFailsClearly()
    {
        QFETCH(QByteArray, reply);
        TestServer server;
        QVERIFY(server.listen([&](const HttpRequestSeen&, QTcpSocket* s) {
            s->write(reply);
            if (reply.contains("Connection: close"))
                s->disconnectFromHost();
        }));
        SyncHttpRequest http;
        http.SetMaxBodySize(1024);
        QElapsedTimer clock;
        clock.start();
        HTTP_RETURN_RESULT result = http.Get(server.url("/big"), 20000, false);
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(result.status, 203);
        QCOMPARE(VumoTest::ErrorDesc(result.data), OversizeBodyText(1024));
        QVERIFY(!http.SyncDownloadFile(server.url("/big"), m_home->filePath("big.bin"), 20000, false));
        QVERIFY(!QFile::exists(m_home->filePath("big.bin")));
    }

    void downloadWritesTheBodyAndRefusesEmptyOnes()
    {
        TestServer server;
        QVERIFY(server.listen());
        const QByteArray picture = QByteArray("\xff\xd8\xff\xe0JFIF", 8).repeated(100);
        server.setHandler([&](const HttpRequestSeen& r, QTcpSocket* s) {
            if (r.target == "/pic.jpg")
                TestServer::respond(s, 200, picture);
            else if (r.target == "/moved.jpg")
                TestServer::respond(s, 302, "", {"Location: /pic.jpg"});
            else if (r.target == "/empty.jpg")
                TestServer::respond(s, 200, "");
            else
                TestServer::respond(s, 404, "missing");
        });
        SyncHttpRequest http;
        QSignalSpy progress(&http, &SyncHttpRequest::DownloadProgressSignals);
        const QString path = m_home->filePath("pic.jpg");
        QVERIFY(http.SyncDownloadFile(server.url("/pic.jpg"), path, 5000, false));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(picture.size()));
        QCOMPARE(VumoTest::ReadBytes(path), picture);
        QVERIFY(http.SyncDownloadFile(server.url("/moved.jpg"), m_home->filePath("moved.jpg"), 5000, false));

        const QString empty = m_home->filePath("empty.jpg");
        QVERIFY(!http.SyncDownloadFile(server.url("/empty.jpg"), empty, 5000, false));
        QVERIFY(!QFile::exists(empty));
        QVERIFY(!http.SyncDownloadFile(QString(), path, 5000, false));
        QVERIFY(!http.SyncDownloadFile(server.url("/pic.jpg"), QString(), 5000, false));
        // A folder that does not exist cannot take the file.
        QVERIFY(!http.SyncDownloadFile(server.url("/pic.jpg"), m_home->filePath("no/such/dir/p.jpg"), 5000, false));
    }

    void multipartLayoutIsExact_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("type");
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QByteArray("image/png");
        QTest::newRow("png marker, too short") << QByteArray("\x89PNG\r\n", 6) << QByteArray();
    }

    void multipartLayoutIsExact()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, type);
        const QString path = m_home->filePath("图片.png");
        QVERIFY(VumoTest::WriteBytes(path, content));

        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket* s) { TestServer::respond(s, 200, "{}"); }));
        SyncHttpRequest http;
        const HTTP_RETURN_RESULT result = http.PostFileByMultiPart(
            server.url("/upload"), {{"v", "2.0"}, {"app_key", "k y"}}, qMakePair(QByteArray("image_file"), path), 5000,
            false);
        QCOMPARE(result.status, 200);
        QCOMPARE(server.requests().size(), 1);
        const HttpRequestSeen& seen = server.requests().first();

        const QByteArray contentType = seen.headers.value("content-type");
        QVERIFY(contentType.startsWith("multipart/form-data;boundary="));
        const QByteArray boundary = contentType.mid(int(strlen("multipart/form-data;boundary=")));

        const QByteArray expected = "--" + boundary
            + "\r\nContent-Disposition: form-data; name=\"app_key\"\r\n"
              "Content-Type: text/plain\r\n\r\nk y\r\n"
              "--"
            + boundary
            + "\r\nContent-Disposition: form-data; name=\"v\"\r\n"
              "Content-Type: text/plain\r\n\r\n2.0\r\n"
              "--"
            + boundary
            + "\r\nContent-Disposition: form-data;name=\"image_file\";"
              "filename=\""
            + QByteArray("图片.png") + "\"\r\nContent-Type: " + type
            + "\r\n"
              "Content-Transfer-Encoding: binary\r\n\r\n"
            + content + "\r\n--" + boundary + "--\r\n";
        QCOMPARE(seen.body, expected);
    }

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
};

VUMO_TEST_CLASS(TestSyncHttpRequest)
#include "TestSyncHttpRequest.moc"
