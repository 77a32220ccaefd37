// The simulator's HTTP pieces, without sockets.
#include "support/TestMain.h"

#include "core/MarketGateway.h"
#include "core/MarketHttp.h"

#include <QTest>

using namespace Quorvia::marketplace;

class MarketHttpTest : public QObject
{
    Q_OBJECT

private slots:
    void requestsArriveInPieces()
    {
        const QByteArray wire = "POST /routerjson HTTP/1.1\r\nHost: x\r\nContent-Length: 7\r\n"
                                "Accept-Encoding: gzip, deflate\r\n\r\na=1&b=2"
                                "GET /__state HTTP/1.1\r\nConnection: close\r\n\r\n";
        QByteArray buffer;
        HttpRequest request;
        // Byte by byte: nothing is taken before the whole body is there.
        int taken = 0;
        for (int i = 0; i < wire.size(); ++i) {
            buffer += wire.at(i);
            const ParseState state = TakeRequest(buffer, request);
            QVERIFY(state != ParseState::Bad);
            if (state == ParseState::Done) {
                ++taken;
                if (taken == 1) {
                    QCOMPARE(request.method, QByteArray("POST"));
                    QCOMPARE(request.body, QByteArray("a=1&b=2"));
                    QVERIFY(request.acceptsGzip());
                    QVERIFY(request.keepAlive());
                    QCOMPARE(i, wire.indexOf("GET") - 1);
                }
            }
        }
        QCOMPARE(taken, 2);
        QCOMPARE(request.path, QByteArray("/__state"));
        QVERIFY(!request.keepAlive());
        QVERIFY(buffer.isEmpty());

        QByteArray bad = "NONSENSE\r\n\r\n";
        QCOMPARE(TakeRequest(bad, request), ParseState::Bad);
        QByteArray huge = "POST / HTTP/1.1\r\nContent-Length: 999999999999\r\n\r\n";
        QCOMPARE(TakeRequest(huge, request), ParseState::Bad);
        QByteArray negative = "POST / HTTP/1.1\r\nContent-Length: -4\r\n\r\n";
        QCOMPARE(TakeRequest(negative, request), ParseState::Bad);
    }

    void formKeepsPlusAndDecodesPercent()
    {
        const ParamMap form = ParseForm(
            "timestamp=2024-01-02 03:04:05&orvane_param_json=%7B%22a%22%3A%22b+c%22%7D&x&=");
        QCOMPARE(form.value("timestamp"), QByteArray("2024-01-02 03:04:05"));
        QCOMPARE(form.value("orvane_param_json"), QByteArray("{\"a\":\"b+c\"}"));
        QVERIFY(form.contains("x"));
    }

    void multipartSplitsFieldsAndFile()
    {
        const QByteArray file("\x89PNG\r\n--notboundary\r\n\0binary", 28);
        const QByteArray body =
            "--123\r\nContent-Disposition: form-data; name=\"method\"\r\nContent-Type: text/plain\r\n\r\n"
            "orvane.vumo.propimg.add\r\n"
            "--123\r\nContent-Disposition: form-data;name=\"image\";filename=\"a.png\"\r\n"
            "Content-Type: image/png\r\n\r\n"
            + file + "\r\n--123--\r\n";
        QList<MultipartPart> parts;
        QVERIFY(ParseMultipart("multipart/form-data;boundary=123", body, parts));
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(0).name, QByteArray("method"));
        QCOMPARE(parts.at(0).data, QByteArray("orvane.vumo.propimg.add"));
        QCOMPARE(parts.at(1).fileName, QByteArray("a.png"));
        QCOMPARE(parts.at(1).data, file);

        QVERIFY(!ParseMultipart("multipart/form-data", body, parts));
        QVERIFY(!ParseMultipart("multipart/form-data;boundary=123", body.left(body.size() - 12), parts));
    }
};

VUMO_TEST_CLASS(MarketHttpTest)
#include "MarketHttpTest.moc"
