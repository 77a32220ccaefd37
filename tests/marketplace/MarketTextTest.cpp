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
    // A bad price leaves the caller's value as it was.
    void pricesReadExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("cents");
        const qint64 untouched = -42;
        QTest::newRow("plain") << "19.99" << true << qint64(1999);
        QTest::newRow("blanks") << "  7.1 " << true << qint64(710);
        QTest::newRow("no units") << ".5" << true << qint64(50);
        QTest::newRow("rounds up") << "1.235" << true << qint64(124);
        QTest::newRow("half cent") << "0.005" << true << qint64(1);
        QTest::newRow("negative half cent") << "-0.005" << true << qint64(-1);
        QTest::newRow("largest") << "92233720368547758.07" << true << std::numeric_limits<qint64>::max();
        QTest::newRow("empty") << "" << false << untouched;
        QTest::newRow("sign only") << "-" << false << untouched;
        QTest::newRow("blank after sign") << "- 5" << false << untouched;
        QTest::newRow("exponent") << "1e3" << false << untouched;
        QTest::newRow("comma") << "1,5" << false << untouched;
        QTest::newRow("other digits") << QString::fromUtf8("١٢") << false << untouched;
        QTest::newRow("too large") << "92233720368547758.08" << false << untouched;
        QTest::newRow("rounds beyond") << "92233720368547758.075" << false << untouched;
        QTest::newRow("units beyond") << "99999999999999999999" << false << untouched;
    }
    void pricesReadExactly()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, cents);
        qint64 read = -42;
        QCOMPARE(ParseCents(text, read), ok);
        QCOMPARE(read, cents);
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
        // Combinations the marketplace never reports, other spellings and local states are -1.
        const QList<QPair<const char*, int>> cases = {{"NEVER_UP", 1},
                                                      {"ON_SALE", 8},
                                                      {"  ON_SALE \t AUDIT_AWAIT ", 520},
                                                      {"CUSTORMER_DOWN AUDIT_AWAIT", 514},
                                                      {"SYSTEM_DOWN AUDIT_FAIL", 1028},
                                                      {"ON_SALE AUDIT_FAIL", -1},
                                                      {"on_sale", -1},
                                                      {"ON_SALEAUDIT_AWAIT", -1},
                                                      {"", -1}};
        for (const auto& c : cases)
            QVERIFY2(StatusFromText(QString::fromLatin1(c.first)) == c.second, c.first);
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
