#pragma once
// A scriptable HTTP/1.1 server on 127.0.0.1 (any free port) for network tests. Each complete
// request is recorded and handed to the handler, which answers at once, later, or never.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace VumoTest {

struct HttpRequestSeen
{
    QByteArray method;
    QByteArray target;                    // path and query, or the absolute URL a proxy is asked for
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

class TestServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const HttpRequestSeen&, QTcpSocket*)>;

    explicit TestServer(QObject* parent = nullptr);
    bool listen();
    bool listen(Handler handler)
    {
        setHandler(std::move(handler));
        return listen();
    }
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString& path) const;
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void close() { m_server.close(); }

    const QList<HttpRequestSeen>& requests() const { return m_requests; }
    int connections() const { return m_connections; }

    // A full response with Content-Length.
    static QByteArray response(int status, const QByteArray& body, const QList<QByteArray>& extraHeaders = {},
                               const QByteArray& reason = "OK");
    static void respond(QTcpSocket* socket, int status, const QByteArray& body,
                        const QList<QByteArray>& extraHeaders = {});
    // A handler that answers every request with 200 and `body`.
    static Handler answering(const QByteArray& body)
    {
        return [body](const HttpRequestSeen&, QTcpSocket* socket) { respond(socket, 200, body); };
    }

private:
    void onNewConnection();
    void onReadable(QTcpSocket* socket);

    QTcpServer m_server;
    Handler m_handler;
    QList<HttpRequestSeen> m_requests;
    QMap<QTcpSocket*, QByteArray> m_pending;
    int m_connections = 0;
};

// "a=1&b=%7B%7D" -> (a, 1), (b, {}): a form body's fields in order, values percent-decoded.
QList<QPair<QByteArray, QByteArray>> FormFields(const QByteArray& body);
// The value of one field of a form body; empty when it is not there.
QByteArray FormField(const QByteArray& body, const QByteArray& name);
// The signature a receiving gateway computes from a form body: MD5 over the secret, the fields
// but "sign" by ascending name, the secret; upper-case hex.
QByteArray GatewaySign(const QByteArray& body, const QByteArray& secret);
// The zh_desc of an error answer as the plug-in's JSON reader sees it; empty when there is none.
QString ErrorDesc(QByteArray body);

// Gzip-compresses bytes (a gzip header, as HTTP servers send them).
QByteArray gzipBytes(const QByteArray& data);

} // namespace VumoTest
