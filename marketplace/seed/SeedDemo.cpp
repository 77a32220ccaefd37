// The seeds' listings: one generator, deterministic per listing number, shared by "demo" (the
// first 150) and "scale" (any count).
#include "SeedTables.h"

#include "MarketText.h"

#include <QDateTime>
#include <QJsonArray>
#include <QTimeZone>

namespace Quorvia::marketplace {

namespace seed {

namespace {

constexpr int kDemoListings = 150;

// splitmix64: small, fast and the same on every platform.
class Rng
{
public:
    explicit Rng(quint64 seed)
        : m_state(seed)
    {
    }
    quint64 Next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n > 0 ? int(Next() % quint64(n)) : 0; }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const QVector<T>& items)
    {
        return items.at(Below(items.size()));
    }
    QString Pick(const QStringList& items) { return items.at(Below(items.size())); }

private:
    quint64 m_state;
};

QStringList Words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

struct Choice
{
    int attr = 0;         // index into Tables::base.attributes
    QVector<qint64> vids; // choice attributes
    QString text;         // free-text attributes
};

struct Draft
{
    const LeafInfo* leaf = nullptr;
    int index = 0;
    qint64 vumoId = 0;
    int status = 8;
    qint64 brandVid = 0;
    QString brandName;
    QString model;
    QString bookName;
    QVector<Choice> choices;
    QVector<qint64> colours;
    QVector<qint64> seconds;
    QVector<SeedImage> images;
    QString shortName;
    QString baseColour;
};

// Ten codes in every twenty listings: half on sale, the rest one of each other state.
constexpr int kStatusCycle[20] = {8, 8, 1, 8, 520, 8, 2, 8, 4, 8, 513, 8, 514, 8, 516, 8, 1026, 8, 1028, 8};

const char* const kPeople = "林远|苏晴|周明轩|陈若溪|王一舟|李沐阳|赵清和|孙嘉言|吴思远|郑南星|何晚舟|高文澜";

const SeedAttrValue* ValueOf(const Tables& t, qint64 vid)
{
    const qint64 aid = vid / 100;
    const int j = int(vid % 100);
    if (j >= 90) {
        for (int i : t.venderValuesByAid.value(aid))
            if (t.base.venderAttrValues.at(i).vid == vid)
                return &t.base.venderAttrValues.at(i);
        return nullptr;
    }
    const auto it = t.valuesByAid.constFind(aid);
    if (it == t.valuesByAid.constEnd() || j < 1 || j > it->size())
        return nullptr;
    return &t.base.attrValues.at(it->at(j - 1));
}

QString ValueName(const Tables& t, qint64 vid)
{
    const SeedAttrValue* v = ValueOf(t, vid);
    return v ? v->name : QString();
}

// `count` distinct values of an attribute, kept in value order.
QVector<qint64> PickValues(const Tables& t, qint64 aid, int count, Rng& rng)
{
    const QVector<int> all = t.valuesByAid.value(aid);
    QVector<bool> taken(all.size(), false);
    count = qMin(count, int(all.size()));
    for (int n = 0; n < count;) {
        const int j = rng.Below(all.size());
        if (!taken[j]) {
            taken[j] = true;
            ++n;
        }
    }
    QVector<qint64> vids;
    for (int j = 0; j < all.size(); ++j)
        if (taken[j])
            vids << t.base.attrValues.at(all.at(j)).vid;
    return vids;
}

// A run of `count` neighbouring values (sizes, capacities).
QVector<qint64> PickRun(const Tables& t, qint64 aid, int count, Rng& rng)
{
    const QVector<int> all = t.valuesByAid.value(aid);
    count = qMin(count, int(all.size()));
    const int first = rng.Below(all.size() - count + 1);
    QVector<qint64> vids;
    for (int j = first; j < first + count; ++j)
        vids << t.base.attrValues.at(all.at(j)).vid;
    return vids;
}

QString Isbn13(int index)
{
    QString digits = QStringLiteral("9787") + QString::number(100000000 + (index * 7919) % 900000000).left(8);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).unicode() - '0') * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

QString Ean13(qint64 vumoId)
{
    QString digits = QStringLiteral("69")
        + QString::number(vumoId % 10000000000LL).rightJustified(10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).unicode() - '0') * (i % 2 ? 3 : 1);
    return digits + QString::number((10 - sum % 10) % 10);
}

QString Level2Name(const LeafInfo& leaf)
{
    return leaf.path.section(QStringLiteral(">>"), 1, 1);
}

bool IsBookOrAv(Profile p)
{
    return p == Profile::Book || p == Profile::Music || p == Profile::Film || p == Profile::EduAv;
}

QString ModelPrefix(Profile p)
{
    switch (p) {
    case Profile::Phone:
        return QStringLiteral("X");
    case Profile::PhoneAccessory:
        return QStringLiteral("PA");
    case Profile::Smart:
        return QStringLiteral("S");
    case Profile::BigAppliance:
        return QStringLiteral("BD");
    case Profile::SmallAppliance:
        return QStringLiteral("K");
    default:
        return QStringLiteral("M");
    }
}

QString FreeText(const Draft& d, const QString& name, Rng& rng)
{
    const Profile p = d.leaf->profile;
    const QStringList people = Words(kPeople);
    if (name == QStringLiteral("型号"))
        return d.model;
    if (name == QStringLiteral("面料成分"))
        return rng.Pick(Words("棉95% 氨纶5%|棉100%|聚酯纤维65% 棉35%|羊毛70% 锦纶30%|莫代尔92% 氨纶8%"));
    if (name == QStringLiteral("执行标准"))
        return rng.Pick(Words("GB/T 22849-2014|FZ/T 73020-2019|GB/T 2660-2017|QB/T 4331-2012"));
    if (name == QStringLiteral("尺寸规格"))
        return QStringLiteral("长%1cm 宽%2cm").arg(rng.Between(100, 200)).arg(rng.Between(20, 60));
    if (name == QStringLiteral("电池容量"))
        return QStringLiteral("%1mAh").arg(rng.Between(40, 60) * 100);
    if (name == QStringLiteral("入网许可证"))
        return QStringLiteral("02-%1-2026%2").arg(rng.Between(1000, 9999)).arg(rng.Between(100000, 999999));
    if (name == QStringLiteral("续航时间"))
        return QStringLiteral("%1天").arg(rng.Between(3, 21));
    if (name == QStringLiteral("月租"))
        return QStringLiteral("%1元/月").arg(rng.Pick(Words("19|29|39|59|99")));
    if (name == QStringLiteral("额定功率"))
        return QStringLiteral("%1W").arg(p == Profile::BigAppliance ? rng.Between(8, 40) * 100
                                                                    : rng.Between(3, 22) * 100);
    if (name == QStringLiteral("产品尺寸"))
        return QStringLiteral("%1×%2×%3mm")
            .arg(rng.Between(40, 95) * 10)
            .arg(rng.Between(40, 70) * 10)
            .arg(rng.Between(50, 190) * 10);
    if (name == QStringLiteral("3C认证编号"))
        return QStringLiteral("20260107%1").arg(rng.Between(10000000, 99999999));
    if (name == QStringLiteral("保质期"))
        return rng.Pick(Words("180天|270天|12个月|18个月|24个月"));
    if (name == QStringLiteral("配料表"))
        return p == Profile::Drink
            ? rng.Pick(Words("水、白砂糖、浓缩果汁|水、麦芽、啤酒花|饮用水|生牛乳"))
            : rng.Pick(Words("小麦粉、白砂糖、植物油、食用盐|坚果仁、食用盐|大米|黄豆、小麦、食用盐、水"));
    if (name == QStringLiteral("生产许可证编号"))
        return QStringLiteral("SC1%1").arg(rng.Between(10000000, 99999999)) + QString::number(rng.Between(1000, 9999));
    if (name == QLatin1String("ISBN"))
        return Isbn13(d.index);
    if (name == QStringLiteral("版次"))
        return QString::number(rng.Between(1, 3));
    if (name == QStringLiteral("印次"))
        return QString::number(rng.Between(1, 12));
    if (name == QStringLiteral("出版时间") || name == QStringLiteral("印刷时间"))
        return QStringLiteral("%1-%2-01").arg(rng.Between(2015, 2025)).arg(rng.Between(1, 12), 2, 10, QLatin1Char('0'));
    if (name == QStringLiteral("丛书名"))
        return rng.Pick(Words("名家经典系列|大家小书|新知文库|青少年必读丛书"));
    if (name == QStringLiteral("外文名"))
        return rng.Pick(Words("The River of Time|Notes from the Road|A Short History|Starlight"));
    if (name == QStringLiteral("套装数量"))
        return QStringLiteral("1");
    if (name == QStringLiteral("页数"))
        return QString::number(rng.Between(12, 64) * 16);
    if (name == QStringLiteral("字数"))
        return QString::number(rng.Between(8, 60) * 10000);
    if (name == QStringLiteral("附件数量"))
        return QStringLiteral("1");
    if (name == QStringLiteral("中图法分类号"))
        return rng.Pick(Words("I247.5|K20|B84|F830.59|TP312|J212|TS972.1|G634"));
    if (name == QStringLiteral("主题词"))
        return d.leaf->name + QStringLiteral("-通俗读物");
    if (name == QLatin1String("ISRC"))
        return QStringLiteral("CN-E%1-26-%2-0").arg(rng.Between(10, 99)).arg(rng.Between(10000, 99999));
    if (name == QStringLiteral("碟数"))
        return QString::number(rng.Between(1, 4));
    if (name == QStringLiteral("集数"))
        return QString::number(rng.Between(12, 48));
    if (name == QStringLiteral("专辑名称"))
        return rng.Pick(Words("夏日来信|城市微光|远行|风吹麦浪|夜航|初心|十年之后|晴天日记"));
    if (name == QStringLiteral("时长"))
        return QStringLiteral("%1分钟").arg(rng.Between(9, 30) * 10);
    // People: authors, performers, lecturers and the like.
    return rng.Pick(people);
}

// Whether an optional attribute is filled in: the common ones mostly, the rare book roles
// (translator, illustrator, ...) seldom.
bool FillsOptional(const Draft& d, const QString& name, Rng& rng)
{
    static const QStringList rareBookRoles = Words(
        "编者|译者|绘者|校对|整理|注释|编纂|口述|朗读|摄影|书写|外文名|附件数量");
    if (d.leaf->profile == Profile::Book) {
        if (name == QStringLiteral("著者") || name == QStringLiteral("出版时间") || name == QStringLiteral("开本")
            || name == QStringLiteral("页数") || name == QStringLiteral("包装"))
            return true;
        if (name == QStringLiteral("译者") || name == QStringLiteral("外文名"))
            return d.leaf->name == QStringLiteral("外国文学") || rng.Chance(10);
        if (rareBookRoles.contains(name))
            return rng.Chance(8);
    }
    return rng.Chance(70);
}

Draft MakeDraft(const Tables& t, int index)
{
    Draft d;
    d.index = index;
    d.leaf = &t.leaves.at(int((qint64(index) * 97 + 13) % t.leaves.size()));
    d.vumoId = kFirstVumoId + index;
    d.status = kStatusCycle[index % 20];
    Rng rng(0x5EEDC0DEULL * 1315423911ULL + quint64(index));
    const LeafInfo& leaf = *d.leaf;

    d.model = ModelPrefix(leaf.profile) + QString::number(rng.Between(10, 99))
        + rng.Pick(Words("|Pro|Max|Lite|Plus|S"));

    if (leaf.brandAid) {
        const QVector<int> vender = t.venderValuesByAid.value(leaf.brandAid);
        if (!vender.isEmpty() && index % 9 == 4)
            d.brandVid = t.base.venderAttrValues.at(vender.first()).vid;
        else
            d.brandVid = PickValues(t, leaf.brandAid, 1, rng).value(0);
        d.brandName = ValueName(t, d.brandVid);
    }

    for (int k = leaf.firstAttr; k < leaf.firstAttr + leaf.attrCount; ++k) {
        const SeedAttribute& a = t.base.attributes.at(k);
        if (a.isSaleProp)
            continue;
        Choice c;
        c.attr = k;
        if (a.aid == leaf.brandAid) {
            c.vids << d.brandVid;
            d.choices << c;
            continue;
        }
        if (!a.isReq && !FillsOptional(d, a.name, rng))
            continue;
        if (a.inputType == 3)
            c.text = FreeText(d, a.name, rng);
        else if (a.inputType == 2)
            c.vids = PickValues(t, a.aid, rng.Between(1, 3), rng);
        else
            c.vids = PickValues(t, a.aid, 1, rng);
        d.choices << c;
    }

    // Sale attributes: most listings several SKUs, every seventh a single colour and size.
    const bool single = index % 7 == 3;
    if (leaf.colourAid)
        d.colours = PickValues(t, leaf.colourAid, single ? 1 : rng.Between(2, 4), rng);
    if (leaf.secondSaleAid)
        d.seconds = PickRun(t, leaf.secondSaleAid, single ? 1 : rng.Between(2, 4), rng);

    // Pictures: main pictures, then two per colour.
    const QString ext = index % 6 == 5 ? QStringLiteral("png") : QStringLiteral("jpg");
    const QString folder = QStringLiteral("/imgzone/n0/seed/%1/").arg(d.vumoId);
    qint64 imageId = d.vumoId * 1000;
    const int mainCount = rng.Between(3, 5);
    for (int k = 1; k <= mainCount; ++k)
        d.images.append({++imageId, 0, folder + QStringLiteral("0_%1.").arg(k) + ext, k == 1, k});
    for (qint64 vid : std::as_const(d.colours))
        for (int k = 1; k <= 2 && leaf.firstIsColour; ++k)
            d.images.append({++imageId, vid, folder + QStringLiteral("%1_%2.").arg(vid).arg(k) + ext, k == 1, k});

    if (leaf.profile == Profile::Book) {
        static const QStringList fictionA = Words("山海|时间|远方|星辰|长夜|春天|故乡|城市|河流|草原|灯火|晨光");
        static const QStringList fictionB = Words("之间|的河流|纪事|往事|笔记|漫游|之歌|与我|的孩子|来信");
        static const QStringList factual = Words("入门|简史|十二讲|实战指南|通识|精要|原理与实践|全书");
        const QString l2 = Level2Name(leaf);
        if (l2 == QStringLiteral("文学") || l2 == QStringLiteral("少儿"))
            d.bookName = rng.Pick(fictionA) + rng.Pick(fictionB);
        else
            d.bookName = leaf.name + rng.Pick(factual);
        d.shortName = QStringLiteral("《") + d.bookName + QStringLiteral("》");
    } else if (leaf.profile == Profile::Music || leaf.profile == Profile::Film || leaf.profile == Profile::EduAv) {
        d.shortName = leaf.name;
    } else {
        d.shortName = d.brandName + QLatin1Char(' ') + leaf.name;
    }

    static const QStringList pastel = Words("#f3ede4|#e8f0f7|#f6e9ec|#eaf4ea|#f4f1e1|#ece8f5|#e6f2f2|#f7ece1");
    d.baseColour = d.colours.isEmpty() ? pastel.at(index % pastel.size())
                                       : ColourOfValue(ValueName(t, d.colours.first()));
    if (d.baseColour.isEmpty())
        d.baseColour = pastel.at(index % pastel.size());
    return d;
}

const Choice* ChoiceNamed(const Tables& t, const Draft& d, const char* name)
{
    const QString wanted = QString::fromUtf8(name);
    for (const Choice& c : d.choices)
        if (t.base.attributes.at(c.attr).name == wanted)
            return &c;
    return nullptr;
}

// The first value name or the text of an attribute; empty when the listing has none.
QString Said(const Tables& t, const Draft& d, const char* name)
{
    const Choice* c = ChoiceNamed(t, d, name);
    if (!c)
        return QString();
    return c->vids.isEmpty() ? c->text : ValueName(t, c->vids.first());
}

QString FilmName(int index)
{
    static const QStringList names = Words("山河故人|长夜将明|追光者|海边的小镇|归途|逐梦人生|星辰大海|烟火人间");
    return names.at(index % names.size());
}

QString Title(const Tables& t, const Draft& d)
{
    const LeafInfo& leaf = *d.leaf;
    const QString year = QStringLiteral("2026");
    QString title;
    switch (leaf.profile) {
    case Profile::Clothing:
        title = d.brandName + QLatin1Char(' ') + year + Said(t, d, "适用季节") + QStringLiteral("新款")
            + Said(t, d, "材质") + leaf.name + QLatin1Char(' ') + Said(t, d, "风格") + Said(t, d, "版型")
            + QStringLiteral("款");
        break;
    case Profile::Kids:
        title = d.brandName + QLatin1Char(' ') + leaf.name + QLatin1Char(' ') + Said(t, d, "适用年龄")
            + QStringLiteral("宝宝 ") + Said(t, d, "材质") + QStringLiteral("亲肤 男女童通用");
        break;
    case Profile::Shoes:
        title = d.brandName + QLatin1Char(' ') + leaf.name + QLatin1Char(' ') + Said(t, d, "鞋面材质")
            + Said(t, d, "功能") + QStringLiteral(" ") + year + QStringLiteral("新款 舒适百搭");
        break;
    case Profile::Accessory:
        title = d.brandName + QLatin1Char(' ') + Said(t, d, "材质") + leaf.name + QLatin1Char(' ') + Said(t, d, "风格")
            + QStringLiteral("百搭 送礼佳品");
        break;
    case Profile::Phone:
        title = d.brandName + QLatin1Char(' ') + d.model + QLatin1Char(' ') + leaf.name + QLatin1Char(' ')
            + Said(t, d, "网络制式") + QLatin1Char(' ') + Said(t, d, "屏幕尺寸") + QStringLiteral("大屏 长续航");
        break;
    case Profile::PhoneAccessory:
        title = d.brandName + QLatin1Char(' ') + leaf.name + QStringLiteral(" 适用") + Said(t, d, "适用机型")
            + QLatin1Char(' ') + Said(t, d, "功能") + QLatin1Char(' ') + Said(t, d, "材质");
        break;
    case Profile::Smart:
        title = d.brandName + QLatin1Char(' ') + d.model + QLatin1Char(' ') + leaf.name + QLatin1Char(' ')
            + Said(t, d, "连接方式") + QStringLiteral("连接 ") + Said(t, d, "防水等级") + QStringLiteral(" 长续航");
        break;
    case Profile::Carrier:
        title = d.brandName + QLatin1Char(' ') + leaf.name + QLatin1Char(' ') + Said(t, d, "套餐类型")
            + QLatin1Char(' ') + Said(t, d, "号码归属地") + QStringLiteral("号段 ") + Said(t, d, "网络制式");
        break;
    case Profile::BigAppliance:
        title = d.brandName + QLatin1Char(' ') + d.model + QLatin1Char(' ') + leaf.name + QLatin1Char(' ')
            + Said(t, d, "能效等级") + QLatin1Char(' ') + Said(t, d, "功能") + QLatin1Char(' ')
            + Said(t, d, "安装方式");
        break;
    case Profile::SmallAppliance:
        title = d.brandName + QLatin1Char(' ') + d.model + QLatin1Char(' ') + leaf.name + QLatin1Char(' ')
            + Said(t, d, "容量") + QLatin1Char(' ') + Said(t, d, "功能") + QStringLiteral(" 家用");
        break;
    case Profile::Food:
        title = d.brandName + QLatin1Char(' ') + Said(t, d, "产地") + QStringLiteral("特产") + leaf.name
            + QLatin1Char(' ') + Said(t, d, "包装方式") + QStringLiteral(" 新鲜直发");
        break;
    case Profile::Drink:
        title = d.brandName + QLatin1Char(' ') + leaf.name + QLatin1Char(' ') + Said(t, d, "包装方式")
            + QLatin1Char(' ') + Said(t, d, "产地") + QStringLiteral("产 整箱装");
        break;
    case Profile::Book:
        title = d.bookName + QLatin1Char(' ') + Said(t, d, "著者") + QStringLiteral(" 著 ") + Said(t, d, "出版社");
        break;
    case Profile::Music:
        title = Said(t, d, "演唱者") + QLatin1Char(' ') + Said(t, d, "专辑名称") + QLatin1Char(' ') + leaf.name
            + QStringLiteral("专辑 ") + Said(t, d, "介质");
        break;
    case Profile::Film:
        title = QStringLiteral("正版") + leaf.name + QLatin1Char(' ') + FilmName(d.index) + QLatin1Char(' ')
            + Said(t, d, "介质") + QLatin1Char(' ') + Said(t, d, "碟数") + QStringLiteral("碟装");
        break;
    case Profile::EduAv:
        title = leaf.name + QLatin1Char(' ') + Said(t, d, "主讲人") + QStringLiteral("主讲 ") + Said(t, d, "介质")
            + QLatin1Char(' ') + Said(t, d, "碟数") + QStringLiteral("碟");
        break;
    }
    title = title.simplified();
    return title.left(45).trimmed();
}

struct PriceRange
{
    int lo; // whole yuan
    int hi;
};

PriceRange PricesOf(Profile p)
{
    switch (p) {
    case Profile::Clothing:
        return {59, 399};
    case Profile::Kids:
        return {39, 199};
    case Profile::Shoes:
        return {99, 599};
    case Profile::Accessory:
        return {29, 199};
    case Profile::Phone:
        return {999, 6999};
    case Profile::PhoneAccessory:
        return {9, 199};
    case Profile::Smart:
        return {199, 2999};
    case Profile::Carrier:
        return {30, 199};
    case Profile::BigAppliance:
        return {1299, 8999};
    case Profile::SmallAppliance:
        return {99, 1299};
    case Profile::Food:
        return {9, 129};
    case Profile::Drink:
        return {19, 499};
    case Profile::Book:
        return {19, 128};
    case Profile::Music:
    case Profile::Film:
    case Profile::EduAv:
        return {29, 298};
    }
    return {10, 100};
}

// Whole-yuan prices end in 9 (".00"), every third one in ".90".
qint64 ShopPrice(int yuan, Rng& rng)
{
    const qint64 cents = qint64(yuan / 10 * 10 + 9) * 100;
    return rng.Below(3) == 0 ? cents - 10 : cents;
}

QString Stamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString AdContent(Profile p, Rng& rng)
{
    switch (p) {
    case Profile::Phone:
    case Profile::Smart:
        return rng.Pick(Words("新品首发，赠原装快充|12期免息，以旧换新补贴|官方正品，全国联保"));
    case Profile::BigAppliance:
    case Profile::SmallAppliance:
        return rng.Pick(Words("送货入户，免费安装|以旧换新立减|一年换新，三年保修"));
    case Profile::Food:
    case Profile::Drink:
        return rng.Pick(Words("产地直发，新鲜到家|满99元包邮|第二件半价"));
    case Profile::Book:
    case Profile::Music:
    case Profile::Film:
    case Profile::EduAv:
        return rng.Pick(Words("正版保证，假一赔十|满100减30|当当畅销，店长推荐"));
    default:
        return rng.Pick(Words("满199减30，限时包邮|新品上市，7天无理由退换|店铺热销，好评如潮"));
    }
}

double WeightOf(Profile p, Rng& rng)
{
    switch (p) {
    case Profile::BigAppliance:
        return rng.Between(15000, 80000) / 1000.0;
    case Profile::SmallAppliance:
        return rng.Between(800, 8000) / 1000.0;
    case Profile::Phone:
    case Profile::Smart:
        return rng.Between(250, 600) / 1000.0;
    case Profile::Drink:
        return rng.Between(1000, 12000) / 1000.0;
    case Profile::Shoes:
        return rng.Between(600, 1500) / 1000.0;
    default:
        return rng.Between(100, 1200) / 1000.0;
    }
}

QString ShopCategorys(const Tables& t, const Draft& d, Rng& rng)
{
    // One listing in ten sits in no shop category.
    if (d.index % 10 == 7)
        return QString();
    QVector<QPair<qint64, qint64>> picked;
    picked.append({d.leaf->shopParent, d.leaf->shopChild});
    if (rng.Chance(25))
        picked.append({5001, 5001});
    else if (d.status != 8 && rng.Chance(30))
        picked.append({5007, 5007});
    QStringList ids;
    QStringList names;
    for (const auto& [parent, child] : std::as_const(picked)) {
        ids << QStringLiteral("%1-%2").arg(parent).arg(child);
        names << t.shopCatName.value(parent) + QLatin1Char('/') + t.shopCatName.value(child);
    }
    return ids.join(QLatin1Char(';')) + QLatin1Char('|') + names.join(QLatin1Char(';'));
}

QString Description(const Tables& t, const Draft& d, const QString& title)
{
    const QString host = QString::fromLatin1(kImageHostPlaceholder);
    QString html = QStringLiteral("<div style=\"width:750px;margin:0 auto;font-family:sans-serif;color:#333\">");
    html += QStringLiteral("<h2 style=\"font-size:20px\">") + title.toHtmlEscaped() + QStringLiteral("</h2>");
    html += QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"6\" style=\"border-collapse:collapse\">");
    for (const Choice& c : d.choices) {
        QStringList shown;
        for (qint64 vid : c.vids)
            shown << ValueName(t, vid);
        if (c.vids.isEmpty())
            shown << c.text;
        html += QStringLiteral("<tr><td>") + t.base.attributes.at(c.attr).name.toHtmlEscaped()
            + QStringLiteral("</td><td>") + shown.join(QStringLiteral("、")).toHtmlEscaped()
            + QStringLiteral("</td></tr>");
    }
    html += QStringLiteral("</table>");
    for (const SeedImage& image : d.images) {
        if (image.attributeValueId != 0 && !image.isMain)
            continue;
        html += QStringLiteral("<p><img src=\"") + host + image.path + QStringLiteral("\" width=\"750\" /></p>");
    }
    html += QStringLiteral("<p>温馨提示：图片仅供参考，请以实物为准。</p></div>");
    return html;
}

QString Pairs(const QVector<qint64>& vids, qint64 aid)
{
    QStringList parts;
    for (qint64 vid : vids)
        parts << QString::number(vid);
    return QString::number(aid) + QLatin1Char(':') + parts.join(QLatin1Char(','));
}

} // namespace

SeedListing MakeSeedListing(const Tables& t, int index)
{
    const Draft d = MakeDraft(t, index);
    const LeafInfo& leaf = *d.leaf;
    const SeedSeller& seller = t.base.seller;
    Rng rng(0xC0FFEE00ULL * 2654435761ULL + quint64(index));

    SeedListing listing;
    listing.images = d.images;
    QJsonObject& v = listing.vumo;

    const QString title = Title(t, d);
    static const QStringList itemPrefix = Words("CL|KD|SH|AC|PH|PA|SM|CR|BA|SA|FD|DR|BK|MU|FM|ED");
    const QString itemNum = itemPrefix.at(int(leaf.profile)) + QString::number(200000 + index);

    // Attribute texts: "attributes" holds the choices as stored ("aid:vid|aid:vid,vid"),
    // "vumo_attribute" every entry as the marketplace writes it, free texts as "aid:0,text".
    QStringList stored;
    QStringList api;
    for (const Choice& c : d.choices) {
        const qint64 aid = t.base.attributes.at(c.attr).aid;
        if (c.vids.isEmpty()) {
            api << QString::number(aid) + QStringLiteral(":0,") + c.text;
        } else {
            stored << Pairs(c.vids, aid);
            api << Pairs(c.vids, aid);
        }
    }

    // Dates: one listing every 3 h 17 min from the shop's opening, changed within 60 days.
    const QDateTime opened(QDate(2025, 9, 1), QTime(9, 0), QTimeZone::utc());
    const QDateTime created = opened.addSecs(qint64(index) * 11820);
    const QDateTime modified = created.addSecs(rng.Between(1, 60 * 24) * 3600LL);
    const bool onSale = (d.status & 8) != 0;

    // SKUs: colour x second sale attribute, or one default SKU.
    const PriceRange range = PricesOf(leaf.profile);
    const qint64 basePrice = ShopPrice(rng.Between(range.lo, range.hi), rng);
    QVector<qint64> colours = d.colours;
    QVector<qint64> seconds = d.seconds;
    if (colours.isEmpty())
        colours << 0;
    if (seconds.isEmpty())
        seconds << 0;
    qint64 minPrice = 0;
    qint64 maxPrice = 0;
    qint64 stockSum = 0;
    int n = 0;
    for (qint64 colour : std::as_const(colours)) {
        for (int s = 0; s < seconds.size(); ++s) {
            const qint64 second = seconds.at(s);
            QStringList key;
            if (colour)
                key << QStringLiteral("%1:%2").arg(leaf.colourAid).arg(colour);
            if (second)
                key << QStringLiteral("%1:%2").arg(leaf.secondSaleAid).arg(second);
            // Bigger sizes and capacities cost more: a tenth of the price per step.
            const qint64 price = basePrice + (second ? s * (basePrice / 1000 * 100) : 0);
            const qint64 stock = rng.Below(8) == 0 ? 0 : rng.Between(1, 300);
            ++n;
            QJsonObject sku;
            sku.insert(QStringLiteral("sku_id"), double(d.vumoId * 100 + n));
            sku.insert(QStringLiteral("vumo_id"), double(d.vumoId));
            sku.insert(QStringLiteral("attributes"), key.join(QLatin1Char('^')));
            sku.insert(QStringLiteral("stock_num"), double(stock));
            sku.insert(QStringLiteral("yv_price"), text::FormatCents(price));
            sku.insert(QStringLiteral("cost_price"), text::FormatCents(price * 55 / 100));
            sku.insert(QStringLiteral("market_price"), QString()); // filled below, once the top price is known
            sku.insert(QStringLiteral("outer_id"),
                       QString(itemNum + QStringLiteral("-%1").arg(n, 2, 10, QLatin1Char('0'))));
            sku.insert(QStringLiteral("status"), QStringLiteral("Valid"));
            sku.insert(QStringLiteral("created"), Stamp(created));
            sku.insert(QStringLiteral("modified"), Stamp(modified));
            listing.skus.append(sku);
            minPrice = minPrice == 0 ? price : qMin(minPrice, price);
            maxPrice = qMax(maxPrice, price);
            stockSum += stock;
        }
    }
    const qint64 marketPrice = (maxPrice * 13 / 10 / 1000 * 10 + 9) * 100;
    for (QJsonObject& sku : listing.skus)
        sku.insert(QStringLiteral("market_price"), text::FormatCents(marketPrice));
    const bool defaultSku = d.colours.isEmpty() && d.seconds.isEmpty();

    QStringList aliases;
    if (!d.colours.isEmpty() && leaf.firstIsColour && index % 5 == 0) {
        for (qint64 vid : d.colours)
            aliases << QStringLiteral("%1:%2:").arg(leaf.colourAid).arg(vid) + ValueName(t, vid)
                    + QStringLiteral("（经典款）^");
    }

    const Choice* publisher = ChoiceNamed(t, d, "出版社");
    const bool foodLike = leaf.profile == Profile::Food || leaf.profile == Profile::Drink;
    const int length = rng.Between(10, leaf.profile == Profile::BigAppliance ? 190 : 60);
    const int wide = rng.Between(8, 50);
    const int high = rng.Between(2, 40);

    v.insert(QStringLiteral("vumo_id"), double(d.vumoId));
    v.insert(QStringLiteral("spu_id"), double(9000000000LL + index));
    v.insert(QStringLiteral("cid"), double(leaf.cid));
    v.insert(QStringLiteral("vender_id"), double(seller.venderId));
    v.insert(QStringLiteral("shop_id"), double(seller.shopId));
    v.insert(QStringLiteral("brand_id"), double(d.brandVid));
    v.insert(QStringLiteral("vumo_status"), StatusApiText(d.status));
    v.insert(QStringLiteral("title"), title);
    v.insert(QStringLiteral("item_num"), itemNum);
    v.insert(QStringLiteral("upc_code"), leaf.profile == Profile::Book ? Said(t, d, "ISBN") : Ean13(d.vumoId));
    v.insert(QStringLiteral("transport_id"), double(index % 3 == 0 ? 0 : 3001 + index % 2));
    v.insert(QStringLiteral("online_time"), onSale ? Stamp(created.addSecs(3600)) : QString());
    v.insert(QStringLiteral("offline_time"), onSale || d.status == 1 || d.status == 513 ? QString() : Stamp(modified));
    v.insert(QStringLiteral("attributes"), stored.join(QLatin1Char('|')));
    v.insert(QStringLiteral("vumo_attribute"), api.join(QLatin1Char('^')));
    v.insert(QStringLiteral("desc"), Description(t, d, title));
    v.insert(QStringLiteral("producter"),
             publisher ? ValueName(t, publisher->vids.value(0)) : d.brandName + QStringLiteral("（中国）有限公司"));
    v.insert(QStringLiteral("wrap"), IsBookOrAv(leaf.profile) ? QStringLiteral("塑封") : QStringLiteral("纸箱包装"));
    v.insert(QStringLiteral("cubage"), QStringLiteral("%1:%2:%3").arg(length).arg(wide).arg(high));
    const bool boxed = leaf.profile == Profile::BigAppliance || leaf.profile == Profile::SmallAppliance
        || leaf.profile == Profile::Phone;
    v.insert(QStringLiteral("pack_listing"),
             QString(leaf.name + QStringLiteral("×1") + (boxed ? QStringLiteral("、说明书×1、保修卡×1") : QString())));
    v.insert(QStringLiteral("service"),
             foodLike ? QStringLiteral("食品类商品拆封后不支持七天无理由退货")
                      : QStringLiteral("全国联保，支持七天无理由退货"));
    v.insert(QStringLiteral("cost_price"), text::FormatCents(minPrice * 55 / 100));
    v.insert(QStringLiteral("market_price"), text::FormatCents(marketPrice));
    v.insert(QStringLiteral("yv_price"), text::FormatCents(minPrice));
    v.insert(QStringLiteral("stock_num"), double(stockSum));
    v.insert(QStringLiteral("logo"), QString(QString::fromLatin1(kImageHostPlaceholder) + d.images.first().path));
    v.insert(QStringLiteral("creator"), seller.uid);
    v.insert(QStringLiteral("status"), QStringLiteral("VALID"));
    v.insert(QStringLiteral("weight"), WeightOf(leaf.profile, rng));
    v.insert(QStringLiteral("created"), Stamp(created));
    v.insert(QStringLiteral("modified"), Stamp(modified));
    v.insert(QStringLiteral("outer_id"),
             defaultSku ? listing.skus.first().value(QStringLiteral("outer_id")).toString() : QString());
    v.insert(QStringLiteral("shop_categorys"), ShopCategorys(t, d, rng));
    v.insert(QStringLiteral("ad_content"), AdContent(leaf.profile, rng));
    v.insert(QStringLiteral("property_alias"), aliases.join(QString()));
    const bool digital = leaf.profile == Profile::Phone || leaf.profile == Profile::Smart;
    const bool appliance = leaf.profile == Profile::BigAppliance || leaf.profile == Profile::SmallAppliance;
    v.insert(QStringLiteral("is_can_vat"), digital || appliance);
    v.insert(QStringLiteral("is_pay_first"), false);
    v.insert(QStringLiteral("is_shelf_life"), foodLike);
    v.insert(QStringLiteral("shelf_life_days"), foodLike ? (index % 2 ? 365 : 180) : -1);
    v.insert(QStringLiteral("is_imported"), Said(t, d, "产地") == QStringLiteral("进口"));
    v.insert(QStringLiteral("is_special_wet"), false);
    v.insert(QStringLiteral("is_appliances_card"), leaf.profile == Profile::BigAppliance);
    v.insert(QStringLiteral("is_health_product"), Level2Name(leaf) == QStringLiteral("个护健康"));
    v.insert(QStringLiteral("is_serial_no"), digital);
    v.insert(QStringLiteral("vumo_big_small_model"), leaf.profile == Profile::BigAppliance ? 3 : 7);
    v.insert(QStringLiteral("vumo_pack_type"), leaf.profile == Profile::Drink ? 4 : 1);
    return listing;
}

ListingFace MakeListingFace(const Tables& t, int index)
{
    const Draft d = MakeDraft(t, index);
    ListingFace face;
    face.profile = d.leaf->profile;
    face.shortName = d.shortName;
    face.baseColour = d.baseColour;
    face.images = d.images;
    for (qint64 vid : d.colours)
        face.colourOfVid.insert(vid, ColourOfValue(ValueName(t, vid)));
    return face;
}

} // namespace seed

SeedCatalogue MakeSeedCatalogue(const QString& kind, int listings, bool* ok)
{
    const seed::Tables& t = seed::SeedTables();
    int count = 0;
    bool known = true;
    if (kind == QLatin1String("demo"))
        count = seed::kDemoListings;
    else if (kind == QLatin1String("scale"))
        count = qBound(0, listings, seed::kMaxSeedListings);
    else if (kind != QLatin1String("empty"))
        known = false;
    if (ok)
        *ok = known;
    if (!known)
        return SeedCatalogue();

    SeedCatalogue catalogue = kind == QLatin1String("scale") ? seed::ScaleCatalogueBase() : t.base;
    catalogue.listings.reserve(count);
    for (int i = 0; i < count; ++i)
        catalogue.listings.append(seed::MakeSeedListing(t, i));
    return catalogue;
}

QByteArray SeedCategoryLookupCsv(const SeedCatalogue& catalogue)
{
    QHash<qint64, const SeedCategory*> byId;
    for (const SeedCategory& c : catalogue.categories)
        byId.insert(c.id, &c);
    QByteArray csv = QStringLiteral("类目ID,类目路径,层级,是否叶子\n").toUtf8();
    for (const SeedCategory& c : catalogue.categories) {
        QStringList names;
        for (const SeedCategory* at = &c; at; at = byId.value(at->fid, nullptr)) {
            names.prepend(at->name);
            if (names.size() > 3)
                break; // a broken parent chain never loops forever
        }
        const QString line = QStringLiteral("%1,%2,%3,%4\n")
                                 .arg(QString::number(c.id), names.join(QStringLiteral(">>")), QString::number(c.lev),
                                      c.isParent ? QStringLiteral("否") : QStringLiteral("是"));
        csv += line.toUtf8();
    }
    return csv;
}

} // namespace Quorvia::marketplace
