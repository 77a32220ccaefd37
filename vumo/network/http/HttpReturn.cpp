#include "network/http/HttpReturn.h"

#include <QNetworkReply>

namespace Quorvia::network::http {

QString OversizeBodyText(qint64 limit)
{
    return QStringLiteral("返回数据过大，超过%1字节上限").arg(limit);
}

QString TimeoutText()
{
    return QStringLiteral("http 请求超时");
}

QString RedirectRefusedText(const QString& target)
{
    return QStringLiteral("服务器要求重定向到%1，请求未转发").arg(target);
}

QString IncompleteBodyText(const QString& why)
{
    return QStringLiteral("返回数据不完整：%1").arg(why);
}

void AppendWithinCap(QByteArray& buffer, const QByteArray& chunk, qint64 cap)
{
    const qint64 needed = qint64(buffer.size()) + chunk.size();
    if (buffer.capacity() < needed)
        buffer.reserve(qMax(needed, qMin(2 * qint64(buffer.size()), cap)));
    buffer += chunk;
}

void LimitReadBuffer(QNetworkReply* reply)
{
    reply->setReadBufferSize(kReplyReadBufferSize);
    // Queued behind the start Qt posted when the reply was made; dropped with the reply.
    QMetaObject::invokeMethod(
        reply, [reply] { reply->setReadBufferSize(kReplyReadBufferSize); }, Qt::QueuedConnection);
}

QByteArray SyntheticErrorBody(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray escaped;
    escaped.reserve(utf8.size() + 8);
    for (const char c : utf8) {
        switch (c) {
        case '"':
            escaped += "\\\"";
            break;
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\b':
            escaped += "\\b";
            break;
        case '\f':
            escaped += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                escaped += "\\u00";
                escaped += hex[(c >> 4) & 0xF];
                escaped += hex[c & 0xF];
            } else {
                escaped += c;
            }
        }
    }
    return QByteArrayLiteral("{\"error_response\":{\"code\":\"-1\",\"zh_desc\":\"") + escaped
        + QByteArrayLiteral("\"}}");
}

} // namespace Quorvia::network::http
