#pragma once
// Sets the price (and, when given, the market price) of one SKU. Prices in hundredths.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoSkuPriceUpdate : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetSkuId(qint64 skuId) { m_skuId = skuId; }
    void SetPrice(qint64 cents) { m_price = cents; }
    void SetMarketPrice(qint64 cents)
    {
        m_marketPrice = cents;
        m_hasMarketPrice = true;
    }
    void ClearMarketPrice() { m_hasMarketPrice = false; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.sku.price.update"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

private:
    qint64 m_skuId = 0;
    qint64 m_price = 0;
    qint64 m_marketPrice = 0;
    bool m_hasMarketPrice = false;
};

} // namespace Quorvia::vumo::request
