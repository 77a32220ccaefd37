// The completeness check: rule order and the boundaries of each rule.
#include "VumoStoreFixture.h"
#include "database/VumoCompleteness.h"
#include "support/TestMain.h"

#include <QTest>

#include <functional>

using namespace VumoTest;
using Quorvia::vumo::database::AnalysisAttvalues;
using Quorvia::vumo::database::CheckVumoCompleteness;

namespace {

struct Case
{
    const char* name;
    std::function<void(VumoDataEntity&)> change;
    int stockMode;
    QString expected;
};

QString T(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TestVumoCompleteness : public QObject
{
    Q_OBJECT
private slots:
    void rules()
    {
        const QString prices = T("Yv价和销售属性表中的市场价不能为空且大于0");
        const QString stock = T("库存必须大于或等于0，且小于999999999");
        const QList<Case> cases = {
            {"complete", [](VumoDataEntity&) {}, -1, QString()},
            {"blank title", [](VumoDataEntity& r) { r.set_title(QStringLiteral("  ")); }, -1, T("商品名称不能为空")},
            {"first rule wins",
             [](VumoDataEntity& r) {
                 r.set_title(QString());
                 r.set_logo(QString());
                 r.set_cid(0);
             },
             -1, T("商品名称不能为空")},
            {"no main picture", [](VumoDataEntity& r) { r.set_logo(QString()); }, -1, T("商品主图不能为空")},
            {"pictures online",
             [](VumoDataEntity& r) {
                 r.set_logo(QString());
                 r.SetImagesOnline(true);
             },
             -1, QString()},
            {"blank description", [](VumoDataEntity& r) { r.set_desc(QStringLiteral(" \n")); }, -1,
             T("商品描述不能为空")},
            {"no weight", [](VumoDataEntity& r) { r.set_weight(0); }, -1, T("商品包装尺寸及重量不能为空且大于0")},
            {"null SKU", [](VumoDataEntity& r) { r.Skus().append(nullptr); }, -1, T("商品数据无效")},
            {"SKU without price", [](VumoDataEntity& r) { r.Skus().first()->set_yv_price(0); }, -1, prices},
            {"SKU above market price", [](VumoDataEntity& r) { r.Skus().last()->set_yv_price(2001); }, -1,
             T("销售属性Yv价必须小于或等于商品市场价")},
            {"SKU outside the range",
             [](VumoDataEntity& r) {
                 r.set_min_yvprice(1000);
                 r.set_max_yvprice(1400);
                 r.set_yv_price(1200);
             },
             -1, T("商品Yv价不能超出销售属性表中的价格范围")},
            {"deleted and default SKUs are not priced",
             [](VumoDataEntity& r) {
                 r.Skus().first()->set_status(0);
                 r.Skus().first()->set_yv_price(0);
                 r.Skus().last()->set_attributes(QString());
                 r.Skus().last()->set_yv_price(99999);
             },
             -1, QString()},
            {"listing without price",
             [](VumoDataEntity& r) {
                 r.ClearSkus();
                 r.set_yv_price(0);
             },
             -1, T("市场价和Yv价不能为空且大于0")},
            {"listing above market price",
             [](VumoDataEntity& r) {
                 r.ClearSkus();
                 r.set_yv_price(2500);
             },
             -1, T("Yv价必须小于或等于市场价")},
            {"listing outside the range",
             [](VumoDataEntity& r) {
                 r.ClearSkus();
                 r.set_min_yvprice(1600);
                 r.set_max_yvprice(1800);
             },
             -1, T("商品Yv价不能超出销售属性表中的价格范围")},
            {"listing price at the range ends",
             [](VumoDataEntity& r) {
                 r.ClearSkus();
                 r.set_min_yvprice(1500);
                 r.set_max_yvprice(1800);
             },
             -1, QString()},
            {"stock at the limit", [](VumoDataEntity& r) { r.set_stock_num(999999999); }, -1, QString()},
            {"stock above the limit", [](VumoDataEntity& r) { r.set_stock_num(1000000000); }, -1, stock},
            {"negative stock", [](VumoDataEntity& r) { r.set_stock_num(-1); }, 0, stock},
            {"stock not checked in mode 1", [](VumoDataEntity& r) { r.set_stock_num(-1); }, 1, QString()},
            {"piece type 8", [](VumoDataEntity& r) { r.set_vumo_big_small_model(8); }, 1, QString()},
            {"piece type 9", [](VumoDataEntity& r) { r.set_vumo_big_small_model(9); }, 1, T("商品件型无效")},
            {"piece type only in mode 1", [](VumoDataEntity& r) { r.set_vumo_big_small_model(9); }, -1, QString()},
            {"package kind 6", [](VumoDataEntity& r) { r.set_vumo_pack_type(6); }, 1, T("商品包装无效")},
            {"package kind 5", [](VumoDataEntity& r) { r.set_vumo_pack_type(5); }, 1, QString()},
            {"no category", [](VumoDataEntity& r) { r.set_cid(0); }, -1, T("Yv分类不能为空")},
            {"free-text lists differ", [](VumoDataEntity& r) { r.set_input_strs(QStringLiteral("only one")); }, -1,
             T("商品属性有误")},
            {"marketplace separators",
             [](VumoDataEntity& r) { r.set_attributes(QStringLiteral("1001:2001^1002:7;9:8")); }, -1, QString()},
            {"no attributes at all",
             [](VumoDataEntity& r) {
                 r.set_attributes(QString());
                 r.set_input_pids(QString());
                 r.set_input_strs(QString());
             },
             -1, QString()},
        };
        for (const Case& c : cases) {
            auto record = makeListing(QStringLiteral("c"), 1);
            c.change(*record);
            const QString actual = CheckVumoCompleteness(*record, c.stockMode);
            QVERIFY2(
                actual == c.expected,
                qPrintable(
                    QStringLiteral("%1: got \"%2\", want \"%3\"").arg(QString::fromUtf8(c.name), actual, c.expected)));
        }
    }

    void freeTextListsKeepEmptyValues()
    {
        QStringList pids;
        QStringList strs;
        QVERIFY(AnalysisAttvalues(QStringLiteral("1|2|3"), QStringLiteral("a||c"), pids, strs));
        QCOMPARE(strs, QStringList({"a", "", "c"}));
        QVERIFY(AnalysisAttvalues(QString(), QString(), pids, strs));
        QVERIFY(pids.isEmpty() && strs.isEmpty());
        QVERIFY(!AnalysisAttvalues(QStringLiteral("1|2"), QString(), pids, strs));
    }
};

VUMO_TEST_CLASS(TestVumoCompleteness)
#include "TestVumoCompleteness.moc"
