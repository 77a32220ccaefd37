#include "request/PopVumoDelete.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

bool PopVumoDelete::IsAlreadyDeletedCode(const QString& code)
{
    return code == QLatin1String("11200004") || code == QLatin1String("11200014");
}

QByteArray PopVumoDelete::GetParamJson()
{
    return ParamText().Add("vumo_id", m_vumoId).Close();
}

bool PopVumoDelete::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                               const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    QVariant parsed;
    if (!CheckResultError(result, parsed)) {
        if (!IsAlreadyDeletedCode(errorCode))
            return false;
        errorMessage.clear(); // done, nothing to show
        return true;
    }
    const QVariantMap answer = parsed.toMap().value(QStringLiteral("vumo_delete_response")).toMap();
    bool ok = false;
    const qint64 deleted = answer.value(QStringLiteral("vumo_id")).toLongLong(&ok);
    if (!ok || deleted != m_vumoId)
        return Fail(QStringLiteral("删除商品信息有误"));
    return true;
}

} // namespace Quorvia::vumo::request
