#include "editor/SkuRules.h"

#include "database/CategoryDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "utils/Log.h"
#include "utils/Money.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace Quorvia::vumo::editor {

// ---- Sale attributes -----------------------------------------------------------------------

bool SkuAttribute::IsColour() const
{
    return name.contains(QStringLiteral("颜色"));
}

int SkuAttribute::IndexOf(qint64 vid) const
{
    for (int i = 0; i < values.size(); ++i) {
        if (values.at(i).vid == vid)
            return i;
    }
    return -1;
}

SaleAttributes LoadSaleAttributes(database::CategoryDbInterface& store, qint64 cid, qint64 vumoId)
{
    SaleAttributes result;
    if (cid <= 0)
        return result;
    QList<database::CategoryAttributeWithValues> rows;
    if (!store.GetAttributesWithValues(cid, 1, rows)) {
        result.outcome = SaleAttributes::ReadFailed;
        return result;
    }
    if (rows.isEmpty()) {
        result.outcome = SaleAttributes::NoneDefined;
        return result;
    }
    if (rows.size() > kMaxSaleAttributes) {
        qCWarning(lcVumo).noquote()
            << QStringLiteral("商品%1的类别:%2销售属性大于2个").arg(QString::number(vumoId), QString::number(cid));
        result.outcome = SaleAttributes::TooMany;
        return result;
    }
    for (const auto& row : rows) {
        SkuAttribute attribute;
        attribute.aid = row.aid;
        attribute.name = row.name;
        for (const auto& value : row.values) {
            // The left join gives an attribute without values one empty value.
            if (value.vid > 0 && attribute.IndexOf(value.vid) < 0)
                attribute.values << SkuValue{value.vid, value.name};
        }
        result.attributes << attribute;
    }
    result.outcome = SaleAttributes::Ok;
    return result;
}

// ---- Stored texts --------------------------------------------------------------------------

QList<SkuPair> ParseSkuAttributes(const QString& text, bool* ok)
{
    QList<SkuPair> pairs;
    bool allRead = true;
    const QStringList parts = text.split(QLatin1Char('^'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QStringList ids = part.split(QLatin1Char(':'));
        bool aidOk = false;
        bool vidOk = false;
        const qint64 aid = ids.size() == 2 ? ids.at(0).trimmed().toLongLong(&aidOk) : 0;
        const qint64 vid = ids.size() == 2 ? ids.at(1).trimmed().toLongLong(&vidOk) : 0;
        if (aidOk && vidOk && aid > 0 && vid > 0)
            pairs << SkuPair(aid, vid);
        else
            allRead = false;
    }
    if (ok)
        *ok = allRead;
    return pairs;
}

QString BuildSkuAttributes(const QList<SkuPair>& pairs)
{
    QStringList parts;
    for (const SkuPair& pair : pairs) {
        if (pair.second != 0)
            parts << QStringLiteral("%1:%2").arg(pair.first).arg(pair.second);
    }
    return parts.join(QLatin1Char('^'));
}

QString SkuKey(const QList<SkuPair>& pairs)
{
    QList<SkuPair> sorted;
    for (const SkuPair& pair : pairs) {
        if (pair.second != 0 && !sorted.contains(pair))
            sorted << pair;
    }
    std::sort(sorted.begin(), sorted.end());
    return BuildSkuAttributes(sorted);
}

QMap<SkuPair, QString> ParsePropertyAlias(const QString& text)
{
    QMap<SkuPair, QString> aliases;
    const QStringList entries = text.split(QLatin1Char('^'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const int first = entry.indexOf(QLatin1Char(':'));
        const int second = first < 0 ? -1 : entry.indexOf(QLatin1Char(':'), first + 1);
        if (second < 0)
            continue;
        bool aidOk = false;
        bool vidOk = false;
        const qint64 aid = entry.left(first).trimmed().toLongLong(&aidOk);
        const qint64 vid = entry.mid(first + 1, second - first - 1).trimmed().toLongLong(&vidOk);
        const QString alias = entry.mid(second + 1).trimmed();
        if (aidOk && vidOk && !alias.isEmpty())
            aliases.insert(SkuPair(aid, vid), alias);
    }
    return aliases;
}

bool AliasHasForbiddenChar(const QString& alias)
{
    return alias.contains(QLatin1Char(':')) || alias.contains(QLatin1Char('^')) || alias.contains(QLatin1Char('|'));
}

QString AliasForbiddenMessage()
{
    return QStringLiteral("别名不能包含“:”、“^”、“|”");
}

// ---- The page's state ----------------------------------------------------------------------

SkuGrid::SkuGrid(QList<SkuAttribute> attributes)
    : m_attributes(std::move(attributes))
    , m_ticked(m_attributes.size())
    , m_aliases(m_attributes.size())
{
}

QMap<qint64, StoredSku> SkuGrid::StoredSkus(const QList<entity::VumoSkuEntity*>& skus)
{
    QMap<qint64, StoredSku> stored;
    for (const entity::VumoSkuEntity* sku : skus) {
        if (sku && sku->sku_id() > 0 && !sku->attributes().trimmed().isEmpty()) {
            stored.insert(sku->sku_id(),
                          StoredSku{sku->sku_id(), sku->attributes(), sku->status(), sku->cost_price(),
                                    sku->market_price(), sku->created()});
        }
    }
    return stored;
}

int SkuGrid::Load(const QList<entity::VumoSkuEntity*>& skus, const QString& propertyAlias)
{
    int skipped = 0;
    QSet<QString> keys;
    m_stored = StoredSkus(skus);
    for (const entity::VumoSkuEntity* sku : skus) {
        if (!sku || sku->attributes().trimmed().isEmpty())
            continue; // the default SKU is not the page's
        bool ok = false;
        const QList<SkuPair> pairs = ParseSkuAttributes(sku->attributes(), &ok);
        QVector<qint64> vids(AttributeCount(), 0);
        for (const SkuPair& pair : pairs) {
            int attr = -1;
            for (int i = 0; i < AttributeCount(); ++i) {
                if (m_attributes.at(i).aid == pair.first)
                    attr = i;
            }
            if (attr < 0 || vids.at(attr) != 0 || m_attributes.at(attr).IndexOf(pair.second) < 0) {
                ok = false;
                break;
            }
            vids[attr] = pair.second;
        }
        const QString key = keyOf(vids);
        if (!ok || pairs.isEmpty() || keys.contains(key)) {
            qCWarning(lcVumo).noquote() << QStringLiteral("SKU %1 (%2) 的销售属性不在类目中，未加载")
                                               .arg(QString::number(sku->sku_id()), sku->attributes());
            ++skipped;
            continue;
        }
        keys.insert(key);
        SkuRow row;
        row.skuId = sku->sku_id();
        row.vids = vids;
        row.stock = sku->stock_num() >= 0 ? QString::number(sku->stock_num()) : QString();
        row.price = sku->yv_price() > 0 ? utils::FormatMoney(sku->yv_price()) : QString();
        row.outerId = sku->outer_id();
        row.storedText = sku->attributes();
        m_rows << row;
        for (int i = 0; i < AttributeCount(); ++i) {
            if (vids.at(i) != 0 && !m_ticked[i].contains(vids.at(i)))
                m_ticked[i] << vids.at(i);
        }
    }
    for (int i = 0; i < AttributeCount(); ++i) {
        const SkuAttribute& attribute = m_attributes.at(i);
        std::sort(m_ticked[i].begin(), m_ticked[i].end(),
                  [&attribute](qint64 a, qint64 b) { return attribute.IndexOf(a) < attribute.IndexOf(b); });
    }
    const QMap<SkuPair, QString> aliases = ParsePropertyAlias(propertyAlias);
    for (auto it = aliases.cbegin(); it != aliases.cend(); ++it) {
        for (int i = 0; i < AttributeCount(); ++i) {
            if (m_attributes.at(i).aid == it.key().first && m_attributes.at(i).IndexOf(it.key().second) >= 0)
                m_aliases[i].insert(it.key().second, it.value());
        }
    }
    sortRows();
    return skipped;
}

bool SkuGrid::IsTicked(int attr, qint64 vid) const
{
    return attr >= 0 && attr < AttributeCount() && m_ticked.at(attr).contains(vid);
}

QList<qint64> SkuGrid::Ticked(int attr) const
{
    return attr >= 0 && attr < AttributeCount() ? m_ticked.at(attr) : QList<qint64>();
}

QString SkuGrid::Alias(int attr, qint64 vid) const
{
    return attr >= 0 && attr < AttributeCount() ? m_aliases.at(attr).value(vid) : QString();
}

QString SkuGrid::DisplayText(int attr, qint64 vid) const
{
    if (attr < 0 || attr >= AttributeCount())
        return QString();
    const QString alias = Alias(attr, vid);
    if (!alias.isEmpty())
        return alias;
    const int index = m_attributes.at(attr).IndexOf(vid);
    return index < 0 ? QString() : m_attributes.at(attr).values.at(index).name;
}

SkuGrid::TickResult SkuGrid::SetTicked(int attr, qint64 vid, bool ticked)
{
    if (attr < 0 || attr >= AttributeCount() || m_attributes.at(attr).IndexOf(vid) < 0 || IsTicked(attr, vid) == ticked)
        return TickResult::Unchanged;
    if (!ticked) {
        applyUntick(attr, vid);
        return TickResult::Done;
    }
    // The limit holds for the table that would result, not for the one before the tick.
    SkuGrid next = *this;
    next.applyTick(attr, vid);
    if (next.RowCount() > kMaxSkuRows)
        return TickResult::TooManyRows;
    *this = std::move(next);
    return TickResult::Done;
}

void SkuGrid::applyTick(int attr, qint64 vid)
{
    const SkuAttribute& attribute = m_attributes.at(attr);
    QList<qint64>& ticked = m_ticked[attr];
    ticked << vid;
    std::sort(ticked.begin(), ticked.end(),
              [&attribute](qint64 a, qint64 b) { return attribute.IndexOf(a) < attribute.IndexOf(b); });

    QVector<qint64> vids(AttributeCount(), 0);
    vids[attr] = vid;
    if (AttributeCount() == 1) {
        if (rowOf(vids) < 0)
            m_rows << makeRow(vids);
        sortRows();
        return;
    }
    const int other = 1 - attr;
    const QList<qint64> others = Ticked(other);
    if (others.isEmpty()) {
        if (rowOf(vids) < 0)
            m_rows << makeRow(vids);
        sortRows();
        return;
    }
    for (qint64 otherVid : others) {
        QVector<qint64> target = vids;
        target[other] = otherVid;
        if (rowOf(target) >= 0)
            continue;
        QVector<qint64> half(AttributeCount(), 0);
        half[other] = otherVid;
        const int open = rowOf(half);
        if (open < 0) {
            m_rows << makeRow(target);
            continue;
        }
        // The row that waited for a value of this attribute takes it and keeps what was typed;
        // its SKU id named the half key, so it does not move to the new one.
        const SkuRow waiting = m_rows.at(open);
        remember(waiting);
        SkuRow filled = makeRow(target);
        if (!m_removed.contains(keyOf(target))) {
            filled.stock = waiting.stock;
            filled.price = waiting.price;
            filled.outerId = waiting.outerId;
        }
        m_rows[open] = filled;
    }
    sortRows();
}

void SkuGrid::applyUntick(int attr, qint64 vid)
{
    m_ticked[attr].removeAll(vid);
    for (int i = RowCount() - 1; i >= 0; --i) {
        if (m_rows.at(i).vids.at(attr) == vid) {
            remember(m_rows.at(i));
            m_rows.removeAt(i);
        }
    }
    if (AttributeCount() == 2 && m_ticked.at(attr).isEmpty()) {
        // A ticked value of the other attribute without any row is shown alone again.
        const int other = 1 - attr;
        for (qint64 otherVid : Ticked(other)) {
            const bool used = std::any_of(m_rows.cbegin(), m_rows.cend(),
                                          [&](const SkuRow& row) { return row.vids.at(other) == otherVid; });
            if (!used) {
                QVector<qint64> half(AttributeCount(), 0);
                half[other] = otherVid;
                m_rows << makeRow(half);
            }
        }
    }
    sortRows();
}

SkuRow SkuGrid::makeRow(const QVector<qint64>& vids) const
{
    SkuRow row = m_removed.value(keyOf(vids));
    row.vids = vids;
    return row;
}

void SkuGrid::remember(const SkuRow& row)
{
    m_removed.insert(keyOf(row.vids), row);
}

int SkuGrid::rowOf(const QVector<qint64>& vids) const
{
    for (int i = 0; i < RowCount(); ++i) {
        if (m_rows.at(i).vids == vids)
            return i;
    }
    return -1;
}

QList<SkuPair> SkuGrid::pairsOf(const QVector<qint64>& vids) const
{
    QList<SkuPair> pairs;
    for (int i = 0; i < AttributeCount() && i < vids.size(); ++i) {
        if (vids.at(i) != 0)
            pairs << SkuPair(m_attributes.at(i).aid, vids.at(i));
    }
    return pairs;
}

void SkuGrid::sortRows()
{
    // Rows of one first value stay together; both attributes in the category's value order,
    // empty cells last.
    const auto position = [this](const SkuRow& row) {
        QVector<int> pos;
        for (int i = 0; i < AttributeCount(); ++i) {
            const int index = m_attributes.at(i).IndexOf(row.vids.at(i));
            pos << (index < 0 ? std::numeric_limits<int>::max() : index);
        }
        return pos;
    };
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [&position](const SkuRow& a, const SkuRow& b) { return position(a) < position(b); });
}

SkuGrid::AliasResult SkuGrid::SetAlias(int attr, qint64 vid, const QString& alias)
{
    if (attr < 0 || attr >= AttributeCount() || m_attributes.at(attr).IndexOf(vid) < 0)
        return AliasResult::Unchanged;
    const QString text = alias.trimmed();
    if (text == Alias(attr, vid))
        return AliasResult::Unchanged;
    if (AliasHasForbiddenChar(text))
        return AliasResult::ForbiddenChar;
    if (!text.isEmpty()) {
        for (const SkuValue& value : m_attributes.at(attr).values) {
            if (value.vid != vid && (value.name == text || Alias(attr, value.vid) == text))
                return AliasResult::Taken;
        }
    }
    if (text.isEmpty())
        m_aliases[attr].remove(vid);
    else
        m_aliases[attr].insert(vid, text);
    return AliasResult::Done;
}

void SkuGrid::SetField(int row, SkuField field, const QString& text)
{
    if (row < 0 || row >= RowCount())
        return;
    SkuRow& target = m_rows[row];
    switch (field) {
    case SkuField::Stock:
        target.stock = text;
        break;
    case SkuField::Price:
        target.price = text;
        break;
    case SkuField::OuterId:
        target.outerId = text;
        break;
    }
}

QString SkuGrid::Field(int row, SkuField field) const
{
    if (row < 0 || row >= RowCount())
        return QString();
    const SkuRow& source = m_rows.at(row);
    switch (field) {
    case SkuField::Stock:
        return source.stock;
    case SkuField::Price:
        return source.price;
    case SkuField::OuterId:
        return source.outerId;
    }
    return QString();
}

int SkuGrid::FirstValueSpan(int row) const
{
    if (row < 0 || row >= RowCount())
        return 0;
    const qint64 first = m_rows.at(row).vids.value(0);
    if (AttributeCount() < 2 || first == 0)
        return 1;
    if (row > 0 && m_rows.at(row - 1).vids.value(0) == first)
        return 0;
    int span = 1;
    while (row + span < RowCount() && m_rows.at(row + span).vids.value(0) == first)
        ++span;
    return span;
}

void SkuGrid::ApplySameValue(int row, int attr, SkuField field)
{
    if (row < 0 || row >= RowCount() || attr < 0 || attr >= AttributeCount())
        return;
    const qint64 vid = m_rows.at(row).vids.at(attr);
    const QString text = Field(row, field);
    for (int i = 0; i < RowCount(); ++i) {
        if (m_rows.at(i).vids.at(attr) == vid)
            SetField(i, field, text);
    }
}

void SkuGrid::ApplyToRows(SkuField field, const QString& text, bool onlyEmpty)
{
    if (text.trimmed().isEmpty())
        return;
    for (int i = 0; i < RowCount(); ++i) {
        if (!onlyEmpty || Field(i, field).trimmed().isEmpty())
            SetField(i, field, text);
    }
}

QList<SKU_ATT_VALUE_TYPE> SkuGrid::ColourValues() const
{
    QList<SKU_ATT_VALUE_TYPE> colours;
    for (int i = 0; i < AttributeCount(); ++i) {
        const SkuAttribute& attribute = m_attributes.at(i);
        if (!attribute.IsColour())
            continue;
        for (qint64 vid : m_ticked.at(i)) {
            SKU_ATT_VALUE_TYPE value;
            value.aid = attribute.aid;
            value.vid = vid;
            value.name = attribute.values.at(attribute.IndexOf(vid)).name;
            value.alias = Alias(i, vid);
            colours << value;
        }
        break;
    }
    return colours;
}

QString SkuGrid::PropertyAlias() const
{
    QString text;
    for (int i = 0; i < AttributeCount(); ++i) {
        for (qint64 vid : m_ticked.at(i)) {
            const QString alias = Alias(i, vid);
            if (!alias.isEmpty())
                text += QStringLiteral("%1:%2:%3^")
                            .arg(QString::number(m_attributes.at(i).aid), QString::number(vid), alias);
        }
    }
    return text;
}

QString SkuGrid::RowAttributes(int row) const
{
    if (row < 0 || row >= RowCount())
        return QString();
    const SkuRow& source = m_rows.at(row);
    const QList<SkuPair> pairs = pairsOf(source.vids);
    // The stored text is the SKU's key in the store; keep it while it names the same pairs.
    if (!source.storedText.isEmpty() && SkuKey(source.storedText) == SkuKey(pairs))
        return source.storedText;
    return BuildSkuAttributes(pairs);
}

QString SkuGrid::DisplayTextOf(const QString& attributes) const
{
    QStringList parts;
    for (const SkuPair& pair : ParseSkuAttributes(attributes)) {
        for (int i = 0; i < AttributeCount(); ++i) {
            if (m_attributes.at(i).aid == pair.first) {
                parts << QStringLiteral("%1:%2").arg(m_attributes.at(i).name, DisplayText(i, pair.second));
                break;
            }
        }
    }
    return parts.join(QLatin1Char('^'));
}

QList<qint64> SkuGrid::RemovedSkuIds() const
{
    QSet<qint64> carried;
    for (const SkuRow& row : m_rows)
        carried.insert(row.skuId);
    QList<qint64> removed;
    for (auto it = m_stored.cbegin(); it != m_stored.cend(); ++it) {
        if (!carried.contains(it.key()))
            removed << it.key();
    }
    return removed;
}

// ---- Checks and records of a save ----------------------------------------------------------

SkuCheckResult CheckSkuRows(const SkuGrid& grid, qint64 marketPrice, bool stockKept)
{
    SkuCheckResult result;
    const auto fail = [&result](const QString& message) {
        if (!result.errors.contains(message))
            result.errors << message;
    };
    QSet<QString> outerIds;
    for (int r = 0; r < grid.RowCount(); ++r) {
        const SkuRow& row = grid.Rows().at(r);
        for (int i = 0; i < grid.AttributeCount(); ++i) {
            const qint64 vid = row.vids.at(i);
            if (vid == 0)
                continue;
            if (AliasHasForbiddenChar(grid.Alias(i, vid)))
                fail(AliasForbiddenMessage());
            const QString text = grid.DisplayText(i, vid);
            for (qint64 other : grid.Ticked(i)) {
                if (other != vid && grid.DisplayText(i, other) == text)
                    fail(QStringLiteral("\"%1\"属性内容不允许有重复。").arg(text));
            }
        }
        SkuRecordData record;
        record.skuId = row.skuId;
        record.attributes = grid.RowAttributes(r);
        if (record.attributes.isEmpty())
            fail(QStringLiteral("SKU属性不能为空"));

        record.stock = -1;
        if (stockKept) {
            const QString stock = row.stock.trimmed();
            bool ok = false;
            record.stock = stock.toLongLong(&ok);
            if (stock.isEmpty())
                fail(QStringLiteral("SKU属性库存不能为空！"));
            else if (!ok || record.stock < 0 || record.stock > kMaxSkuStock)
                fail(QStringLiteral("库存必须为9位以内的数字!"));
        }

        const QString price = row.price.trimmed();
        if (price.isEmpty()) {
            fail(QStringLiteral("SKU属性价格不能为空！"));
        } else if (!utils::ParseMoney(price, record.price) || record.price <= 0) {
            fail(QStringLiteral("SKUYv价只能是正整数"));
        } else if (marketPrice > 0 && record.price > marketPrice) {
            fail(QStringLiteral("SKUYv价不能大于市场价"));
        }

        record.outerId = row.outerId.trimmed();
        if (!record.outerId.isEmpty()) {
            if (outerIds.contains(record.outerId))
                fail(QStringLiteral("商家SKUID不能重复"));
            outerIds.insert(record.outerId);
        }
        result.records << record;
    }
    if (!result.ok()) {
        result.records.clear();
        return result;
    }
    for (int i = 0; i < result.records.size(); ++i) {
        const SkuRecordData& record = result.records.at(i);
        result.minPrice = i == 0 ? record.price : qMin(result.minPrice, record.price);
        result.maxPrice = i == 0 ? record.price : qMax(result.maxPrice, record.price);
        if (record.stock > 0)
            result.stockSum += record.stock;
    }
    return result;
}

QString PriceRangeMessage(qint64 yvPrice, qint64 minPrice, qint64 maxPrice)
{
    if (yvPrice < minPrice || yvPrice > maxPrice)
        return QStringLiteral("商品Yv价不能超出销售属性表中的价格范围");
    return QString();
}

void WriteSkus(const SkuGrid& grid, const SkuCheckResult& checked, bool stockKept, bool withDisplayText,
               entity::VumoDataEntity& record)
{
    // Without rows the listing keeps its default SKU; with rows it has none.
    QList<entity::VumoSkuEntity*> kept;
    if (checked.records.isEmpty()) {
        for (const entity::VumoSkuEntity* sku : record.Skus()) {
            if (sku->attributes().trimmed().isEmpty()) {
                auto* copy = new entity::VumoSkuEntity;
                copy->CopyPropertiesFrom(*sku);
                kept << copy;
            }
        }
    }
    record.ClearSkus();
    for (entity::VumoSkuEntity* sku : kept)
        record.AddSku(sku);

    const QDateTime now = QDateTime::currentDateTime();
    for (const SkuRecordData& data : checked.records) {
        auto* sku = new entity::VumoSkuEntity;
        sku->set_client_id(record.client_id());
        sku->set_vumo_id(record.vumo_id());
        sku->set_sku_id(data.skuId);
        sku->set_attributes(data.attributes);
        sku->set_stock_num(stockKept ? data.stock : -1);
        sku->set_yv_price(data.price);
        sku->set_outer_id(data.outerId);
        sku->set_created(now);
        if (data.skuId > 0 && grid.Stored().contains(data.skuId)) {
            const StoredSku& stored = grid.Stored().value(data.skuId);
            sku->set_status(stored.status);
            sku->set_cost_price(stored.costPrice);
            sku->set_market_price(stored.marketPrice);
            if (stored.created.isValid())
                sku->set_created(stored.created);
        }
        sku->set_modified(now);
        if (withDisplayText)
            sku->SetDisplayText(grid.DisplayTextOf(data.attributes));
        record.AddSku(sku);
    }

    if (checked.records.isEmpty()) {
        record.set_min_yvprice(record.yv_price());
        record.set_max_yvprice(record.yv_price());
    } else {
        record.set_min_yvprice(checked.minPrice);
        record.set_max_yvprice(checked.maxPrice);
        record.set_stock_num(stockKept ? checked.stockSum : -1);
    }
    record.set_property_alias(grid.PropertyAlias());
}

} // namespace Quorvia::vumo::editor
