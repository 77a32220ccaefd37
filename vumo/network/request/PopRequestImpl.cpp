#include "network/request/PopRequestImpl.h"

#include "network/config/NetworkConfig.h"
#include "network/http/HttpRequestManage.h"
#include "network/http/SyncHttpRequest.h"
#include "network/http/TaskParam.h"
#include "network/utils/YvJsonParser.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "quorvia/LogMask.h"
#include "utils/Log.h"

#include <QCryptographicHash>
#include <QPointer>
#include <QTimer>

namespace Quorvia::network::request {

namespace {

const QByteArray kParamJsonName = QByteArrayLiteral("orvane_param_json");
const QByteArray kBodyName = QByteArrayLiteral("body");

} // namespace

PopRequestImpl::PopRequestImpl(QObject* parent)
    : QObject(parent)
{
}

PopRequestImpl::~PopRequestImpl() = default;

void PopRequestImpl::OnPreStart()
{
}

void PopRequestImpl::OnPreSend()
{
}

QString PopRequestImpl::GetUrl() const
{
    return config::NetworkConfig::Instance()->GetApiUrl();
}

QByteArray PopRequestImpl::GetVersion() const
{
    return QByteArrayLiteral("2.0");
}

bool PopRequestImpl::OnResponse(http::HTTP_RETURN_STATE, const http::HTTP_RETURN_RESULT&)
{
    return true;
}

QByteArray PopRequestImpl::GetExtraBody() const
{
    return QByteArray();
}

void PopRequestImpl::FillSystemParams(ParamMap& params)
{
    params.insert(QByteArrayLiteral("access_token"), m_accessToken);
    params.insert(QByteArrayLiteral("app_key"), m_appKey);
    params.insert(
        QByteArrayLiteral("timestamp"),
        utils::AppShareHelp::instance()->GetServerTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1());
    params.insert(QByteArrayLiteral("v"), GetVersion());
    params.insert(QByteArrayLiteral("method"), GetMethod());
    params.insert(kParamJsonName, GetParamJson());
}

void PopRequestImpl::FillParams(ParamMap& params)
{
    FillSystemParams(params);
    params.remove(QByteArrayLiteral("sign")); // never part of the signed text
    params.insert(QByteArrayLiteral("sign"), Sign(params));
}

QByteArray PopRequestImpl::Sign(const ParamMap& params) const
{
    return SignParams(params, QByteArray());
}

QByteArray PopRequestImpl::SignParams(const ParamMap& params, const QByteArray& secret)
{
    QByteArray text = secret;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        text += it.key() + it.value();
    text += secret;
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex().toUpper();
}

QByteArray PopRequestImpl::EncodeBody(const ParamMap& params)
{
    QByteArray body;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        body += it.key();
        body += '=';
        // toPercentEncoding keeps exactly letters, digits and "-._~".
        if (it.key() == kParamJsonName || it.key() == kBodyName)
            body += it.value().toPercentEncoding();
        else
            body += it.value();
        body += '&';
    }
    if (body.endsWith('&'))
        body.chop(1);
    return body;
}

QByteArray PopRequestImpl::BuildBody()
{
    ParamMap params;
    FillParams(params);
    return EncodeBody(params) + GetExtraBody();
}

template<typename Exchange>
http::HTTP_RETURN_RESULT PopRequestImpl::watched(http::SyncHttpRequest& http, Exchange exchange)
{
    if (!m_abortCheck)
        return exchange();
    // The timer fires inside the exchange's own wait, on this thread, where Abort() may be called.
    QTimer poll;
    poll.setInterval(100);
    connect(&poll, &QTimer::timeout, &http, [this, &http] {
        if (m_abortCheck())
            http.Abort();
    });
    poll.start();
    return exchange();
}

bool PopRequestImpl::SyncRequest(int timeoutMs)
{
    errorMessage.clear();
    errorCode.clear();
    const QByteArray body = BuildBody();
    http::SyncHttpRequest http;
    const http::HTTP_RETURN_RESULT result =
        watched(http, [&] { return http.Post(GetUrl(), body, timeoutMs, true); });
    m_timedOut = http.TimedOut();
    return OnResponse(http::HTTP_RETURN_SUCCESS, result);
}

bool PopRequestImpl::SyncPostFile(const QString& file, int timeoutMs)
{
    errorMessage.clear();
    errorCode.clear();
    ParamMap params;
    FillParams(params);
    http::SyncHttpRequest http;
    const http::HTTP_RETURN_RESULT result = watched(http, [&] {
        return http.PostFileByMultiPart(GetUrl(), params, qMakePair(QByteArrayLiteral("image"), file), timeoutMs,
                                        false);
    });
    m_timedOut = http.TimedOut();
    return OnResponse(http::HTTP_RETURN_SUCCESS, result);
}

void PopRequestImpl::StartRequest()
{
    errorMessage.clear();
    errorCode.clear();
    OnPreStart();

    auto* task = new http::POST_TASK_PARAM;
    task->url = GetUrl();
    task->body = BuildBody();
    task->timeout = 60000;
    task->bypassLimit = false;
    task->acceptGzip = false;
    // The caller may drop the request before the answer arrives; the answer is then dropped
    // instead of reaching a destroyed object.
    QPointer<PopRequestImpl> self(this);
    task->resultCallback = [self](http::HTTP_RETURN_STATE state, const http::HTTP_RETURN_RESULT& result) {
        if (self) {
            self->m_timedOut = state == http::HTTP_RETURN_TIMEOUT;
            self->OnResponse(state, result);
        }
    };
    qCDebug(lcContol).noquote() << VUMO_SRC_POS
            + ClipForLog(MaskSecrets(task->url + QLatin1Char('?')
                                     + QString::fromUtf8(QByteArray::fromPercentEncoding(task->body))));
    http::HttpRequestManage::Instance()->AddTask(task);
}

bool PopRequestImpl::CheckResultError(const http::HTTP_RETURN_RESULT& result, QVariant& parsed)
{
    const QString method = QString::fromUtf8(GetMethod());
    const QString text = QString::fromUtf8(result.data);
    // Answers can be megabytes long and may echo what was sent.
    const QString logged = ClipForLog(MaskSecrets(text));
    qCDebug(lcContol).noquote() << VUMO_SRC_POS + logged;

    // The time-out body is valid JSON; it must not pass for an answer.
    if (m_timedOut) {
        errorMessage = http::TimeoutText();
        qCWarning(lcMain).noquote() << VUMO_SRC_POS + QStringLiteral("api[%1] request timed out").arg(method);
        return false;
    }

    if (result.data.isEmpty()) {
        errorMessage = QStringLiteral("返回信息为空");
        qCWarning(lcMain).noquote() << VUMO_SRC_POS
                + QStringLiteral("api[%1] request return data is empty! json:%2").arg(method, logged);
        return false;
    }

    QByteArray bytes = result.data; // the parser works in place
    QVariant value;
    utils::YvJsonParser parser;
    if (!parser.parse(bytes, value, true)) {
        errorMessage = text.trimmed().isEmpty() ? QStringLiteral("返回json解析出错") : text;
        qCWarning(lcMain).noquote() << VUMO_SRC_POS
                + QStringLiteral("api[%1] request return json parse failed! json:%2").arg(method, logged);
        return false;
    }

    const QVariantMap top = value.toMap();
    if (value.metaType().id() == QMetaType::QVariantMap && top.contains(QStringLiteral("error_response"))) {
        const QVariantMap error = top.value(QStringLiteral("error_response")).toMap();
        errorCode = error.value(QStringLiteral("code")).toString();
        errorMessage = error.value(QStringLiteral("zh_desc")).toString();
        // Some services put a JSON object with the real message into zh_desc.
        QByteArray nested = errorMessage.toUtf8();
        QVariant nestedValue;
        utils::YvJsonParser nestedParser;
        if (nested.trimmed().startsWith('{') && nestedParser.parse(nested, nestedValue, true)) {
            const QVariantMap nestedMap = nestedValue.toMap();
            if (nestedMap.contains(QStringLiteral("msg")))
                errorMessage = nestedMap.value(QStringLiteral("msg")).toString();
        }
        // A platform error must never reach the seller as a blank message.
        if (errorMessage.isEmpty())
            errorMessage = text;
        qCWarning(lcMain).noquote() << VUMO_SRC_POS
                + QStringLiteral("api[%1] request error:%2").arg(method, errorMessage);
        return false;
    }

    parsed = value;
    return true;
}

bool PopRequestImpl::Fail(const QString& message)
{
    qCWarning(lcVumo).noquote() << message;
    if (errorMessage.isEmpty())
        errorMessage = message;
    return false;
}

} // namespace Quorvia::network::request
