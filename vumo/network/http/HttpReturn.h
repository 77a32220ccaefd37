#pragma once
// Outcome of every HTTP exchange and the callback shapes of the asynchronous tasks.
#include <QByteArray>
#include <QString>

#include <functional>

class QNetworkReply;

namespace Quorvia::network::http {

// Compared as plain numbers throughout the plug-in.
enum HTTP_RETURN_STATE {
    HTTP_RETURN_SUCCESS = 200,
    HTTP_RETURN_TIMEOUT = 201,
    HTTP_RETURN_OPENFILE_FAILED = 202,
    HTTP_RETURN_ABORTED = 203,
    HTTP_RETURN_PENDING = 204,
};

struct HTTP_RETURN_RESULT
{
    qint32 status = HTTP_RETURN_PENDING;
    QByteArray data;
};

using HttpResultCallback = std::function<void(HTTP_RETURN_STATE, const HTTP_RETURN_RESULT&)>;
using HttpProgressCallback = std::function<void(int)>;
using HttpMessageCallback = std::function<void(const QByteArray&)>;

// No reply body is accepted past this size: a hostile or broken server must not exhaust memory.
constexpr qint64 kMaxReplyBodySize = 64LL * 1024 * 1024;

// The text given when a reply passes the size cap.
QString OversizeBodyText(qint64 limit);

// The text of a time-out, "http 请求超时".
QString TimeoutText();

// The text given when a POST is answered with a redirect: its body (signed, with the seller's
// token) is not sent on to the new address.
QString RedirectRefusedText(const QString& target);

// The text given when the connection broke before the whole body arrived.
QString IncompleteBodyText(const QString& why);

// The read buffer asked of every reply: Qt's HTTP thread then stops reading the socket while
// this much is unread, so a fast endless body waits in the kernel instead of in memory.
constexpr qint64 kReplyReadBufferSize = 64 * 1024;

// Gives a reply just made by get()/post() the read buffer above. A reply with a body to send
// starts only from the event loop, and Qt drops a size set before that start; so the size is
// set now and once more after the start.
void LimitReadBuffer(QNetworkReply* reply);

// Appends a chunk the caller has already checked against `cap`; the buffer never reserves
// past the cap, so a body near the cap does not cost twice the cap in memory.
void AppendWithinCap(QByteArray& buffer, const QByteArray& chunk, qint64 cap);

// {"error_response":{"code":"-1","zh_desc":"<text>"}} with the text escaped for JSON, so the
// body stays parseable whatever the error string holds.
QByteArray SyntheticErrorBody(const QString& text);

} // namespace Quorvia::network::http
