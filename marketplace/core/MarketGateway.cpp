#include "MarketGateway.h"

#include "../seed/SeedCatalogue.h"
#include "MarketErrors.h"
#include "MarketJson.h"
#include "MarketStore.h"
#include "MarketText.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QImage>
#include <QImageReader>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace Quorvia::marketplace {

using namespace errors;
using text::FormatCents;
using text::ParseCents;

const QByteArray MarketGateway::kServerSecret = QByteArrayLiteral("{5A0C7E92-3D4B-4F16-A8E7-9B21C6D0F354}");

namespace {

const char* const kRequired[] = {"method", "app_key", "access_token", "timestamp", "v", "sign", "orvane_param_json"};

// Listing members the upload text sets one to one (texts as sent, after JSON unescaping).
const char* const kTextFields[] = {"ad_content", "property_alias", "service", "pack_listing", "wrap",      "producter",
                                   "item_num",   "upc_code",       "title",   "input_pids",   "input_strs"};
const char* const kFlagFields[] = {"is_can_vat",         "is_special_wet",    "is_pay_first", "is_imported",
                                   "is_appliances_card", "is_health_product", "is_serial_no", "is_shelf_life"};
const char* const kNumberFields[] = {"shelf_life_days", "vumo_big_small_model", "vumo_pack_type"};

QString Text(const QJsonObject& p, const char* name)
{
    return JsonText(p.value(QLatin1String(name)));
}

bool Has(const QJsonObject& p, const char* name)
{
    return p.contains(QLatin1String(name));
}

// A decimal number parameter; false when present but not a whole number.
bool IntParam(const QJsonObject& p, const char* name, qint64& out, bool required = true)
{
    if (!Has(p, name))
        return !required;
    bool ok = false;
    out = Text(p, name).trimmed().toLongLong(&ok);
    return ok;
}

// "0000000000" is how the plug-in writes the value id 0.
qint64 ValueId(const QString& text)
{
    return text.trimmed().toLongLong();
}

QString Money(const QJsonValue& v)
{
    qint64 cents = 0;
    return ParseCents(JsonText(v), cents) ? FormatCents(cents) : QStringLiteral("0.00");
}

qint64 Cents(const QJsonValue& v)
{
    qint64 cents = 0;
    return ParseCents(JsonText(v), cents) ? cents : 0;
}

QByteArray PictureFormat(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty() || !reader.canRead())
        return QByteArray();
    return format == "jpeg" ? QByteArrayLiteral("jpg") : format;
}

QByteArray ContentTypeOf(const QString& path)
{
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return "image/png";
    if (path.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return "image/gif";
    return "image/jpeg";
}

// The sale-attribute key with its pairs in a stable order: "2:20^1:10" == "1:10^2:20".
QString SkuKey(const QString& attributes)
{
    QStringList pairs = attributes.split(QRegularExpression(QStringLiteral("[\\^;|]")), Qt::SkipEmptyParts);
    for (QString& pair : pairs)
        pair = pair.trimmed();
    std::sort(pairs.begin(), pairs.end());
    return pairs.join(QLatin1Char('^'));
}

// The API form of the attribute text: entries joined by "^", free texts as "pid:0,text".
QString ApiAttributeText(const QString& attributes, const QString& inputPids, const QString& inputStrs)
{
    QStringList entries = attributes.split(QRegularExpression(QStringLiteral("[\\^|]")), Qt::SkipEmptyParts);
    const QStringList pids = inputPids.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    const QStringList texts = text::SplitFreeTexts(inputStrs);
    for (int i = 0; i < pids.size(); ++i)
        entries << pids.at(i).trimmed() + QStringLiteral(":0,") + texts.value(i);
    return entries.join(QLatin1Char('^'));
}

// The free-text entries ("aid:0,text") of an answer's "vumo_attribute", joined with "^".
//   "5001:60001^6001:0,张三,李四"  ->  "6001:0,张三,李四"
QString FreeTextEntries(const QString& apiText)
{
    static const QRegularExpression freeText(QStringLiteral("^\\s*\\d+:0,"));
    QStringList kept;
    for (const QString& entry : apiText.split(QLatin1Char('^'), Qt::SkipEmptyParts)) {
        if (freeText.match(entry).hasMatch())
            kept << entry;
    }
    return kept.join(QLatin1Char('^'));
}

int StatusCode(const QJsonObject& vumo)
{
    return text::StatusFromText(vumo.value("vumo_status").toString());
}

} // namespace

MarketGateway::MarketGateway(MarketStore& store)
    : m_store(store)
{
}

QByteArray MarketGateway::Sign(const ParamMap& params, const QByteArray& secret)
{
    QByteArray text = secret;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (it.key() != "sign")
            text += it.key() + it.value();
    }
    text += secret;
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex().toUpper();
}

QByteArray MarketGateway::ErrorBody(const QString& code, const QString& zhDesc)
{
    const QJsonObject error{{"code", code}, {"zh_desc", zhDesc}};
    return QJsonDocument(QJsonObject{{"error_response", error}}).toJson(QJsonDocument::Compact);
}

MarketGateway::Reply MarketGateway::Error(const char* code, const QString& text)
{
    Reply reply;
    reply.errorCode = QString::fromLatin1(code);
    reply.errorText = text;
    return reply;
}

MarketGateway::Reply MarketGateway::Busy()
{
    return Error(kBusy, QStringLiteral("服务繁忙，请稍后重试"));
}

const MarketListing* MarketGateway::LiveListing(qint64 id, Reply& refusal) const
{
    const MarketListing* listing = m_store.Listing(id);
    if (!listing)
        refusal = Error(kNoListing, QStringLiteral("商品不存在"));
    else if (listing->deleted())
        refusal = Error(kListingDeleted, QStringLiteral("商品已删除"));
    return listing && !listing->deleted() ? listing : nullptr;
}

MarketGateway::Reply MarketGateway::Ok(const QJsonObject& member)
{
    Reply reply;
    reply.member = member;
    return reply;
}

const MarketGateway::Method* MarketGateway::FindMethod(const QString& name)
{
    using P = const QJsonObject&;
    using R = const GatewayRequest&;
    static const Method kMethods[] = {
        {"orvane.vumos.search", "vumo_info_by_info_search_response",
         [](MarketGateway& g, P p, R) { return g.Search(p); }},
        {"orvane.vumo.get", "vumo_get_response", [](MarketGateway& g, P p, R) { return g.Get(p); }},
        {"orvane.vumo.add", "vumo_add_response", [](MarketGateway& g, P p, R) { return g.Add(p); }},
        {"orvane.vumo.update", "vumo_update_response", [](MarketGateway& g, P p, R) { return g.Update(p); }},
        {"orvane.vumo.delete", "vumo_delete_response", [](MarketGateway& g, P p, R) { return g.Delete(p); }},
        {"orvane.sku.stock.update", "sku_stock_update_response",
         [](MarketGateway& g, P p, R) { return g.SkuStock(p); }},
        {"orvane.sku.price.update", "sku_price_update_response",
         [](MarketGateway& g, P p, R) { return g.SkuPrice(p); }},
        {"orvane.vumo.sku.delete", "vumo_sku_delete_response", [](MarketGateway& g, P p, R) { return g.SkuDelete(p); }},
        {"kelvaris.imgzone.picture.upload", "kelvaris_imgzone_picture_upload_responce",
         [](MarketGateway& g, P p, R) { return g.PictureUpload(p); }},
        {"orvane.vumo.propimg.add", "vumo_propimg_add_response",
         [](MarketGateway& g, P p, R r) { return g.PropimgAdd(p, r); }},
        {"orvane.vumo.propimg.update", "vumo_propimg_update_response",
         [](MarketGateway& g, P p, R) { return g.PropimgUpdate(p); }},
        {"orvane.vumo.propimg.delete", "vumo_propimg_delete_response",
         [](MarketGateway& g, P p, R) { return g.PropimgDelete(p); }},
        {"orvane.vumo.propimgs.search", "vumo_propimgs_search_response",
         [](MarketGateway& g, P p, R) { return g.PropimgsSearch(p); }},
        {"orvane.vumocats.get", "vumo_category_search_response", [](MarketGateway& g, P p, R) { return g.CatsGet(p); }},
        {"orvane.vumo.get.attribute", "category_attribute_search_response",
         [](MarketGateway& g, P p, R) { return g.AttributeGet(p); }},
        {"orvane.vumo.get.attvalue", "category_attribute_value_response",
         [](MarketGateway& g, P p, R) { return g.AttvalueGet(p); }},
        {"orvane.vumo.groups.get", "category_groups_search_response",
         [](MarketGateway& g, P p, R) { return g.GroupsGet(p); }},
        {"orvane.sellercats.get", "sellercats_get_response",
         [](MarketGateway& g, P p, R) { return g.SellerCatsGet(p); }},
        {"quorvia.incr.category.get", "", [](MarketGateway& g, P p, R) { return g.CategoryPackage(p); }},
        {"quorvia.good.synchro", "quorvia.good.synchro_response",
         [](MarketGateway& g, P p, R) { return g.GoodSynchro(p); }},
        {"quorvia.log.statistics", "quorvia_log_statistics_response",
         [](MarketGateway& g, P p, R r) { return g.LogStatistics(p, r.params); }},
    };
    for (const Method& method : kMethods) {
        if (name == QLatin1String(method.name))
            return &method;
    }
    return nullptr;
}

bool MarketGateway::IsKnownMethod(const QString& method)
{
    return FindMethod(method) != nullptr;
}

GatewayAnswer MarketGateway::Handle(const GatewayRequest& request)
{
    GatewayAnswer answer;
    const ParamMap& params = request.params;
    answer.method = QString::fromUtf8(params.value("method"));
    auto fail = [&answer](const char* code, const QString& text) {
        answer.errorCode = QString::fromLatin1(code);
        answer.body = ErrorBody(answer.errorCode, text);
        return answer;
    };

    for (const char* name : kRequired) {
        if (params.value(name).isEmpty() && !(qstrcmp(name, "orvane_param_json") == 0 && params.contains(name)))
            return fail(kMissingParam, QStringLiteral("缺少必选参数：%1").arg(QLatin1String(name)));
    }
    const SeedSeller& seller = m_store.Seller();
    if (seller.appKey.isEmpty() || params.value("app_key") != seller.appKey)
        return fail(kBadAppKey, QStringLiteral("无效的app_key"));
    if (params.value("access_token") != seller.accessToken)
        return fail(kBadToken, QStringLiteral("无效的access_token"));
    const bool serverCall = answer.method == QLatin1String("quorvia.log.statistics");
    const QByteArray secret = serverCall ? kServerSecret : seller.appSecret;
    if (params.value("sign").toUpper() != Sign(params, secret))
        return fail(kBadSign, QStringLiteral("签名无效"));
    const Method* row = FindMethod(answer.method);
    if (!row)
        return fail(kUnknownMethod, QStringLiteral("不存在的方法名：%1").arg(answer.method));

    QJsonParseError parseError;
    const QByteArray json = params.value("orvane_param_json").trimmed();
    const QJsonDocument doc = QJsonDocument::fromJson(json.isEmpty() ? QByteArrayLiteral("{}") : json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return fail(kBadParamJson, QStringLiteral("业务参数不是有效的JSON"));
    const QJsonObject p = doc.object();

    const Reply reply = row->answer(*this, p, request);

    if (!reply.errorCode.isEmpty()) {
        answer.errorCode = reply.errorCode;
        answer.body = ErrorBody(reply.errorCode, reply.errorText);
    } else if (!reply.raw.isNull()) {
        answer.body = reply.raw;
        answer.contentType = "text/plain;charset=UTF-8";
    } else {
        answer.body =
            QJsonDocument(QJsonObject{{QLatin1String(row->member), reply.member}}).toJson(QJsonDocument::Compact);
    }
    return answer;
}

// ---- listings -------------------------------------------------------------------------------

MarketGateway::Reply MarketGateway::Search(const QJsonObject& p)
{
    qint64 page = 1, pageSize = 40, startPrice = 0, endPrice = 0, cid = 0, status = 0;
    if (!IntParam(p, "page", page, false) || !IntParam(p, "page_size", pageSize, false) || page < 1 || pageSize < 1
        || pageSize > 100)
        return Error(kBadParam, QStringLiteral("业务参数错误：page/page_size"));
    if (!IntParam(p, "start_price", startPrice, false) || !IntParam(p, "end_price", endPrice, false)
        || !IntParam(p, "cid", cid, false) || !IntParam(p, "vumo_status", status, false))
        return Error(kBadParam, QStringLiteral("业务参数错误：查询条件"));
    const QString title = Text(p, "title");
    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    const QDateTime start = QDateTime::fromString(Text(p, "start_time"), format);
    const QDateTime end = QDateTime::fromString(Text(p, "end_time"), format);

    QList<const MarketListing*> matches;
    for (const MarketListing& listing : m_store.Listings()) {
        const QJsonObject& v = listing.vumo;
        const qint64 price = Cents(v.value("yv_price"));
        if (startPrice > 0 && price < startPrice * 100)
            continue;
        if (endPrice > 0 && price > endPrice * 100)
            continue;
        if (!title.isEmpty() && !v.value("title").toString().contains(title, Qt::CaseInsensitive))
            continue;
        if (cid > 0 && JsonInt(v.value("cid")) != cid)
            continue;
        if (status > 0 && StatusCode(v) != status)
            continue;
        const QDateTime modified = QDateTime::fromString(v.value("modified").toString(), format);
        if (modified.isValid() && ((start.isValid() && modified < start) || (end.isValid() && modified > end)))
            continue;
        matches.append(&listing);
    }
    QJsonArray items;
    const qint64 from = (page - 1) * pageSize;
    for (qint64 i = from; i < matches.size() && i < from + pageSize; ++i) {
        const MarketListing* listing = matches.at(int(i));
        items.append(QJsonObject{{"vumo_id", QString::number(listing->id())},
                                 {"status", listing->deleted() ? QStringLiteral("DELETE") : QStringLiteral("VALID")}});
    }
    return Ok(QJsonObject{{"total", matches.size()}, {"vumo_infos", items}});
}

QJsonObject MarketGateway::OnThisHost(QJsonObject vumo) const
{
    const QString placeholder = QString::fromLatin1(kImageHostPlaceholder);
    QString desc = vumo.value("desc").toString();
    if (desc.contains(placeholder))
        vumo.insert("desc", desc.replace(placeholder, m_baseUrl));
    QString logo = vumo.value("logo").toString();
    if (logo.startsWith(placeholder))
        vumo.insert("logo", logo.replace(0, placeholder.size(), m_baseUrl));
    else if (logo.startsWith(QLatin1String("/imgzone/")))
        vumo.insert("logo", PictureUrl(logo));
    return vumo;
}

QJsonObject MarketGateway::ListingAnswer(const MarketListing& listing, const QStringList& fields) const
{
    QJsonObject vumo = OnThisHost(listing.vumo);
    QJsonArray skus;
    for (const QJsonObject& sku : listing.skus)
        skus.append(sku);
    vumo.insert("skus", skus);
    if (fields.isEmpty())
        return vumo;
    QJsonObject picked;
    for (const QString& field : fields) {
        const QString name = field.trimmed();
        if (vumo.contains(name))
            picked.insert(name, vumo.value(name));
    }
    return picked;
}

MarketGateway::Reply MarketGateway::Get(const QJsonObject& p)
{
    qint64 id = 0;
    if (!IntParam(p, "vumo_id", id))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id"));
    Reply refusal;
    const MarketListing* listing = LiveListing(id, refusal);
    if (!listing)
        return refusal;
    const QStringList fields = Text(p, "fields").split(QLatin1Char(','), Qt::SkipEmptyParts);
    return Ok(QJsonObject{{"vumo", ListingAnswer(*listing, fields)}});
}

struct MarketGateway::UploadSkus
{
    bool sent = false; // any of the lists came
    QStringList prices, properties, stocks, outerIds;
};

namespace {

// The listing's own members, derived ones included, from an already checked upload.
void WriteUploadMembers(const QJsonObject& p, QJsonObject& v, bool isNew)
{
    for (const char* name : kTextFields) {
        if (Has(p, name))
            v.insert(QLatin1String(name), Text(p, name));
    }
    if (Has(p, "notes"))
        v.insert("desc", Text(p, "notes"));
    if (Has(p, "shop_category"))
        v.insert("shop_categorys", Text(p, "shop_category"));
    if (Has(p, "attributes"))
        v.insert("attributes", Text(p, "attributes"));
    if (Has(p, "weight"))
        v.insert("weight", Text(p, "weight"));
    for (const char* name : kFlagFields) {
        if (Has(p, name))
            v.insert(QLatin1String(name), Text(p, name).trimmed() == QLatin1String("true"));
    }
    for (const char* name : kNumberFields) {
        if (Has(p, name))
            v.insert(QLatin1String(name), int(Text(p, name).trimmed().toInt()));
    }
    if (Has(p, "stock_num"))
        v.insert("stock_num", Text(p, "stock_num").trimmed().toLongLong());
    // Derived members follow only the members this call sent: a partial update leaves the rest
    // exactly as stored, free-text attributes of a listing made elsewhere included.
    if (isNew || Has(p, "length") || Has(p, "wide") || Has(p, "high")) {
        QStringList cubage = v.value("cubage").toString().split(QLatin1Char(':'));
        while (cubage.size() < 3)
            cubage << QStringLiteral("0");
        if (Has(p, "length"))
            cubage[0] = Text(p, "length").trimmed();
        if (Has(p, "wide"))
            cubage[1] = Text(p, "wide").trimmed();
        if (Has(p, "high"))
            cubage[2] = Text(p, "high").trimmed();
        v.insert("cubage", cubage.mid(0, 3).join(QLatin1Char(':')));
    }
}

// "option_type": put on sale, take off sale, or a new listing that was never up.
void ApplySaleOption(const QJsonObject& p, QJsonObject& v, bool isNew, const QString& now)
{
    const QString option = Text(p, "option_type");
    if (option == QLatin1String("onsale")) {
        v.insert("vumo_status", QStringLiteral("ON_SALE"));
        v.insert("online_time", now);
    } else if (option == QLatin1String("offsale")) {
        v.insert("vumo_status", isNew ? QStringLiteral("NEVER_UP") : QStringLiteral("CUSTORMER_DOWN"));
        if (!isNew)
            v.insert("offline_time", now);
    } else if (isNew) {
        v.insert("vumo_status", QStringLiteral("NEVER_UP"));
    }
}

} // namespace

MarketGateway::Reply MarketGateway::ApplyUpload(const QJsonObject& p, MarketListing& listing, bool isNew)
{
    QJsonObject& v = listing.vumo;
    const QString now = MarketNow();

    Reply refusal = CheckUploadMembers(p, v, isNew);
    if (!refusal.errorCode.isEmpty())
        return refusal;
    UploadSkus skus;
    refusal = CheckUploadSkus(p, listing.id(), skus);
    if (!refusal.errorCode.isEmpty())
        return refusal;
    QByteArray mainPicture;
    if (Has(p, "vumo_image")) {
        mainPicture = QByteArray::fromBase64(Text(p, "vumo_image").toLatin1());
        if (PictureFormat(mainPicture).isEmpty())
            return Error(kBadPicture, QStringLiteral("图片数据无效"));
    }

    // Everything checked: write.
    WriteUploadMembers(p, v, isNew);
    WriteAttributeMembers(p, v, isNew);
    ApplySaleOption(p, v, isNew, now);
    WriteUploadSkus(p, listing, skus, isNew, now);
    if (!mainPicture.isEmpty()) {
        const Reply stored = AddMainPicture(mainPicture, listing);
        if (!stored.errorCode.isEmpty())
            return stored;
    }
    if (isNew)
        v.insert("created", now);
    v.insert("modified", now);
    return Ok(QJsonObject());
}

MarketGateway::Reply MarketGateway::CheckUploadMembers(const QJsonObject& p, QJsonObject& v, bool isNew)
{
    if (Has(p, "title") && Text(p, "title").trimmed().isEmpty())
        return Error(kBadParam, QStringLiteral("业务参数错误：商品名称不能为空"));
    if (Has(p, "cid") || isNew) {
        qint64 cid = 0;
        if (!IntParam(p, "cid", cid) || !m_store.IsLeafCategory(cid))
            return Error(kBadCategory, QStringLiteral("类目不存在或不是叶子类目"));
        v.insert("cid", QString::number(cid));
    }
    for (const char* name : {"cost_price", "market_price", "yv_price"}) {
        if (!Has(p, name))
            continue;
        qint64 cents = 0;
        if (!ParseCents(Text(p, name), cents) || cents < 0)
            return Error(kBadParam, QStringLiteral("业务参数错误：%1").arg(QLatin1String(name)));
        v.insert(QLatin1String(name), FormatCents(cents));
    }
    for (const char* name : {"stock_num", "length", "wide", "high"}) {
        qint64 n = 0;
        if (!IntParam(p, name, n, false) || n < 0)
            return Error(kBadParam, QStringLiteral("业务参数错误：%1").arg(QLatin1String(name)));
    }
    return Reply();
}

MarketGateway::Reply MarketGateway::CheckUploadSkus(const QJsonObject& p, qint64 id, UploadSkus& skus)
{
    // SKU lists: four lists of the same length.
    skus.sent = Has(p, "sku_prices") || Has(p, "sku_properties") || Has(p, "sku_stocks");
    if (skus.sent) {
        skus.prices = Text(p, "sku_prices").split(QLatin1Char('|'));
        skus.properties = Text(p, "sku_properties").split(QLatin1Char('|'));
        skus.stocks = Text(p, "sku_stocks").split(QLatin1Char('|'));
        skus.outerIds = Has(p, "outer_id") ? Text(p, "outer_id").split(QLatin1Char('|')) : QStringList();
        while (skus.outerIds.size() < skus.prices.size())
            skus.outerIds << QString();
        if (skus.properties.size() != skus.prices.size() || skus.stocks.size() != skus.prices.size()
            || skus.outerIds.size() != skus.prices.size())
            return Error(kBadParam, QStringLiteral("业务参数错误：SKU列表长度不一致"));
        QSet<QString> seen;
        for (int i = 0; i < skus.prices.size(); ++i) {
            qint64 cents = 0, stock = 0;
            bool stockOk = false;
            stock = skus.stocks.at(i).trimmed().toLongLong(&stockOk);
            if (!ParseCents(skus.prices.at(i), cents) || cents < 0 || !stockOk || stock < 0)
                return Error(kBadParam, QStringLiteral("业务参数错误：第%1个SKU的价格或库存").arg(i + 1));
            const QString outer = skus.outerIds.at(i).trimmed();
            if (outer.isEmpty())
                continue;
            if (seen.contains(outer))
                return Error(kBadParam, QStringLiteral("业务参数错误：外部编号重复：%1").arg(outer));
            seen.insert(outer);
            const qint64 owner = m_store.ListingOfOuterId(outer);
            if (owner != 0 && owner != id)
                return Error(kOuterIdUsed, QStringLiteral("外部编号已被其他商品使用：%1").arg(outer));
        }
    } else if (Has(p, "outer_id")) {
        const QString outer = Text(p, "outer_id").trimmed();
        const qint64 owner = m_store.ListingOfOuterId(outer);
        if (owner != 0 && owner != id)
            return Error(kOuterIdUsed, QStringLiteral("外部编号已被其他商品使用：%1").arg(outer));
    }
    return Reply();
}

void MarketGateway::WriteAttributeMembers(const QJsonObject& p, QJsonObject& v, bool isNew)
{
    const bool newTexts = Has(p, "input_pids") || Has(p, "input_strs");
    if (isNew || newTexts || Has(p, "attributes")) {
        QString text = ApiAttributeText(v.value("attributes").toString(), QString(), QString());
        const QString texts = newTexts || isNew
            ? ApiAttributeText(QString(), v.value("input_pids").toString(), v.value("input_strs").toString())
            : FreeTextEntries(v.value("vumo_attribute").toString());
        if (!texts.isEmpty())
            text += (text.isEmpty() ? QString() : QStringLiteral("^")) + texts;
        v.insert("vumo_attribute", text);
    }

    // The brand is the value of the category's attribute named "品牌".
    const MarketCategory category = isNew || Has(p, "cid") || Has(p, "attributes")
        ? m_store.Categories().value(JsonInt(v.value("cid")))
        : MarketCategory();
    for (const QJsonValue& a : category.attributes) {
        if (a.toObject().value("name").toString() != QStringLiteral("品牌"))
            continue;
        const QString aid = JsonText(a.toObject().value("aid"));
        const QStringList entries =
            v.value("attributes").toString().split(QRegularExpression(QStringLiteral("[\\^|;]")), Qt::SkipEmptyParts);
        for (const QString& entry : entries) {
            if (entry.section(QLatin1Char(':'), 0, 0).trimmed() == aid)
                v.insert("brand_id",
                         entry.section(QLatin1Char(':'), 1, 1).section(QLatin1Char(','), 0, 0).toLongLong());
        }
    }
}

void MarketGateway::WriteUploadSkus(const QJsonObject& p, MarketListing& listing, const UploadSkus& skus, bool isNew,
                                    const QString& now)
{
    const QJsonObject& v = listing.vumo;
    if (skus.sent) {
        for (int i = 0; i < skus.prices.size(); ++i) {
            qint64 cents = 0;
            ParseCents(skus.prices.at(i), cents);
            const QString key = SkuKey(skus.properties.at(i));
            QJsonObject* target = nullptr;
            for (QJsonObject& sku : listing.skus) {
                if (SkuKey(sku.value("attributes").toString()) == key)
                    target = &sku;
            }
            if (!target) {
                listing.skus.append(QJsonObject{{"sku_id", QString::number(m_store.NextSkuId())},
                                                {"vumo_id", QString::number(listing.id())},
                                                {"attributes", skus.properties.at(i).trimmed()},
                                                {"status", QStringLiteral("Valid")},
                                                {"created", now},
                                                {"cost_price", v.value("cost_price").toString()},
                                                {"market_price", v.value("market_price").toString()}});
                target = &listing.skus.last();
            }
            target->insert("yv_price", FormatCents(cents));
            target->insert("stock_num", skus.stocks.at(i).trimmed().toLongLong());
            target->insert("outer_id", skus.outerIds.at(i).trimmed());
            target->insert("modified", now);
        }
    } else if (listing.skus.isEmpty()) {
        // A listing without sale attributes still has its one default SKU.
        listing.skus.append(QJsonObject{{"sku_id", QString::number(m_store.NextSkuId())},
                                        {"vumo_id", QString::number(listing.id())},
                                        {"attributes", QString()},
                                        {"status", QStringLiteral("Valid")},
                                        {"created", now}});
    }
    const bool listingSkuSent = isNew || Has(p, "yv_price") || Has(p, "cost_price") || Has(p, "market_price")
        || Has(p, "stock_num") || Has(p, "outer_id");
    if (!skus.sent && listingSkuSent && listing.skus.size() == 1
        && listing.skus.first().value("attributes").toString().isEmpty()) {
        QJsonObject& sku = listing.skus.first();
        sku.insert("yv_price", v.value("yv_price").toString(QStringLiteral("0.00")));
        sku.insert("cost_price", v.value("cost_price").toString(QStringLiteral("0.00")));
        sku.insert("market_price", v.value("market_price").toString(QStringLiteral("0.00")));
        sku.insert("stock_num", JsonInt(v.value("stock_num")));
        if (Has(p, "outer_id"))
            sku.insert("outer_id", Text(p, "outer_id").trimmed());
        sku.insert("modified", now);
    }
    if (Has(p, "outer_id") && !skus.sent)
        listing.vumo.insert("outer_id", Text(p, "outer_id").trimmed());
    if (skus.sent) {
        qint64 stock = 0;
        for (const QJsonObject& sku : listing.skus)
            stock += JsonInt(sku.value("stock_num"));
        listing.vumo.insert("stock_num", stock);
    }
}

MarketGateway::Reply MarketGateway::AddMainPicture(const QByteArray& picture, MarketListing& listing)
{
    QString path;
    const Reply stored = StorePicture(picture, &path);
    if (!stored.errorCode.isEmpty())
        return stored;
    for (MarketImage& image : listing.images) {
        if (image.valueId == 0)
            image.isMain = false;
    }
    MarketImage image;
    image.imageId = m_store.NextImageId();
    image.path = path;
    image.isMain = true;
    image.index = 0;
    for (MarketImage& other : listing.images) {
        if (other.valueId == 0)
            ++other.index;
    }
    listing.images.prepend(image);
    listing.vumo.insert("logo", PictureUrl(path));
    return Reply();
}

namespace {

QJsonObject UploadAnswer(const MarketListing& listing)
{
    QJsonArray skus;
    for (const QJsonObject& sku : listing.skus) {
        skus.append(QJsonObject{{"sku_id", sku.value("sku_id")},
                                {"attribute", sku.value("attributes")},
                                {"created", sku.value("created")},
                                {"modified", sku.value("modified")}});
    }
    return QJsonObject{{"vumo_id", QString::number(listing.id())},
                       {"created", listing.vumo.value("created")},
                       {"modified", listing.vumo.value("modified")},
                       {"skus", skus}};
}

} // namespace

MarketGateway::Reply MarketGateway::Add(const QJsonObject& p)
{
    if (!Has(p, "title"))
        return Error(kBadParam, QStringLiteral("业务参数错误：商品名称不能为空"));
    MarketListing listing;
    const SeedSeller& seller = m_store.Seller();
    // A number that a refused upload used is not given out again; that does no harm.
    const qint64 id = m_store.NextListingId();
    listing.vumo = QJsonObject{{"vumo_id", QString::number(id)},
                               {"spu_id", QString::number(id)},
                               {"vender_id", QString::number(seller.venderId)},
                               {"shop_id", QString::number(seller.shopId)},
                               {"brand_id", 0},
                               {"transport_id", 0},
                               {"status", QStringLiteral("VALID")},
                               {"creator", seller.uid},
                               {"cost_price", QStringLiteral("0.00")},
                               {"market_price", QStringLiteral("0.00")},
                               {"yv_price", QStringLiteral("0.00")},
                               {"stock_num", 0},
                               {"online_time", QString()},
                               {"offline_time", QString()},
                               {"desc", QString()},
                               {"logo", QString()},
                               {"outer_id", QString()},
                               {"shop_categorys", QString()},
                               {"weight", QStringLiteral("0")}};
    const Reply reply = ApplyUpload(p, listing, true);
    if (!reply.errorCode.isEmpty())
        return reply;
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(UploadAnswer(listing));
}

MarketGateway::Reply MarketGateway::Update(const QJsonObject& p)
{
    qint64 id = 0;
    if (!IntParam(p, "vumo_id", id))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    MarketListing listing = *found; // changed only when every check passed
    const Reply reply = ApplyUpload(p, listing, false);
    if (!reply.errorCode.isEmpty())
        return reply;
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(UploadAnswer(listing));
}

MarketGateway::Reply MarketGateway::Delete(const QJsonObject& p)
{
    qint64 id = 0;
    if (!IntParam(p, "vumo_id", id))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    MarketListing listing = *found;
    listing.vumo.insert("status", QStringLiteral("DELETE"));
    listing.vumo.insert("modified", MarketNow());
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"vumo_id", QString::number(id)}, {"modified", listing.vumo.value("modified")}});
}

namespace {

// The SKU inside its listing, or null.
QJsonObject* FindSku(MarketListing& listing, qint64 skuId)
{
    for (QJsonObject& sku : listing.skus) {
        if (JsonInt(sku.value("sku_id")) == skuId)
            return &sku;
    }
    return nullptr;
}

} // namespace

MarketGateway::Reply MarketGateway::SkuStock(const QJsonObject& p)
{
    qint64 skuId = 0, quantity = 0;
    if (!IntParam(p, "sku_id", skuId) || !IntParam(p, "quantity", quantity) || quantity < 0)
        return Error(kBadParam, QStringLiteral("业务参数错误：sku_id/quantity"));
    const MarketListing* found = m_store.Listing(m_store.ListingOfSku(skuId));
    if (!found || found->deleted())
        return Error(kNoSku, QStringLiteral("SKU不存在或已删除"));
    MarketListing listing = *found;
    QJsonObject* sku = FindSku(listing, skuId);
    const QString now = MarketNow();
    sku->insert("stock_num", quantity);
    sku->insert("modified", now);
    qint64 stock = 0;
    for (const QJsonObject& s : listing.skus)
        stock += JsonInt(s.value("stock_num"));
    listing.vumo.insert("stock_num", stock);
    listing.vumo.insert("modified", now);
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"sku_id", QString::number(skuId)}, {"modified", now}});
}

MarketGateway::Reply MarketGateway::SkuPrice(const QJsonObject& p)
{
    qint64 skuId = 0, price = 0, market = 0;
    if (!IntParam(p, "sku_id", skuId) || !ParseCents(Text(p, "price"), price) || price < 0
        || (Has(p, "market_price") && (!ParseCents(Text(p, "market_price"), market) || market < 0)))
        return Error(kBadParam, QStringLiteral("业务参数错误：sku_id/price"));
    const MarketListing* found = m_store.Listing(m_store.ListingOfSku(skuId));
    if (!found || found->deleted())
        return Error(kNoSku, QStringLiteral("SKU不存在或已删除"));
    MarketListing listing = *found;
    QJsonObject* sku = FindSku(listing, skuId);
    const QString now = MarketNow();
    sku->insert("yv_price", FormatCents(price));
    if (Has(p, "market_price"))
        sku->insert("market_price", FormatCents(market));
    sku->insert("modified", now);
    listing.vumo.insert("modified", now);
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"sku_id", QString::number(skuId)}, {"modified", now}});
}

MarketGateway::Reply MarketGateway::SkuDelete(const QJsonObject& p)
{
    qint64 skuId = 0;
    if (!IntParam(p, "sku_id", skuId))
        return Error(kBadParam, QStringLiteral("业务参数错误：sku_id"));
    const MarketListing* found = m_store.Listing(m_store.ListingOfSku(skuId));
    if (!found || found->deleted())
        return Error(kNoSku, QStringLiteral("SKU不存在或已删除"));
    MarketListing listing = *found;
    for (int i = 0; i < listing.skus.size(); ++i) {
        if (JsonInt(listing.skus.at(i).value("sku_id")) == skuId)
            listing.skus.remove(i--);
    }
    qint64 stock = 0;
    for (const QJsonObject& s : listing.skus)
        stock += JsonInt(s.value("stock_num"));
    listing.vumo.insert("stock_num", stock);
    listing.vumo.insert("modified", MarketNow());
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"sku_id", QString::number(skuId)}, {"modified", listing.vumo.value("modified")}});
}

// ---- pictures -------------------------------------------------------------------------------

MarketGateway::Reply MarketGateway::StorePicture(const QByteArray& bytes, QString* path)
{
    const QByteArray format = PictureFormat(bytes);
    if (format.isEmpty())
        return Error(kBadPicture, QStringLiteral("图片数据无效"));
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
    *path = QStringLiteral("/imgzone/n0/jfs/t1/%1.%2").arg(hash, QString::fromLatin1(format));
    if (!m_store.Picture(*path, nullptr) && !m_store.SavePicture(*path, bytes))
        return Busy();
    return Ok(QJsonObject());
}

QString MarketGateway::PictureUrl(const QString& path, const char* variant) const
{
    QString p = path;
    p.replace(QRegularExpression(QStringLiteral("^/imgzone/n[0-9]/")),
              QStringLiteral("/imgzone/%1/").arg(QLatin1String(variant)));
    return m_baseUrl + p;
}

MarketGateway::Reply MarketGateway::PictureUpload(const QJsonObject& p)
{
    const QByteArray bytes = QByteArray::fromBase64(Text(p, "image_data").toLatin1());
    QString path;
    const Reply stored = StorePicture(bytes, &path);
    if (!stored.errorCode.isEmpty())
        return stored;
    // Relative to the image host's "/imgzone/".
    return Ok(QJsonObject{{"code", 0}, {"picture_url", path.mid(int(qstrlen("/imgzone/")))}});
}

MarketGateway::Reply MarketGateway::PropimgAdd(const QJsonObject& p, const GatewayRequest& request)
{
    qint64 id = 0;
    if (!IntParam(p, "vumo_id", id) || !Has(p, "attribute_value_id"))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id/attribute_value_id"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    const QByteArray bytes = request.multipart ? request.file
                                               : QByteArray::fromBase64(Text(p, "image_data").toLatin1());
    QString path;
    const Reply stored = StorePicture(bytes, &path);
    if (!stored.errorCode.isEmpty())
        return stored;
    MarketListing listing = *found;
    MarketImage image;
    image.imageId = m_store.NextImageId();
    image.valueId = ValueId(Text(p, "attribute_value_id"));
    image.path = path;
    image.isMain = Text(p, "is_main_pic").trimmed() == QLatin1String("true");
    bool setHasMain = false;
    for (MarketImage& other : listing.images) {
        if (other.valueId != image.valueId)
            continue;
        image.index = qMax(image.index, other.index + 1);
        if (image.isMain)
            other.isMain = false;
        setHasMain = setHasMain || other.isMain;
    }
    if (!setHasMain)
        image.isMain = true; // a set always has its main picture
    listing.images.append(image);
    if (image.valueId == 0 && image.isMain)
        listing.vumo.insert("logo", PictureUrl(path));
    listing.vumo.insert("modified", MarketNow());
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"vumo_id", QString::number(id)},
                          {"image_id", QString::number(image.imageId)},
                          {"img_id", QString::number(image.imageId)},
                          {"attribute_value_id", QString::number(image.valueId)},
                          {"img_url", PictureUrl(path)},
                          {"is_main_pic", image.isMain},
                          {"modified", listing.vumo.value("modified")}});
}

MarketGateway::Reply MarketGateway::PropimgUpdate(const QJsonObject& p)
{
    qint64 id = 0, imageId = 0;
    if (!IntParam(p, "vumo_id", id) || !IntParam(p, "image_id", imageId))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id/image_id"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    MarketListing listing = *found;
    MarketImage* target = nullptr;
    for (MarketImage& image : listing.images) {
        if (image.imageId == imageId)
            target = &image;
    }
    if (!target)
        return Error(kNoPicture, QStringLiteral("图片不存在"));
    if (Has(p, "attribute_value_id"))
        target->valueId = ValueId(Text(p, "attribute_value_id"));
    const bool main = Text(p, "is_main_pic").trimmed() == QLatin1String("true");
    if (main) {
        for (MarketImage& other : listing.images) {
            if (other.valueId == target->valueId)
                other.isMain = other.imageId == imageId;
        }
        if (target->valueId == 0)
            listing.vumo.insert("logo", PictureUrl(target->path));
    }
    listing.vumo.insert("modified", MarketNow());
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"image_id", QString::number(imageId)}, {"modified", listing.vumo.value("modified")}});
}

MarketGateway::Reply MarketGateway::PropimgDelete(const QJsonObject& p)
{
    qint64 id = 0, imageId = 0;
    if (!IntParam(p, "vumo_id", id) || !IntParam(p, "image_id", imageId))
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id/image_id"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    MarketListing listing = *found;
    int at = -1;
    for (int i = 0; i < listing.images.size(); ++i) {
        if (listing.images.at(i).imageId == imageId)
            at = i;
    }
    if (at < 0)
        return Error(kNoPicture, QStringLiteral("图片不存在"));
    const MarketImage gone = listing.images.takeAt(at);
    if (gone.isMain) {
        // The first remaining picture of the set takes over.
        for (MarketImage& other : listing.images) {
            if (other.valueId == gone.valueId) {
                other.isMain = true;
                if (gone.valueId == 0)
                    listing.vumo.insert("logo", PictureUrl(other.path));
                break;
            }
        }
    }
    listing.vumo.insert("modified", MarketNow());
    if (!m_store.SaveListing(listing))
        return Busy();
    return Ok(QJsonObject{{"image_id", QString::number(imageId)}, {"modified", listing.vumo.value("modified")}});
}

MarketGateway::Reply MarketGateway::PropimgsSearch(const QJsonObject& p)
{
    qint64 id = 0, page = 1, pageSize = 20;
    if (!IntParam(p, "vumo_id", id) || !IntParam(p, "page", page, false) || !IntParam(p, "page_size", pageSize, false)
        || page < 1 || pageSize < 1)
        return Error(kBadParam, QStringLiteral("业务参数错误：vumo_id/page/page_size"));
    Reply refusal;
    const MarketListing* found = LiveListing(id, refusal);
    if (!found)
        return refusal;
    QVector<MarketImage> images = found->images;
    std::stable_sort(images.begin(), images.end(), [](const MarketImage& a, const MarketImage& b) {
        return a.valueId != b.valueId ? a.valueId < b.valueId : a.index < b.index;
    });
    QJsonArray items;
    const qint64 from = (page - 1) * pageSize;
    for (qint64 i = from; i < images.size() && i < from + pageSize; ++i) {
        const MarketImage& image = images.at(int(i));
        items.append(QJsonObject{{"img_id", QString::number(image.imageId)},
                                 {"name", image.path.section(QLatin1Char('/'), -1)},
                                 {"img_url", PictureUrl(image.path, "n2")},
                                 {"is_main", image.isMain ? QStringLiteral("是") : QStringLiteral("否")},
                                 {"is_online_mainPic", image.isMain ? 1 : 0},
                                 {"index_id", image.index},
                                 {"color_id", QString::number(image.valueId)}});
    }
    return Ok(QJsonObject{{"total", images.size()}, {"propimgs", items}});
}

bool MarketGateway::PictureFor(const QString& path, QByteArray* bytes, QByteArray* contentType) const
{
    static const QRegularExpression variantPath(QStringLiteral("^/imgzone/(n[0-9])/(.+)$"));
    const QRegularExpressionMatch match = variantPath.match(path);
    if (!match.hasMatch() || path.contains(QLatin1String("..")))
        return false;
    const QString variant = match.captured(1);
    int size = 0;
    if (variant == QLatin1String("n2"))
        size = 350;
    else if (variant == QLatin1String("n5"))
        size = 160;
    else if (variant != QLatin1String("n0"))
        return false;
    const QString full = QStringLiteral("/imgzone/n0/") + match.captured(2);
    QByteArray original;
    if (!m_store.Picture(full, &original)) {
        // Seeded pictures are drawn on demand, at the size their folder asks for.
        if (const DrawnPicture* drawn = m_drawn.object(path)) {
            *bytes = drawn->bytes;
            *contentType = drawn->contentType;
            return true;
        }
        if (!RenderSeedPicture(path, bytes, contentType))
            return false;
        m_drawn.insert(path, new DrawnPicture{*bytes, *contentType}, qMax<qsizetype>(1, bytes->size() / 1024));
        return true;
    }
    *contentType = ContentTypeOf(full);
    if (size == 0) {
        *bytes = original;
        return true;
    }
    const QImage image = QImage::fromData(original);
    if (image.isNull())
        return false;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const QByteArray format = contentType->endsWith("png") ? "PNG" : "JPG";
    image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&out, format.constData());
    *bytes = out.data();
    *contentType = format == "PNG" ? "image/png" : "image/jpeg";
    return true;
}

QByteArray MarketGateway::ListingPage(qint64 vumoId) const
{
    const MarketListing* listing = m_store.Listing(vumoId);
    if (!listing || listing->deleted())
        return QByteArray();
    const QJsonObject v = OnThisHost(listing->vumo);
    QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head><body>")
                       .arg(v.value("title").toString().toHtmlEscaped());
    html += QStringLiteral("<h1>%1</h1><p>商品编号：%2</p><p>价格：¥%3</p>")
                .arg(v.value("title").toString().toHtmlEscaped(), QString::number(vumoId), Money(v.value("yv_price")));
    if (!v.value("logo").toString().isEmpty())
        html += QStringLiteral("<img src=\"%1\" width=\"400\">").arg(v.value("logo").toString().toHtmlEscaped());
    // The description is the seller's own HTML and is shown as it is, like the marketplace does.
    html += QStringLiteral("<div class=\"desc\">%1</div></body></html>").arg(v.value("desc").toString());
    return html.toUtf8();
}

// ---- categories ----------------------------------------------------------------------------

MarketGateway::Reply MarketGateway::CatsGet(const QJsonObject&)
{
    QJsonArray cats;
    for (const MarketCategory& c : m_store.Categories()) {
        if (c.IsValid())
            cats.append(c.category);
    }
    return Ok(QJsonObject{{"item_cats", cats}});
}

MarketGateway::Reply MarketGateway::AttributeGet(const QJsonObject& p)
{
    qint64 cid = 0;
    if (!IntParam(p, "cid", cid))
        return Error(kBadParam, QStringLiteral("业务参数错误：cid"));
    if (!m_store.Categories().contains(cid))
        return Error(kBadCategory, QStringLiteral("类目不存在或不是叶子类目"));
    return Ok(QJsonObject{{"attributes", m_store.Categories().value(cid).attributes}});
}

MarketGateway::Reply MarketGateway::AttvalueGet(const QJsonObject& p)
{
    QJsonArray values;
    const QStringList aids = Text(p, "avs").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& aid : aids) {
        bool ok = false;
        const qint64 n = aid.trimmed().toLongLong(&ok);
        if (!ok)
            return Error(kBadParam, QStringLiteral("业务参数错误：avs"));
        for (const QJsonValue& v : m_store.AttributeValues(n))
            values.append(v);
    }
    return Ok(QJsonObject{{"att_values", values}});
}

MarketGateway::Reply MarketGateway::GroupsGet(const QJsonObject& p)
{
    qint64 cid = 0;
    if (!IntParam(p, "cid", cid))
        return Error(kBadParam, QStringLiteral("业务参数错误：cid"));
    if (!m_store.Categories().contains(cid))
        return Error(kBadCategory, QStringLiteral("类目不存在或不是叶子类目"));
    return Ok(QJsonObject{{"groups", m_store.Categories().value(cid).groups}});
}

MarketGateway::Reply MarketGateway::SellerCatsGet(const QJsonObject&)
{
    return Ok(QJsonObject{{"shopCats", m_store.ShopCategories()}});
}

MarketGateway::Reply MarketGateway::CategoryPackage(const QJsonObject& p)
{
    qint64 since = 0;
    if (!IntParam(p, "category_version", since) || since < 0)
        return Error(kBadParam, QStringLiteral("业务参数错误：category_version"));
    m_lastPackageVersion = since;
    Reply reply;
    if (!m_packageOverride.isNull()) {
        reply.raw = m_packageOverride;
        return reply;
    }
    const qint64 current = m_store.CategoryVersion();
    reply.raw = QByteArray::number(current);
    if (since == current)
        return reply; // nothing changed
    // Version 0, or one this server never gave out: everything.
    const bool full = since == 0 || since > current;
    QByteArrayList records;
    for (const MarketCategory& c : m_store.Categories()) {
        // A full package holds what exists; a change package also says what was deleted.
        if (full ? !c.IsValid() : c.version <= since)
            continue;
        QByteArrayList sections;
        auto section = [&sections](const char* key, const QJsonValue& value) {
            sections << QJsonDocument(QJsonObject{{QLatin1String(key), value}}).toJson(QJsonDocument::Compact);
        };
        section("category", c.category);
        if (!c.attributes.isEmpty())
            section("attributes", c.attributes);
        if (!c.attValues.isEmpty())
            section("att_values", c.attValues);
        if (!c.groups.isEmpty())
            section("groups", c.groups);
        if (!c.venderAttValues.isEmpty())
            section("vender_att_values", c.venderAttValues);
        records << sections.join('\r');
    }
    reply.raw += '\n' + records.join('\t');
    return reply;
}

// ---- workbench servers -----------------------------------------------------------------------

MarketGateway::Reply MarketGateway::GoodSynchro(const QJsonObject& p)
{
    qint64 original = 0, red = 0;
    if (!IntParam(p, "original_skuid", original) || !IntParam(p, "red_skuid", red))
        return Error(kBadParam, QStringLiteral("业务参数错误：original_skuid/red_skuid"));
    ++m_synchroCount;
    // Comments move only between two SKUs this marketplace knows.
    const bool known = m_store.ListingOfSku(original) != 0 && m_store.ListingOfSku(red) != 0;
    return Ok(QJsonObject{{"code", 0}, {"good_synchro", known}});
}

MarketGateway::Reply MarketGateway::LogStatistics(const QJsonObject& p, const ParamMap& params)
{
    if (params.value("platform").isEmpty())
        return Error(kMissingParam, QStringLiteral("缺少必选参数：platform"));
    const QJsonArray entries = p.value("logStatistics").toArray();
    for (const QJsonValue& entry : entries)
        m_statistics.append(entry);
    while (m_statistics.size() > 200)
        m_statistics.removeFirst();
    return Ok(QJsonObject{{"code", 0}, {"received", entries.size()}});
}

} // namespace Quorvia::marketplace
