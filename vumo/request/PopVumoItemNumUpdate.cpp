#include "request/PopVumoItemNumUpdate.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoItemNumUpdate::GetParamJson()
{
    return ParamText().Add("vumo_id", m_vumoId).AddText("item_num", m_itemNum).Close();
}

bool PopVumoItemNumUpdate::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                      const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return Fail(QStringLiteral("商品id: %1 货号更新失败").arg(m_vumoId));
    return true;
}

} // namespace Quorvia::vumo::request
