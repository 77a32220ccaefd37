#pragma once
// Deletes a listing on the marketplace. A listing that is already gone counts as deleted.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoDelete : public PopRequestBase
{
    Q_OBJECT

public:
    // Platform codes meaning the listing does not exist (any more).
    static bool IsAlreadyDeletedCode(const QString& code);

    using PopRequestBase::PopRequestBase;

    void SetVumoId(qint64 vumoId) { m_vumoId = vumoId; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.delete"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

private:
    qint64 m_vumoId = 0;
};

} // namespace Quorvia::vumo::request
