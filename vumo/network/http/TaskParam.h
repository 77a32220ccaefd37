#pragma once
// Descriptions of asynchronous tasks handed to HttpRequestManage, which owns them from then on.
#include "network/http/HttpReturn.h"

#include <QList>
#include <QNetworkRequest>
#include <QPair>
#include <QString>
#include <QVariant>

namespace Quorvia::network::http {

enum TaskType {
    TASK_GET = 0,
    TASK_POST = 1,
    TASK_DOWNLOAD = 2,
    TASK_KEEPALIVE = 4,
};

struct TASK_PARAM
{
    explicit TASK_PARAM(qint32 taskType)
        : type(taskType)
    {
    }
    virtual ~TASK_PARAM() = default;

    QString url;
    HttpResultCallback resultCallback;
    HttpProgressCallback progressCallback; // optional
    qint32 timeout = 60000;                // milliseconds, whole transfer
    qint32 type;
    bool bypassLimit = false; // true: starts at once, not counted against the limit
    bool acceptGzip = false;
};

struct GET_TASK_PARAM : TASK_PARAM
{
    GET_TASK_PARAM()
        : TASK_PARAM(TASK_GET)
    {
    }
};

using HttpHeaderList = QList<QPair<QNetworkRequest::KnownHeaders, QVariant>>;

struct POST_TASK_PARAM : TASK_PARAM
{
    POST_TASK_PARAM()
        : TASK_PARAM(TASK_POST)
    {
    }

    QByteArray body;
    HttpHeaderList headers;

protected:
    explicit POST_TASK_PARAM(qint32 taskType)
        : TASK_PARAM(taskType)
    {
    }
};

struct DOWNLOADFILE_PARAM : TASK_PARAM
{
    DOWNLOADFILE_PARAM()
        : TASK_PARAM(TASK_DOWNLOAD)
    {
    }

    QString filePath;
};

// A POST whose answer is an endless stream of line-feed-terminated messages.
struct KeepAliveTask : POST_TASK_PARAM
{
    KeepAliveTask()
        : POST_TASK_PARAM(TASK_KEEPALIVE)
    {
    }

    HttpMessageCallback messageCallback;
};

} // namespace Quorvia::network::http
