#include "SeedCatalogue.h"

#include "entity/AttributeText.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoStatus.h"
#include "support/TempHome.h"
#include "support/TestMain.h"
#include "utils/Money.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Quorvia::marketplace;

namespace {

// The generated part of a catalogue as one text, so two catalogues compare in one step.
QByteArray Dump(const SeedCatalogue& c)
{
    QJsonArray out;
    for (const SeedCategory& x : c.categories)
        out.append(QStringLiteral("%1/%2/%3").arg(x.id).arg(x.fid).arg(x.name));
    for (const SeedAttrValue& v : c.attrValues + c.venderAttrValues)
        out.append(QStringLiteral("%1/%2/%3").arg(v.aid).arg(v.vid).arg(v.name));
    for (const SeedListing& l : c.listings) {
        out.append(l.vumo);
        for (const QJsonObject& sku : l.skus)
            out.append(sku);
        for (const SeedImage& i : l.images)
            out.append(QStringLiteral("%1/%2/%3").arg(i.imageId).arg(i.attributeValueId).arg(i.path));
    }
    return QJsonDocument(out).toJson(QJsonDocument::Compact);
}

qint64 Id(const QJsonObject& o, const char* key)
{
    return qint64(o.value(QLatin1String(key)).toDouble());
}
QString Text(const QJsonObject& o, const char* key)
{
    return o.value(QLatin1String(key)).toString();
}
qint64 Cents(const QJsonObject& o, const char* key)
{
    qint64 cents = -1;
    return Quorvia::utils::ParseMoney(Text(o, key), cents) ? cents : -1;
}

// Lookups over the fixed part of a catalogue.
struct Index
{
    explicit Index(const SeedCatalogue& c)
    {
        for (const SeedCategory& x : c.categories)
            categories.insert(x.id, &x);
        for (const SeedAttribute& a : c.attributes)
            attributes.insert(a.aid, &a);
        for (const SeedAttrValue& v : c.attrValues)
            values.insert(v.vid, &v);
        for (const SeedAttrValue& v : c.venderAttrValues)
            values.insert(v.vid, &v);
        for (const SeedShopCategory& s : c.shopCategories)
            shop.insert(s.cid, &s);
        for (const SeedAttribute& a : c.attributes)
            attributesOf[a.cid] << &a;
    }
    QHash<qint64, const SeedCategory*> categories;
    QHash<qint64, const SeedAttribute*> attributes;
    QHash<qint64, const SeedAttrValue*> values;
    QHash<qint64, const SeedShopCategory*> shop;
    QHash<qint64, QVector<const SeedAttribute*>> attributesOf;
};

} // namespace

class SeedCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void sameCatalogueOnEveryCall();
    void kindsAndSeller();
    void categoryTreeIsThreeLevels_data();
    void categoryTreeIsThreeLevels();
    void attributesOfEveryLeaf_data() { categoryTreeIsThreeLevels_data(); }
    void attributesOfEveryLeaf();
    void listingsReferToTheirCategory();
    void skusUseSaleAttributes();
    void pricesStockAndShopCategories();
    void statusesAndTextsAsThePlugInReadsThem();
    void scaleCatalogueIsLargeAndUnique();
};

void SeedCatalogueTest::sameCatalogueOnEveryCall()
{
    const SeedCatalogue demo = MakeSeedCatalogue(QStringLiteral("demo"));
    const QByteArray first = Dump(demo);
    QVERIFY(first.size() > 100000);
    QVERIFY(first == Dump(MakeSeedCatalogue(QStringLiteral("demo"))));

    // demo and scale share their generator: listing i is the same listing in both.
    const SeedCatalogue scale = MakeSeedCatalogue(QStringLiteral("scale"), 200);
    QCOMPARE(scale.listings.size(), 200);
    for (int i = 0; i < demo.listings.size(); ++i) {
        QCOMPARE(scale.listings.at(i).vumo, demo.listings.at(i).vumo);
        QCOMPARE(scale.listings.at(i).skus, demo.listings.at(i).skus);
    }
}

void SeedCatalogueTest::kindsAndSeller()
{
    bool ok = false;
    const SeedCatalogue demo = MakeSeedCatalogue(QStringLiteral("demo"), 0, &ok);
    QVERIFY(ok);
    QVERIFY(demo.listings.size() >= 140 && demo.listings.size() <= 160);

    const SeedCatalogue empty = MakeSeedCatalogue(QStringLiteral("empty"), 500, &ok);
    QVERIFY(ok);
    QVERIFY(empty.listings.isEmpty());
    QCOMPARE(empty.categories.size(), demo.categories.size());

    const SeedCatalogue unknown = MakeSeedCatalogue(QStringLiteral("Demo"), 10, &ok);
    QVERIFY(!ok);
    QVERIFY(unknown.categories.isEmpty() && unknown.listings.isEmpty() && unknown.seller.uid.isEmpty());
    QCOMPARE(MakeSeedCatalogue(QStringLiteral("scale"), -5, &ok).listings.size(), 0);
    QVERIFY(ok);

    // The tests' own login must be the seeded seller's.
    const VumoTest::DemoLogin login;
    const SeedSeller& s = demo.seller;
    QCOMPARE(QVariantList({s.uid, s.shopName, s.venderId, s.shopId, s.shopType, s.stockMode}),
             QVariantList({login.uid, login.shopName, login.venderId, login.shopId, login.shopType, login.stockMode}));
    QCOMPARE(QStringList(
                 {QString::fromLatin1(s.appKey), QString::fromLatin1(s.appSecret), QString::fromLatin1(s.accessToken)}),
             QStringList({login.appKey, login.appSecret, login.accessToken}));
}

void SeedCatalogueTest::categoryTreeIsThreeLevels_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("minLeaves");
    QTest::addColumn<int>("minValues");
    QTest::newRow("demo tree") << "empty" << 200 << 1000;
    QTest::newRow("scale tree") << "scale" << 3000 << 200000;
}

void SeedCatalogueTest::categoryTreeIsThreeLevels()
{
    QFETCH(QString, kind);
    QFETCH(int, minLeaves);
    const SeedCatalogue c = MakeSeedCatalogue(kind);
    const Index ix(c);
    QCOMPARE(ix.categories.size(), c.categories.size()); // ids unique
    QHash<qint64, int> children;
    int leaves = 0;
    for (const SeedCategory& x : c.categories) {
        QVERIFY2(x.lev >= 1 && x.lev <= 3, qPrintable(x.name));
        if (x.lev == 1) {
            QCOMPARE(x.fid, 0);
        } else {
            const SeedCategory* parent = ix.categories.value(x.fid);
            QVERIFY2(parent, qPrintable(x.name));
            QCOMPARE(parent->lev, x.lev - 1);
            ++children[x.fid];
        }
        QCOMPARE(x.isParent, x.lev < 3);
        leaves += x.lev == 3;
    }
    QSet<QString> siblings; // a name once under its parent
    for (const SeedCategory& x : c.categories) {
        QCOMPARE(children.value(x.id) > 0, x.isParent);
        QVERIFY2(!siblings.contains(QString::number(x.fid) + x.name), qPrintable(x.name));
        siblings.insert(QString::number(x.fid) + x.name);
    }
    QVERIFY2(leaves >= minLeaves, qPrintable(QString::number(leaves)));
    // The scale tree keeps the demo tree in front, so seeded listings keep their categories.
    const SeedCatalogue demo = MakeSeedCatalogue(QStringLiteral("demo"));
    const auto key = [](const SeedCategory& x) { return QStringLiteral("%1/%2/%3").arg(x.id).arg(x.fid).arg(x.name); };
    for (int i = 0; i < demo.categories.size(); ++i)
        QCOMPARE(key(c.categories.at(i)), key(demo.categories.at(i)));
}

void SeedCatalogueTest::attributesOfEveryLeaf()
{
    QFETCH(QString, kind);
    QFETCH(int, minValues);
    const SeedCatalogue c = MakeSeedCatalogue(kind);
    QVERIFY2(c.attrValues.size() >= minValues, qPrintable(QString::number(c.attrValues.size())));
    const Index ix(c);
    QCOMPARE(ix.attributes.size(), c.attributes.size());                         // aid unique over all categories
    QCOMPARE(ix.values.size(), c.attrValues.size() + c.venderAttrValues.size()); // vid unique
    QHash<qint64, int> valueCount;
    for (const SeedAttrValue& v : c.attrValues) {
        QVERIFY(ix.attributes.contains(v.aid));
        ++valueCount[v.aid];
    }
    for (const SeedAttrValue& v : c.venderAttrValues)
        QVERIFY(ix.attributes.contains(v.aid) && ix.attributes.value(v.aid)->name == QStringLiteral("品牌"));
    QVERIFY(!c.venderAttrValues.isEmpty());

    for (const SeedCategory& x : c.categories) {
        const QVector<const SeedAttribute*> attrs = ix.attributesOf.value(x.id);
        if (x.lev < 3) {
            QVERIFY(attrs.isEmpty());
            continue;
        }
        QVERIFY2(!attrs.isEmpty(), qPrintable(x.name));
        QStringList names;
        int sale = 0;
        for (const SeedAttribute* a : attrs) {
            names << a->name;
            QVERIFY(a->inputType >= 1 && a->inputType <= 3);
            // Choice attributes offer values, free-text ones none.
            QCOMPARE(valueCount.value(a->aid) > 0, a->inputType != 3);
            if (a->isSaleProp) {
                ++sale;
                QVERIFY(a->inputType != 3);
            }
        }
        QVERIFY2(sale <= 2, qPrintable(x.name));
        QCOMPARE(names.removeDuplicates(), 0);
        QVERIFY2(names.contains(QStringLiteral("品牌")), qPrintable(x.name));
    }
}

void SeedCatalogueTest::listingsReferToTheirCategory()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const Index ix(c);
    static const QRegularExpression item(QStringLiteral("^([0-9]+):([0-9]+(,[0-9]+)*)$"));
    int freeTexts = 0, multi = 0;
    for (const SeedListing& l : c.listings) {
        const qint64 cid = Id(l.vumo, "cid");
        const SeedCategory* category = ix.categories.value(cid);
        QVERIFY(category);
        QCOMPARE(category->lev, 3);

        // "attributes": choices of this category's own attributes and values.
        QSet<qint64> chosen;
        const QString attributes = Text(l.vumo, "attributes");
        for (const QString& entry : attributes.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m = item.match(entry);
            QVERIFY2(m.hasMatch(), qPrintable(entry));
            const SeedAttribute* a = ix.attributes.value(m.captured(1).toLongLong());
            QVERIFY2(a && a->cid == cid && !a->isSaleProp && a->inputType != 3, qPrintable(entry));
            const QStringList vids = m.captured(2).split(QLatin1Char(','));
            QVERIFY(a->inputType == 2 || vids.size() == 1);
            multi += vids.size() > 1;
            for (const QString& vid : vids) {
                const SeedAttrValue* v = ix.values.value(vid.toLongLong());
                QVERIFY2(v && v->aid == a->aid, qPrintable(entry));
            }
            QVERIFY(!chosen.contains(a->aid));
            chosen.insert(a->aid);
            if (a->name == QStringLiteral("品牌")) {
                QCOMPARE(vids.size(), 1);
                QCOMPARE(Id(l.vumo, "brand_id"), vids.first().toLongLong());
            }
        }

        // "vumo_attribute" read the way the plug-in reads it gives the same choices, in the
        // stored form, plus the free texts of this category's free-text attributes.
        const Quorvia::vumo::entity::ParsedAttributeText parsed = Quorvia::vumo::entity::ParseApiAttributeText(
            Text(l.vumo, "vumo_attribute"));
        QCOMPARE(parsed.attributes, attributes);
        const QStringList pids = parsed.inputPids.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        QCOMPARE(Quorvia::vumo::entity::SplitInputTexts(parsed.inputStrs).size(), pids.size());
        for (const QString& pid : pids) {
            const SeedAttribute* a = ix.attributes.value(pid.toLongLong());
            QVERIFY2(a && a->cid == cid && a->inputType == 3, qPrintable(pid));
            chosen.insert(a->aid);
            ++freeTexts;
        }
        // Every required attribute that is not a sale attribute has its value.
        for (const SeedAttribute* a : ix.attributesOf.value(cid))
            if (a->isReq && !a->isSaleProp)
                QVERIFY2(chosen.contains(a->aid), qPrintable(Text(l.vumo, "title") + QLatin1Char(' ') + a->name));
    }
    QVERIFY(freeTexts > 100);
    QVERIFY(multi > 10);
}

void SeedCatalogueTest::skusUseSaleAttributes()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const Index ix(c);
    int several = 0, colourPictures = 0;
    for (const SeedListing& l : c.listings) {
        const qint64 cid = Id(l.vumo, "cid");
        const qint64 vumoId = Id(l.vumo, "vumo_id");
        QVector<const SeedAttribute*> sale;
        for (const SeedAttribute* a : ix.attributesOf.value(cid))
            if (a->isSaleProp)
                sale << a;
        QVERIFY(!l.skus.isEmpty() && l.skus.size() <= 100);
        several += l.skus.size() > 1;
        QSet<QString> keys;
        QSet<qint64> colours;
        for (const QJsonObject& sku : l.skus) {
            QCOMPARE(Id(sku, "vumo_id"), vumoId);
            const QString key = Text(sku, "attributes");
            QVERIFY2(!keys.contains(key), qPrintable(key));
            keys.insert(key);
            if (sale.isEmpty()) {
                QCOMPARE(key, QString());
                QCOMPARE(l.skus.size(), 1);
                QCOMPARE(Text(l.vumo, "outer_id"), Text(sku, "outer_id"));
                continue;
            }
            const QStringList pairs = key.split(QLatin1Char('^'));
            QCOMPARE(pairs.size(), sale.size());
            for (int i = 0; i < pairs.size(); ++i) {
                const QStringList parts = pairs.at(i).split(QLatin1Char(':'));
                QCOMPARE(parts.size(), 2);
                // Pairs follow the category's order of sale attributes.
                QCOMPARE(parts.at(0).toLongLong(), sale.at(i)->aid);
                const SeedAttrValue* v = ix.values.value(parts.at(1).toLongLong());
                QVERIFY(v && v->aid == sale.at(i)->aid);
                if (sale.at(i)->name.contains(QStringLiteral("颜色")))
                    colours.insert(v->vid);
            }
        }
        // Main pictures, and a picture set for every colour of the SKUs, each with one main.
        QHash<qint64, int> mains;
        QSet<QString> paths;
        for (const SeedImage& image : l.images) {
            QVERIFY(image.path.startsWith(QStringLiteral("/imgzone/n0/")));
            QVERIFY(!paths.contains(image.path));
            paths.insert(image.path);
            QVERIFY(image.attributeValueId == 0 || colours.contains(image.attributeValueId));
            mains[image.attributeValueId] += image.isMain;
            colourPictures += image.attributeValueId != 0;
        }
        QCOMPARE(mains.value(0), 1);
        for (qint64 colour : std::as_const(colours))
            QCOMPARE(mains.value(colour), 1);
        QCOMPARE(Text(l.vumo, "logo"), QString::fromLatin1(kImageHostPlaceholder) + l.images.first().path);
    }
    QVERIFY(several > c.listings.size() / 2);
    QVERIFY(colourPictures > 0);
}

void SeedCatalogueTest::pricesStockAndShopCategories()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const Index ix(c);
    static const QRegularExpression money(QStringLiteral("^[0-9]+\\.[0-9]{2}$"));
    static const QRegularExpression pairs(QStringLiteral("^[0-9]+-[0-9]+(;[0-9]+-[0-9]+)*\\|[^|]+$"));
    int withoutShop = 0;
    for (const SeedListing& l : c.listings) {
        for (const char* key : {"yv_price", "market_price", "cost_price"})
            QVERIFY2(money.match(Text(l.vumo, key)).hasMatch(), qPrintable(Text(l.vumo, key)));
        qint64 lowest = -1, highest = 0, stock = 0;
        for (const QJsonObject& sku : l.skus) {
            const qint64 price = Cents(sku, "yv_price");
            QVERIFY(price > 0);
            QVERIFY(price <= Cents(sku, "market_price"));
            lowest = lowest < 0 ? price : qMin(lowest, price);
            highest = qMax(highest, price);
            stock += Id(sku, "stock_num");
        }
        QCOMPARE(Cents(l.vumo, "yv_price"), lowest);
        QVERIFY(Cents(l.vumo, "market_price") >= highest);
        QVERIFY(Cents(l.vumo, "cost_price") > 0 && Cents(l.vumo, "cost_price") < lowest);
        QCOMPARE(Id(l.vumo, "stock_num"), stock);

        const QString shop = Text(l.vumo, "shop_categorys");
        if (shop.isEmpty()) {
            ++withoutShop;
            continue;
        }
        QVERIFY2(pairs.match(shop).hasMatch(), qPrintable(shop));
        const QStringList ids = shop.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(';'));
        const QStringList names = shop.section(QLatin1Char('|'), 1).split(QLatin1Char(';'));
        QCOMPARE(names.size(), ids.size());
        for (int i = 0; i < ids.size(); ++i) {
            const qint64 parent = ids.at(i).section(QLatin1Char('-'), 0, 0).toLongLong();
            const qint64 child = ids.at(i).section(QLatin1Char('-'), 1).toLongLong();
            const SeedShopCategory* p = ix.shop.value(parent);
            const SeedShopCategory* ch = ix.shop.value(child);
            QVERIFY(p && ch && p->parentId == 0);
            // A child under its own parent, or a top category without children written twice.
            QVERIFY(parent == child ? !p->isParent : ch->parentId == parent);
            QCOMPARE(names.at(i), p->name + QLatin1Char('/') + ch->name);
        }
    }
    QVERIFY(withoutShop > 0 && withoutShop < c.listings.size() / 4);
}

void SeedCatalogueTest::statusesAndTextsAsThePlugInReadsThem()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    QSet<int> statuses;
    for (const SeedListing& l : c.listings) {
        // Read into the plug-in's own listing record, member by member as a download does.
        Quorvia::vumo::entity::VumoDataEntity record;
        for (auto it = l.vumo.constBegin(); it != l.vumo.constEnd(); ++it)
            record.SetApiValue(it.key(), it.value().toVariant());
        QVERIFY2(Quorvia::vumo::entity::IsMarketplaceVumoStatus(record.vumo_status()),
                 qPrintable(Text(l.vumo, "vumo_status")));
        statuses.insert(record.vumo_status());
        QCOMPARE(record.status(), 2);
        QCOMPARE(record.vumo_id(), Id(l.vumo, "vumo_id"));
        QCOMPARE(record.yv_price(), Cents(l.vumo, "yv_price"));
        QVERIFY(record.created().isValid() && record.modified() >= record.created());
    }
    QCOMPARE(statuses, (QSet<int>{1, 2, 4, 8, 513, 514, 516, 520, 1026, 1028}));
}

void SeedCatalogueTest::scaleCatalogueIsLargeAndUnique()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("scale"), 30000);
    QCOMPARE(c.listings.size(), 30000);
    QSet<qint64> vumoIds, skuIds, imageIds;
    QSet<QString> outerIds, itemNums;
    int skus = 0, images = 0;
    for (const SeedListing& l : c.listings) {
        vumoIds.insert(Id(l.vumo, "vumo_id"));
        itemNums.insert(Text(l.vumo, "item_num"));
        for (const QJsonObject& sku : l.skus) {
            skuIds.insert(Id(sku, "sku_id"));
            outerIds.insert(Text(sku, "outer_id"));
            ++skus;
        }
        for (const SeedImage& image : l.images)
            imageIds.insert(image.imageId);
        images += l.images.size();
    }
    QCOMPARE(vumoIds.size(), 30000);
    QCOMPARE(itemNums.size(), 30000);
    QCOMPARE(skuIds.size(), skus);
    QCOMPARE(outerIds.size(), skus);
    QCOMPARE(imageIds.size(), images);
    QVERIFY(!outerIds.contains(QString()));
    // Listing numbers have the length the download accepts (10 to 18 digits) and stay exact
    // in a JSON number.
    for (qint64 id :
         {*std::min_element(vumoIds.begin(), vumoIds.end()), *std::max_element(skuIds.begin(), skuIds.end())})
        QVERIFY(QString::number(id).size() >= 10 && id < (qint64(1) << 53));
}

VUMO_TEST_CLASS(SeedCatalogueTest)
#include "tst_SeedCatalogue.moc"
