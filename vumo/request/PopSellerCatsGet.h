#pragma once
// The seller's own shop categories.
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::request {

class PopSellerCatsGet : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.sellercats.get"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The entries of "shopCats".
    QList<QVariantMap> GetItems() const { return m_items; }

private:
    QList<QVariantMap> m_items;
};

} // namespace Quorvia::vumo::request
