#include "MarketHttp.h"

#include <zlib.h>

namespace Quorvia::marketplace {

namespace {

QByteArray ReasonOf(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Payload Too Large";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// Value of `key` inside a header such as `multipart/form-data; boundary=xyz`.
QByteArray HeaderParam(const QByteArray& header, const QByteArray& key)
{
    const QList<QByteArray> pieces = header.split(';');
    for (const QByteArray& piece : pieces) {
        const QByteArray p = piece.trimmed();
        const int eq = p.indexOf('=');
        if (eq <= 0 || p.left(eq).trimmed().toLower() != key)
            continue;
        QByteArray value = p.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return QByteArray();
}

} // namespace

bool HttpRequest::acceptsGzip() const
{
    return header("accept-encoding").toLower().contains("gzip");
}

bool HttpRequest::keepAlive() const
{
    return header("connection").toLower() != "close";
}

ParseState TakeRequest(QByteArray& buffer, HttpRequest& request, qint64 maxBody)
{
    const int headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return buffer.size() > 64 * 1024 ? ParseState::Bad : ParseState::NeedMore;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() < 3 || !first.at(2).startsWith("HTTP/1."))
        return ParseState::Bad;
    HttpRequest parsed;
    parsed.method = first.at(0).toUpper();
    const QByteArray target = first.at(1);
    const int q = target.indexOf('?');
    parsed.path = q < 0 ? target : target.left(q);
    parsed.query = q < 0 ? QByteArray() : target.mid(q + 1);
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        parsed.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    if (parsed.header("transfer-encoding").toLower().contains("chunked"))
        return ParseState::Bad; // the plug-in never sends chunked bodies
    qint64 length = 0;
    if (parsed.headers.contains("content-length")) {
        bool ok = false;
        length = parsed.header("content-length").toLongLong(&ok);
        if (!ok || length < 0 || length > maxBody)
            return ParseState::Bad;
    }
    const qint64 total = headEnd + 4 + length;
    if (buffer.size() < total)
        return ParseState::NeedMore;
    parsed.body = buffer.mid(headEnd + 4, int(length));
    buffer.remove(0, int(total));
    request = parsed;
    return ParseState::Done;
}

QByteArray SerializeAnswer(const HttpAnswer& answer, bool keepAlive)
{
    QByteArray body = answer.body;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + ReasonOf(answer.status) + "\r\n";
    head += "Content-Type: " + answer.contentType + "\r\n";
    if (answer.gzip) {
        body = Gzip(body);
        head += "Content-Encoding: gzip\r\n";
    }
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    head += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    head += "\r\n";
    return head + body;
}

QMap<QByteArray, QByteArray> ParseForm(const QByteArray& body)
{
    QMap<QByteArray, QByteArray> fields;
    const QList<QByteArray> pairs = body.split('&');
    for (const QByteArray& pair : pairs) {
        if (pair.isEmpty())
            continue;
        const int eq = pair.indexOf('=');
        const QByteArray name = QByteArray::fromPercentEncoding(eq < 0 ? pair : pair.left(eq));
        const QByteArray value = eq < 0 ? QByteArray() : QByteArray::fromPercentEncoding(pair.mid(eq + 1));
        fields.insert(name, value);
    }
    return fields;
}

bool ParseMultipart(const QByteArray& contentType, const QByteArray& body, QList<MultipartPart>& parts)
{
    parts.clear();
    const QByteArray boundary = HeaderParam(contentType, "boundary");
    if (boundary.isEmpty())
        return false;
    const QByteArray delimiter = "--" + boundary;
    int pos = body.indexOf(delimiter);
    if (pos < 0)
        return false;
    while (true) {
        pos += delimiter.size();
        if (body.mid(pos, 2) == "--")
            return true; // closing delimiter
        if (body.mid(pos, 2) != "\r\n")
            return false;
        pos += 2;
        const int headEnd = body.indexOf("\r\n\r\n", pos);
        if (headEnd < 0)
            return false;
        MultipartPart part;
        const QList<QByteArray> lines = body.mid(pos, headEnd - pos).split('\n');
        for (const QByteArray& raw : lines) {
            const QByteArray line = raw.trimmed();
            const int colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-disposition") {
                part.name = HeaderParam(value, "name");
                part.fileName = HeaderParam(value, "filename");
            } else if (name == "content-type") {
                part.contentType = value;
            }
        }
        const int dataStart = headEnd + 4;
        const QByteArray nextDelimiter = "\r\n" + delimiter;
        const int next = int(body.indexOf(nextDelimiter, dataStart));
        if (next < 0)
            return false;
        part.data = body.mid(dataStart, next - dataStart);
        parts.append(part);
        pos = next + 2;
    }
}

QByteArray Gzip(const QByteArray& data)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    out.resize(int(stream.total_out));
    deflateEnd(&stream);
    return rc == Z_STREAM_END ? out : QByteArray();
}

} // namespace Quorvia::marketplace
