#pragma once
// Removes one SKU of a listing. An SKU that is already gone counts as removed.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoSkuDelete : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetSkuId(qint64 skuId) { m_skuId = skuId; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.sku.delete"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

private:
    qint64 m_skuId = 0;
};

} // namespace Quorvia::vumo::request
