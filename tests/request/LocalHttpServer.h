#pragma once
// A minimal HTTP/1.1 server on 127.0.0.1 for the request tests: it reads one request per
// connection (headers and a Content-Length body), records it and answers with the configured
// status and body. Runs on the test's thread; blocking requests keep that thread's events
// flowing, so it answers them.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

namespace VumoTest {

struct ReceivedRequest
{
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

class LocalHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit LocalHttpServer(QObject* parent = nullptr);

    bool listen();
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString& path) const;

    void setAnswer(int status, const QByteArray& body)
    {
        m_status = status;
        m_body = body;
    }

    const QList<ReceivedRequest>& requests() const { return m_requests; }

    // "a=1&b=%7B%7D" -> {a: "1", b: "{}"}; values percent-decoded, order kept in the list.
    static QList<QPair<QByteArray, QByteArray>> formFields(const QByteArray& body);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);

    QTcpServer m_server;
    QMap<QTcpSocket*, QByteArray> m_buffers;
    QList<ReceivedRequest> m_requests;
    int m_status = 200;
    QByteArray m_body;
};

} // namespace VumoTest
