// API values turned into stored values, the attribute text, status texts and money.
#include "support/TestMain.h"

#include "entity/AttributeText.h"
#include "entity/PropertyValue.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoDataExtEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "entity/VumoStatus.h"
#include "utils/Money.h"

#include <QPointer>
#include <QTest>

#include <limits>

using namespace Quorvia::vumo::entity;
using Quorvia::utils::FormatMoney;
using Quorvia::utils::ParseMoney;

class TestConvertValue : public QObject
{
    Q_OBJECT

private slots:
    void prices_data()
    {
        QTest::addColumn<QVariant>("raw");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("19.99") << QVariant(QStringLiteral("19.99")) << qint64(1999);
        QTest::newRow("0.005") << QVariant(QStringLiteral("0.005")) << qint64(1);
        QTest::newRow("json number") << QVariant(19.99) << qint64(1999);
        QTest::newRow("json integer") << QVariant(qlonglong(7)) << qint64(700);
        QTest::newRow("garbage") << QVariant(QStringLiteral("abc")) << qint64(0);
        QTest::newRow("null") << QVariant() << qint64(0);
    }
    void prices()
    {
        QFETCH(QVariant, raw);
        QFETCH(qint64, cents);
        VumoDataEntity v;
        VumoSkuEntity s;
        for (const char* name : {"cost_price", "market_price", "yv_price"}) {
            QVERIFY(v.SetApiValue(QLatin1String(name), raw));
            QVERIFY(s.SetApiValue(QLatin1String(name), raw));
            QCOMPARE(v.property(name).toLongLong(), cents);
            QCOMPARE(s.property(name).toLongLong(), cents);
        }
    }

    void listingStatus_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("on sale") << QStringLiteral("ON_SALE") << 8 << QStringLiteral("在售");
        QTest::newRow("awaiting review") << QStringLiteral("ON_SALE AUDIT_AWAIT") << 520
                                         << QStringLiteral("在售 待审核");
        QTest::newRow("extra blanks") << QStringLiteral(" ON_SALE  AUDIT_AWAIT ") << 520
                                      << QStringLiteral("在售 待审核");
        QTest::newRow("never up") << QStringLiteral("NEVER_UP") << 1 << QStringLiteral("从未上架");
        QTest::newRow("review failed") << QStringLiteral("SYSTEM_DOWN AUDIT_FAIL") << 1028
                                       << QStringLiteral("系统下架 审核不通过");
        QTest::newRow("customer down failed")
            << QStringLiteral("CUSTORMER_DOWN AUDIT_FAIL") << 1026 << QStringLiteral("自主下架 审核不通过");
        QTest::newRow("lower case") << QStringLiteral("on_sale") << -1 << QStringLiteral("未知状态");
        QTest::newRow("unknown") << QStringLiteral("SOLD_OUT") << -1 << QStringLiteral("未知状态");
        QTest::newRow("empty") << QString() << -1 << QStringLiteral("未知状态");
    }
    void listingStatus()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, shown);
        VumoDataEntity v;
        QVERIFY(v.SetApiValue(QStringLiteral("vumo_status"), text));
        QCOMPARE(v.vumo_status(), value);
        QCOMPARE(VumoStatusText(v.vumo_status()), shown);
        if (value > 0)
            QCOMPARE(VumoStatusApiText(value), text.simplified());
    }

    void localStatuses()
    {
        QVERIFY(!IsMarketplaceVumoStatus(2014));
        QVERIFY(IsMarketplaceVumoStatus(516));
        QVERIFY(VumoStatusApiText(2015).isEmpty());
        // A stored code handed over as a number stays itself; an unknown one does not.
        VumoDataEntity v;
        QVERIFY(v.SetApiValue(QStringLiteral("vumo_status"), 2014));
        QCOMPARE(v.vumo_status(), 2014);
        QVERIFY(v.SetApiValue(QStringLiteral("vumo_status"), 3));
        QCOMPARE(v.vumo_status(), -1);
    }

    void validityStatus()
    {
        VumoDataEntity v;
        VumoSkuEntity s;
        const struct
        {
            const char* text;
            int listing;
            int sku;
        } rows[] = {{"DELETE", 0, 2},   {"INVALID", 1, 2},   {"VALID", 2, 2}, {"Delete", -1, 0},
                    {"Invalid", -1, 1}, {"whatever", -1, 2}, {"", -1, 2}};
        for (const auto& row : rows) {
            QVERIFY(v.SetApiValue(QStringLiteral("status"), QString::fromLatin1(row.text)));
            QVERIFY(s.SetApiValue(QStringLiteral("status"), QString::fromLatin1(row.text)));
            QCOMPARE(v.status(), row.listing);
            QCOMPARE(s.status(), row.sku);
        }
    }

    // "length:wide:high" sets all three (rounded) or, when malformed, none.
    void cubage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::newRow("two parts") << QStringLiteral("40:30") << QList<qint64>{1, 2, 3};
        QTest::newRow("not a number") << QStringLiteral("40:30:x") << QList<qint64>{1, 2, 3};
        QTest::newRow("three parts") << QStringLiteral("40:30:20") << QList<qint64>{40, 30, 20};
        QTest::newRow("rounded, extra part") << QStringLiteral("50:12.6:7:9") << QList<qint64>{50, 13, 7};
    }
    void cubage()
    {
        QFETCH(QString, text);
        QFETCH(QList<qint64>, sizes);
        VumoDataEntity v;
        v.set_length(1);
        v.set_wide(2);
        v.set_high(3);
        QVERIFY(v.SetApiValue(QStringLiteral("cubage"), text));
        QCOMPARE(v.cubage(), text);
        QCOMPARE((QList<qint64>{v.length(), v.wide(), v.high()}), sizes);
    }

    void imageValues()
    {
        VumoImgEntity img;
        QVERIFY(img.SetApiValue(QStringLiteral("is_main"), QStringLiteral("是")));
        QVERIFY(img.is_main());
        QVERIFY(img.SetApiValue(QStringLiteral("is_main"), QStringLiteral("否")));
        QVERIFY(!img.is_main());
        QVERIFY(img.SetApiValue(QStringLiteral("is_main"), QStringLiteral("true")));
        QVERIFY(!img.is_main());
        QVERIFY(img.SetApiValue(QStringLiteral("color_id"), QStringLiteral("9007199254740993")));
        QCOMPARE(img.color_id(), qint64(9007199254740993LL));
        QVERIFY(img.SetApiValue(QStringLiteral("color_id"), QStringLiteral("red")));
        QCOMPARE(img.color_id(), qint64(0));
    }

    void otherValuesByType()
    {
        VumoDataEntity v;
        QVERIFY(v.SetApiValue(QStringLiteral("vumo_id"), QStringLiteral("1234567890123")));
        QCOMPARE(v.vumo_id(), qint64(1234567890123LL));
        QVERIFY(v.SetApiValue(QStringLiteral("is_can_vat"), QStringLiteral("true")));
        QVERIFY(v.is_can_vat());
        QVERIFY(v.SetApiValue(QStringLiteral("modified"), QStringLiteral("2013-05-17 09:30:15")));
        QCOMPARE(v.modified(), QDateTime(QDate(2013, 5, 17), QTime(9, 30, 15)));
        QVERIFY(v.SetApiValue(QStringLiteral("created"), QStringLiteral("not a date")));
        QVERIFY(!v.created().isValid());
        const QVariantList skus{QVariantMap{{QStringLiteral("sku_id"), 5}}};
        QVERIFY(v.SetApiValue(QStringLiteral("skus"), skus));
        QCOMPARE(v.skus().toList(), skus);
        // Keys that no record stores are refused, not invented.
        QVERIFY(!v.SetApiValue(QStringLiteral("creator"), QStringLiteral("x")));
        QVERIFY(!v.SetApiValue(QString(), QStringLiteral("x")));
        QVERIFY(v.property("creator").isNull());
    }

    // Stored texts are local wall times. Walks every half hour of a year, transitions included
    // (ctest runs this once more under a zone with summer time), twice: the second pass reads
    // the offsets kept from the first.
    void storedTextsAreLocalWallTimes()
    {
        const QString format = QStringLiteral("yyyy-MM-ddThh:mm:ss");
        int checked = 0;
        for (int pass = 0; pass < 2; ++pass) {
            for (QDate day(2026, 1, 1); day.year() == 2026; day = day.addDays(1)) {
                for (int minutes = 0; minutes < 24 * 60; minutes += 30) {
                    const QTime time(minutes / 60, minutes % 60, 7);
                    const QDateTime local(day, time);
                    if (!local.isValid() || local.time() != time)
                        continue; // skipped by a spring-forward transition
                    const QString text = local.toString(format);
                    const QDateTime parsed = ParseDateTime(text);
                    QVERIFY2(parsed.isValid(), qPrintable(text));
                    // A wall time that a fall-back transition shows twice may be either instant.
                    bool twice = false;
                    for (qint64 shift : {-3600000, -1800000, 1800000, 3600000}) {
                        const QDateTime other = QDateTime::fromMSecsSinceEpoch(local.toMSecsSinceEpoch() + shift);
                        twice = twice || other.toString(format) == text;
                    }
                    if (!twice)
                        QCOMPARE(parsed.toMSecsSinceEpoch(), local.toMSecsSinceEpoch());
                    QCOMPARE(parsed.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                             local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
                    QCOMPARE(DateTimeText(parsed), text);
                    QCOMPARE(ParseDateTime(QString(text).replace(10, 1, QLatin1Char(' '))), parsed);
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 2 * 365 * 47);
        QVERIFY(!ParseDateTime(QStringLiteral("2026-02-30T10:00:00")).isValid());
    }

    void attributeText()
    {
        VumoDataEntity v;
        v.set_attributes(QStringLiteral("kept"));
        QVERIFY(v.SetApiValue(QStringLiteral("vumo_attribute"), QString()));
        QCOMPARE(v.attributes(), QStringLiteral("kept"));

        const QString free1 = QStringLiteral("纯棉, 95%:5%-弹力");
        const QString free2 = QStringLiteral("A-B");
        QVERIFY(
            v.SetApiValue(QStringLiteral("vumo_attribute"),
                          QStringLiteral("1001:2001^1002:0,%1^1003:3001,3002^1004:0,%2^abc:0,x").arg(free1, free2)));
        QCOMPARE(v.attributes(), QStringLiteral("1001:2001|1003:3001,3002|abc:0,x"));
        QCOMPARE(v.input_pids(), QStringLiteral("1002|1004"));
        QCOMPARE(v.input_strs(), QStringLiteral("纯棉{DouHao} 95%{MaoHao}5%{JianHao}弹力|A{JianHao}B"));
        QCOMPARE(SplitInputTexts(v.input_strs()), (QStringList{free1, free2}));
        QCOMPARE(JoinInputTexts({free1, free2}), v.input_strs());

        // An entry whose value id is not 0 or whose text is missing is an ordinary attribute.
        const ParsedAttributeText p = ParseApiAttributeText(QStringLiteral("5:0,^6:01,x^7:0, y"));
        QCOMPARE(p.attributes, QStringLiteral("5:0,|6:01,x|7:0, y"));
        QVERIFY(p.inputPids.isEmpty());
        QVERIFY(SplitInputTexts(QString()).isEmpty());
    }

    void recordOwnsChildren()
    {
        QPointer<VumoSkuEntity> sku = new VumoSkuEntity;
        QPointer<VumoImgEntity> own = new VumoImgEntity;
        QPointer<VumoImgEntity> red = new VumoImgEntity;
        red->set_color_id(501);
        {
            VumoDataEntity v;
            v.AddSku(sku);
            v.AddSku(sku); // twice must not mean deleted twice
            v.AddImage(own);
            v.AddImage(red);
            v.AddImage(nullptr);
            QCOMPARE(v.Skus().size(), 1);
            QCOMPARE(v.Images().value(0).size(), 1);
            QCOMPARE(v.Images().value(501).first(), red.data());
        }
        QVERIFY(sku.isNull());
        QVERIFY(own.isNull());
        QVERIFY(red.isNull());
    }

    // Extension fields travel with the listing (their stored round trip: TestVumoStore).
    void propertiesCopyOnlyBetweenListings()
    {
        VumoDataEntity v;
        v.set_client_id(QStringLiteral("c1"));
        v.set_wrap(QStringLiteral("w"));
        VumoDataEntity copy;
        QVERIFY(copy.CopyPropertiesFrom(v));
        QCOMPARE(copy.client_id(), QStringLiteral("c1"));
        QCOMPARE(copy.wrap(), QStringLiteral("w"));
        VumoDataExtEntity ext;
        QVERIFY(!copy.CopyPropertiesFrom(ext));
    }

    void parseMoney_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("19.99") << QStringLiteral("19.99") << true << qint64(1999);
        QTest::newRow("0.005 up") << QStringLiteral("0.005") << true << qint64(1);
        QTest::newRow("0.0049 down") << QStringLiteral("0.0049") << true << qint64(0);
        QTest::newRow("1.995") << QStringLiteral("1.995") << true << qint64(200);
        QTest::newRow("negative half") << QStringLiteral("-0.005") << true << qint64(-1);
        QTest::newRow("plus") << QStringLiteral("+3") << true << qint64(300);
        QTest::newRow("blanks") << QStringLiteral("  7.1 ") << true << qint64(710);
        QTest::newRow("trailing dot") << QStringLiteral("5.") << true << qint64(500);
        QTest::newRow("leading dot") << QStringLiteral(".5") << true << qint64(50);
        QTest::newRow("long fraction") << QStringLiteral("0.12999999") << true << qint64(13);
        QTest::newRow("largest") << QStringLiteral("92233720368547758.07") << true
                                 << std::numeric_limits<qint64>::max();
        QTest::newRow("overflow") << QStringLiteral("92233720368547758.08") << false << qint64(0);
        QTest::newRow("overflow by rounding") << QStringLiteral("92233720368547758.075") << false << qint64(0);
        QTest::newRow("exponent") << QStringLiteral("1e3") << false << qint64(0);
        QTest::newRow("empty") << QString() << false << qint64(0);
        QTest::newRow("sign only") << QStringLiteral("-") << false << qint64(0);
        QTest::newRow("dot only") << QStringLiteral(".") << false << qint64(0);
        QTest::newRow("inner blank") << QStringLiteral("1 000") << false << qint64(0);
        QTest::newRow("full-width digits") << QStringLiteral("１２") << false << qint64(0);
    }
    void parseMoney()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, cents);
        qint64 out = -42;
        QCOMPARE(ParseMoney(text, out), ok);
        QCOMPARE(out, ok ? cents : qint64(-42)); // untouched on failure
    }

    void formatMoney()
    {
        QCOMPARE(FormatMoney(1999), QStringLiteral("19.99"));
        QCOMPARE(FormatMoney(-50), QStringLiteral("-0.50"));
        QCOMPARE(FormatMoney(5), QStringLiteral("0.05"));
        QCOMPARE(FormatMoney(std::numeric_limits<qint64>::min()), QStringLiteral("-92233720368547758.08"));
        for (qint64 c : {qint64(1), qint64(-1), qint64(1234567), std::numeric_limits<qint64>::max()}) {
            qint64 back = 0;
            QVERIFY(ParseMoney(FormatMoney(c), back));
            QCOMPARE(back, c);
        }
    }
};

VUMO_TEST_CLASS(TestConvertValue)
#include "TestConvertValue.moc"
