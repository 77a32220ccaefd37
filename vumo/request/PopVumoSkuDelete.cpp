#include "request/PopVumoSkuDelete.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoSkuDelete::GetParamJson()
{
    return ParamText().Add("sku_id", m_skuId).Close();
}

bool PopVumoSkuDelete::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                  const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    QVariant parsed;
    if (CheckResultError(result, parsed))
        return true;
    if (errorCode != QLatin1String("11200025"))
        return false;
    errorMessage.clear();
    return true;
}

} // namespace Quorvia::vumo::request
