#pragma once
// The HTTP/1.1 pieces of the simulator: one parsed request, building answers, form and
// multipart bodies, gzip. Plain functions so the gateway can be tested without sockets.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace Quorvia::marketplace {

struct HttpRequest
{
    QByteArray method;                    // "GET", "POST"
    QByteArray path;                      // without the query
    QByteArray query;                     // after "?", raw
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    bool acceptsGzip() const;
    bool keepAlive() const;
};

struct HttpAnswer
{
    int status = 200;
    QByteArray contentType = "application/json;charset=UTF-8";
    QByteArray body;
    bool gzip = false; // compress the body when sent
};

// Outcome of feeding bytes to the request reader.
enum class ParseState { NeedMore, Done, Bad };

// Takes one complete request off the front of `buffer` (head plus Content-Length body).
// Requests larger than `maxBody` bytes, or with a broken head, are Bad.
ParseState TakeRequest(QByteArray& buffer, HttpRequest& request, qint64 maxBody = 64 * 1024 * 1024);

// Status line, headers and body, ready for the socket.
QByteArray SerializeAnswer(const HttpAnswer& answer, bool keepAlive);

// "a=1&b=%7B%7D" -> {a: "1", b: "{}"}. Values are percent-decoded only: "+" stays "+", as
// the plug-in sends its time stamp with a literal blank and never encodes blanks as "+".
QMap<QByteArray, QByteArray> ParseForm(const QByteArray& body);

struct MultipartPart
{
    QByteArray name;
    QByteArray fileName; // empty for a text field
    QByteArray contentType;
    QByteArray data;
};

// Splits a multipart/form-data body. False when the boundary is missing or a part is broken.
bool ParseMultipart(const QByteArray& contentType, const QByteArray& body, QList<MultipartPart>& parts);

QByteArray Gzip(const QByteArray& data);

} // namespace Quorvia::marketplace
