#pragma once
// Base of every listing operation: signs with the logged-in seller's credentials from
// UserInfo, read once at construction.
#include "network/request/PopRequestImpl.h"

#include <QVariantMap>

namespace Quorvia::vumo::request {

class PopRequestBase : public Quorvia::network::request::PopRequestImpl
{
    Q_OBJECT

public:
    explicit PopRequestBase(QObject* parent = nullptr);
    ~PopRequestBase() override;

    QByteArray Sign(const Quorvia::network::request::ParamMap& params) const override;

    // The seller's stock mode at construction (1: stock not managed through the plug-in).
    qint32 GetStockMode() const { return m_stockMode; }

protected:
    // CheckResultError, then the answer member `member` as a map. False (with the error text
    // set) when the check fails or the member is not an object; `failure` is the operation's
    // own failure log, the generic one when empty.
    bool ReadAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member, QVariantMap& answer,
                    const QString& failure = QString());
    // CheckResultError, then the answer member `member` whatever its type; false (with the
    // generic failure text) when the member is missing.
    bool ReadAnswerValue(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member, QVariant& value);
    // "api[<method>] request failed! json:<answer>" to "main", kept as the error text.
    bool FailRequest(const Quorvia::network::http::HTTP_RETURN_RESULT& result);

    QByteArray m_appSecret;
    qint32 m_stockMode = -1;
};

// The maps of a list member; other entries are skipped.
QList<QVariantMap> MapsOf(const QVariant& list);

} // namespace Quorvia::vumo::request
