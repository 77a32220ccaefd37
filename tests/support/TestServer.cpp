#include "support/TestServer.h"

#include "network/utils/YvJsonParser.h"

#include <QCryptographicHash>

#include <zlib.h>

namespace VumoTest {

TestServer::TestServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TestServer::onNewConnection);
}

bool TestServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString TestServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void TestServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void TestServer::onReadable(QTcpSocket* socket)
{
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    for (;;) {
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        HttpRequestSeen request;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines.at(i).indexOf(':');
            if (colon > 0)
                request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                       lines.at(i).mid(colon + 1).trimmed());
        }
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        m_requests.append(request);
        if (m_handler)
            m_handler(request, socket);
    }
}

QByteArray TestServer::response(int status, const QByteArray& body, const QList<QByteArray>& extraHeaders,
                                const QByteArray& reason)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const QByteArray& header : extraHeaders)
        out += header + "\r\n";
    out += "\r\n";
    out += body;
    return out;
}

void TestServer::respond(QTcpSocket* socket, int status, const QByteArray& body, const QList<QByteArray>& extraHeaders)
{
    if (socket)
        socket->write(response(status, body, extraHeaders));
}

QByteArray gzipBytes(const QByteArray& data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QList<QPair<QByteArray, QByteArray>> FormFields(const QByteArray& body)
{
    QList<QPair<QByteArray, QByteArray>> fields;
    for (const QByteArray& pair : body.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        fields.append({pair.left(eq), QByteArray::fromPercentEncoding(pair.mid(eq + 1))});
    }
    return fields;
}

QByteArray FormField(const QByteArray& body, const QByteArray& name)
{
    for (const auto& field : FormFields(body)) {
        if (field.first == name)
            return field.second;
    }
    return QByteArray();
}

QByteArray GatewaySign(const QByteArray& body, const QByteArray& secret)
{
    QMap<QByteArray, QByteArray> sorted;
    for (const auto& field : FormFields(body)) {
        if (field.first != "sign")
            sorted.insert(field.first, field.second);
    }
    QByteArray text = secret;
    for (auto it = sorted.cbegin(); it != sorted.cend(); ++it)
        text += it.key() + it.value();
    text += secret;
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex().toUpper();
}

QString ErrorDesc(QByteArray body)
{
    QVariant parsed;
    Quorvia::utils::YvJsonParser parser;
    if (!parser.parse(body, parsed, true))
        return QString();
    return parsed.toMap().value(QStringLiteral("error_response")).toMap().value(QStringLiteral("zh_desc")).toString();
}

} // namespace VumoTest
