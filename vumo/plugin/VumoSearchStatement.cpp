#include "plugin/VumoSearchStatement.h"

#include "utils/Money.h"
#include "utils/SqlText.h"

#include <QStringList>

using Quorvia::utils::ParseMoney;
using Quorvia::utils::SqlText;

namespace Quorvia::vumo {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-ddThh:mm:ss");
const QString kForSaleCodes = QStringLiteral("1,2,4,513,514,516,1026,1028");

bool IsDigits(const QString& text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// An identifier typed into a ten-digit field. Digits go in as a number; anything else (the
// validators normally keep it out) goes in as a quoted text, which no integer column equals.
QString IdLiteral(const QString& text)
{
    if (IsDigits(text, 18))
        return text;
    return QStringLiteral("'%1'").arg(SqlText(text));
}

// The on-sale choice is bracketed: "a AND b OR c AND d" would find every listing with
// status 520 whatever the other fields say.
QString StatusCondition(int status, bool quick)
{
    switch (status) {
    case SearchStatusOnSale:
        return QStringLiteral("(vumo_status=%1 OR vumo_status=%2) AND ").arg(8).arg(520);
    case SearchStatusForSale:
        return QStringLiteral("vumo_status in (%1)  AND ").arg(kForSaleCodes);
    case SearchStatusLocal:
        return quick ? QStringLiteral("vumo_status=%1").arg(2014) : QStringLiteral("vumo_status=%1  AND ").arg(2014);
    default:
        return QString();
    }
}

// A number field: empty means not filled; otherwise it is a number of its kind or refused.
enum class FieldState { Empty, Valid, Invalid };

FieldState PriceField(const QString& typed, qint64& cents)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return FieldState::Empty;
    if (!IsSearchNumber(SearchNumberKind::Price, text))
        return FieldState::Invalid;
    return ParseMoney(text, cents) ? FieldState::Valid : FieldState::Invalid;
}

FieldState StockField(const QString& typed, qint64& stock)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return FieldState::Empty;
    if (!IsSearchNumber(SearchNumberKind::Stock, text))
        return FieldState::Invalid;
    stock = text.toLongLong();
    return FieldState::Valid;
}

FieldState IdField(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return FieldState::Empty;
    return IsSearchNumber(SearchNumberKind::Id, text) ? FieldState::Valid : FieldState::Invalid;
}

const QString kBadVumoId = QStringLiteral("请输入10位数字的商品编号");
const QString kBadSkuId = QStringLiteral("请输入10位数字的SKU编号");

} // namespace

bool IsSearchNumber(SearchNumberKind kind, const QString& typed)
{
    const QString text = typed.trimmed();
    switch (kind) {
    case SearchNumberKind::Id:
        return text.size() == 10 && IsDigits(text, 10);
    case SearchNumberKind::Stock:
        return IsDigits(text, 9);
    case SearchNumberKind::Price: {
        const int dot = text.indexOf(QLatin1Char('.'));
        const QString whole = dot < 0 ? text : text.left(dot);
        const QString cents = dot < 0 ? QString() : text.mid(dot + 1);
        if (whole.isEmpty() && cents.isEmpty())
            return false;
        return (whole.isEmpty() || IsDigits(whole, 9)) && (cents.isEmpty() || IsDigits(cents, 2));
    }
    }
    return false;
}

QString VumoTableQuery()
{
    return QStringLiteral("SELECT client_id, vumo_id, cid, title, vumo_status, item_num, cost_price, market_price, "
                          "yv_price, stock_num, modified, min_yvprice, max_yvprice, template_name, shop_categorys, "
                          "is_vumoinfo_complete, ad_content, upload_status, error_msg From vumo_data ");
}

QString EscapeLikeText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('/') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('/');
        out += c;
    }
    return SqlText(out);
}

QString QuickSearchCheck(const QuickSearchFields& fields)
{
    return IdField(fields.vumoId) == FieldState::Invalid ? kBadVumoId : QString();
}

QString QuickSearchStatement(const QuickSearchFields& fields)
{
    QString condition;
    const QString vumoId = fields.vumoId.trimmed();
    if (!vumoId.isEmpty())
        condition += QStringLiteral("vumo_id=%1 AND ").arg(IdLiteral(vumoId));
    if (!fields.title.isEmpty())
        condition += QStringLiteral("title like '%%1%' escape '/' AND ").arg(EscapeLikeText(fields.title));
    if (!fields.itemNum.isEmpty())
        condition += QStringLiteral("item_num like '%%1%' escape '/' AND ").arg(EscapeLikeText(fields.itemNum));
    if (fields.cid > 0)
        condition += QStringLiteral("cid=%1 AND ").arg(fields.cid);
    condition += StatusCondition(fields.status, true);
    if (condition.endsWith(QLatin1String("AND ")))
        condition.chop(4);
    if (condition.isEmpty())
        return QString();
    return VumoTableQuery() + QStringLiteral(" WHERE ") + condition;
}

QString AdvanceSearchCheck(const AdvanceSearchFields& fields)
{
    if (IdField(fields.vumoId) == FieldState::Invalid)
        return kBadVumoId;
    if (IdField(fields.skuId) == FieldState::Invalid)
        return kBadSkuId;
    if (fields.onlineFrom.isValid() && fields.onlineTo.isValid() && fields.onlineTo < fields.onlineFrom)
        return QStringLiteral("终止时间需大于开始时间");

    qint64 priceFrom = 0;
    qint64 priceTo = 0;
    const FieldState fromState = PriceField(fields.priceFrom, priceFrom);
    const FieldState toState = PriceField(fields.priceTo, priceTo);
    if (fromState == FieldState::Invalid || toState == FieldState::Invalid)
        return QStringLiteral("请输入正确的价格");
    if (fromState == FieldState::Valid && toState == FieldState::Valid && priceTo < priceFrom)
        return QStringLiteral("终止价格需大于开始价格");

    if (fields.stockMode != 1) {
        qint64 stockFrom = 0;
        qint64 stockTo = 0;
        const FieldState sFrom = StockField(fields.stockFrom, stockFrom);
        const FieldState sTo = StockField(fields.stockTo, stockTo);
        if (sFrom == FieldState::Invalid || sTo == FieldState::Invalid)
            return QStringLiteral("请输入正确的库存");
        if (sFrom == FieldState::Valid && sTo == FieldState::Valid && stockTo < stockFrom)
            return QStringLiteral("终止库存需大于开始库存");
    }
    return QString();
}

QString AdvanceSearchCondition(const AdvanceSearchFields& fields)
{
    QString c = QStringLiteral("where ");
    if (!fields.title.isEmpty())
        c += QStringLiteral("title like '%%1%'  escape '/' AND ").arg(EscapeLikeText(fields.title));
    const QString vumoId = fields.vumoId.trimmed();
    if (!vumoId.isEmpty())
        c += QStringLiteral("vumo_id=%1 AND ").arg(IdLiteral(vumoId));
    if (!fields.itemNum.isEmpty())
        c += QStringLiteral("item_num like '%%1%' escape '/' AND ").arg(EscapeLikeText(fields.itemNum));
    if (fields.cid > 0)
        c += QStringLiteral("cid=%1 AND ").arg(fields.cid);
    // The shop-category text is ours ("%1-%2" of identifiers), not typed, so no escape clause.
    if (!fields.shopCategorys.isEmpty())
        c += QStringLiteral("shop_categorys like '%%1%' AND ").arg(SqlText(fields.shopCategorys));
    const QString skuId = fields.skuId.trimmed();
    if (!skuId.isEmpty())
        c += QStringLiteral("client_id in (select client_id from vumo_sku where sku_id=%1) AND ").arg(IdLiteral(skuId));
    c += StatusCondition(fields.status, false);

    const bool hasFrom = fields.onlineFrom.isValid();
    const bool hasTo = fields.onlineTo.isValid();
    if (hasFrom && hasTo) {
        c += QStringLiteral("(online_time >= '%1' AND online_time <= '%2') AND (vumo_status=%3 OR vumo_status=%4) AND ")
                 .arg(fields.onlineFrom.toString(kDateTimeFormat), fields.onlineTo.toString(kDateTimeFormat))
                 .arg(8)
                 .arg(520);
    } else if (hasTo) {
        c += QStringLiteral("online_time <= '%1' AND (vumo_status=%2 OR vumo_status=%3) AND ")
                 .arg(fields.onlineTo.toString(kDateTimeFormat))
                 .arg(8)
                 .arg(520);
    } else if (hasFrom) {
        c += QStringLiteral("online_time >= '%1' AND (vumo_status=%2 OR vumo_status=%3) AND ")
                 .arg(fields.onlineFrom.toString(kDateTimeFormat))
                 .arg(8)
                 .arg(520);
    }

    qint64 priceFrom = 0;
    qint64 priceTo = 0;
    const bool hasPriceFrom = PriceField(fields.priceFrom, priceFrom) == FieldState::Valid;
    const bool hasPriceTo = PriceField(fields.priceTo, priceTo) == FieldState::Valid;
    if (hasPriceFrom && hasPriceTo) {
        c += QStringLiteral("(client_id in (select client_id from vumo_sku where yv_price >= %1 AND yv_price <= %2)  "
                            "OR ( yv_price >= %1 AND yv_price <= %2)) AND ")
                 .arg(priceFrom)
                 .arg(priceTo);
    } else if (hasPriceTo) {
        c += QStringLiteral(
                 "(client_id in (select client_id from vumo_sku where yv_price <= %1) AND (yv_price <= %1)) AND ")
                 .arg(priceTo);
    } else if (hasPriceFrom) {
        c += QStringLiteral(
                 "(client_id in (select client_id from vumo_sku where yv_price >= %1) AND (yv_price >= %1)) AND ")
                 .arg(priceFrom);
    }

    if (fields.stockMode != 1) {
        qint64 stockFrom = 0;
        qint64 stockTo = 0;
        const bool hasStockFrom = StockField(fields.stockFrom, stockFrom) == FieldState::Valid;
        const bool hasStockTo = StockField(fields.stockTo, stockTo) == FieldState::Valid;
        if (hasStockFrom && hasStockTo)
            c += QStringLiteral("stock_num>=%1 AND stock_num <= %2 AND ").arg(stockFrom).arg(stockTo);
        else if (hasStockTo)
            c += QStringLiteral("stock_num <= %1 AND ").arg(stockTo);
        else if (hasStockFrom)
            c += QStringLiteral("stock_num >= %1 AND ").arg(stockFrom);
    }
    return c + QStringLiteral("(%1)");
}

QString RepeatVumoStatement(const QString& classCondition)
{
    // error_msg is selected too: the store's row reader needs all nineteen columns of the
    // table query, and without it this search could never show a row. The outer rows are held
    // to the class as well, or a repeated title would bring in its copies from other classes
    // (the recycle bin among them).
    return QStringLiteral("SELECT a.client_id, a.vumo_id, a.cid, a.title, a.vumo_status, a.item_num, a.cost_price, "
                          "a.market_price, a.yv_price, a.stock_num, a.modified, a.min_yvprice, a.max_yvprice, "
                          "a.template_name, a.shop_categorys, a.is_vumoinfo_complete, a.ad_content, a.upload_status, "
                          "a.error_msg From vumo_data a, (SELECT title, count(*) AS cnt FROM vumo_data WHERE (%1) "
                          "GROUP BY title) b WHERE a.title=b.title AND b.cnt>1 AND (%1) ORDER BY b.cnt DESC")
        .arg(classCondition);
}

QString NoShopCategoryStatement(const QString& classCondition)
{
    return VumoTableQuery()
        + QStringLiteral(" WHERE (shop_categorys=\"\" OR shop_categorys IS NULL) AND (%1)").arg(classCondition);
}

bool IsWholeSearchStatement(const QString& searchText)
{
    return searchText.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive);
}

QString SearchResultsStatement(const QString& searchText, const QString& searchClassCondition)
{
    if (IsWholeSearchStatement(searchText))
        return searchText;
    // Only the placeholder the form appended is filled: a typed title may itself hold "%1".
    QString condition = searchText;
    const QString placeholder = QStringLiteral("(%1)");
    if (condition.endsWith(placeholder)) {
        condition.chop(placeholder.size());
        condition += QLatin1Char('(') + searchClassCondition + QLatin1Char(')');
    }
    return VumoTableQuery() + condition;
}

} // namespace Quorvia::vumo
