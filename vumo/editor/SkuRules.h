#pragma once
// The rules of the SKU page without widgets: the category's sale attributes, the SKU attribute
// key and the alias text, the ticked values with the rows they make, and the checks and records
// of a save. The page only shows a SkuGrid and forwards what the seller does to it.
#include "editor/SkuAttValue.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

namespace Quorvia::vumo::database {
class CategoryDbInterface;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
class VumoSkuEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::editor {

inline constexpr int kMaxSaleAttributes = 2;
inline constexpr int kMaxSkuRows = 100;
inline constexpr qint64 kMaxSkuStock = 999999999;

// Input rules of the stock and price cells (and of the header edits over them).
inline constexpr char kSkuStockRule[] = "^([1-9][0-9]{0,8}|0)$";
inline constexpr char kSkuPriceRule[] = "^(([1-9][0-9]{0,8})|0)?(\\.[0-9]{0,2})?$";
// The upload joins the seller codes with "|".
inline constexpr char kSkuOuterIdRule[] = "^[^|]*$";

// ---- Sale attributes -----------------------------------------------------------------------

struct SkuValue
{
    qint64 vid = 0;
    QString name;
};

struct SkuAttribute
{
    qint64 aid = 0;
    QString name;
    QList<SkuValue> values; // in the category's order

    // The attribute whose ticked values are the listing's colours.
    bool IsColour() const;
    // -1 when the attribute offers no such value.
    int IndexOf(qint64 vid) const;
};

struct SaleAttributes
{
    enum Outcome {
        Ok,          // one or two attributes
        NoCategory,  // cid <= 0
        NoneDefined, // the category has no sale attribute
        TooMany,     // more than two: logged, the page stays empty
        ReadFailed,  // the store failed
    };
    Outcome outcome = NoCategory;
    QList<SkuAttribute> attributes;
};

// The sale attributes of a category with their valid values, in category order. More than two
// log "商品%1的类别:%2销售属性大于2个" with the listing's marketplace id and the category.
SaleAttributes LoadSaleAttributes(database::CategoryDbInterface& store, qint64 cid, qint64 vumoId);

// ---- Stored texts --------------------------------------------------------------------------

using SkuPair = QPair<qint64, qint64>; // aid, vid

// "1:10^2:20" -> {(1,10), (2,20)}. `ok` false when a part is not two positive numbers (the
// readable parts are still returned); "" gives nothing and ok.
QList<SkuPair> ParseSkuAttributes(const QString& text, bool* ok = nullptr);
// Pairs with a vid joined as "aid:vid" by "^"; pairs without a vid are left out.
QString BuildSkuAttributes(const QList<SkuPair>& pairs);
// The key compared between SKUs: the pairs as a set, so "2:20^1:10" equals "1:10^2:20".
QString SkuKey(const QList<SkuPair>& pairs);
inline QString SkuKey(const QString& attributes)
{
    return SkuKey(ParseSkuAttributes(attributes));
}

// "1:10:大红^2:20:XL^" -> {(1,10): "大红", (2,20): "XL"}. An alias keeps everything after the
// second ":"; entries that do not read are skipped.
QMap<SkuPair, QString> ParsePropertyAlias(const QString& text);

// An alias may not hold the separators of the alias text and the upload lists.
bool AliasHasForbiddenChar(const QString& alias);
QString AliasForbiddenMessage(); // "别名不能包含“:”、“^”、“|”"

// ---- The page's state ----------------------------------------------------------------------

struct SkuRow
{
    qint64 skuId = 0;     // the marketplace's SKU id, 0 for a new SKU
    QVector<qint64> vids; // one per sale attribute, 0 for an empty cell
    QString stock;        // as typed
    QString price;        // as typed, currency units
    QString outerId;      // the seller's SKU code
    QString storedText;   // the stored attribute text of the SKU with skuId
};

// One stored SKU of the listing as loaded (the fields a save keeps).
struct StoredSku
{
    qint64 skuId = 0;
    QString attributes;
    int status = 2;
    qint64 costPrice = 0;
    qint64 marketPrice = 0;
    QDateTime created;
};

enum class SkuField { Stock, Price, OuterId };

class SkuGrid
{
public:
    SkuGrid() = default;
    explicit SkuGrid(QList<SkuAttribute> attributes);

    const QList<SkuAttribute>& Attributes() const { return m_attributes; }
    int AttributeCount() const { return int(m_attributes.size()); }

    // The listing's stored SKUs become rows (one each) and tick their values; aliases come from
    // `propertyAlias`. SKUs whose values the category no longer offers, duplicates and the
    // default SKU make no row; returns how many SKUs with attributes made none.
    int Load(const QList<entity::VumoSkuEntity*>& skus, const QString& propertyAlias);

    bool IsTicked(int attr, qint64 vid) const;
    // Ticked vids of an attribute in value order.
    QList<qint64> Ticked(int attr) const;
    QString Alias(int attr, qint64 vid) const;
    // The alias, else the value's name.
    QString DisplayText(int attr, qint64 vid) const;

    enum class TickResult { Done, Unchanged, TooManyRows };
    // Ticking adds the rows the value makes with the ticked values of the other attribute (a
    // value alone gets a row with the other cell empty; an empty cell is filled first). Refused
    // when the table would then hold more than kMaxSkuRows rows. Unticking removes every row
    // that uses the value. A row that comes back gets what it held before it was removed.
    TickResult SetTicked(int attr, qint64 vid, bool ticked);

    enum class AliasResult { Done, Unchanged, ForbiddenChar, Taken };
    // Trimmed; refused when it holds a separator or names another value of the attribute.
    AliasResult SetAlias(int attr, qint64 vid, const QString& alias);

    const QList<SkuRow>& Rows() const { return m_rows; }
    int RowCount() const { return int(m_rows.size()); }
    void SetField(int row, SkuField field, const QString& text);
    QString Field(int row, SkuField field) const;
    // The merge of the first attribute column: the first row of a run of rows with one first
    // value gets the run's length, the others of the run 0, a row without a first value 1.
    int FirstValueSpan(int row) const;

    // Copies the row's field to every row with the same value in attribute column `attr`.
    void ApplySameValue(int row, int attr, SkuField field);
    // Writes `text` into every row, or only into rows whose field is empty.
    void ApplyToRows(SkuField field, const QString& text, bool onlyEmpty);

    // The ticked values of the colour attribute (none without one).
    QList<SKU_ATT_VALUE_TYPE> ColourValues() const;
    // "aid:vid:alias^" for each ticked value with an alias, in attribute and value order.
    QString PropertyAlias() const;
    // The attribute text of a row: its stored text when it still names the same pairs.
    QString RowAttributes(int row) const;
    // "颜色:大红^尺码:XL" for a row's attribute text.
    QString DisplayTextOf(const QString& attributes) const;

    // Stored SKU ids that no row carries any more.
    QList<qint64> RemovedSkuIds() const;
    const QMap<qint64, StoredSku>& Stored() const { return m_stored; }
    // The stored SKUs of a listing whose category changed: none makes a row, so a save reports
    // them all removed.
    void AdoptStored(const QMap<qint64, StoredSku>& stored) { m_stored = stored; }
    // The SKUs with a marketplace id and attributes, by id.
    static QMap<qint64, StoredSku> StoredSkus(const QList<entity::VumoSkuEntity*>& skus);

private:
    QList<SkuPair> pairsOf(const QVector<qint64>& vids) const;
    QString keyOf(const QVector<qint64>& vids) const { return SkuKey(pairsOf(vids)); }
    int rowOf(const QVector<qint64>& vids) const;
    void applyTick(int attr, qint64 vid);
    void applyUntick(int attr, qint64 vid);
    // A new row for these vids: what a removed row with the same key held, else empty.
    SkuRow makeRow(const QVector<qint64>& vids) const;
    void remember(const SkuRow& row);
    void sortRows();

    QList<SkuAttribute> m_attributes;
    QVector<QList<qint64>> m_ticked;          // per attribute
    QVector<QMap<qint64, QString>> m_aliases; // per attribute: vid -> alias
    QList<SkuRow> m_rows;
    QMap<QString, SkuRow> m_removed;  // key -> the row as it was removed
    QMap<qint64, StoredSku> m_stored; // sku id -> stored SKU
};

// ---- Checks and records of a save ----------------------------------------------------------

struct SkuRecordData
{
    qint64 skuId = 0;
    QString attributes;
    qint64 stock = 0; // -1 when stock is not kept
    qint64 price = 0; // hundredths
    QString outerId;
};

struct SkuCheckResult
{
    QStringList errors;
    QList<SkuRecordData> records; // one per row when nothing failed
    qint64 minPrice = 0;
    qint64 maxPrice = 0;
    qint64 stockSum = 0;

    bool ok() const { return errors.isEmpty(); }
};

// Checks every row in order, each distinct message once. `stockKept` false (stock mode 1):
// stock is neither checked nor kept (-1). `marketPrice` <= 0 skips the market-price check (the
// basic page reports that price itself).
SkuCheckResult CheckSkuRows(const SkuGrid& grid, qint64 marketPrice, bool stockKept);

// "商品Yv价不能超出销售属性表中的价格范围" when the listing's price lies outside [min, max].
QString PriceRangeMessage(qint64 yvPrice, qint64 minPrice, qint64 maxPrice);

// Replaces the listing's SKUs by the checked rows and sets min/max price, stock and the alias
// text. Without rows min and max become the listing's own price and the stock is left alone.
// `withDisplayText`: each SKU also gets its display text (the preview).
void WriteSkus(const SkuGrid& grid, const SkuCheckResult& checked, bool stockKept, bool withDisplayText,
               entity::VumoDataEntity& record);

} // namespace Quorvia::vumo::editor
