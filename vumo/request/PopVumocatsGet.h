#pragma once
// The marketplace categories the seller may use.
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::request {

class PopVumocatsGet : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumocats.get"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The entries of "item_cats".
    QList<QVariantMap> GetItems() const { return m_items; }

private:
    QList<QVariantMap> m_items;
};

} // namespace Quorvia::vumo::request
