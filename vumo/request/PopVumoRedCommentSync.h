#pragma once
// Asks the workbench's platform API server to carry the comments of a source SKU over to its
// flash-sale copy.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoRedCommentSync : public PopRequestBase
{
    Q_OBJECT

public:
    // The vender and shop ids default to the logged-in seller's.
    explicit PopVumoRedCommentSync(QObject* parent = nullptr);

    void SetSkuPair(qint64 originalSkuId, qint64 redSkuId)
    {
        m_originalSkuId = originalSkuId;
        m_redSkuId = redSkuId;
    }
    void SetVenderId(qint64 venderId) { m_venderId = venderId; }
    void SetShopId(qint64 shopId) { m_shopId = shopId; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("quorvia.good.synchro"); }
    QByteArray GetParamJson() override;
    QString GetUrl() const override;
    QByteArray GetVersion() const override { return QByteArrayLiteral("1.0"); }
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // After a completed call: whether the server carried the comments over, and the
    // message naming both SKUs.
    bool GetGoodSynchro() const { return m_goodSynchro; }
    QString GetMessage() const { return m_message; }

private:
    qint64 m_originalSkuId = 0;
    qint64 m_redSkuId = 0;
    qint64 m_venderId = 0;
    qint64 m_shopId = 0;
    bool m_goodSynchro = false;
    QString m_message;
};

} // namespace Quorvia::vumo::request
