// The JSON reader: conversion of values, the error texts and lines, and a mutation run that must
// never crash, hang or fail with an unknown text, and must agree with Qt's reader on valid input.
#include "network/utils/YvJsonParser.h"
#include "support/TestMain.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using Quorvia::utils::YvJsonParser;

namespace {

bool Parse(const QByteArray& text, QVariant* result, YvJsonParser* parser, bool utf8 = true)
{
    QByteArray copy = text;
    return parser->parse(copy, *result, utf8);
}

const QStringList kErrorTexts = {
    QStringLiteral("Unexcepted character"),
    QStringLiteral("Second root. Only one root allowed"),
    QStringLiteral("Mismatch closing brace/bracket"),
    QStringLiteral("Bad unicode codepoint"),
    QStringLiteral("Unrecognized escape sequence"),
    QStringLiteral("Unknown identifier"),
    QStringLiteral("Bad integer number"),
    QStringLiteral("Bad float number"),
    QStringLiteral("Not all objects/arrays have been properly closed"),
    QStringLiteral("Nesting too deep"),
};

// One text per value, so both readers can be compared: numbers as doubles, bools as 1/0.
QString Canonical(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        QString out = QStringLiteral("{");
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            out += it.key() + QLatin1Char(':') + Canonical(it.value()) + QLatin1Char(',');
        return out + QLatin1Char('}');
    }
    case QMetaType::QVariantList: {
        QString out = QStringLiteral("[");
        for (const QVariant& item : value.toList())
            out += Canonical(item) + QLatin1Char(',');
        return out + QLatin1Char(']');
    }
    case QMetaType::QString:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::Nullptr:
        return QStringLiteral("null");
    default:
        return value.isValid() ? QStringLiteral("?") : QStringLiteral("null");
    }
}

} // namespace

class TestYvJsonParser : public QObject
{
    Q_OBJECT

private slots:
    void valuesConvertToQtTypes()
    {
        YvJsonParser parser;
        QVariant result;
        QVERIFY(Parse("[true,null,1.5,-7]", &result, &parser));
        const QVariantList list = result.toList();
        QCOMPARE(list.size(), 4);
        QCOMPARE(list.at(0).typeId(), int(QMetaType::LongLong));
        QCOMPARE(list.at(0).toLongLong(), 1LL);
        QVERIFY(!list.at(1).isValid());
        QCOMPARE(list.at(2).typeId(), int(QMetaType::Double));
        QCOMPARE(list.at(2).toDouble(), 1.5);
        QCOMPARE(list.at(3).typeId(), int(QMetaType::LongLong));
        QCOMPARE(list.at(3).toLongLong(), -7LL);
    }

    void emptyInputIsAnEmptySuccess()
    {
        YvJsonParser parser;
        QVariant result = 42;
        QVERIFY(Parse(QByteArray(), &result, &parser));
        QVERIFY(!result.isValid());
        QVERIFY(Parse(QByteArray("\0[1]", 4), &result, &parser));
        QVERIFY(!result.isValid());
    }

    void numbers()
    {
        YvJsonParser parser;
        QVariant result;
        QVERIFY(Parse("[9223372036854775807,-9223372036854775808,0,-0,"
                      "0.1,12.34,-1.5e-3,2E+2,1e400,9223372036854775808]",
                      &result, &parser));
        const QVariantList n = result.toList();
        QCOMPARE(n.at(0).toLongLong(), std::numeric_limits<qint64>::max());
        QCOMPARE(n.at(1).toLongLong(), std::numeric_limits<qint64>::min());
        QCOMPARE(n.at(2).toLongLong(), 0LL);
        QCOMPARE(n.at(3).toLongLong(), 0LL);
        // Decimals come out as the nearest double, as prices and weights are written.
        QCOMPARE(n.at(4).toDouble(), 0.1);
        QCOMPARE(n.at(5).toDouble(), 12.34);
        QCOMPARE(n.at(6).toDouble(), -0.0015);
        QCOMPARE(n.at(7).toDouble(), 200.0);
        QVERIFY(std::isinf(n.at(8).toDouble()));
        // Past the 64-bit range: a double near the value, not a wrapped negative number.
        QCOMPARE(n.at(9).typeId(), int(QMetaType::Double));
        QCOMPARE(n.at(9).toDouble(), 9223372036854775808.0);
    }

    void stringsAndEscapes()
    {
        YvJsonParser parser;
        QVariant result;
        QVERIFY(Parse("[\"\\u4E2D\",\"\\\"\\\\\\/\\b\\f\\n\\r\\t\",\"\\ud83d\\ude00\",\"商品\",\"a\\u0000b\"]", &result,
                      &parser));
        const QVariantList s = result.toList();
        QCOMPARE(s.at(0).toString(), QString(QChar(0x4E2D)));
        QCOMPARE(s.at(1).toString(), QStringLiteral("\"\\/\b\f\n\r\t"));
        QCOMPARE(s.at(2).toString(), QString::fromUtf8("\xF0\x9F\x98\x80")); // one emoji, not two halves
        QCOMPARE(s.at(3).toString(), QStringLiteral("商品"));
        QCOMPARE(s.at(4).toString(), QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b"));
    }

    void latin1ReadsEveryByteAsOneCharacter()
    {
        YvJsonParser parser;
        QVariant result;
        QVERIFY(Parse("{\"k\xe4\":\"\xe9t\xe9\"}", &result, &parser, false));
        QCOMPARE(result.toMap().value(QStringLiteral("kä")).toString(), QStringLiteral("été"));
        YvJsonParser escaped;
        QVERIFY(Parse("[\"\\u00e4\"]", &result, &escaped, false));
        QCOMPARE(result.toList().at(0).toString(), QStringLiteral("Ã¤")); // UTF-8 bytes, read one by one
    }

    void errorsCarryTextLineAndPosition_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("rest");
        QTest::newRow("leading space") << QByteArray(" {}") << "Unexcepted character" << 1 << " {}";
        QTest::newRow("close without open") << QByteArray("{}]") << "Mismatch closing brace/bracket" << 1 << "]";
        QTest::newRow("second root") << QByteArray("{}{}") << "Second root. Only one root allowed" << 1 << "{}";
        QTest::newRow("bad integer") << QByteArray("[12abc]") << "Bad integer number" << 1 << "12abc]";
        QTest::newRow("bad float") << QByteArray("[\n\n1.2.3]") << "Bad float number" << 3 << "1.2.3]";
        QTest::newRow("unknown word") << QByteArray("[nil]") << "Unknown identifier" << 1 << "nil]";
        QTest::newRow("bad escape") << QByteArray("[\"a\\qb\"]") << "Unrecognized escape sequence" << 1 << "\\qb\"]";
        QTest::newRow("short unicode") << QByteArray("[\"\\u12\"]") << "Bad unicode codepoint" << 1 << "\\u12\"]";
        QTest::newRow("escape cut at the end")
            << QByteArray("[\"a\\") << "Not all objects/arrays have been properly closed" << 1 << "";
        QTest::newRow("bad low surrogate")
            << QByteArray("[\"\\ud83d\\u12\"]") << "Bad unicode codepoint" << 1 << "\\u12\"]";
        QTest::newRow("colon in array") << QByteArray("[\"a\":2]") << "Unexcepted character" << 1 << ":2]";
        QTest::newRow("control byte") << QByteArray("[1,\x01]") << "Unexcepted character" << 1 << "\x01]";
        QTest::newRow("raw line feeds count")
            << QByteArray("{\"a\":\"x\ny\",\n #}") << "Unexcepted character" << 3 << "#}";
        QTest::newRow("escaped line feeds do not")
            << QByteArray("[\"\\n\\n\", #]") << "Unexcepted character" << 1 << "#]";
        QTest::newRow("too deep") << QByteArray(2000, '[') << "Nesting too deep" << 1
                                  << QString(2000 - YvJsonParser::kMaxDepth, QLatin1Char('['));
    }

    void errorsCarryTextLineAndPosition()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, rest);
        YvJsonParser parser;
        QVariant result = QStringLiteral("untouched");
        QVERIFY(!Parse(input, &result, &parser));
        QCOMPARE(parser.errorDesc(), text);
        QCOMPARE(parser.errorLine(), line);
        QCOMPARE(parser.errorPos(), rest);
        QCOMPARE(result.toString(), QStringLiteral("untouched"));
    }

    void acceptedShapes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("canonical");
        QTest::newRow("trailing blanks") << QByteArray("[1]\n   \t\r\n") << "[1,]";
        QTest::newRow("deep but allowed")
            << QByteArray(YvJsonParser::kMaxDepth, '[') + QByteArray(YvJsonParser::kMaxDepth, ']')
            << QString(YvJsonParser::kMaxDepth, QLatin1Char('[')) + QLatin1Char(']')
                + QStringLiteral(",]").repeated(YvJsonParser::kMaxDepth - 1);
        // The lenient readings that answers in the field rely on.
        QTest::newRow("name without value") << QByteArray("{\"a\":1,\"b\"}") << "{a:1,}";
        QTest::newRow("value without name") << QByteArray("{1,\"b\":[]}") << "{:1,b:[],}";
        QTest::newRow("repeated name keeps the last") << QByteArray("{\"a\":1,\"a\":[2]}") << "{a:[2,],}";
        QTest::newRow("names and values alternate") << QByteArray("{\"a\" \"b\" \"c\" \"d\"}") << "{a:\"b\",c:\"d\",}";
        QByteArray deepObjects;
        QString deepCanonical;
        for (int i = 0; i < YvJsonParser::kMaxDepth; ++i) {
            deepObjects += "{\"k\":";
            deepCanonical += QStringLiteral("{k:");
        }
        deepObjects += "1" + QByteArray(YvJsonParser::kMaxDepth, '}');
        deepCanonical += QStringLiteral("1") + QStringLiteral(",}").repeated(YvJsonParser::kMaxDepth);
        QTest::newRow("deep named objects") << deepObjects << deepCanonical;
    }

    void acceptedShapes()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, canonical);
        YvJsonParser parser;
        QVariant result;
        QVERIFY2(Parse(input, &result, &parser), qPrintable(parser.errorDesc()));
        QCOMPARE(Canonical(result), canonical);
    }

    void mutatedInputsNeverCrashAndAgreeWithQt()
    {
        const QList<QByteArray> seeds = {
            "{\"vumo_get_response\":{\"code\":\"0\",\"total\":2,\"vumos\":[{\"vumo_id\":1001,"
            "\"title\":\"\\u65b0\\u54c1 \\\"hot\\\"\",\"price\":12.50,\"skus\":[{\"sku_id\":7,"
            "\"stock\":-1,\"attr\":\"1:2^3:4\"}],\"on\":true,\"img\":null}]}}",
            "[1,-2.5e3,\"a\\nb\",[],{},[[[\"deep\"]]],false,0.001]",
            "{\"error_response\":{\"code\":\"12\",\"zh_desc\":\"{\\\"msg\\\":\\\"x\\\"}\"}}",
            "{\n  \"a\": [\n    1,\n    2\n  ],\n  \"b\": \"商品管理\"\n}",
        };
        const QByteArray alphabet = "{}[]\":,\\/-+.eE0123456789abfnrtu \n\t\x01\xe5\xff";
        QRandomGenerator random(20240611);
        int agreed = 0;
        for (int round = 0; round < 20000; ++round) {
            QByteArray input = seeds.at(round % seeds.size());
            const int edits = 1 + int(random.bounded(4));
            for (int e = 0; e < edits && !input.isEmpty(); ++e) {
                const int at = int(random.bounded(input.size()));
                const char c = alphabet.at(int(random.bounded(alphabet.size())));
                switch (random.bounded(4)) {
                case 0:
                    input[at] = c;
                    break;
                case 1:
                    input.insert(at, c);
                    break;
                case 2:
                    input.remove(at, 1);
                    break;
                default:
                    input.truncate(at);
                    break;
                }
            }
            YvJsonParser parser;
            QVariant ours;
            QByteArray copy = input;
            const bool ok = parser.parse(copy, ours, true);
            if (!ok) {
                QVERIFY2(kErrorTexts.contains(parser.errorDesc()), input.constData());
                QVERIFY(parser.errorLine() >= 1 && parser.errorLine() <= 1 + input.count('\n'));
            }
            // Where Qt's reader accepts a document, ours reads the same values (ours refuses
            // leading blanks).
            QJsonParseError error;
            const QJsonDocument strict = QJsonDocument::fromJson(input, &error);
            if (error.error == QJsonParseError::NoError && !strict.isNull()
                && !QByteArray(" \t\r\n").contains(input.at(0))) {
                if (!ok)
                    continue; // Qt lets some faults through (".5", unknown escapes such as \x)
                QCOMPARE(Canonical(ours), Canonical(strict.toVariant()));
                ++agreed;
            }
        }
        QVERIFY(agreed > 100);
    }
};

VUMO_TEST_CLASS(TestYvJsonParser)
#include "TestYvJsonParser.moc"
