#pragma once
// Sets the stock of one SKU.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopSkuStockUpdate : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetSkuId(qint64 skuId) { m_skuId = skuId; }
    void SetQuantity(qint64 quantity) { m_quantity = quantity; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.sku.stock.update"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

private:
    qint64 m_skuId = 0;
    qint64 m_quantity = 0;
};

} // namespace Quorvia::vumo::request
