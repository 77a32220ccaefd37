#include "editor/VumoBasisRules.h"

#include "editor/PictureFiles.h"
#include "editor/VumoEditSave.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "sync/VumoImageFetch.h"
#include "utils/Money.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace Quorvia::vumo::editor {

namespace {

constexpr int kStatusTemplate = 2013;
constexpr int kStatusLocal = 2014;

const QString& RequiredSuffix()
{
    static const QString suffix = QStringLiteral("为必填项且必须大于0!");
    return suffix;
}

// A decimal text as a finite double; false for anything else.
bool ReadDouble(const QString& text, double& value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

bool ReadPositiveCents(const QString& text, qint64& cents)
{
    qint64 read = 0;
    if (!utils::ParseMoney(text, read) || read <= 0)
        return false;
    cents = read;
    return true;
}

bool ReadPositiveInt(const QString& text, qint64& value)
{
    bool ok = false;
    const qint64 read = text.trimmed().toLongLong(&ok);
    if (!ok || read <= 0)
        return false;
    value = read;
    return true;
}

} // namespace

bool MatchesRule(const char* rule, const QString& text)
{
    const QRegularExpression re(QString::fromLatin1(rule));
    return re.match(text).hasMatch();
}

QString CleanTitleText(const QString& text)
{
    static const QRegularExpression controls(QStringLiteral("[\\v\\f\\r\\t\\n]"));
    QString out = text;
    out.remove(controls);
    return out;
}

QString PriceText(qint64 cents)
{
    return cents >= 1 && cents <= kMaxShownPrice ? utils::FormatMoney(cents) : QString();
}

QString WeightText(double kilograms)
{
    return std::isfinite(kilograms) && kilograms > 0 ? QString::number(kilograms, 'f', 3) : QString();
}

QString SizeText(qint64 size)
{
    return size >= 1 && size <= kMaxSize ? QString::number(size) : QString();
}

QString ShopCategoryNames(const QString& shopCategorys)
{
    QString names = shopCategorys.section(QLatin1Char('|'), 1);
    if (names.isEmpty())
        names = shopCategorys.section(QLatin1Char('|'), 0, 0);
    return names.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QStringLiteral("; "));
}

double CalculateDiscount(qint64 yvPrice, qint64 marketPrice)
{
    if (yvPrice < 0 || marketPrice <= 0)
        return 0;
    // Whole-number arithmetic: 199/200 is exactly 99.5 and rounds up, whatever a double makes of it.
    const __int128 r = (__int128(yvPrice) * 200 + marketPrice) / (__int128(marketPrice) * 2);
    return r >= 1 && r <= 100 ? double(r) : 0;
}

QString DiscountText(qint64 yvCents, qint64 marketCents)
{
    const double discount = CalculateDiscount(yvCents, marketCents);
    return discount >= 1 ? QString::number(qint64(discount)) : QString();
}

QString TypedDiscountText(const QString& yvText, const QString& marketText)
{
    if (yvText.trimmed().isEmpty() || marketText.trimmed().isEmpty())
        return QString();
    double yv = 0;
    double market = 0;
    if (!ReadDouble(yvText, yv) || !ReadDouble(marketText, market) || std::fabs(yv) > 1e15 || std::fabs(market) > 1e15)
        return QString();
    const double discount = CalculateDiscount(qRound64(yv), qRound64(market));
    return discount > 0 ? QString::number(qint64(discount)) : QString();
}

StockField StockFieldFor(qint64 listingStock, const QList<entity::VumoSkuEntity*>& skus)
{
    QList<const entity::VumoSkuEntity*> live;
    for (const entity::VumoSkuEntity* sku : skus) {
        if (sku && sku->status() != 0)
            live.append(sku);
    }
    StockField field;
    if (live.isEmpty() || (live.size() == 1 && live.first()->attributes().isEmpty())) {
        field.editable = true;
        field.text = listingStock >= 0 ? QString::number(listingStock) : QString();
        return field;
    }
    qint64 sum = 0;
    for (const entity::VumoSkuEntity* sku : live) {
        if (!sku->attributes().isEmpty())
            sum += qMax<qint64>(0, sku->stock_num());
    }
    field.editable = false;
    field.text = QString::number(sum);
    return field;
}

TextCut CutTypedText(const QString& text, int cursor, int limit)
{
    TextCut cut{text, qBound(0, cursor, int(text.size())), false};
    const int excess = int(text.size()) - limit;
    if (limit < 0 || excess <= 0)
        return cut;
    int start = qMax(0, cut.cursor - excess);
    // Never split a character made of two UTF-16 units.
    if (start > 0 && start < cut.text.size() && cut.text.at(start).isLowSurrogate()
        && cut.text.at(start - 1).isHighSurrogate())
        --start;
    cut.text.remove(start, cut.cursor - start);
    // A cursor too near the start to hold all of the excess: the rest goes from the end.
    if (cut.text.size() > limit) {
        int keep = limit;
        if (keep > 0 && cut.text.at(keep - 1).isHighSurrogate())
            --keep;
        cut.text.truncate(keep);
    }
    cut.cursor = qMin(start, int(cut.text.size()));
    cut.changed = true;
    return cut;
}

bool IsAddress(const QString& logo)
{
    return logo.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || logo.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString LocalCopyOfAddress(const QString& logo, const QString& folder)
{
    if (!IsAddress(logo) || folder.isEmpty())
        return QString();
    const QString name = PictureNameFromUrl(FullSizePictureUrl(logo));
    if (name.isEmpty() || !QFileInfo(QDir(folder).filePath(name)).isFile())
        return QString();
    return name;
}

QString MainImageShowPath(const QString& logo, const QString& folder)
{
    if (logo.isEmpty())
        return QString();
    if (IsAddress(logo)) {
        const QString local = LocalCopyOfAddress(logo, folder);
        return local.isEmpty() ? logo : QDir(folder).filePath(local);
    }
    if (IsPictureFolderName(logo) && !folder.isEmpty())
        return QDir(folder).filePath(logo);
    return logo;
}

QList<QPair<QString, int>> BigSmallModelChoices()
{
    return {{QStringLiteral("免费"), 0},     {QStringLiteral("超大件"), 1},   {QStringLiteral("超大件半件"), 2},
            {QStringLiteral("大件"), 3},     {QStringLiteral("大件半件"), 4}, {QStringLiteral("中件"), 5},
            {QStringLiteral("中件半件"), 6}, {QStringLiteral("小件"), 7},     {QStringLiteral("超小件"), 8}};
}

QList<QPair<QString, int>> PackTypeChoices()
{
    return {{QStringLiteral("请选择"), 0},   {QStringLiteral("普通商品"), 1},   {QStringLiteral("易碎品"), 2},
            {QStringLiteral("裸瓶液体"), 3}, {QStringLiteral("带包装液体"), 4}, {QStringLiteral("按原包装出库"), 5}};
}

bool ShowsPayFirstAndWet(int stockMode)
{
    return stockMode != 0 && stockMode != 911;
}

bool ShowsLogisticsDetails(int stockMode)
{
    return stockMode == 1;
}

bool CheckSpecialAttrs(const SpecialAttrForm& form, int stockMode, QStringList& messages, QList<BasisField>& failed)
{
    if (!ShowsLogisticsDetails(stockMode))
        return true;
    bool ok = true;
    if (form.shelfLife) {
        const QString days = form.shelfLifeDays.trimmed();
        bool number = false;
        const qint64 value = days.toLongLong(&number);
        if (days.isEmpty()) {
            messages << QStringLiteral("保质期不能为空！");
            failed << BasisField::ShelfLifeDays;
            ok = false;
        } else if (!number || value < 1) {
            messages << QStringLiteral("保质期应大于0！");
            failed << BasisField::ShelfLifeDays;
            ok = false;
        }
    }
    if (form.packType == 0) {
        messages << QStringLiteral("未选择商品包装");
        failed << BasisField::PackType;
        ok = false;
    }
    return ok;
}

void StoreSpecialAttrs(const SpecialAttrForm& form, int stockMode, entity::VumoDataEntity& record)
{
    record.set_is_can_vat(form.canVat);
    if (!ShowsPayFirstAndWet(stockMode))
        return;
    record.set_is_pay_first(form.payFirst);
    record.set_is_special_wet(form.specialWet);
    if (!ShowsLogisticsDetails(stockMode))
        return;
    record.set_is_shelf_life(form.shelfLife);
    // Checked before: a ticked shelf life has days from 1 on.
    record.set_shelf_life_days(form.shelfLife ? int(qMin<qint64>(form.shelfLifeDays.trimmed().toLongLong(), 9999))
                                              : -1);
    record.set_is_imported(form.imported);
    record.set_is_health_product(form.healthProduct);
    record.set_is_appliances_card(form.appliancesCard);
    record.set_is_serial_no(form.serialNo);
    record.set_vumo_big_small_model(form.bigSmallModel);
    record.set_vumo_pack_type(form.packType);
}

bool CheckAndStoreBasis(const BasisForm& form, const BasisStoreOptions& options, entity::VumoDataEntity& record,
                        VumoEditSave* save, BasisOutcome& outcome)
{
    const int failedBefore = int(outcome.messages.size());
    auto fail = [&outcome](BasisField field, const QString& message) {
        outcome.messages << message;
        outcome.failed << field;
    };

    // 1. Prices, weight and size: the first failure of the group only.
    qint64 cost = 0;
    qint64 yv = 0;
    qint64 market = 0;
    double weight = 0;
    qint64 length = 0;
    qint64 wide = 0;
    qint64 high = 0;
    [&] {
        if (!form.costPrice.trimmed().isEmpty() && !ReadPositiveCents(form.costPrice, cost))
            return fail(BasisField::CostPrice, QStringLiteral("成本价") + RequiredSuffix());
        if (!ReadPositiveCents(form.yvPrice, yv))
            return fail(BasisField::YvPrice, QStringLiteral("Yv价") + RequiredSuffix());
        if (!ReadPositiveCents(form.marketPrice, market))
            return fail(BasisField::MarketPrice, QStringLiteral("市场价") + RequiredSuffix());
        if (yv > market)
            return fail(BasisField::YvPrice, QStringLiteral("商品Yv价不能大于市场价！"));
        if (!ReadDouble(form.weight, weight) || !(weight >= 0.001))
            return fail(BasisField::Weight, QStringLiteral("重量") + RequiredSuffix());
        if (!ReadPositiveInt(form.length, length))
            return fail(BasisField::Length, QStringLiteral("长") + RequiredSuffix());
        if (!ReadPositiveInt(form.wide, wide))
            return fail(BasisField::Wide, QStringLiteral("宽") + RequiredSuffix());
        if (!ReadPositiveInt(form.high, high))
            return fail(BasisField::High, QStringLiteral("高") + RequiredSuffix());
    }();

    // 2. Stock, unless the stock mode keeps none on the listing.
    qint64 stock = -1;
    if (options.stockMode != 1) {
        static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
        const QString text = form.stock.trimmed();
        bool ok = true;
        stock = text.isEmpty() ? 0 : text.toLongLong(&ok);
        if (!integer.match(text).hasMatch() && !text.isEmpty())
            fail(BasisField::Stock, QStringLiteral("库存必须为9位以内的数字!"));
        else if (text.startsWith(QLatin1Char('-')) && (!ok || stock < 0))
            fail(BasisField::Stock, QStringLiteral("库存不能小于0!"));
        else if (!ok || stock > kMaxStock)
            fail(BasisField::Stock, QStringLiteral("库存必须为9位以内的数字!"));
        if (stock < 0)
            stock = 0;
    }

    // 3. Title, then category.
    const QString title = CleanTitleText(form.title).trimmed();
    if (title.isEmpty())
        fail(BasisField::Title, QStringLiteral("商品名称") + QStringLiteral("不能为空！"));
    else if (form.cid <= 0 || !form.categoryKnown)
        fail(BasisField::Category, QStringLiteral("Yv分类") + QStringLiteral("不能为空！"));

    // 4. Main picture. An address is kept for a listing the marketplace has; a local-only
    // listing may use one only through its local copy in the picture folder.
    const bool localOnly = record.vumo_status() == kStatusTemplate || record.vumo_status() == kStatusLocal;
    QString logo = form.logo;
    bool needsCopy = false;
    if (logo.trimmed().isEmpty()) {
        fail(BasisField::MainImage, QStringLiteral("商品主图不能为空"));
    } else if (IsAddress(logo)) {
        const QString local = LocalCopyOfAddress(logo, options.pictureFolder);
        if (localOnly && local.isEmpty())
            fail(BasisField::MainImage, QStringLiteral("商品主图不能为网络图片"));
        else if (localOnly)
            logo = local;
    } else {
        // A picked file, or a stored path outside the folder: the record keeps a folder name.
        needsCopy = form.logoPicked || !IsPictureFolderName(logo);
    }

    // 6. Attributes.
    if (!form.attributesComplete)
        fail(BasisField::Attributes, QStringLiteral("商品属性不完整！"));

    // 7. Special attributes.
    if (!options.preview)
        CheckSpecialAttrs(form.special, options.stockMode, outcome.messages, outcome.failed);

    if (outcome.messages.size() != failedBefore)
        return false;

    // Copied only once everything else passed, so a refused form leaves no file behind.
    if (needsCopy && !options.preview) {
        bool copied = false;
        const QString name = CopyIntoPictureFolder(logo, options.pictureFolder, options.salt, &copied);
        if (name.isEmpty()) {
            fail(BasisField::MainImage, QStringLiteral("商品主图保存失败，请检查路径是否正确！"));
            return false;
        }
        if (save) {
            if (copied)
                save->copiedFiles << name;
            const QString previous = record.logo();
            if (previous != name && !IsAddress(previous) && IsPictureFolderName(previous)
                && QFileInfo(QDir(options.pictureFolder).filePath(previous)).isFile())
                save->releasedFiles << previous;
        }
        logo = name;
    }

    // 5. Values.
    record.set_cost_price(cost);
    record.set_yv_price(yv);
    record.set_market_price(market);
    record.set_weight(weight);
    record.set_length(length);
    record.set_wide(wide);
    record.set_high(high);
    record.set_stock_num(options.stockMode == 1 ? -1 : stock);
    record.set_title(title);
    record.set_ad_content(CleanTitleText(form.adContent).trimmed());
    record.set_item_num(form.itemNum.trimmed());
    record.set_upc_code(form.upc.trimmed());
    record.set_pack_listing(form.packListing.trimmed());
    record.set_service(form.service.trimmed());
    record.set_cid(form.cid);
    record.set_logo(logo);

    // 6. The store binds its values: input_strs is kept as typed.
    record.set_attributes(form.attributes.attributes);
    record.set_input_pids(form.attributes.inputPids);
    record.set_input_strs(form.attributes.inputStrs);
    record.set_brand_id(form.attributes.brandVid);

    // 7.
    StoreSpecialAttrs(form.special, options.stockMode, record);

    // 8. Shop categories.
    outcome.oldShopCategorys = record.shop_categorys();
    outcome.shopCategorysChanged = outcome.oldShopCategorys != form.shopCategorys;
    record.set_shop_categorys(form.shopCategorys);
    return true;
}

} // namespace Quorvia::vumo::editor
