#include "request/PopVumoGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoGet::GetParamJson()
{
    ParamText text;
    text.Add("vumo_id", m_vumoId);
    const QStringList fields = GetFields();
    if (!fields.isEmpty())
        text.Add("fields", fields.join(QLatin1Char(',')));
    return text.Close();
}

QStringList PopVumoGet::GetFields() const
{
    return {
        QStringLiteral("vumo_id"),
        QStringLiteral("spu_id"),
        QStringLiteral("cid"),
        QStringLiteral("vender_id"),
        QStringLiteral("shop_id"),
        QStringLiteral("brand_id"),
        QStringLiteral("vumo_status"),
        QStringLiteral("title"),
        QStringLiteral("item_num"),
        QStringLiteral("upc_code"),
        QStringLiteral("transport_id"),
        QStringLiteral("online_time"),
        QStringLiteral("offline_time"),
        QStringLiteral("attributes"),
        QStringLiteral("desc"),
        QStringLiteral("producter"),
        QStringLiteral("wrap"),
        QStringLiteral("cubage"),
        QStringLiteral("pack_listing"),
        QStringLiteral("service"),
        QStringLiteral("cost_price"),
        QStringLiteral("market_price"),
        QStringLiteral("yv_price"),
        QStringLiteral("stock_num"),
        QStringLiteral("logo"),
        QStringLiteral("creator"),
        QStringLiteral("status"),
        QStringLiteral("weight"),
        QStringLiteral("created"),
        QStringLiteral("modified"),
        QStringLiteral("outer_id"),
        QStringLiteral("shop_categorys"),
        QStringLiteral("ad_content"),
        QStringLiteral("is_can_vat"),
        QStringLiteral("vumo_attribute"),
        QStringLiteral("property_alias"),
        QStringLiteral("skus"),
        QStringLiteral("vumo_pack_type"),
        QStringLiteral("vumo_big_small_model"),
        QStringLiteral("is_appliances_card"),
        QStringLiteral("is_serial_no"),
        QStringLiteral("shelf_life_days"),
        QStringLiteral("is_shelf_life"),
        QStringLiteral("is_health_product"),
        QStringLiteral("is_imported"),
        QStringLiteral("is_special_wet"),
        QStringLiteral("is_pay_first"),
    };
}

void PopVumoGet::OnPreStart()
{
    m_vumo.clear();
}

bool PopVumoGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                            const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_vumo.clear();
    QVariantMap answer;
    const QString missing = QStringLiteral("商品%1 不存在或已删除").arg(m_vumoId);
    if (!ReadAnswer(result, "vumo_get_response", answer, missing))
        return false;
    const QVariant vumo = answer.value(QStringLiteral("vumo"));
    if (vumo.metaType().id() != QMetaType::QVariantMap)
        return Fail(missing);
    m_vumo = vumo.toMap();
    return true;
}

} // namespace Quorvia::vumo::request
