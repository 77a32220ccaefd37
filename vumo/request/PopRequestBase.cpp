#include "request/PopRequestBase.h"

#include "plugin/UserInfo.h"
#include "quorvia/LogMask.h"
#include "utils/Log.h"

namespace Quorvia::vumo::request {

using Quorvia::network::http::HTTP_RETURN_RESULT;

PopRequestBase::PopRequestBase(QObject* parent)
    : PopRequestImpl(parent)
{
    const UserInfo* user = UserInfo::instance();
    m_accessToken = user->GetAccessToken();
    m_appKey = user->GetAppKey();
    m_appSecret = user->GetAppSecret();
    m_stockMode = user->GetStockMode();
}

PopRequestBase::~PopRequestBase() = default;

QByteArray PopRequestBase::Sign(const Quorvia::network::request::ParamMap& params) const
{
    return SignParams(params, m_appSecret);
}

bool PopRequestBase::FailRequest(const HTTP_RETURN_RESULT& result)
{
    const QString message = QStringLiteral("api[%1] request failed! json:%2")
                                .arg(QString::fromUtf8(GetMethod()), QString::fromUtf8(result.data));
    qCWarning(lcMain).noquote() << VUMO_SRC_POS + ClipForLog(MaskSecrets(message));
    if (errorMessage.isEmpty())
        errorMessage = message;
    return false;
}

bool PopRequestBase::ReadAnswer(const HTTP_RETURN_RESULT& result, const char* member, QVariantMap& answer,
                                const QString& failure)
{
    answer.clear();
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return failure.isEmpty() ? false : Fail(failure);
    const QVariant value = parsed.toMap().value(QLatin1String(member));
    if (value.metaType().id() != QMetaType::QVariantMap)
        return failure.isEmpty() ? FailRequest(result) : Fail(failure);
    answer = value.toMap();
    return true;
}

bool PopRequestBase::ReadAnswerValue(const HTTP_RETURN_RESULT& result, const char* member, QVariant& value)
{
    value.clear();
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return false;
    const QVariantMap top = parsed.toMap();
    if (!top.contains(QLatin1String(member)))
        return FailRequest(result);
    value = top.value(QLatin1String(member));
    return true;
}

QList<QVariantMap> MapsOf(const QVariant& list)
{
    QList<QVariantMap> maps;
    const QVariantList items = list.toList();
    for (const QVariant& item : items) {
        if (item.metaType().id() == QMetaType::QVariantMap)
            maps.append(item.toMap());
    }
    return maps;
}

} // namespace Quorvia::vumo::request
