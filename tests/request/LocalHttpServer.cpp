#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace VumoTest {

LocalHttpServer::LocalHttpServer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
}

bool LocalHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void LocalHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    ReceivedRequest request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon > 0)
            request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                   lines.at(i).mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return; // body still coming
    request.body = buffer.mid(headerEnd + 4, length);
    m_buffers.remove(socket);
    m_requests.append(request);

    QByteArray reply = "HTTP/1.1 " + QByteArray::number(m_status) + " X\r\n"
        "Content-Type: application/json;charset=utf-8\r\n"
        "Content-Length: " + QByteArray::number(m_body.size()) + "\r\n"
        "Connection: close\r\n\r\n" + m_body;
    socket->write(reply);
    socket->disconnectFromHost();
}

QList<QPair<QByteArray, QByteArray>> LocalHttpServer::formFields(const QByteArray& body)
{
    QList<QPair<QByteArray, QByteArray>> fields;
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        fields.append({pair.left(eq), QByteArray::fromPercentEncoding(pair.mid(eq + 1))});
    }
    return fields;
}

} // namespace VumoTest
