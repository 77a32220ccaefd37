#include "network/http/SyncHttpRequest.h"

#include "network/config/NetworkConfig.h"
#include "quorvia/LogMask.h"
#include "quorvia/UnZipFile.h"
#include "utils/Log.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace Quorvia::network::http {

namespace {

const QByteArray kTimeoutBody = QByteArrayLiteral("{\"timeout\":\"") + TimeoutText().toUtf8()
    + QByteArrayLiteral("\"}");

// Failures of the connection itself; after the status line they mean a body cut short.
// (Our own aborts are told apart by their flags, HTTP error statuses by their codes.)
bool BrokenTransfer(QNetworkReply::NetworkError code)
{
    return (code > QNetworkReply::NoError && code < QNetworkReply::ProxyConnectionRefusedError
            && code != QNetworkReply::OperationCanceledError)
        || code == QNetworkReply::ProtocolFailure;
}

} // namespace

SyncHttpRequest::SyncHttpRequest(QObject* parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_loop(new QEventLoop(this))
{
    m_timer->setSingleShot(true);
    NewManager();
    connect(m_timer, &QTimer::timeout, this, &SyncHttpRequest::OnTimeOut);
}

SyncHttpRequest::~SyncHttpRequest() = default;

void SyncHttpRequest::NewManager()
{
    m_manager = new QNetworkAccessManager(this);
    config::NetworkConfig::Instance()->ApplyProxy(m_manager);
    connect(m_manager, &QNetworkAccessManager::finished, this, &SyncHttpRequest::OnReplyFinished);
}

void SyncHttpRequest::AbandonManager()
{
    // Qt's HTTP thread may still be stuck with a hostile server (a flood of header lines keeps
    // it from its event loop); deleting the manager now would wait up to five seconds for that
    // thread and break the caller's time limit. It goes later; the next request gets a new one.
    disconnect(m_manager, nullptr, this, nullptr);
    m_manager->setParent(nullptr);
    m_manager->deleteLater();
    NewManager();
}

HTTP_RETURN_RESULT SyncHttpRequest::Post(const QString& url, const QByteArray& body, int timeoutMs, bool acceptGzip)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    return Exchange(Verb::Post, request, body, body, timeoutMs, acceptGzip);
}

HTTP_RETURN_RESULT SyncHttpRequest::Get(const QString& url, int timeoutMs, bool acceptGzip)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    return Exchange(Verb::Get, request, QByteArray(), QByteArray(), timeoutMs, acceptGzip);
}

HTTP_RETURN_RESULT SyncHttpRequest::Exchange(Verb verb, QNetworkRequest& request, const QByteArray& body,
                                             const QByteArray& logBody, int timeoutMs, bool acceptGzip)
{
    m_status = HTTP_RETURN_PENDING;
    m_buffer.clear();
    m_bodyBytes = 0;
    m_timedOut = false;
    m_aborted = false;
    m_done = false;

    // Without an explicit header Qt would ask for gzip itself and inflate behind our back.
    request.setRawHeader(QByteArrayLiteral("Accept-Encoding"),
                         acceptGzip ? QByteArrayLiteral("gzip, deflate") : QByteArrayLiteral("identity"));
    // Every POST here is a signed call: its body must never follow a redirect to another
    // address. The redirect is reported as a failure below.
    if (verb == Verb::Post)
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = verb == Verb::Get ? m_manager->get(request) : m_manager->post(request, body);
    LimitReadBuffer(reply);
    m_reply = reply;
    qCDebug(lcContol).noquote() << VUMO_SRC_POS
            + ClipForLog(MaskSecrets(
                QStringLiteral("%1?%2").arg(request.url().toString(), QString::fromUtf8(logBody))));

    connect(reply, &QNetworkReply::errorOccurred, this, &SyncHttpRequest::OnRequestError);
    connect(reply, &QNetworkReply::downloadProgress, this, &SyncHttpRequest::OnDownloadProgress);
    // Read and count as the bytes come.
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { ReadAvailable(reply, -1); });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { CheckCap(reply, -1); });
    if (timeoutMs > 0)
        m_timer->start(timeoutMs);
    if (!m_done)
        m_loop->exec(QEventLoop::ExcludeUserInputEvents);
    m_timer->stop();
    m_reply = nullptr;

    if (m_status == HTTP_RETURN_PENDING) // an error ended the wait before the finished signal
        m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool answered = !m_timedOut && !m_aborted;
    // Qt takes a connection closed early for the end of the body; the announced length says
    // otherwise. (Bodies are never inflated by Qt here, so the length counts the bytes read.)
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    const QVariant redirect = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (answered && verb == Verb::Post && redirect.isValid()) {
        const QString target = request.url().resolved(redirect.toUrl()).toString();
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + RedirectRefusedText(target);
        m_buffer = SyntheticErrorBody(RedirectRefusedText(target));
    } else if (answered && m_status > 0
               && (BrokenTransfer(reply->error()) || m_bodyBytes + reply->bytesAvailable() < announced)) {
        // The connection broke after the answer began: the bytes so far are not the answer.
        const QString why = reply->error() != QNetworkReply::NoError
            ? reply->errorString()
            : QStringLiteral("%1/%2").arg(m_bodyBytes).arg(announced);
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + IncompleteBodyText(why);
        m_status = HTTP_RETURN_ABORTED;
        m_buffer = SyntheticErrorBody(IncompleteBodyText(why));
    } else if (answered && acceptGzip && reply->rawHeader(QByteArrayLiteral("Content-Encoding")).contains("gzip")) {
        bool tooLarge = false;
        m_buffer = UnZipFile::gUncompress(m_buffer, m_maxBodySize, &tooLarge);
        if (tooLarge) {
            qCWarning(lcContol).noquote()
                << VUMO_SRC_POS + OversizeBodyText(m_maxBodySize) << MaskSecrets(reply->url().toString());
            m_status = HTTP_RETURN_ABORTED;
            m_buffer = SyntheticErrorBody(OversizeBodyText(m_maxBodySize));
        }
    }

    disconnect(reply, nullptr, this, nullptr);
    const bool cutShort = !reply->isFinished();
    // A reply that reported an error is over even before its finished signal.
    // (Closing it again would report a second error.)
    if (cutShort && reply->error() == QNetworkReply::NoError)
        reply->abort();
    delete reply;
    if (cutShort || !answered)
        AbandonManager();

    HTTP_RETURN_RESULT result;
    result.status = m_status;
    result.data = m_buffer;
    m_buffer.clear();
    return result;
}

void SyncHttpRequest::Finish()
{
    m_timer->stop();
    m_done = true;
    m_loop->quit();
}

bool SyncHttpRequest::CheckCap(QNetworkReply* reply, qint64 received)
{
    if (reply != m_reply || m_aborted)
        return false;
    // An announced length past the cap is refused before any of it is read; otherwise every
    // byte that arrived counts, read or not.
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    const qint64 arrived = qMax(received, qint64(m_buffer.size()) + reply->bytesAvailable());
    if (announced <= m_maxBodySize && arrived <= m_maxBodySize)
        return true;
    qCWarning(lcContol).noquote() << VUMO_SRC_POS + OversizeBodyText(m_maxBodySize)
                                  << MaskSecrets(reply->url().toString());
    m_aborted = true;
    m_status = HTTP_RETURN_ABORTED;
    m_buffer = SyntheticErrorBody(OversizeBodyText(m_maxBodySize));
    Finish();
    reply->abort();
    return false;
}

void SyncHttpRequest::ReadAvailable(QNetworkReply* reply, qint64 received)
{
    if (reply != m_reply || m_aborted || m_timedOut)
        return;
    if (CheckCap(reply, received) && reply->bytesAvailable() > 0) {
        const QByteArray chunk = reply->readAll();
        m_bodyBytes += chunk.size();
        AppendWithinCap(m_buffer, chunk, m_maxBodySize);
    }
}

void SyncHttpRequest::OnReplyFinished(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    if (m_status == HTTP_RETURN_PENDING) {
        m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (m_status == 200)
            ReadAvailable(reply, -1);
    }
    Finish();
}

void SyncHttpRequest::OnRequestError(QNetworkReply::NetworkError)
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply || reply != m_reply)
        return;
    qCDebug(lcContol).noquote() << VUMO_SRC_POS + reply->errorString();
    Finish();
}

void SyncHttpRequest::Abort()
{
    if (!m_reply || m_done)
        return;
    m_aborted = true;
    m_status = HTTP_RETURN_ABORTED;
    m_buffer.clear();
    Finish();
}

void SyncHttpRequest::OnTimeOut()
{
    if (!m_reply || m_done)
        return;
    qCDebug(lcContol).noquote() << VUMO_SRC_POS + TimeoutText();
    m_status = HTTP_RETURN_TIMEOUT;
    // The time-out text alone: partial bytes in front of it would only make it unreadable.
    m_buffer = kTimeoutBody;
    m_timedOut = true;
    Finish();
}

void SyncHttpRequest::OnDownloadProgress(qint64 received, qint64 total)
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply)
        ReadAvailable(reply, received);
    emit DownloadProgressSignals(received, total);
}

bool SyncHttpRequest::SyncDownloadFile(const QString& url, const QString& localPath, int timeoutMs, bool acceptGzip)
{
    if (url.isEmpty() || localPath.isEmpty()) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS + QStringLiteral("下载地址或文件保存路径为空！");
        return false;
    }
    const HTTP_RETURN_RESULT result = Get(url, timeoutMs, acceptGzip);
    if (result.status != 200) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS + QStringLiteral("文件(图片)下载失败！") << url << result.status;
        return false;
    }
    QFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS + QStringLiteral("无法以写方式打开文件！") << localPath;
        return false;
    }
    const qint64 written = file.write(result.data);
    const bool flushed = file.flush();
    file.close();
    // A short write (disk full) would leave a truncated file reported as a good one.
    if (written < 1 || written != result.data.size() || !flushed) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS + QStringLiteral("写入文件失败！") << localPath;
        QFile::remove(localPath);
        return false;
    }
    return true;
}

QByteArray SyncHttpRequest::SniffImageType(const QByteArray& content)
{
    if (content.size() < 10)
        return QByteArray();
    if (content.mid(1, 3) == "PNG")
        return QByteArrayLiteral("image/png");
    return QByteArrayLiteral("image/jpeg");
}

QByteArray SyncHttpRequest::BuildMultiPartBody(const QByteArray& boundary, const QMap<QByteArray, QByteArray>& fields,
                                               const QByteArray& fieldName, const QString& fileName,
                                               const QByteArray& content)
{
    QByteArray body;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + it.key()
            + "\"\r\nContent-Type: text/plain\r\n\r\n" + it.value() + "\r\n";
    }
    body += "--" + boundary + "\r\nContent-Disposition: form-data;name=\"" + fieldName + "\";filename=\""
        + fileName.toUtf8() + "\"\r\nContent-Type: " + SniffImageType(content)
        + "\r\nContent-Transfer-Encoding: binary\r\n\r\n";
    body += content;
    body += "\r\n--" + boundary + "--\r\n";
    return body;
}

HTTP_RETURN_RESULT SyncHttpRequest::PostFileByMultiPart(const QString& url, const QMap<QByteArray, QByteArray>& fields,
                                                        const QPair<QByteArray, QString>& file, int timeoutMs,
                                                        bool acceptGzip)
{
    QFile input(file.second);
    if (file.second.isEmpty() || !input.open(QIODevice::ReadOnly)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS + QStringLiteral("上传文件时，打开文件失败！") << file.second;
        HTTP_RETURN_RESULT result;
        result.status = HTTP_RETURN_OPENFILE_FAILED;
        result.data = QByteArrayLiteral("Open file failed!");
        return result;
    }
    const QByteArray content = input.readAll();
    input.close();

    const QByteArray boundary = QByteArray::number(QDateTime::currentSecsSinceEpoch());
    const QByteArray body = BuildMultiPartBody(boundary, fields, file.first, QFileInfo(file.second).fileName(),
                                               content);
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray(QByteArrayLiteral("multipart/form-data;boundary=") + boundary));
    // The log keeps the text fields; the file's bytes would only flood it.
    const QByteArray logBody = body.left(body.size() - content.size() - boundary.size() - 8);
    return Exchange(Verb::Post, request, body, logBody, timeoutMs, acceptGzip);
}

} // namespace Quorvia::network::http
