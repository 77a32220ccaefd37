#pragma once
// The attribute groups of one category.
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::request {

class PopVumoGroupsGet : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetCid(qint64 cid) { m_cid = cid; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.groups.get"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The entries of "groups".
    QList<QVariantMap> GetItems() const { return m_items; }

private:
    qint64 m_cid = 0;
    QList<QVariantMap> m_items;
};

} // namespace Quorvia::vumo::request
