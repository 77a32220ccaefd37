#pragma once
// Outcome of every HTTP exchange and the callback shapes of the asynchronous tasks.
#include <QByteArray>
#include <QString>

#include <functional>

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

// {"error_response":{"code":"-1","zh_desc":"<text>"}} with the text escaped for JSON, so the
// body stays parseable whatever the error string holds.
QByteArray SyntheticErrorBody(const QString& text);

} // namespace Quorvia::network::http
