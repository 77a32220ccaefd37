#include "XlsTestSupport.h"

#include "CliCommand.h"
#include "CsvText.h"
#include "support/CliRun.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QBuffer>
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

const QString kFirstSheet = QStringLiteral("商品编号,商品名称,货号,Yv价,库存\r\n1001,羊毛围巾,,59,10\r\n1002,,A-2,,3\r\n"
                                           "合并单元格,,,12.5,\r\n,,,,last\r\n");
} // namespace

class TestXls2Csv : public QObject
{
    Q_OBJECT
    VumoTest::TempHome home;

private slots:
    void fieldQuoting_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("written");
        QTest::newRow("inner quote") << "a\"b" << "\"a\"\"b\"";
        QTest::newRow("separator") << "c,d" << "\"c,d\"";
        QTest::newRow("plain") << "e" << "e";
        QTest::newRow("line feed") << "x\ny" << "\"x\ny\"";
        QTest::newRow("carriage return alone") << "x\ry" << "x\ry";
        QTest::newRow("empty") << "" << "";
    }
    void fieldQuoting()
    {
        QFETCH(QString, field);
        QFETCH(QString, written);
        QCOMPARE(CsvText::field(field), written);
    }

    void firstSheetInGb18030()
    {
        const Run r = xls2csv({fixture(QStringLiteral("sheets.xls"))});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, gb18030(kFirstSheet));
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
        const Run text = xls2csv({fixture(QStringLiteral("text.xls")), QStringLiteral("--encoding"), QStringLiteral("UTF-8")});
        QCOMPARE(text.code, 0);
        const QString csv = QString::fromUtf8(text.out);
        QVERIFY(csv.contains(QStringLiteral("\r\nlatin1,Café Müller niño £5 ©®½\r\n")));
        QVERIFY(csv.contains(QStringLiteral("\r\nquotes,\"He said \"\"yes\"\", then left\"\r\n")));
        QVERIFY(csv.contains(QStringLiteral("\r\nnewline,\"line one\nline two\"\r\n")));
        const Run list = xls2csv({sheets, QStringLiteral("--list")});
        QVERIFY(list.out.startsWith(gb18030(QStringLiteral("0\t商品\t5x5\r\n"))));
    }

    void failuresAreExplained()
    {
        const Run missing = xls2csv({home.filePath(QStringLiteral("none.xls"))});
        QCOMPARE(missing.code, 1);
        QVERIFY(missing.err.contains(QStringLiteral("文件不存在")));
        QVERIFY(missing.out.isEmpty());

        const QString csvFile = home.filePath(QStringLiteral("plain.xls"));
        WriteBytes(csvFile, "a,b\r\n1,2\r\n");
        const Run notBook = xls2csv({csvFile});
        QCOMPARE(notBook.code, 1);
        QVERIFY(notBook.err.contains(QStringLiteral("文件加载失败")));

        const QString held = home.filePath(QStringLiteral("held.xls"));
        QFile::copy(fixture(QStringLiteral("numbers.xls")), held);
        WriteBytes(home.filePath(QStringLiteral(".~lock.held.xls#")), "x");
        const Run locked = xls2csv({held});
        QCOMPARE(locked.code, 1);
        QVERIFY(locked.err.contains(QStringLiteral("占用")));

        const Run noSheet = xls2csv({fixture(QStringLiteral("numbers.xls")), QStringLiteral("--sheet"), QStringLiteral("5")});
        QCOMPARE(noSheet.code, 1);
        QVERIFY(noSheet.err.contains(QStringLiteral("工作表不存在")));

        QCOMPARE(xls2csv({}).code, 2);
        QCOMPARE(xls2csv({fixture(QStringLiteral("numbers.xls")), QStringLiteral("--bogus")}).code, 2);
        QCOMPARE(xls2csv({fixture(QStringLiteral("numbers.xls")), QStringLiteral("--encoding"), QStringLiteral("nope")}).code, 2);
    }

    // A terminal reads the locale's encoding; files and pipes keep GB18030 for spreadsheet programs.
    void encodingFollowsWhereTheTextGoes()
    {
        const QString cli = QStringLiteral(VUMO_CLI);
        const QString sheets = fixture(QStringLiteral("sheets.xls"));
        const VumoTest::CliRun utf8 = VumoTest::RunCliOnTerminal(cli, home.path(), {QStringLiteral("xls2csv"), sheets},
                                                                 QStringLiteral("C.UTF-8"));
        QCOMPARE(utf8.exitCode, 0);
        QCOMPARE(utf8.out, kFirstSheet.toUtf8());
        // A C locale can show no Chinese at all: UTF-8 stands in for its ASCII.
        const VumoTest::CliRun plain = VumoTest::RunCliOnTerminal(cli, home.path(), {QStringLiteral("xls2csv"), sheets},
                                                                  QStringLiteral("C"));
        QCOMPARE(plain.out, kFirstSheet.toUtf8());
        const VumoTest::CliRun asked = VumoTest::RunCliOnTerminal(
            cli, home.path(), {QStringLiteral("xls2csv"), sheets, QStringLiteral("--encoding"), QStringLiteral("GB18030")},
            QStringLiteral("C.UTF-8"));
        QCOMPARE(asked.out, gb18030(kFirstSheet));
        const VumoTest::CliRun piped = VumoTest::RunCli(cli, home.path(), {QStringLiteral("xls2csv"), sheets});
        QCOMPARE(piped.exitCode, 0);
        QCOMPARE(piped.out, gb18030(kFirstSheet));

        const VumoTest::CliRun help = VumoTest::RunCli(cli, home.path(), {QStringLiteral("xls2csv"), QStringLiteral("--help")});
        const QString helpText = QString::fromUtf8(help.out);
        QVERIFY2(helpText.contains(QStringLiteral("GB18030")) && helpText.contains(QStringLiteral("终端")), qPrintable(helpText));
    }

    void flagWithoutValueNamesIt()
    {
        const QString cli = QStringLiteral(VUMO_CLI);
        const QString sheets = fixture(QStringLiteral("sheets.xls"));
        const VumoTest::CliRun sheet = VumoTest::RunCli(cli, home.path(), {QStringLiteral("xls2csv"), sheets, QStringLiteral("--sheet")});
        QCOMPARE(sheet.exitCode, 2);
        QVERIFY2(QString::fromUtf8(sheet.err).contains(QStringLiteral("--sheet 缺少取值")), sheet.err.constData());
        QVERIFY(sheet.out.isEmpty());
        const Run encoding = xls2csv({sheets, QStringLiteral("--encoding")});
        QCOMPARE(encoding.code, 2);
        QVERIFY2(encoding.err.contains(QStringLiteral("--encoding 缺少取值")), qPrintable(encoding.err));
        const VumoTest::CliRun homeRun = VumoTest::RunCli(cli, home.path(), {QStringLiteral("--home")});
        QCOMPARE(homeRun.exitCode, 2);
        QVERIFY2(QString::fromUtf8(homeRun.err).contains(QStringLiteral("--home 缺少取值")), homeRun.err.constData());
    }

    // A sheet's name comes from the file: a "%1" in it is listed as it stands.
    void sheetNamesAreListedAsTheyStand()
    {
        BiffWriter writer;
        const int sheet = writer.addSheet(QStringLiteral("折扣%1"));
        writer.setText(sheet, 0, 0, QStringLiteral("x"));
        const QString path = home.filePath(QStringLiteral("percent.xls"));
        QVERIFY(WriteBytes(path, workbookFile(writer.stream())));
        const Run list = xls2csv({path, QStringLiteral("--list"), QStringLiteral("--encoding"), QStringLiteral("UTF-8")});
        QCOMPARE(list.code, 0);
        QCOMPARE(QString::fromUtf8(list.out), QStringLiteral("0\t折扣%1\t1x1\r\n"));
        const Run missing = xls2csv({path, QStringLiteral("--sheet"), QStringLiteral("价格%2元")});
        QCOMPARE(missing.code, 1);
        QVERIFY2(missing.err.contains(QStringLiteral("工作表不存在：价格%2元（共1个")), qPrintable(missing.err));
    }

};

VUMO_TEST_CLASS(TestXls2Csv)
#include "tst_Xls2Csv.moc"
