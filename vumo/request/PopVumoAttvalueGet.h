#pragma once
// The values of one or more attributes (ids joined with ",").
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::request {

class PopVumoAttvalueGet : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetAids(const QList<qint64>& aids);
    QString GetAids() const { return m_aids; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.get.attvalue"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The entries of "att_values".
    QList<QVariantMap> GetItems() const { return m_items; }

private:
    QString m_aids;
    QList<QVariantMap> m_items;
};

} // namespace Quorvia::vumo::request
