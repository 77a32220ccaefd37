#pragma once
// One asynchronous task (GET, POST, download to file, keep-alive stream), run on the thread that
// created it; the outcome goes to the task's result callback.
#include "network/http/TaskParam.h"

#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QTimer;

namespace Quorvia::network::http {

class SimpleHttp : public QObject
{
    Q_OBJECT

public:
    explicit SimpleHttp(const TASK_PARAM& task, QObject* parent = nullptr);
    ~SimpleHttp() override;

    void Start();
    // Cancels the transfer; the callback then gets state 203.
    void Abort();

    qint32 Type() const { return m_type; }
    bool BypassLimit() const { return m_bypassLimit; }
    QUrl Url() const { return m_url; }
    void SetMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }

signals:
    void RequestFinishedSignal(SimpleHttp* http);

private slots:
    void httpFinished(QNetworkReply* reply);
    void httpError(QNetworkReply::NetworkError code);
    void downFileReplyRead();
    void downloadProgress(qint64 received, qint64 total);
    void downFileFinished();
    void OnOutTimer();
    void OnAutoBreakOutTimer();
    void OnRecvMsg();

private:
    void StartDownload();
    void ApplyBodyAndHeaders(QNetworkRequest& request) const;
    void StartTimer();
    // Aborts once the body (or the file) would pass the size cap: what is held plus `pending`
    // unread bytes, or `received` bytes arrived in all when that is larger.
    bool CheckCap(qint64 pending, qint64 received = -1);
    void Report(HTTP_RETURN_STATE state, qint32 status, const QByteArray& data);

    QNetworkAccessManager* m_manager = nullptr;
    qint32 m_type = TASK_GET;
    QUrl m_url;
    QByteArray m_body;
    HttpHeaderList m_headers;
    qint32 m_timeout = 60000;
    bool m_acceptGzip = false;
    bool m_bypassLimit = false;
    HttpResultCallback m_resultCallback;
    HttpProgressCallback m_progressCallback;
    HttpMessageCallback m_messageCallback;
    QString m_filePath;

    QNetworkReply* m_reply = nullptr;
    QFile m_file;
    bool m_timedOut = false;
    bool m_aborted = false;
    bool m_oversize = false;
    bool m_writeFailed = false;
    bool m_dataSeen = false;
    bool m_reported = false;
    int m_redirects = 0;
    qint64 m_written = 0;
    qint64 m_maxBodySize = kMaxReplyBodySize;
    QByteArray m_buffer;
    QTimer* m_outTimer = nullptr;
    QTimer* m_breakTimer = nullptr;
};

} // namespace Quorvia::network::http
