#include "request/IPopVumoUpload.h"

#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "request/ParamText.h"
#include "utils/Money.h"

namespace Quorvia::vumo::request {

using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

// The record's own fields, in the order the platform reads them; the identifier follows.
const char* const kOwnFields[] = {
    "ad_content", "property_alias", "stock_num", "service",   "pack_listing", "weight",   "high",
    "wide",       "length",         "wrap",      "producter", "item_num",     "upc_code", "title",
};

const char* const kFlags[] = {
    "is_can_vat",         "is_special_wet",    "is_pay_first", "is_imported",
    "is_appliances_card", "is_health_product", "is_serial_no", "is_shelf_life",
};

// A property of the record as parameter value: texts escaped, numbers in decimal.
QString FieldText(const VumoDataEntity& vumo, const char* name)
{
    const QVariant value = vumo.property(name);
    if (value.metaType().id() == QMetaType::QString)
        return EscapeJsonText(value.toString());
    return value.toString();
}

} // namespace

void IPopVumoUpload::OnPreStart()
{
    m_response.clear();
}

QString IPopVumoUpload::GetMainImage() const
{
    return QString();
}

QByteArray IPopVumoUpload::GetParamJson()
{
    ParamText text;
    if (!m_vumo)
        return text.Close();
    const VumoDataEntity& vumo = *m_vumo;

    for (const char* name : kOwnFields)
        text.Add(name, FieldText(vumo, name));
    text.Add(IdentifierField(), FieldText(vumo, IdentifierField()));

    if (!vumo.attributes().isEmpty())
        text.AddText("attributes", vumo.attributes());
    if (!vumo.shop_categorys().isEmpty())
        text.AddText("shop_category", vumo.shop_categorys());
    if (vumo.cost_price() > 0)
        text.Add("cost_price", utils::FormatMoney(vumo.cost_price()));
    if (vumo.market_price() > 0)
        text.Add("market_price", utils::FormatMoney(vumo.market_price()));
    if (vumo.yv_price() > 0)
        text.Add("yv_price", utils::FormatMoney(vumo.yv_price()));
    if (m_mode == UploadOnSale)
        text.Add("option_type", QStringLiteral("onsale"));
    else if (m_mode == UploadOffSale)
        text.Add("option_type", QStringLiteral("offsale"));
    if (!vumo.desc().isEmpty())
        text.AddText("notes", vumo.desc());
    if (!vumo.input_pids().isEmpty())
        text.AddText("input_pids", vumo.input_pids());
    if (!vumo.input_strs().isEmpty())
        text.AddText("input_strs", vumo.input_strs());

    const QList<VumoSkuEntity*>& skus = vumo.Skus();
    if (skus.isEmpty()) {
        text.AddText("outer_id", vumo.outer_id());
    } else {
        QStringList prices, properties, stocks, outerIds;
        for (const VumoSkuEntity* sku : skus) {
            prices << utils::FormatMoney(sku->yv_price());
            stocks << QString::number(sku->stock_num());
            properties << sku->attributes();
            // A blank keeps the four lists the same length.
            outerIds << (sku->outer_id().isEmpty() ? QStringLiteral(" ") : sku->outer_id());
        }
        const QString bar = QStringLiteral("|");
        text.AddText("sku_prices", prices.join(bar));
        text.AddText("sku_properties", properties.join(bar));
        text.AddText("sku_stocks", stocks.join(bar));
        text.AddText("outer_id", outerIds.join(bar));
    }

    for (const char* name : kFlags)
        text.AddFlag(name, vumo.property(name).toBool());
    text.Add("shelf_life_days", vumo.shelf_life_days());
    text.Add("vumo_big_small_model", vumo.vumo_big_small_model());
    text.Add("vumo_pack_type", vumo.vumo_pack_type());

    text.AddPiece(GetMainImage());
    return text.Close();
}

bool IPopVumoUpload::ReadUploadAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member)
{
    return ReadAnswerValue(result, member, m_response);
}

} // namespace Quorvia::vumo::request
