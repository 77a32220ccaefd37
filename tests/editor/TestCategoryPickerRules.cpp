// The pickers' rules without widgets: the category tree from the store's rows, the search walk,
// the listing's attribute strings and the shop-category ticks and string.
#include "support/TestMain.h"

#include "editor/CategoryPickerRules.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VenderShopCategoryEntity.h"
#include "support/ListingFixture.h"

#include <QTest>

#include <memory>

using namespace Quorvia::vumo::editor;
using Quorvia::vumo::database::CategoryAttributeWithValues;
using Quorvia::vumo::entity::VenderShopCategoryEntity;

namespace {

VenderShopCategoryEntity* Cat(qint64 id, qint64 fid, const QString& name, int lev, int index = 0)
{
    auto* c = new VenderShopCategoryEntity;
    c->set_id(id);
    c->set_fid(fid);
    c->set_name(name);
    c->set_lev(lev);
    c->set_index_id(index);
    c->set_is_parent(lev < 3);
    c->set_status(1);
    return c;
}

CategoryAttributeWithValues Attr(qint64 aid, const QString& name, int inputType, int isReq, QList<qint64> vids = {})
{
    CategoryAttributeWithValues a;
    a.aid = aid;
    a.name = name;
    a.input_type = inputType;
    a.is_req = isReq;
    for (qint64 vid : vids)
        a.values.append({vid, QStringLiteral("v%1").arg(vid), 1, 0});
    return a;
}

// Brand (single, required), colour (multi), two free texts, one attribute of an unknown type.
QList<CategoryAttributeWithValues> Attributes()
{
    return {Attr(10, QStringLiteral("品牌"), 1, 1, {101, 102}), Attr(20, QStringLiteral("功能"), 2, 1, {201, 202, 203}),
            Attr(30, QStringLiteral("面料"), 3, 1), Attr(40, QStringLiteral("标准"), 3, 0),
            Attr(50, QStringLiteral("怪"), 7, 0)};
}

} // namespace

class TestCategoryPickerRules : public QObject
{
    Q_OBJECT

private slots:
    void treeLeavesOutUnknownLevelsAndOrphans()
    {
        // Rows in any order: children come before their parents here.
        const QList<VenderShopCategoryEntity*> rows = {
            Cat(111, 11, QStringLiteral("T恤"), 3),    Cat(11, 1, QStringLiteral("男装"), 2, 2),
            Cat(12, 1, QStringLiteral("女装"), 2, 1),  Cat(1, 0, QStringLiteral("服装"), 1),
            Cat(1111, 111, QStringLiteral("短袖"), 4), Cat(999, 77, QStringLiteral("无主"), 3)};
        QTest::ignoreMessage(QtWarningMsg, "类目cid=1111的层级未知");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^类目cid=999.*不存在")));
        const CategoryTree tree = BuildCategoryTree(rows);
        qDeleteAll(rows);

        QCOMPARE(tree.nodes.size(), 4);
        QCOMPARE(tree.indexOf(1111), -1);
        QCOMPARE(tree.indexOf(999), -1);
        QCOMPARE(tree.path(tree.indexOf(111)), QStringLiteral("服装>>男装>>T恤"));
        QVERIFY(tree.nodes.at(tree.indexOf(111)).leaf);
        QStringList order;
        for (int at : tree.treeOrder())
            order << tree.nodes.at(at).name;
        // Siblings by position: 女装 (1) before 男装 (2).
        QCOMPARE(order, QStringList({"服装", "女装", "男装", "T恤"}));
    }

    void searchWalk_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("visits"); // current match after start, then after each next()
        QTest::addColumn<bool>("nextAtStart");
        QTest::newRow("none") << QStringLiteral("鞋") << QList<int>{-1} << false;
        QTest::newRow("blank") << QStringLiteral("  ") << QList<int>{-1} << false;
        QTest::newRow("one") << QStringLiteral("t恤") << QList<int>{3} << false;
        QTest::newRow("several, trimmed") << QStringLiteral(" 装 ") << QList<int>{0, 1, 2} << true;
    }
    void searchWalk()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, visits);
        QFETCH(bool, nextAtStart);
        SearchWalk walk;
        walk.start({"服装", "女装", "男装", "T恤"}, text);
        QCOMPARE(walk.hasNext(), nextAtStart);
        QVERIFY(!walk.hasPrevious());
        QList<int> seen{walk.current()};
        while (walk.next())
            seen << walk.current();
        QCOMPARE(seen, visits);
        // At the last match: nothing further ahead, and the way back is open when there was a way.
        QVERIFY(!walk.hasNext());
        QCOMPARE(walk.hasPrevious(), visits.size() > 1);
        while (walk.previous()) { }
        QCOMPARE(walk.current(), visits.first());
    }

    void attributeStringsRoundTrip()
    {
        const QString attributes = QStringLiteral("10:102|20:201,203");
        const QString pids = QStringLiteral("30|40");
        // Stored texts keep separators escaped; "棉,麻" comes back as typed.
        const QString strs = QStringLiteral("棉{DouHao}麻|GB/T 1");
        QTest::ignoreMessage(QtWarningMsg, "属性aid=50的输入类型未知");
        QTest::ignoreMessage(QtWarningMsg, "类目属性类型非单选、非多选、非输入，类型未知");
        AttributeForm form = BuildAttributeForm(9, Attributes(), attributes, pids, strs);
        form.brandAid = 10;
        QCOMPARE(form.fields.size(), 4);
        QCOMPARE(form.fields.at(2).text, QStringLiteral("棉,麻"));

        AttributeStrings out = BuildAttributeStrings(form);
        QCOMPARE(out.attributes, attributes);
        QCOMPARE(out.inputPids, pids);
        QCOMPARE(out.inputStrs, strs);
        QCOMPARE(out.brandVid, qint64(102));
        QCOMPARE(out.brandAid, qint64(10));

        // Blank texts and vids no longer offered drop out.
        form.fields[2].text = QStringLiteral("   ");
        const AttributeForm stale = BuildAttributeForm(9, Attributes().mid(0, 2), QStringLiteral("10:999|20:202"), {},
                                                       {});
        out = BuildAttributeStrings(form);
        QCOMPARE(out.inputPids, QStringLiteral("40"));
        QCOMPARE(BuildAttributeStrings(stale).attributes, QStringLiteral("20:202"));

        // A store of an earlier release kept the marketplace's "^" between items; a bad item
        // hides none of the others.
        const AttributeForm old = BuildAttributeForm(9, Attributes().mid(0, 2), QStringLiteral("10:102^x:1^20:201,203"),
                                                     {}, {});
        QCOMPARE(BuildAttributeStrings(old).attributes, attributes);
    }

    void inputTextsOfDifferentLengthsFillNothing()
    {
        QTest::ignoreMessage(QtWarningMsg,
                             "CategoryAttributeBrowser::AnalysisAttvalues  "
                             "可输入属性ID串Input_pids和可输入属性值串Input_strs解析后长度不相同");
        bool ok = true;
        QVERIFY(ParseInputTexts(QStringLiteral("30|40|60"), QStringLiteral("a|b"), &ok).isEmpty());
        QVERIFY(!ok);
    }

    void freeTextRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("bar") << QStringLiteral("棉|麻") << false;
        QTest::newRow("50") << QString(50, QLatin1Char('x')) << true;
        QTest::newRow("51") << QString(51, QLatin1Char('x')) << false;
        QTest::newRow("empty") << QString() << true;
    }
    void freeTextRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, allowed);
        QCOMPARE(FreeTextAllowed(text), allowed);
    }

    void completenessFailsOnEachRequiredKind_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("missing");
        QTest::newRow("all filled") << QStringLiteral("10:101|20:202") << QStringLiteral("棉") << QList<int>{};
        QTest::newRow("single empty") << QStringLiteral("20:202") << QStringLiteral("棉") << QList<int>{0};
        QTest::newRow("no flag") << QStringLiteral("10:101") << QStringLiteral("棉") << QList<int>{1};
        QTest::newRow("blank text") << QStringLiteral("10:101|20:201") << QStringLiteral("  ") << QList<int>{2};
    }
    void completenessFailsOnEachRequiredKind()
    {
        QFETCH(QString, attributes);
        QFETCH(QString, text);
        QFETCH(QList<int>, missing);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("类型未知")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("类型未知")));
        const AttributeForm form = BuildAttributeForm(9, Attributes(), attributes, QStringLiteral("30"), text);
        // The optional free text (40) never counts.
        QCOMPARE(MissingRequired(form), missing);
    }

    void brandFeatures_data()
    {
        QTest::addColumn<QString>("features");
        QTest::addColumn<bool>("brand");
        QTest::newRow("both") << QStringLiteral("erpAttType:KZSX;brand:1") << true;
        QTest::newRow("bad pairs ignored") << QStringLiteral("x;erpAttType:KZSX;a:b:c;brand:") << true;
        QTest::newRow("no brand key") << QStringLiteral("erpAttType:KZSX") << false;
        QTest::newRow("other type") << QStringLiteral("erpAttType:XX;brand:1") << false;
    }
    void brandFeatures()
    {
        QFETCH(QString, features);
        QFETCH(bool, brand);
        QCOMPARE(IsBrandFeatures(features), brand);
    }

    void shopCategoryTicksAndString()
    {
        using VumoTest::makeShopCategory;
        const QList<Quorvia::vumo::entity::SellerCatsEntity*> rows = {
            makeShopCategory(12, 0, QStringLiteral("Phones"), 1), makeShopCategory(56, 0, QStringLiteral("Gifts"), 2),
            makeShopCategory(34, 12, QStringLiteral("Cases"), 1), makeShopCategory(35, 12, QStringLiteral("Cables"), 2),
            makeShopCategory(88, 99, QStringLiteral("Lost"), 1)};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^店内分类cid=88")));
        ShopCategoryTicks ticks(BuildShopCategoryTree(rows));
        qDeleteAll(rows);

        // Ticking a top with children ticks them; unticking one leaves the top partly ticked.
        ticks.setTicked(0, -1, true);
        QCOMPARE(ticks.topState(0), Qt::Checked);
        ticks.setTicked(0, 1, false);
        QCOMPARE(ticks.topState(0), Qt::PartiallyChecked);
        ticks.setTicked(1, -1, true); // no children: ticked whole
        const QString text = BuildShopCategorys(ticks.chosen());
        QCOMPARE(text, QStringLiteral("12-34;56-56|Phones/Cases;Gifts/Gifts"));

        ShopCategoryTicks again(ticks.tree());
        again.load(text);
        QCOMPARE(BuildShopCategorys(again.chosen()), text);
        // The search form keeps only the ids part; a bare top id stands for itself.
        again.load(QStringLiteral("12-35;56"));
        QCOMPARE(BuildShopCategorys(again.chosen()), QStringLiteral("12-35;56-56|Phones/Cables;Gifts/Gifts"));
        again.load(QString());
        QVERIFY(BuildShopCategorys(again.chosen()).isEmpty());

        QVERIFY(ShopCategoryLimitMessage(10).isEmpty());
        QCOMPARE(ShopCategoryLimitMessage(11), QStringLiteral("提示：店内分类最多只能设置10个！"));
    }
};

VUMO_TEST_CLASS(TestCategoryPickerRules)
#include "TestCategoryPickerRules.moc"
