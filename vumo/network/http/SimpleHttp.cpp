#include "network/http/SimpleHttp.h"

#include "network/config/NetworkConfig.h"
#include "quorvia/LogMask.h"
#include "quorvia/UnZipFile.h"
#include "utils/Log.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

namespace Quorvia::network::http {

namespace {
constexpr int kKeepAliveTickMs = 45000;
constexpr int kKeepAliveBreakMs = 82800000; // 23 hours
constexpr int kMaxRedirects = 10;           // a redirect loop must end
const QByteArray kOutTime = QByteArrayLiteral("outtime");
} // namespace

SimpleHttp::SimpleHttp(const TASK_PARAM& task, QObject* parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_type(task.type)
    , m_url(QUrl::fromUserInput(task.url))
    , m_timeout(task.timeout)
    , m_acceptGzip(task.acceptGzip)
    , m_bypassLimit(task.bypassLimit)
    , m_resultCallback(task.resultCallback)
    , m_progressCallback(task.progressCallback)
    , m_outTimer(new QTimer(this))
{
    if (const auto* post = dynamic_cast<const POST_TASK_PARAM*>(&task)) {
        m_body = post->body;
        m_headers = post->headers;
    }
    if (const auto* keepAlive = dynamic_cast<const KeepAliveTask*>(&task))
        m_messageCallback = keepAlive->messageCallback;
    if (const auto* download = dynamic_cast<const DOWNLOADFILE_PARAM*>(&task))
        m_filePath = download->filePath;

    config::NetworkConfig::Instance()->ApplyProxy(m_manager);
    // A keep-alive stream is checked on every tick; other tasks have one time limit.
    m_outTimer->setSingleShot(m_type != TASK_KEEPALIVE);
    connect(m_outTimer, &QTimer::timeout, this, &SimpleHttp::OnOutTimer);
}

SimpleHttp::~SimpleHttp()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        disconnect(m_manager, nullptr, this, nullptr);
        m_reply->abort();
    }
}

void SimpleHttp::ApplyBodyAndHeaders(QNetworkRequest& request) const
{
    for (const auto& header : m_headers)
        request.setHeader(header.first, header.second);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
}

void SimpleHttp::Start()
{
    m_timedOut = false;
    m_aborted = false;
    m_reported = false;
    QNetworkRequest request(m_url);
    // Without an explicit header Qt would ask for gzip itself and inflate behind our back.
    request.setRawHeader(QByteArrayLiteral("Accept-Encoding"),
                         m_acceptGzip ? QByteArrayLiteral("gzip, deflate") : QByteArrayLiteral("identity"));
    switch (m_type) {
    case TASK_GET:
        connect(m_manager, &QNetworkAccessManager::finished, this, &SimpleHttp::httpFinished);
        m_reply = m_manager->get(request);
        break;
    case TASK_POST:
    case TASK_KEEPALIVE: {
        connect(m_manager, &QNetworkAccessManager::finished, this, &SimpleHttp::httpFinished);
        const QByteArray body = m_body.isEmpty() ? m_url.query(QUrl::FullyEncoded).toLatin1() : m_body;
        ApplyBodyAndHeaders(request);
        // A signed body is never sent on to wherever a redirect points.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        m_reply = m_manager->post(request, body);
        break;
    }
    case TASK_DOWNLOAD:
        StartDownload();
        if (!m_reply)
            return;
        break;
    default:
        return;
    }
    LimitReadBuffer(m_reply);

    if (m_type == TASK_KEEPALIVE) {
        connect(m_reply, &QNetworkReply::readyRead, this, &SimpleHttp::OnRecvMsg);
        connect(m_reply, &QNetworkReply::errorOccurred, this, &SimpleHttp::httpError);
        if (m_timeout < 0)
            m_timeout = kKeepAliveTickMs;
        if (!m_breakTimer) {
            m_breakTimer = new QTimer(this);
            m_breakTimer->setSingleShot(true);
            connect(m_breakTimer, &QTimer::timeout, this, &SimpleHttp::OnAutoBreakOutTimer);
        }
        m_breakTimer->start(kKeepAliveBreakMs);
    } else if (m_type != TASK_DOWNLOAD) {
        QNetworkReply* reply = m_reply;
        // Read and count as the bytes come, not only at the end.
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
            if (reply == m_reply && CheckCap(reply->bytesAvailable()))
                AppendWithinCap(m_buffer, reply->readAll(), m_maxBodySize);
        });
        connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
            if (reply == m_reply)
                CheckCap(0, received);
        });
        connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
            if (reply == m_reply)
                CheckCap(0);
        });
    }
    StartTimer();
}

void SimpleHttp::StartTimer()
{
    if (m_timeout > 0)
        m_outTimer->start(m_timeout);
}

void SimpleHttp::StartDownload()
{
    m_file.setFileName(m_filePath);
    m_written = 0;
    m_buffer.clear();
    if (m_filePath.isEmpty() || !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + QStringLiteral("open file failed!") << m_filePath;
        Report(HTTP_RETURN_OPENFILE_FAILED, 0, QByteArrayLiteral("open file failed!"));
        emit RequestFinishedSignal(this);
        return;
    }
    QNetworkRequest request(m_url);
    request.setRawHeader(QByteArrayLiteral("Accept-Encoding"),
                         m_acceptGzip ? QByteArrayLiteral("gzip, deflate") : QByteArrayLiteral("identity"));
    // Redirects are followed by hand, so the same file is rewritten from the start.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &SimpleHttp::downFileReplyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &SimpleHttp::downloadProgress);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] { CheckCap(0); });
    connect(m_reply, &QNetworkReply::finished, this, &SimpleHttp::downFileFinished);
}

bool SimpleHttp::CheckCap(qint64 pending, qint64 received)
{
    if (m_oversize)
        return false;
    // Every byte that arrived counts, whether it was read yet or not.
    const qint64 held = qMax(received - pending, m_type == TASK_DOWNLOAD ? m_written : qint64(m_buffer.size()));
    // An announced length past the cap is refused before any of it is read.
    const qint64 announced = m_reply && m_type != TASK_KEEPALIVE
        ? m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong()
        : 0;
    if (announced <= m_maxBodySize && held + pending <= m_maxBodySize)
        return true;
    qCWarning(lcContol).noquote() << VUMO_SRC_POS + OversizeBodyText(m_maxBodySize) << MaskSecrets(m_url.toString());
    m_oversize = true;
    if (m_reply)
        m_reply->abort();
    return false;
}

void SimpleHttp::Abort()
{
    m_aborted = true;
    if (m_reply)
        m_reply->abort();
}

void SimpleHttp::Report(HTTP_RETURN_STATE state, qint32 status, const QByteArray& data)
{
    if (m_reported)
        return;
    m_reported = true;
    if (m_resultCallback) {
        HTTP_RETURN_RESULT result;
        result.status = status;
        result.data = data;
        m_resultCallback(state, result);
    }
}

void SimpleHttp::httpFinished(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_outTimer->stop();
    if (m_breakTimer)
        m_breakTimer->stop();
    m_reply = nullptr;
    reply->deleteLater();

    if (m_timedOut) {
        Report(HTTP_RETURN_TIMEOUT, 0, kOutTime);
    } else {
        if (!m_oversize && reply->isOpen() && CheckCap(reply->bytesAvailable()))
            AppendWithinCap(m_buffer, reply->readAll(), m_maxBodySize);
        const qint32 status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        QByteArray body = m_buffer;
        m_buffer.clear();
        // Qt takes a connection closed early for the end of the body; the length says otherwise.
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        const qint64 received = body.size();
        const bool cutShort = !m_oversize && !m_aborted && received < announced;
        const QVariant redirect = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
        if (m_acceptGzip && !m_oversize && reply->rawHeader(QByteArrayLiteral("Content-Encoding")).contains("gzip")) {
            bool tooLarge = false;
            body = UnZipFile::gUncompress(body, m_maxBodySize, &tooLarge);
            m_oversize = tooLarge;
        }
        if (m_type != TASK_GET && redirect.isValid() && !m_aborted) {
            const QString target = m_url.resolved(redirect.toUrl()).toString();
            qCWarning(lcContol).noquote() << VUMO_SRC_POS + RedirectRefusedText(target);
            body = SyntheticErrorBody(RedirectRefusedText(target));
        } else if (m_oversize) {
            body = SyntheticErrorBody(OversizeBodyText(m_maxBodySize));
        } else if (cutShort) {
            body = SyntheticErrorBody(IncompleteBodyText(QStringLiteral("%1/%2").arg(received).arg(announced)));
        } else if (reply->error() != QNetworkReply::NoError) {
            body = SyntheticErrorBody(reply->errorString());
        }
        Report(m_aborted ? HTTP_RETURN_ABORTED : HTTP_RETURN_SUCCESS, status, body);
    }
    m_buffer.clear();
    // Also for a keep-alive stream once it has ended: a counted stream that never let go of
    // its slot would stall every later task.
    emit RequestFinishedSignal(this);
}

void SimpleHttp::httpError(QNetworkReply::NetworkError)
{
}

void SimpleHttp::downFileReplyRead()
{
    if (!m_reply || m_oversize)
        return;
    const qint64 available = m_reply->bytesAvailable();
    if (!CheckCap(available))
        return;
    const QByteArray chunk = m_reply->read(available);
    if (m_file.write(chunk) != chunk.size()) {
        qCWarning(lcContol).noquote() << VUMO_SRC_POS + QStringLiteral("write failed") << m_filePath;
        m_writeFailed = true;
        m_reply->abort();
        return;
    }
    m_written += chunk.size();
}

void SimpleHttp::downloadProgress(qint64 received, qint64 total)
{
    if (!m_reply || !CheckCap(0, received))
        return;
    // Whatever is readable belongs to the file; keeping it aside would leave a hole in it.
    if (m_reply->bytesAvailable() > 0)
        downFileReplyRead();
    if (m_progressCallback && total > 0)
        m_progressCallback(int(received * 100 / total));
}

void SimpleHttp::downFileFinished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_outTimer->stop();
    m_reply = nullptr;
    reply->deleteLater();
    m_file.flush();
    m_file.close();

    const qint32 status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const HTTP_RETURN_STATE state = m_aborted ? HTTP_RETURN_ABORTED : HTTP_RETURN_SUCCESS;
    if (m_timedOut) {
        QFile::remove(m_filePath);
        Report(HTTP_RETURN_TIMEOUT, 0, kOutTime);
    } else if (reply->error() == QNetworkReply::NoError && !m_oversize && !m_writeFailed
               && reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid()) {
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (++m_redirects <= kMaxRedirects) {
            m_url = m_url.resolved(target);
            qCDebug(lcContol).noquote() << VUMO_SRC_POS + QStringLiteral("redirected to")
                                        << MaskSecrets(m_url.toString());
            StartDownload();
            if (m_reply)
                StartTimer();
            return;
        }
        QFile::remove(m_filePath);
        Report(state, status, SyntheticErrorBody(QStringLiteral("重定向次数过多")));
    } else if (reply->error() != QNetworkReply::NoError || m_oversize || m_writeFailed) {
        QFile::remove(m_filePath);
        QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
        if (m_oversize)
            body = SyntheticErrorBody(OversizeBodyText(m_maxBodySize));
        else if (m_writeFailed)
            body = SyntheticErrorBody(QStringLiteral("写入文件失败！"));
        Report(state, status, body);
    } else {
        Report(state, status, QByteArray());
    }
    m_buffer.clear();
    emit RequestFinishedSignal(this);
}

void SimpleHttp::OnOutTimer()
{
    if (m_type != TASK_KEEPALIVE) {
        m_timedOut = true;
        m_outTimer->stop();
        if (m_reply)
            m_reply->abort();
        return;
    }
    if (!m_dataSeen) {
        // Silent for a whole tick: the stream is dead.
        m_timedOut = true;
        m_outTimer->stop();
        if (m_breakTimer)
            m_breakTimer->stop();
        if (m_reply)
            m_reply->abort();
        return;
    }
    m_dataSeen = false;
}

void SimpleHttp::OnAutoBreakOutTimer()
{
    m_outTimer->stop();
    if (m_breakTimer)
        m_breakTimer->stop();
    if (m_reply)
        m_reply->abort();
}

void SimpleHttp::OnRecvMsg()
{
    if (!m_reply)
        return;
    m_dataSeen = true;
    if (!CheckCap(m_reply->bytesAvailable()))
        return;
    AppendWithinCap(m_buffer, m_reply->readAll(), m_maxBodySize);
    if (m_buffer.endsWith('\n')) {
        const QByteArray message = m_buffer;
        m_buffer.clear();
        if (m_messageCallback)
            m_messageCallback(message);
    }
}

} // namespace Quorvia::network::http
