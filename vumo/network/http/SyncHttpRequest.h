#pragma once
// One blocking HTTP exchange at a time on the calling thread: the request waits in a private
// event loop, so worker threads need no event loop of their own. Create it on the stack of the
// thread that uses it.
#include "network/http/HttpReturn.h"

#include <QByteArray>
#include <QMap>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QString>

class QEventLoop;
class QNetworkAccessManager;
class QNetworkRequest;
class QTimer;

namespace Quorvia::network::http {

class SyncHttpRequest : public QObject
{
    Q_OBJECT

public:
    explicit SyncHttpRequest(QObject* parent = nullptr);
    ~SyncHttpRequest() override;

    HTTP_RETURN_RESULT Post(const QString& url, const QByteArray& body, int timeoutMs, bool acceptGzip);
    HTTP_RETURN_RESULT Get(const QString& url, int timeoutMs, bool acceptGzip);
    // GET, then the body goes to the file; an empty body counts as failure.
    bool SyncDownloadFile(const QString& url, const QString& localPath, int timeoutMs, bool acceptGzip);
    // Text fields in the map's order, then one file: (form-field name, local path).
    HTTP_RETURN_RESULT PostFileByMultiPart(const QString& url, const QMap<QByteArray, QByteArray>& fields,
                                           const QPair<QByteArray, QString>& file, int timeoutMs, bool acceptGzip);

    // Bodies past this size are refused (the reply is aborted and the call fails).
    void SetMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    qint64 MaxBodySize() const { return m_maxBodySize; }
    // Ends the exchange under way (called from a slot run by its wait, e.g. a progress signal
    // or a timer of this thread); it then fails with status 203. Nothing happens when idle.
    void Abort();
    // True when the last request ran out of time (its status is then 201).
    bool TimedOut() const { return m_timedOut; }

    // The multipart body for the given pieces; the content type is sniffed from the bytes.
    static QByteArray BuildMultiPartBody(const QByteArray& boundary, const QMap<QByteArray, QByteArray>& fields,
                                         const QByteArray& fieldName, const QString& fileName,
                                         const QByteArray& content);
    // "image/png" for PNG bytes, "image/jpeg" otherwise, empty for fewer than 10 bytes.
    static QByteArray SniffImageType(const QByteArray& content);

signals:
    void DownloadProgressSignals(qint64 received, qint64 total);

private slots:
    void OnReplyFinished(QNetworkReply* reply);
    void OnRequestError(QNetworkReply::NetworkError code);
    void OnTimeOut();
    void OnDownloadProgress(qint64 received, qint64 total);

private:
    enum class Verb { Get, Post };
    HTTP_RETURN_RESULT Exchange(Verb verb, QNetworkRequest& request, const QByteArray& body, const QByteArray& logBody,
                                int timeoutMs, bool acceptGzip);
    // False once the reply would pass the size cap; the reply is then aborted. `received` is
    // the count of bytes arrived so far when known (-1 otherwise).
    bool CheckCap(QNetworkReply* reply, qint64 received);
    // Moves what is readable into the buffer, within the cap.
    void ReadAvailable(QNetworkReply* reply, qint64 received);
    void Finish();
    void NewManager();
    void AbandonManager();

    QNetworkAccessManager* m_manager = nullptr;
    QTimer* m_timer = nullptr;
    QEventLoop* m_loop = nullptr;
    qint32 m_status = HTTP_RETURN_PENDING;
    QByteArray m_buffer;
    qint64 m_bodyBytes = 0; // read from the reply, before any inflation
    QNetworkReply* m_reply = nullptr;
    bool m_timedOut = false;
    bool m_aborted = false;
    bool m_done = false;
    qint64 m_maxBodySize = kMaxReplyBodySize;
};

} // namespace Quorvia::network::http
