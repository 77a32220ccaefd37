#include "request/PopVumoSkuPriceUpdate.h"

#include "request/ParamText.h"
#include "utils/Money.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoSkuPriceUpdate::GetParamJson()
{
    ParamText text;
    text.Add("sku_id", m_skuId).Add("price", utils::FormatMoney(m_price));
    if (m_hasMarketPrice)
        text.Add("market_price", utils::FormatMoney(m_marketPrice));
    return text.Close();
}

bool PopVumoSkuPriceUpdate::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                       const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return Fail(QStringLiteral("skuid: %1 价格更新失败").arg(m_skuId));
    return true;
}

} // namespace Quorvia::vumo::request
