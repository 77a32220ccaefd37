// The SKU page's rules without widgets: sale attributes from the category store, the SKU key and
// alias texts, the rows ticked values make, and the checks and records of a save.
#include "support/TestMain.h"

#include "PickerStoreFixture.h"
#include "editor/SkuRules.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"

#include <QTest>

using namespace Quorvia::vumo::editor;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

// Colour 1 with vids 101.., size 2 with vids 201..
SkuAttribute Attribute(qint64 aid, const QString& name, int count)
{
    SkuAttribute a{aid, name, {}};
    for (int i = 1; i <= count; ++i)
        a.values << SkuValue{aid * 100 + i, name + QString::number(i)};
    return a;
}

SkuGrid TwoAttributes(int colours = 12, int sizes = 12)
{
    return SkuGrid({Attribute(1, QStringLiteral("颜色"), colours), Attribute(2, QStringLiteral("尺码"), sizes)});
}

VumoSkuEntity* Sku(qint64 id, const QString& attributes, qint64 stock = 5, qint64 price = 1000)
{
    auto* s = new VumoSkuEntity;
    s->set_sku_id(id);
    s->set_attributes(attributes);
    s->set_stock_num(stock);
    s->set_yv_price(price);
    return s;
}

QStringList Keys(const SkuGrid& grid)
{
    QStringList keys;
    for (int r = 0; r < grid.RowCount(); ++r)
        keys << grid.RowAttributes(r);
    return keys;
}

void Fill(SkuGrid& grid, const QString& stock, const QString& price)
{
    grid.ApplyToRows(SkuField::Stock, stock, false);
    grid.ApplyToRows(SkuField::Price, price, false);
}

} // namespace

class TestSkuRules : public QObject
{
    Q_OBJECT

private slots:
    void saleAttributesFromStore()
    {
        VumoTest::PickerStoreFixture store(false);
        QVERIFY(store.valid);
        // cid 10: 颜色 + 尺码 and a non-sale attribute; 11: three sale attributes; 12: none.
        // Values are stored out of order: the position decides.
        QVERIFY(store.storeAttributes({{1, 10, QStringLiteral("主体颜色"), 1, 2},
                                       {2, 10, QStringLiteral("尺码"), 1, 2},
                                       {3, 10, QStringLiteral("材质"), 0, 2},
                                       {4, 11, QStringLiteral("a"), 1, 2},
                                       {5, 11, QStringLiteral("b"), 1, 2},
                                       {6, 11, QStringLiteral("c"), 1, 2},
                                       {7, 12, QStringLiteral("材质"), 0, 2}}));

        const SaleAttributes ok = LoadSaleAttributes(*store.cats, 10, 77);
        QCOMPARE(ok.outcome, SaleAttributes::Ok);
        QCOMPARE(ok.attributes.size(), 2);
        QVERIFY(ok.attributes.at(0).IsColour());
        QVERIFY(!ok.attributes.at(1).IsColour());
        QCOMPARE(ok.attributes.at(0).values.at(0).vid, 101);
        QCOMPARE(ok.attributes.at(1).values.at(1).name, QStringLiteral("尺码2"));

        QTest::ignoreMessage(QtWarningMsg, "商品77的类别:11销售属性大于2个");
        const SaleAttributes three = LoadSaleAttributes(*store.cats, 11, 77);
        QCOMPARE(three.outcome, SaleAttributes::TooMany);
        QVERIFY(three.attributes.isEmpty());
        QCOMPARE(LoadSaleAttributes(*store.cats, 12, 77).outcome, SaleAttributes::NoneDefined);
        QCOMPARE(LoadSaleAttributes(*store.cats, 0, 77).outcome, SaleAttributes::NoCategory);
    }

    void storedTexts()
    {
        bool ok = false;
        QCOMPARE(ParseSkuAttributes(QStringLiteral("1:10^2:20"), &ok), (QList<SkuPair>{{1, 10}, {2, 20}}));
        QVERIFY(ok);
        QCOMPARE(ParseSkuAttributes(QStringLiteral("1:10^x:2^3"), &ok), (QList<SkuPair>{{1, 10}}));
        QVERIFY(!ok);
        QCOMPARE(SkuKey(QStringLiteral("2:20^1:10")), SkuKey(QStringLiteral("1:10^2:20")));
        QVERIFY(SkuKey(QStringLiteral("1:10^2:21")) != SkuKey(QStringLiteral("1:10^2:20")));

        const auto aliases = ParsePropertyAlias(QStringLiteral("1:101:大红^2:201:XL^bad^1:x:y^"));
        QCOMPARE(aliases.size(), 2);
        QCOMPARE(aliases.value({1, 101}), QStringLiteral("大红"));
        // Written back in attribute and value order, ticked values only.
        SkuGrid grid = TwoAttributes();
        QList<VumoSkuEntity*> skus{Sku(0, QStringLiteral("1:101^2:201"))};
        grid.Load(skus, QStringLiteral("2:201:XL^1:101:大红^1:102:深蓝^"));
        qDeleteAll(skus);
        QCOMPARE(grid.PropertyAlias(), QStringLiteral("1:101:大红^2:201:XL^"));
        QCOMPARE(grid.DisplayTextOf(grid.RowAttributes(0)), QStringLiteral("颜色:大红^尺码:XL"));
    }

    void tickingMakesGroupedRows()
    {
        SkuGrid grid = TwoAttributes();
        QCOMPARE(grid.SetTicked(1, 202, true), SkuGrid::TickResult::Done);
        QCOMPARE(Keys(grid), QStringList{QStringLiteral("2:202")});
        grid.SetField(0, SkuField::Price, QStringLiteral("9"));
        // A colour fills the waiting row (keeping what was typed), the next adds rows.
        grid.SetTicked(0, 102, true);
        grid.SetTicked(0, 101, true);
        grid.SetTicked(1, 201, true);
        QCOMPARE(Keys(grid), (QStringList{"1:101^2:201", "1:101^2:202", "1:102^2:201", "1:102^2:202"}));
        QCOMPARE(grid.Field(3, SkuField::Price), QStringLiteral("9"));
        QCOMPARE(grid.FirstValueSpan(0), 2);
        QCOMPARE(grid.FirstValueSpan(1), 0);
        QCOMPARE(grid.FirstValueSpan(2), 2);
        QCOMPARE(grid.ColourValues().size(), 2);
        // Unticking every size leaves each colour alone on a row.
        grid.SetTicked(1, 201, false);
        grid.SetTicked(1, 202, false);
        QCOMPARE(Keys(grid), (QStringList{"1:101", "1:102"}));
    }

    void rowLimit_data()
    {
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("sizes");
        QTest::newRow("10x10 then an 11th colour") << 10 << 10;
        QTest::newRow("9x11=99 then a 10th colour") << 9 << 11;
    }
    void rowLimit()
    {
        QFETCH(int, colours);
        QFETCH(int, sizes);
        SkuGrid grid = TwoAttributes();
        for (int s = 1; s <= sizes; ++s)
            QCOMPARE(grid.SetTicked(1, 200 + s, true), SkuGrid::TickResult::Done);
        for (int c = 1; c <= colours; ++c)
            QCOMPARE(grid.SetTicked(0, 100 + c, true), SkuGrid::TickResult::Done);
        const int before = grid.RowCount();
        QCOMPARE(before, colours * sizes);
        QCOMPARE(grid.SetTicked(0, 100 + colours + 1, true), SkuGrid::TickResult::TooManyRows);
        QCOMPARE(grid.RowCount(), before);
        QVERIFY(!grid.IsTicked(0, 100 + colours + 1));
    }

    void aliases_data()
    {
        QTest::addColumn<QString>("alias");
        QTest::addColumn<int>("result");
        QTest::newRow("colon") << "a:b" << int(SkuGrid::AliasResult::ForbiddenChar);
        QTest::newRow("caret") << "a^b" << int(SkuGrid::AliasResult::ForbiddenChar);
        QTest::newRow("bar") << "a|b" << int(SkuGrid::AliasResult::ForbiddenChar);
        QTest::newRow("another value's name") << "颜色2" << int(SkuGrid::AliasResult::Taken);
        QTest::newRow("another value's alias") << " 酒红 " << int(SkuGrid::AliasResult::Taken);
        QTest::newRow("its own name") << "颜色1" << int(SkuGrid::AliasResult::Done);
    }
    void aliases()
    {
        QFETCH(QString, alias);
        QFETCH(int, result);
        SkuGrid grid = TwoAttributes();
        grid.SetTicked(0, 101, true);
        QCOMPARE(grid.SetAlias(0, 103, QStringLiteral("酒红")), SkuGrid::AliasResult::Done);
        QCOMPARE(grid.SetAlias(0, 101, QStringLiteral("大红")), SkuGrid::AliasResult::Done);
        QCOMPARE(int(grid.SetAlias(0, 101, alias)), result);
        const QString expected = result == int(SkuGrid::AliasResult::Done) ? alias : QStringLiteral("大红");
        QCOMPARE(grid.Alias(0, 101), expected);
        QCOMPARE(grid.PropertyAlias(), QStringLiteral("1:101:%1^").arg(expected));
    }

    void removedSkusAndRetick()
    {
        SkuGrid grid = TwoAttributes();
        QList<VumoSkuEntity*> skus{Sku(7, QStringLiteral("2:201^1:101")), Sku(8, QStringLiteral("1:102^2:201")),
                                   Sku(9, QStringLiteral("1:101^2:299")), Sku(0, QString())};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^SKU 9 ")));
        QCOMPARE(grid.Load(skus, QString()), 1); // 299 is no longer offered
        qDeleteAll(skus);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.RemovedSkuIds(), QList<qint64>{9});
        grid.SetField(0, SkuField::Stock, QStringLiteral("42"));
        grid.SetTicked(0, 101, false);
        QCOMPARE(grid.RemovedSkuIds(), (QList<qint64>{7, 9}));
        grid.SetTicked(0, 101, true);
        QCOMPARE(grid.RemovedSkuIds(), QList<qint64>{9});
        QCOMPARE(grid.Rows().at(0).skuId, 7);
        QCOMPARE(grid.Field(0, SkuField::Stock), QStringLiteral("42"));
        // The store's key of the SKU is kept as stored.
        QCOMPARE(grid.RowAttributes(0), QStringLiteral("2:201^1:101"));
    }

    void rowChecks_data()
    {
        QTest::addColumn<QStringList>("stocks");
        QTest::addColumn<QStringList>("prices");
        QTest::addColumn<QStringList>("outerIds");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<qint64>("minPrice");
        const QStringList none{"", "", ""};
        QTest::newRow("0.005 is one hundredth")
            << QStringList{"1", "2", "3"} << QStringList{"0.005", "1", "2"} << none << QStringList() << qint64(1);
        QTest::newRow("0.004 rounds to nothing") << QStringList{"1", "2", "3"} << QStringList{"0.004", "1", "x"} << none
                                                 << QStringList{"SKUYv价只能是正整数"} << qint64(0);
        QTest::newRow("empty fields, row order")
            << QStringList{"1", "", " "} << QStringList{" ", "1", "1"} << none
            << QStringList{"SKU属性价格不能为空！", "SKU属性库存不能为空！"} << qint64(0);
        QTest::newRow("above the market price") << QStringList{"1", "2", "3"} << QStringList{"1", "500.01", "2"} << none
                                                << QStringList{"SKUYv价不能大于市场价"} << qint64(0);
        QTest::newRow("seller code repeated twice, told once")
            << QStringList{"1", "2", "3"} << QStringList{"1", "2", "3"} << QStringList{"A", " A", "A "}
            << QStringList{"商家SKUID不能重复"} << qint64(0);
    }
    void rowChecks()
    {
        QFETCH(QStringList, stocks);
        QFETCH(QStringList, prices);
        QFETCH(QStringList, outerIds);
        QFETCH(QStringList, errors);
        QFETCH(qint64, minPrice);
        SkuGrid grid({Attribute(1, QStringLiteral("颜色"), 3)});
        for (int i = 0; i < 3; ++i) {
            grid.SetTicked(0, 101 + i, true);
            grid.SetField(i, SkuField::Stock, stocks.at(i));
            grid.SetField(i, SkuField::Price, prices.at(i));
            grid.SetField(i, SkuField::OuterId, outerIds.at(i));
        }
        const SkuCheckResult result = CheckSkuRows(grid, 50000, true);
        QCOMPARE(result.errors, errors);
        QCOMPARE(result.minPrice, minPrice);
        QCOMPARE(result.records.size(), errors.isEmpty() ? 3 : 0);
    }

    void duplicateDisplayText()
    {
        SkuGrid grid = TwoAttributes();
        QList<VumoSkuEntity*> skus{Sku(0, QStringLiteral("1:101")), Sku(0, QStringLiteral("1:102"))};
        grid.Load(skus, QStringLiteral("1:101:同色^1:102:同色^"));
        qDeleteAll(skus);
        Fill(grid, QStringLiteral("1"), QStringLiteral("1"));
        QCOMPARE(CheckSkuRows(grid, 0, true).errors, QStringList{"\"同色\"属性内容不允许有重复。"});
    }

    void priceRange_data()
    {
        QTest::addColumn<qint64>("listingPrice");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("35 above") << qint64(3500) << false;
        QTest::newRow("9.99 below") << qint64(999) << false;
        QTest::newRow("10 lowest") << qint64(1000) << true;
        QTest::newRow("30 highest") << qint64(3000) << true;
    }
    void priceRange()
    {
        QFETCH(qint64, listingPrice);
        QFETCH(bool, accepted);
        SkuGrid grid({Attribute(1, QStringLiteral("尺码"), 3)});
        const QStringList prices{"20", "10", "30"};
        for (int i = 0; i < 3; ++i) {
            grid.SetTicked(0, 101 + i, true);
            grid.SetField(i, SkuField::Stock, QStringLiteral("1"));
            grid.SetField(i, SkuField::Price, prices.at(i));
        }
        const SkuCheckResult result = CheckSkuRows(grid, 0, true);
        QVERIFY(result.ok());
        QCOMPARE(PriceRangeMessage(listingPrice, result.minPrice, result.maxPrice).isEmpty(), accepted);
    }

    void applyToUnfilledRows()
    {
        SkuGrid grid = TwoAttributes();
        grid.SetTicked(0, 101, true);
        grid.SetTicked(0, 102, true);
        grid.SetTicked(1, 201, true);
        grid.SetField(1, SkuField::Price, QStringLiteral("8"));
        grid.ApplyToRows(SkuField::Price, QStringLiteral("5"), true);
        QCOMPARE(grid.Field(0, SkuField::Price), QStringLiteral("5"));
        QCOMPARE(grid.Field(1, SkuField::Price), QStringLiteral("8"));
        grid.SetTicked(1, 202, true); // rows 101/201, 101/202, 102/201, 102/202
        grid.SetField(2, SkuField::Stock, QStringLiteral("3"));
        grid.ApplySameValue(2, 0, SkuField::Stock);
        QCOMPARE(grid.Field(3, SkuField::Stock), QStringLiteral("3"));
        QCOMPARE(grid.Field(0, SkuField::Stock), QString());
        grid.ApplySameValue(2, 1, SkuField::Stock);
        QCOMPARE(grid.Field(0, SkuField::Stock), QStringLiteral("3"));
    }

    void writeRecords_data()
    {
        QTest::addColumn<bool>("stockKept");
        QTest::newRow("stock kept") << true;
        QTest::newRow("stock mode 1") << false;
    }
    void writeRecords()
    {
        QFETCH(bool, stockKept);
        SkuGrid grid = TwoAttributes();
        QList<VumoSkuEntity*> skus{Sku(7, QStringLiteral("2:201^1:101"))};
        grid.Load(skus, QString());
        qDeleteAll(skus);
        grid.SetTicked(0, 102, true);
        Fill(grid, QStringLiteral("4"), QStringLiteral("12.5"));
        grid.SetField(0, SkuField::Price, QStringLiteral("10"));
        const SkuCheckResult checked = CheckSkuRows(grid, 0, stockKept);
        QVERIFY(checked.ok());
        VumoDataEntity record;
        record.set_client_id(QStringLiteral("c1"));
        record.set_stock_num(99);
        record.AddSku(Sku(7, QStringLiteral("2:201^1:101")));
        WriteSkus(grid, checked, stockKept, true, record);
        QCOMPARE(record.Skus().size(), 2);
        const VumoSkuEntity* kept = record.Skus().at(0);
        QCOMPARE(kept->sku_id(), 7);
        QCOMPARE(kept->client_id(), QStringLiteral("c1"));
        QCOMPARE(kept->yv_price(), 1000);
        QCOMPARE(record.Skus().at(1)->sku_id(), 0);
        QCOMPARE(record.Skus().at(1)->attributes(), QStringLiteral("1:102^2:201"));
        QCOMPARE(record.Skus().at(1)->DisplayText(), QStringLiteral("颜色:颜色2^尺码:尺码1"));
        QCOMPARE(kept->stock_num(), stockKept ? 4 : -1);
        QCOMPARE(record.stock_num(), stockKept ? 8 : -1);
        QCOMPARE(record.min_yvprice(), 1000);
        QCOMPARE(record.max_yvprice(), 1250);
    }
};

VUMO_TEST_CLASS(TestSkuRules)
#include "TestSkuRules.moc"
