// The simulator's own price, status and free-text readers: the marketplace side of every
// round trip, so a client fault shows as a disagreement instead of being repeated.
#include "support/TestMain.h"

#include "MarketText.h"

#include <QTest>

#include <limits>

using namespace Quorvia::marketplace::text;

class MarketTextTest : public QObject
{
    Q_OBJECT

private slots:
    void pricesReadExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("plain") << "19.99" << qint64(1999);
        QTest::newRow("blanks") << "  7.1 " << qint64(710);
        QTest::newRow("no decimals") << "5." << qint64(500);
        QTest::newRow("no units") << ".5" << qint64(50);
        QTest::newRow("plus") << "+3" << qint64(300);
        QTest::newRow("rounds up") << "1.235" << qint64(124);
        QTest::newRow("rounds down") << "1.2349" << qint64(123);
        QTest::newRow("half cent") << "0.005" << qint64(1);
        QTest::newRow("negative half cent") << "-0.005" << qint64(-1);
        QTest::newRow("largest") << "92233720368547758.07" << std::numeric_limits<qint64>::max();
    }
    void pricesReadExactly()
    {
        QFETCH(QString, text);
        QFETCH(qint64, cents);
        qint64 read = -42;
        QVERIFY(ParseCents(text, read));
        QCOMPARE(read, cents);
    }

    void badPricesLeaveTheValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("dot") << ".";
        QTest::newRow("sign only") << "-";
        QTest::newRow("blank after sign") << "- 5";
        QTest::newRow("exponent") << "1e3";
        QTest::newRow("two dots") << "1.2.3";
        QTest::newRow("comma") << "1,5";
        QTest::newRow("other digits") << QString::fromUtf8("١٢");
        QTest::newRow("too large") << "92233720368547758.08";
        QTest::newRow("rounds beyond") << "92233720368547758.075";
        QTest::newRow("units beyond") << "99999999999999999999";
    }
    void badPricesLeaveTheValue()
    {
        QFETCH(QString, text);
        qint64 read = -42;
        QVERIFY(!ParseCents(text, read));
        QCOMPARE(read, qint64(-42));
    }

    void pricesWrittenWithTwoDecimals()
    {
        QCOMPARE(FormatCents(1999), QStringLiteral("19.99"));
        QCOMPARE(FormatCents(5), QStringLiteral("0.05"));
        QCOMPARE(FormatCents(0), QStringLiteral("0.00"));
        QCOMPARE(FormatCents(-50), QStringLiteral("-0.50"));
        QCOMPARE(FormatCents(std::numeric_limits<qint64>::min()), QStringLiteral("-92233720368547758.08"));
    }

    void statusWords()
    {
        QCOMPARE(StatusFromText(QStringLiteral("NEVER_UP")), 1);
        QCOMPARE(StatusFromText(QStringLiteral("ON_SALE")), 8);
        QCOMPARE(StatusFromText(QStringLiteral("  ON_SALE \t AUDIT_AWAIT ")), 520);
        QCOMPARE(StatusFromText(QStringLiteral("CUSTORMER_DOWN AUDIT_AWAIT")), 514);
        QCOMPARE(StatusFromText(QStringLiteral("SYSTEM_DOWN AUDIT_FAIL")), 1028);
        // Combinations the marketplace never reports, other spellings and local states.
        QCOMPARE(StatusFromText(QStringLiteral("ON_SALE AUDIT_FAIL")), -1);
        QCOMPARE(StatusFromText(QStringLiteral("on_sale")), -1);
        QCOMPARE(StatusFromText(QStringLiteral("ON_SALEAUDIT_AWAIT")), -1);
        QCOMPARE(StatusFromText(QString()), -1);
    }

    void freeTextsUnescaped()
    {
        QCOMPARE(SplitFreeTexts(QString()), QStringList());
        QCOMPARE(SplitFreeTexts(QString::fromUtf8("红{DouHao} 蓝|a{MaoHao}b{JianHao}c")),
                 (QStringList{QString::fromUtf8("红, 蓝"), QStringLiteral("a:b-c")}));
        // An empty text keeps its place, so texts stay paired with their identifiers.
        QCOMPARE(SplitFreeTexts(QStringLiteral("|x")), (QStringList{QString(), QStringLiteral("x")}));
    }
};

VUMO_TEST_CLASS(MarketTextTest)
#include "MarketTextTest.moc"
