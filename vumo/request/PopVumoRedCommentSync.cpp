#include "request/PopVumoRedCommentSync.h"

#include "network/config/NetworkConfig.h"
#include "plugin/UserInfo.h"

namespace Quorvia::vumo::request {

PopVumoRedCommentSync::PopVumoRedCommentSync(QObject* parent)
    : PopRequestBase(parent)
{
    m_venderId = UserInfo::instance()->GetFirstId();
    m_shopId = UserInfo::instance()->GetSecondId();
}

QByteArray PopVumoRedCommentSync::GetParamJson()
{
    // This server's format has a blank after every comma.
    return QStringLiteral("{\"original_skuid\":\"%1\", \"red_skuid\":\"%2\", \"vender_id\":\"%3\", "
                          "\"shop_id\":\"%4\"}")
        .arg(m_originalSkuId)
        .arg(m_redSkuId)
        .arg(m_venderId)
        .arg(m_shopId)
        .toUtf8();
}

QString PopVumoRedCommentSync::GetUrl() const
{
    return Quorvia::network::config::NetworkConfig::Instance()->GetPfApiServerUrl();
}

void PopVumoRedCommentSync::OnPreStart()
{
    m_goodSynchro = false;
    m_message.clear();
}

bool PopVumoRedCommentSync::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                       const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    OnPreStart();
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return false;
    const QVariant member = parsed.toMap().value(QStringLiteral("quorvia.good.synchro_response"));
    if (member.metaType().id() != QMetaType::QVariantMap)
        return FailRequest(result);
    const QVariantMap answer = member.toMap();
    bool ok = false;
    const qint64 code = answer.value(QStringLiteral("code")).toLongLong(&ok);
    if (!ok || code != 0) {
        errorMessage = QStringLiteral("闪购店铺同步sku评论接口调用失败，错误码%1")
                           .arg(answer.value(QStringLiteral("code")).toString());
        return FailRequest(result);
    }
    m_goodSynchro = answer.value(QStringLiteral("good_synchro")).toBool();
    m_message = (m_goodSynchro ? QStringLiteral("闪购店铺设置成功：") : QStringLiteral("闪购店铺设置失败："))
        + QStringLiteral("原始SKU编号为%1，新SKU编号为%2").arg(m_originalSkuId).arg(m_redSkuId);
    return true;
}

} // namespace Quorvia::vumo::request
