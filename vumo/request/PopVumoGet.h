#pragma once
// One listing with the requested fields; the caller reads the "vumo" map into a record by
// member name.
#include "request/PopRequestBase.h"

#include <QStringList>

namespace Quorvia::vumo::request {

class PopVumoGet : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetVumoId(qint64 vumoId) { m_vumoId = vumoId; }
    qint64 GetVumoId() const { return m_vumoId; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.get"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;
    // The requested field names; an empty list leaves "fields" out.
    virtual QStringList GetFields() const;

    // The listing's members, as answered.
    QVariantMap GetVumo() const { return m_vumo; }

protected:
    qint64 m_vumoId = 0;
    QVariantMap m_vumo;
};

} // namespace Quorvia::vumo::request
