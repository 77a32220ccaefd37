#include "XlsTestSupport.h"

#include "CliCommand.h"
#include "CsvText.h"
#include "support/CliRun.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTest>
#include <QTextCodec>

using namespace Quorvia::cli;
using namespace XlsTest;

namespace {
struct Run
{
    int code = -1;
    QByteArray out;
    QString err;
};

Run xls2csv(const QStringList& args)
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run r;
    r.code = runXls2Csv(args, out, err);
    r.out = out.data();
    r.err = QString::fromUtf8(err.data());
    return r;
}

QByteArray gb18030(const QString& s)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(s);
}

const QString kFirstSheet = QStringLiteral(
    "商品编号,商品名称,货号,Yv价,库存\r\n1001,羊毛围巾,,59,10\r\n1002,,A-2,,3\r\n"
    "合并单元格,,,12.5,\r\n,,,,last\r\n");
} // namespace

class TestXls2Csv : public QObject
{
    Q_OBJECT
    VumoTest::TempHome home;

private slots:
    void initTestCase()
    {
        QVERIFY(WriteBytes(home.filePath(QStringLiteral("plain.xls")), "a,b\r\n1,2\r\n"));
        QVERIFY(QFile::copy(fixture(QStringLiteral("numbers.xls")), home.filePath(QStringLiteral("held.xls"))));
        QVERIFY(WriteBytes(home.filePath(QStringLiteral(".~lock.held.xls#")), "x"));
        BiffWriter writer;
        writer.setText(writer.addSheet(QStringLiteral("折扣%1")), 0, 0, QStringLiteral("x"));
        QVERIFY(WriteBytes(home.filePath(QStringLiteral("percent.xls")), workbookFile(writer.stream())));
    }

    void fieldQuoting_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("written");
        QTest::newRow("inner quote") << QStringLiteral("a\"b") << QStringLiteral("\"a\"\"b\"");
        QTest::newRow("plain") << QStringLiteral("e") << QStringLiteral("e");
        QTest::newRow("line feed") << QStringLiteral("x\ny") << QStringLiteral("\"x\ny\"");
        QTest::newRow("carriage return alone") << QStringLiteral("x\ry") << QStringLiteral("x\ry");
    }
    void fieldQuoting()
    {
        QFETCH(QString, field);
        QFETCH(QString, written);
        QCOMPARE(CsvText::field(field), written);
    }

    void sheetChoiceAndTextFields()
    {
        const QString sheets = fixture(QStringLiteral("sheets.xls"));
        const QByteArray third = gb18030(QStringLiteral("第三页,\r\n,\r\n,B3\r\n"));
        QCOMPARE(xls2csv({sheets, QStringLiteral("--sheet"), QStringLiteral("3")}).out, third);
        QCOMPARE(xls2csv({sheets, QStringLiteral("--sheet"), QStringLiteral("第三页")}).out, third);
        const Run empty = xls2csv({sheets, QStringLiteral("--sheet"), QStringLiteral("2")});
        QCOMPARE(empty.code, 0);
        QVERIFY(empty.out.isEmpty());
        const Run text = xls2csv(
            {fixture(QStringLiteral("text.xls")), QStringLiteral("--encoding"), QStringLiteral("UTF-8")});
        QCOMPARE(text.code, 0);
        const QString csv = QString::fromUtf8(text.out);
        QVERIFY(csv.contains(QStringLiteral("\r\nlatin1,Café Müller niño £5 ©®½\r\n")));
        QVERIFY(csv.contains(QStringLiteral("\r\nquotes,\"He said \"\"yes\"\", then left\"\r\n")));
        QVERIFY(csv.contains(QStringLiteral("\r\nnewline,\"line one\nline two\"\r\n")));
        const Run list = xls2csv({sheets, QStringLiteral("--list")});
        QVERIFY(list.out.startsWith(gb18030(QStringLiteral("0\t商品\t5x5\r\n"))));
        // A sheet's name comes from the file: a "%1" in it is listed as it stands.
        const Run percent = xls2csv({home.filePath(QStringLiteral("percent.xls")), QStringLiteral("--list"),
                                     QStringLiteral("--encoding"), QStringLiteral("UTF-8")});
        QCOMPARE(percent.code, 0);
        QCOMPARE(QString::fromUtf8(percent.out), QStringLiteral("0\t折扣%1\t1x1\r\n"));
    }

    void failuresAreExplained_data()
    {
        // "home:" names a file of the test's own folder, "fixture:" a fixture.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QStringList{"home:none.xls"} << 1 << QStringLiteral("文件不存在");
        QTest::newRow("not a workbook") << QStringList{"home:plain.xls"} << 1 << QStringLiteral("文件加载失败");
        QTest::newRow("held") << QStringList{"home:held.xls"} << 1 << QStringLiteral("占用");
        QTest::newRow("no such sheet") << QStringList{"fixture:numbers.xls", "--sheet", "5"} << 1
                                       << QStringLiteral("工作表不存在");
        // A sheet name from the file or the command line: a "%2" in it is shown as it stands.
        QTest::newRow("sheet name with %") << QStringList{"home:percent.xls", "--sheet", QStringLiteral("价格%2元")}
                                           << 1 << QStringLiteral("工作表不存在：价格%2元（共1个");
        QTest::newRow("no arguments") << QStringList{} << 2 << QString();
        QTest::newRow("unknown flag") << QStringList{"fixture:numbers.xls", "--bogus"} << 2 << QString();
        QTest::newRow("unknown encoding") << QStringList{"fixture:numbers.xls", "--encoding", "nope"} << 2 << QString();
        QTest::newRow("flag without value")
            << QStringList{"fixture:sheets.xls", "--encoding"} << 2 << QStringLiteral("--encoding 缺少取值");
    }
    void failuresAreExplained()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        for (QString& arg : args) {
            if (arg.startsWith(QLatin1String("home:")))
                arg = home.filePath(arg.mid(5));
            else if (arg.startsWith(QLatin1String("fixture:")))
                arg = fixture(arg.mid(8));
        }
        const Run r = xls2csv(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    // The program itself: a terminal reads the locale's encoding, files and pipes keep GB18030
    // for spreadsheet programs; a flag without its value is named before any command runs.
    void programOutputAndFlags_data()
    {
        QTest::addColumn<QStringList>("args"); // "sheets" stands for the fixture
        QTest::addColumn<QString>("locale");   // a terminal's locale; null: a pipe
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        const QStringList convert = {QStringLiteral("xls2csv"), QStringLiteral("sheets")};
        QTest::newRow("terminal") << convert << QStringLiteral("C.UTF-8") << 0 << kFirstSheet.toUtf8() << QString();
        // A C locale can show no Chinese at all: UTF-8 stands in for its ASCII.
        QTest::newRow("C terminal") << convert << QStringLiteral("C") << 0 << kFirstSheet.toUtf8() << QString();
        QTest::newRow("pipe") << convert << QString() << 0 << gb18030(kFirstSheet) << QString();
        QTest::newRow("sheet without value") << convert + QStringList{QStringLiteral("--sheet")} << QString() << 2
                                             << QByteArray() << QStringLiteral("--sheet 缺少取值");
        QTest::newRow("home without value") << QStringList{QStringLiteral("--home")} << QString() << 2 << QByteArray()
                                            << QStringLiteral("--home 缺少取值");
    }
    void programOutputAndFlags()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, locale);
        QFETCH(int, code);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        args.replaceInStrings(QRegularExpression(QStringLiteral("^sheets$")), fixture(QStringLiteral("sheets.xls")));
        const QString cli = QStringLiteral(VUMO_CLI);
        const VumoTest::CliRun run = locale.isNull() ? VumoTest::RunCli(cli, home.path(), args)
                                                     : VumoTest::RunCliOnTerminal(cli, home.path(), args, locale);
        QCOMPARE(run.exitCode, code);
        QCOMPARE(run.out, out);
        QVERIFY2(QString::fromUtf8(run.err).contains(err), run.err.constData());
    }
};

VUMO_TEST_CLASS(TestXls2Csv)
#include "tst_Xls2Csv.moc"
