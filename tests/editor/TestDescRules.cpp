// Description rules without widgets: the editor's check, the batch operations with their
// messages and counts, and the script that fills the product preview.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "editor/PreviewFill.h"
#include "editor/VumoDescProcess.h"
#include "editor/VumoDescRules.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"

#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QTest>

using namespace Quorvia::vumo;
using editor::DescriptionCheckMessage;
using editor::ReplaceCounted;

namespace {

// A stand-in document: querySelector finds only the selectors listed in `present`, records
// what the script writes and keeps created children.
const char* const kFakeDocument = R"(
var found = {};
function makeNode(tag) {
  return { tag: tag, textContent: '', innerHTML: '', attrs: {}, children: [],
           setAttribute: function(k, v) { this.attrs[k] = v; },
           appendChild: function(c) { this.children.push(c); } };
}
var document = {
  querySelector: function(s) {
    if (present.indexOf(s) < 0) return null;
    if (!found[s]) found[s] = makeNode(s);
    return found[s];
  },
  createElement: function(t) { return makeNode(t); }
};
)";

// Runs the fill script against the stand-in document; the engine keeps `found`.
bool runFill(QJSEngine& engine, const QString& script, const QStringList& present)
{
    QJSValue list = engine.newArray(uint(present.size()));
    for (int i = 0; i < present.size(); ++i)
        list.setProperty(quint32(i), present.at(i));
    engine.globalObject().setProperty(QStringLiteral("present"), list);
    const QJSValue setup = engine.evaluate(QString::fromUtf8(kFakeDocument));
    if (setup.isError())
        return false;
    const QJSValue result = engine.evaluate(script);
    if (result.isError()) {
        qWarning() << result.toString();
        return false;
    }
    return true;
}

QJSValue node(QJSEngine& engine, const QString& selector)
{
    return engine.globalObject().property(QStringLiteral("found")).property(selector);
}

const QStringList kAllSelectors = {
    QStringLiteral("h1[id=vumo_name]"),    QStringLiteral("img[id=main_img]"), QStringLiteral("del[id=market_price]"),
    QStringLiteral("strong[id=yv_price]"), QStringLiteral("a[id=owner]"),      QStringLiteral("div[id=content_desc]"),
    QStringLiteral("li[id=detail_name]"),  QStringLiteral("div[id=choose]"),
};

} // namespace

class TestDescRules : public QObject
{
    Q_OBJECT

private slots:
    void editorCheckRefusesEmptyAndTooLong()
    {
        QCOMPARE(DescriptionCheckMessage(QString()), QStringLiteral("商品描述不能为空！"));
        QCOMPARE(DescriptionCheckMessage(QStringLiteral(" \n\t")), QStringLiteral("商品描述不能为空！"));
        QCOMPARE(DescriptionCheckMessage(QString(30000, QLatin1Char('x'))), QString());
        // Cutting could end the HTML inside a tag, so a long one is refused, never cut.
        QCOMPARE(DescriptionCheckMessage(QString(30001, QLatin1Char('x'))), QStringLiteral("商品描述长度超过限制！"));
        QCOMPARE(DescriptionCheckMessage(QStringLiteral("<p>") + QString(29997, QChar(0x4E2D))), QString());
    }

    void replaceCountsReplacementsMade_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        // clang-format off
        QTest::newRow("overlap counts once") << "aaa" << "aa" << "b" << "ba" << 1;
        QTest::newRow("four a, two pairs") << "aaaa" << "aa" << "b" << "bb" << 2;
        QTest::newRow("case-sensitive") << "Img img IMG" << "img" << "pic" << "Img pic IMG" << 1;
        QTest::newRow("absent") << "<p>x</p>" << "y" << "z" << "<p>x</p>" << 0;
        QTest::newRow("to contains from") << "ab" << "a" << "aa" << "aab" << 1;
        QTest::newRow("empty from") << "abc" << "" << "X" << "abc" << 0;
        QTest::newRow("removal") << "a<br>b<br>" << "<br>" << "" << "ab" << 2;
        QTest::newRow("percent signs kept") << "%1 and %2" << "and" << "%3" << "%1 %3 %2" << 1;
        // clang-format on
    }
    void replaceCountsReplacementsMade()
    {
        QFETCH(QString, text);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        QFETCH(int, count);
        QCOMPARE(ReplaceCounted(text, from, to), count);
        QCOMPARE(text, expected);
    }

    void processMessages_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        const QString desc = QStringLiteral("<p>旧描述</p>");
        // clang-format off
        QTest::newRow("new content") << desc << 0 << "<p>新</p>" << "ignored" << true << "<p>新</p>"
                                     << "修改成功！";
        QTest::newRow("new content empty") << desc << 0 << "" << "" << false << "" << "修改失败：商品描述为空！";
        QTest::newRow("replace counts made") << "aaa" << 1 << "aa" << "b" << true << "ba" << "修改成功：查找并替换1个";
        QTest::newRow("replace absent") << desc << 1 << "不存在" << "x" << true << desc << "修改成功：查找并替换0个";
        QTest::newRow("replace empty A") << desc << 1 << "" << "x" << true << desc << "修改成功：查找并替换0个";
        QTest::newRow("replace all away") << desc << 1 << desc << "" << false << "" << "修改失败：商品描述为空！";
        QTest::newRow("both ends") << desc << 2 << "<h2>头</h2>" << "<p>尾</p>" << true
                                   << "<h2>头</h2><p>旧描述</p><p>尾</p>" << "修改成功！";
        QTest::newRow("both ends of nothing") << "" << 2 << "" << "" << false << "" << "修改失败：商品描述为空！";
        QTest::newRow("exactly 30000") << QString(29990, QLatin1Char('d')) << 2 << "12345" << "67890" << true
                                       << QString() << "修改成功！";
        QTest::newRow("30001 refused") << QString(29990, QLatin1Char('d')) << 2 << "12345" << "678901" << false
                                       << "" << "修改失败：商品描述长度超过限制！";
        QTest::newRow("unknown mode") << desc << 3 << "a" << "b" << false << "" << "修改失败！";
        // clang-format on
    }
    void processMessages()
    {
        QFETCH(QString, description);
        QFETCH(int, mode);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        QFETCH(QString, message);
        VumoDescProcess process(nullptr);
        QString out = QStringLiteral("untouched");
        QCOMPARE(process.process(description, out, mode, a, b), ok);
        QCOMPARE(process.Message(), message);
        if (!ok)
            QCOMPARE(out, QStringLiteral("untouched"));
        else if (!result.isEmpty())
            QCOMPARE(out, result);
        else
            QCOMPARE(out.size(), 30000);
    }

    void saleAttributesGroupInFirstSeenOrder()
    {
        const auto groups = editor::SaleAttributeGroups(
            {QStringLiteral("颜色:红^尺码:L"), QStringLiteral("颜色:蓝^尺码:L"), QStringLiteral("颜色:红^尺码:XL"),
             QStringLiteral("broken^尺码:"), QString()});
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups.at(0).name, QStringLiteral("颜色"));
        QCOMPARE(groups.at(0).values, QStringList({QStringLiteral("红"), QStringLiteral("蓝")}));
        QCOMPARE(groups.at(1).name, QStringLiteral("尺码"));
        QCOMPARE(groups.at(1).values, QStringList({QStringLiteral("L"), QStringLiteral("XL")}));
    }

    // Whatever a title holds arrives in the page exactly, as text, and cannot end the script.
    void fillScriptCarriesHostileTextsExactly()
    {
        editor::PreviewValues values;
        values.title = QStringLiteral("Tom's \"best\" 杯 </script><script>alert(1)</script> C:\\dir\\n \u2028 end");
        values.mainImageUrl = QStringLiteral("file:///tmp/%E5%9B%BE%20a.png");
        values.marketPrice = 123456;
        values.yvPrice = 99;
        values.shopName = QStringLiteral("店'); alert(2); ('");
        values.description = QStringLiteral("<p class=\"x\">描述 \\ ' \"</p>");
        values.saleAttributes = {{QStringLiteral("颜色"), {QStringLiteral("红"), QStringLiteral("<b>蓝</b>")}}};
        const QString script = editor::PreviewFillScript(values);

        QJSEngine engine;
        QVERIFY(runFill(engine, script, kAllSelectors));
        QCOMPARE(node(engine, QStringLiteral("h1[id=vumo_name]")).property(QStringLiteral("textContent")).toString(),
                 values.title);
        QCOMPARE(node(engine, QStringLiteral("h1[id=vumo_name]")).property(QStringLiteral("innerHTML")).toString(),
                 QString());
        const QJSValue img = node(engine, QStringLiteral("img[id=main_img]")).property(QStringLiteral("attrs"));
        QCOMPARE(img.property(QStringLiteral("src")).toString(), values.mainImageUrl);
        QCOMPARE(img.property(QStringLiteral("alt")).toString(), values.title);
        QCOMPARE(
            node(engine, QStringLiteral("del[id=market_price]")).property(QStringLiteral("textContent")).toString(),
            QStringLiteral("￥1234.56"));
        QCOMPARE(node(engine, QStringLiteral("strong[id=yv_price]")).property(QStringLiteral("textContent")).toString(),
                 QStringLiteral("0.99"));
        QCOMPARE(node(engine, QStringLiteral("a[id=owner]")).property(QStringLiteral("textContent")).toString(),
                 values.shopName);
        QCOMPARE(node(engine, QStringLiteral("div[id=content_desc]")).property(QStringLiteral("innerHTML")).toString(),
                 values.description);
        QCOMPARE(node(engine, QStringLiteral("li[id=detail_name]")).property(QStringLiteral("textContent")).toString(),
                 QStringLiteral("商品名称：") + values.title);
        const QJSValue dl =
            node(engine, QStringLiteral("div[id=choose]")).property(QStringLiteral("children")).property(0);
        const QJSValue dt = dl.property(QStringLiteral("children")).property(0);
        const QJSValue dd = dl.property(QStringLiteral("children")).property(1);
        QCOMPARE(dt.property(QStringLiteral("textContent")).toString(), QStringLiteral("颜色："));
        QCOMPARE(dd.property(QStringLiteral("children")).property(1).property(QStringLiteral("textContent")).toString(),
                 QStringLiteral("<b>蓝</b>"));
        // No global was made or changed by the texts.
        QVERIFY(engine.globalObject().property(QStringLiteral("alert")).isUndefined());
    }

    void fillScriptSkipsMissingElements()
    {
        editor::PreviewValues values;
        values.title = QStringLiteral("标题");
        values.description = QStringLiteral("<p>d</p>");
        QJSEngine engine;
        QVERIFY(runFill(engine, editor::PreviewFillScript(values), {QStringLiteral("div[id=content_desc]")}));
        QCOMPARE(node(engine, QStringLiteral("div[id=content_desc]")).property(QStringLiteral("innerHTML")).toString(),
                 values.description);
        QVERIFY(node(engine, QStringLiteral("h1[id=vumo_name]")).isUndefined());
    }

    void jsStringLiteralRoundTrips()
    {
        const QStringList texts = {QString(),
                                   QStringLiteral("a\"b\\c"),
                                   QStringLiteral("line\nbreak\r\t"),
                                   QStringLiteral("</script>"),
                                   QString(QChar(0x2028)) + QChar(0x2029),
                                   QStringLiteral("中文 ' `${x}`")};
        QJSEngine engine;
        for (const QString& text : texts) {
            const QString literal = editor::JsStringLiteral(text);
            QVERIFY2(!literal.contains(QChar(0x2028)) && !literal.contains(QLatin1Char('\n')), qPrintable(literal));
            QCOMPARE(engine.evaluate(literal).toString(), text);
        }
        QCOMPARE(editor::JsStringLiteral(QStringLiteral("a\"b\\c")), QStringLiteral("\"a\\\"b\\\\c\""));
    }

    void previewValuesComeFromTheListing()
    {
        VumoTest::TempHome home;
        entity::VumoDataEntity vumo;
        vumo.set_title(QStringLiteral("保温杯"));
        vumo.set_logo(QStringLiteral("/tmp/图 a.png"));
        vumo.set_market_price(2000);
        vumo.set_yv_price(1500);
        vumo.set_desc(QStringLiteral("<p>d</p>"));
        auto* red = new entity::VumoSkuEntity;
        red->SetDisplayText(QStringLiteral("颜色:红"));
        vumo.AddSku(red);
        auto* plain = new entity::VumoSkuEntity; // the default SKU shows nothing
        vumo.AddSku(plain);
        const editor::PreviewValues values = editor::PreviewValuesOf(vumo, QStringLiteral("小店"), QString());
        QCOMPARE(values.mainImageUrl, QStringLiteral("file:///tmp/%E5%9B%BE%20a.png"));
        QCOMPARE(values.shopName, QStringLiteral("小店"));
        QCOMPARE(values.saleAttributes.size(), 1);
        QCOMPARE(values.saleAttributes.first().values, QStringList{QStringLiteral("红")});
    }

    void sellerTemplateOverridesTheBuiltInOne()
    {
        VumoTest::TempHome home;
        QCOMPARE(editor::PreviewTemplatePath(), QStringLiteral(":/preview/preview.html"));
        QVERIFY(QDir().mkpath(editor::PreviewBaseFolder()));
        QFile own(editor::PreviewBaseFolder() + QStringLiteral("preview.html"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("<h1 id=\"vumo_name\"></h1>");
        own.close();
        QCOMPARE(editor::PreviewTemplatePath(), own.fileName());
    }
};

VUMO_TEST_CLASS(TestDescRules)
#include "TestDescRules.moc"
