#include "entity/VumoDataEntity.h"

#include "entity/AttributeText.h"
#include "entity/PropertyValue.h"
#include "entity/VumoDataExtEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "entity/VumoStatus.h"

#include <QStringList>

#include <cmath>

namespace Quorvia::vumo::entity {

namespace {

// One package dimension of a "cubage" text; decimal texts are rounded.
bool DimensionOf(const QString& text, qint64& value)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (ok) {
        value = n;
        return true;
    }
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) >= 9.2e18)
        return false;
    value = qint64(std::llround(d));
    return true;
}

} // namespace

VumoDataEntity::VumoDataEntity(QObject* parent)
    : IEntity(parent)
{
}

VumoDataEntity::~VumoDataEntity()
{
    ClearSkus();
    ClearImages();
}

QVariant VumoDataEntity::ConvertValue(const QString& name, const QVariant& raw) const
{
    if (name == QLatin1String("cost_price") || name == QLatin1String("market_price")
        || name == QLatin1String("yv_price"))
        return PriceFromApi(raw);
    if (name == QLatin1String("vumo_status")) {
        // A code that is already a number (a copy of a stored record) stays itself.
        if (IsNumericVariant(raw)) {
            const int code = raw.toInt();
            return IsKnownVumoStatus(code) ? code : int(VUMO_STATUS_UNKNOWN);
        }
        return VumoStatusFromApiText(raw.toString());
    }
    if (name == QLatin1String("status")) {
        if (IsNumericVariant(raw)) {
            const int code = raw.toInt();
            return code >= 0 && code <= 2 ? code : -1;
        }
        return ListingStatusFromApiText(raw.toString());
    }
    return IEntity::ConvertValue(name, raw);
}

bool VumoDataEntity::SetApiValue(const QString& name, const QVariant& raw)
{
    if (name == QLatin1String("cubage")) {
        const QString text = raw.toString();
        set_cubage(text);
        const QStringList parts = text.split(QLatin1Char(':'));
        if (parts.size() < 3)
            return true;
        qint64 l = 0, w = 0, h = 0;
        // All three or none: a half-read text must not leave mixed dimensions.
        if (DimensionOf(parts.at(0), l) && DimensionOf(parts.at(1), w) && DimensionOf(parts.at(2), h)) {
            set_length(l);
            set_wide(w);
            set_high(h);
        }
        return true;
    }
    if (name == QLatin1String("vumo_attribute")) {
        const QString text = raw.toString();
        set_vumo_attribute(text);
        // An empty text carries no attributes; keep what "attributes" brought.
        if (!text.trimmed().isEmpty()) {
            const ParsedAttributeText parsed = ParseApiAttributeText(text);
            set_attributes(parsed.attributes);
            set_input_pids(parsed.inputPids);
            set_input_strs(parsed.inputStrs);
        }
        return true;
    }
    return IEntity::SetApiValue(name, raw);
}

void VumoDataEntity::AddSku(VumoSkuEntity* sku)
{
    if (sku && !m_skuList.contains(sku))
        m_skuList.append(sku);
}

void VumoDataEntity::ClearSkus()
{
    qDeleteAll(m_skuList);
    m_skuList.clear();
}

void VumoDataEntity::AddImage(VumoImgEntity* image)
{
    if (!image)
        return;
    QList<VumoImgEntity*>& group = m_images[image->color_id()];
    if (!group.contains(image))
        group.append(image);
}

void VumoDataEntity::ClearImages()
{
    for (QList<VumoImgEntity*>& group : m_images)
        qDeleteAll(group);
    m_images.clear();
}

void VumoDataEntity::FillExt(VumoDataExtEntity& ext) const
{
    ext.set_client_id(m_client_id);
    ext.set_vumo_id(m_vumo_id);
    ext.set_producter(m_producter);
    ext.set_wrap(m_wrap);
    ext.set_pack_listing(m_pack_listing);
    ext.set_service(m_service);
}

void VumoDataEntity::ApplyExt(const VumoDataExtEntity& ext)
{
    m_producter = ext.producter();
    m_wrap = ext.wrap();
    m_pack_listing = ext.pack_listing();
    m_service = ext.service();
}

} // namespace Quorvia::vumo::entity
