#include "request/PopSkuStockUpdate.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopSkuStockUpdate::GetParamJson()
{
    return ParamText().Add("sku_id", m_skuId).Add("quantity", m_quantity).Close();
}

bool PopSkuStockUpdate::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                   const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return Fail(QStringLiteral("skuid: %1 库存更新失败").arg(m_skuId));
    return true;
}

} // namespace Quorvia::vumo::request
