#pragma once
// The statements of the quick search, the advanced search and the two canned searches, and the
// checks of the advanced form. No widgets: the forms collect the fields and call these.
#include <QDateTime>
#include <QString>

namespace Quorvia::vumo {

inline constexpr int kSearchTitleMaxLength = 45;
inline constexpr int kSearchItemNumMaxLength = 50;

// Usage events of the two forms (category, operation).
inline constexpr qint64 kSearchUsageCategory = 3008;
inline constexpr qint64 kQuickSearchUsageEvent = 3008005;
inline constexpr qint64 kAdvanceSearchUsageEvent = 3008004;

// Values of the status combo box of both forms.
enum SearchStatus {
    SearchStatusNone = -1,   // "请选择"
    SearchStatusOnSale = 0,  // "在售商品"
    SearchStatusForSale = 1, // "待售商品"
    SearchStatusLocal = 2,   // "本地仓库商品"
};

// The number fields of the forms. They take any typed text and are checked when the seller
// searches, so that a wrong entry is refused with a message instead of being changed.
enum class SearchNumberKind {
    Id,    // listing or SKU number: exactly ten digits
    Price, // Yv price: not negative, at most nine integer digits and two decimals
    Stock, // at most nine digits
};

// Whether `text` (blanks around ignored) is a number of the kind. An empty text is not; the
// forms treat an empty field as not filled before asking.
//   Id:    "1234567890" -> true; "123456789", "12345678901", "12a4567890" -> false
//   Price: "12", "0.5", ".5", "5.", "007.10" -> true; "3.456", "-5", "5abc100", "1e3", "." -> false
//   Stock: "35", "0" -> true; "3.5", "-1", "1234567890" -> false
bool IsSearchNumber(SearchNumberKind kind, const QString& text);

// The store's table query, ending in "From vumo_data ".
QString VumoTableQuery();

// Text for a "like ... escape '/'" pattern: "/", "%" and "_" get a "/" before them so they
// match literally, single quotes are doubled.
//   "50%_off/it's" -> "50/%/_off//it''s"
QString EscapeLikeText(const QString& text);

struct QuickSearchFields
{
    QString vumoId; // digits
    QString title;
    QString itemNum;
    qint64 cid = 0; // 0: no category chosen
    int status = SearchStatusNone;
};

// The message that refuses the quick search ("请输入10位数字的商品编号"), or an empty text.
QString QuickSearchCheck(const QuickSearchFields& fields);

// The whole statement, or an empty text when no field is filled (nothing is to be sent).
// Call only after QuickSearchCheck gave an empty text.
//   status local only -> VumoTableQuery() + " WHERE vumo_status=2014"
QString QuickSearchStatement(const QuickSearchFields& fields);

struct AdvanceSearchFields
{
    QString title;
    QString vumoId;
    QString itemNum;
    qint64 cid = 0;
    QString shopCategorys; // "%1-%2" text of the chosen shop category
    QString skuId;
    int status = SearchStatusNone;
    QDateTime onlineFrom; // invalid: not set
    QDateTime onlineTo;
    QString priceFrom; // decimal text in currency units
    QString priceTo;
    QString stockFrom;
    QString stockTo;
    int stockMode = 0; // 1: the stock fields take no part
};

// The message that refuses the form, or an empty text when it can be searched. A field that is
// not a number: "请输入10位数字的商品编号", "请输入10位数字的SKU编号", "请输入正确的价格",
// "请输入正确的库存"; an inverted range: "终止时间需大于开始时间", "终止价格需大于开始价格",
// "终止库存需大于开始库存".
QString AdvanceSearchCheck(const AdvanceSearchFields& fields);

// The condition "where ...(%1)"; %1 stands for the status condition of the search results.
// Call only after AdvanceSearchCheck gave an empty text.
//   nothing filled -> "where (%1)"
QString AdvanceSearchCondition(const AdvanceSearchFields& fields);

// "重复商品": listings whose title occurs more than once within `classCondition`.
QString RepeatVumoStatement(const QString& classCondition);
// "未分配店内分类的商品": listings of `classCondition` without shop category.
QString NoShopCategoryStatement(const QString& classCondition);

// Whether a stored search text is a whole statement (quick and canned searches) rather than an
// advanced-search condition.
bool IsWholeSearchStatement(const QString& searchText);

// The statement that loads the search results from a stored search text: a whole statement
// unchanged; an advanced condition after the table query with %1 replaced by
// `searchClassCondition` (the status condition of the search-results class).
QString SearchResultsStatement(const QString& searchText, const QString& searchClassCondition);

} // namespace Quorvia::vumo
