#pragma once
// The rules behind the basic-information page, without widgets: the input rules, how stored
// values are shown, the discount, the stock shown for listings with SKUs, and the check and
// store of the form's texts into the listing.
#include "editor/CategoryPickerRules.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
class VumoSkuEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::editor {

struct VumoEditSave;

// ---- Input rules ---------------------------------------------------------------------------

// Nine integer digits and two decimals: "0", "12.5", ".5"; not "012", "1234567890".
inline constexpr char kPriceRule[] = "^(([1-9][0-9]{0,8})|0)?(\\.[0-9]{0,2})?$";
// Four integer digits and three decimals.
inline constexpr char kWeightRule[] = "^(([1-9][0-9]{0,3})|0)?(\\.[0-9]{0,3})?$";
// Package sizes: 1 to 99999.
inline constexpr char kSizeRule[] = "^([1-9][0-9]{0,4})$";
// Stock: 0 to 999999999.
inline constexpr char kStockRule[] = "^([1-9][0-9]{0,8}|0)$";
// Shelf-life days: 1 to 9999.
inline constexpr char kShelfLifeDaysRule[] = "^([1-9][0-9]{0,3})$";

inline constexpr int kTitleMaxLength = 45;
inline constexpr int kAdContentMaxLength = 45;
inline constexpr int kItemNumMaxLength = 50;
inline constexpr int kLongTextMaxLength = 100; // package listing and service
inline constexpr qint64 kMaxStock = 999999999;
inline constexpr qint64 kMaxShownPrice = 99999999999; // hundredths
inline constexpr qint64 kMaxSize = 99999;

// The whole text against one of the rules above.
bool MatchesRule(const char* rule, const QString& text);

// ---- Showing stored values -----------------------------------------------------------------

// Title and advertising words without "\v\f\r\t\n".
QString CleanTitleText(const QString& text);
// 1999 -> "19.99"; 0, negatives and more than kMaxShownPrice -> "".
QString PriceText(qint64 cents);
// 1.5 -> "1.500"; 0 or less -> "".
QString WeightText(double kilograms);
// 1 to 99999 as they are, else "".
QString SizeText(qint64 size);
// "Phones/Cases; Gifts/Gifts" from "12-34;56-56|Phones/Cases;Gifts/Gifts" (the ids when a
// stored string has no names).
QString ShopCategoryNames(const QString& shopCategorys);

// r = yv / market in percent, rounded half up; r when 1 <= r <= 100, else 0. 0 for a negative
// price or a market price of 0.  (8000, 10000) -> 80; (199, 200) -> 100; (101, 100) -> 0.
double CalculateDiscount(qint64 yvPrice, qint64 marketPrice);
// The discount field at load, from stored hundredths: "80", or "" below 1.
QString DiscountText(qint64 yvCents, qint64 marketCents);
// The discount field while typing: each text read as a number and rounded to whole units
// first; "" when a field is empty or the discount is 0.  ("80", "100") -> "80".
QString TypedDiscountText(const QString& yvText, const QString& marketText);

// The stock field: editable with the listing's own stock when it has no SKU, or one SKU
// without attributes; otherwise disabled with the sum of the SKUs that have attributes
// (deleted ones, status 0, left out; a negative stock counts as 0).
struct StockField
{
    bool editable = true;
    QString text;
};
StockField StockFieldFor(qint64 listingStock, const QList<entity::VumoSkuEntity*>& skus);

// Text typed into a field of at most `limit` characters: the characters beyond the limit that
// end at the cursor are taken out and the cursor goes where they began.
//   ("abcXYd", cursor 5, limit 4) -> ("abcd", cursor 3)
struct TextCut
{
    QString text;
    int cursor = 0;
    bool changed = false;
};
TextCut CutTypedText(const QString& text, int cursor, int limit = kLongTextMaxLength);

// The local copy in `folder` of a picture address; "" when `logo` is not an address or the
// copy is not there.
QString LocalCopyOfAddress(const QString& logo, const QString& folder);
bool IsAddress(const QString& logo);
// The file the main-picture view shows for a stored or picked logo: an address's local copy
// (else the address), a picture-folder name inside the folder, a path as it is.
QString MainImageShowPath(const QString& logo, const QString& folder);

// ---- Check and store -----------------------------------------------------------------------

// The fields a failed check marks.
enum class BasisField {
    CostPrice,
    YvPrice,
    MarketPrice,
    Weight,
    Length,
    Wide,
    High,
    Stock,
    Title,
    Category,
    MainImage,
    Attributes,
    ShelfLifeDays,
    PackType,
};

struct SpecialAttrForm
{
    bool canVat = false;
    bool payFirst = false;
    bool specialWet = false;
    bool shelfLife = false;
    QString shelfLifeDays;
    bool imported = false;
    bool healthProduct = false;
    bool appliancesCard = false;
    bool serialNo = false;
    int bigSmallModel = 0;
    int packType = 0;
};

// The model combo ("商品件型") and the packaging combo, in order: name and stored value.
QList<QPair<QString, int>> BigSmallModelChoices();
QList<QPair<QString, int>> PackTypeChoices();

// Which special attributes a stock mode shows (and so reads on save).
bool ShowsPayFirstAndWet(int stockMode);
bool ShowsLogisticsDetails(int stockMode);

// The form's texts as the seller left them.
struct BasisForm
{
    QString title;
    QString adContent;
    QString costPrice;
    QString yvPrice;
    QString marketPrice;
    QString weight;
    QString length;
    QString wide;
    QString high;
    QString stock; // the shown sum when SKUs carry the stock
    QString itemNum;
    QString upc;
    QString packListing;
    QString service;
    qint64 cid = 0;
    bool categoryKnown = true; // the category store knows cid
    QString logo;              // the stored logo, or the path of a picture just picked
    bool logoPicked = false;
    AttributeStrings attributes;
    bool attributesComplete = true;
    SpecialAttrForm special;
    QString shopCategorys;
};

struct BasisStoreOptions
{
    int stockMode = -1;
    QString pictureFolder; // the seller's picture folder
    QString salt;          // the seller's uid: picture names
    // The preview: the special attributes are not checked and no file is copied.
    bool preview = false;
};

struct BasisOutcome
{
    QStringList messages;     // in the order of the checks
    QList<BasisField> failed; // in the same order
    bool shopCategorysChanged = false;
    QString oldShopCategorys;
};

// Checks the form in the page's order (prices, weight and size; stock; title and category;
// main picture; attributes; special attributes), every check running, and when nothing failed
// writes the values into `record` (prices in hundredths rounded half up, texts trimmed, stock
// -1 for stock mode 1). A copied main picture goes to save->copiedFiles and the picture it
// replaces to save->releasedFiles; `save` may be null for the preview. On failure the
// record is left as it was. True when nothing failed.
bool CheckAndStoreBasis(const BasisForm& form, const BasisStoreOptions& options, entity::VumoDataEntity& record,
                        VumoEditSave* save, BasisOutcome& outcome);

// The special attributes alone: the checks of the fields the stock mode shows (messages
// appended), and writing those fields.
bool CheckSpecialAttrs(const SpecialAttrForm& form, int stockMode, QStringList& messages, QList<BasisField>& failed);
void StoreSpecialAttrs(const SpecialAttrForm& form, int stockMode, entity::VumoDataEntity& record);

} // namespace Quorvia::vumo::editor
