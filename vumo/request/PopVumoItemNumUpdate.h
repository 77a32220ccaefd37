#pragma once
// Changes the item number of a listing.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoItemNumUpdate : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetVumoId(qint64 vumoId) { m_vumoId = vumoId; }
    void SetItemNum(const QString& itemNum) { m_itemNum = itemNum; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.update"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

private:
    qint64 m_vumoId = 0;
    QString m_itemNum;
};

} // namespace Quorvia::vumo::request
