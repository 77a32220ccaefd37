#include "XlsTestSupport.h"

#include "CliCommand.h"
#include "CsvText.h"
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
        QCOMPARE(r.out, gb18030(QStringLiteral("商品编号,商品名称,货号,Yv价,库存\r\n1001,羊毛围巾,,59,10\r\n1002,,A-2,,3\r\n"
                                               "合并单元格,,,12.5,\r\n,,,,last\r\n")));
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
        writeFile(csvFile, "a,b\r\n1,2\r\n");
        const Run notBook = xls2csv({csvFile});
        QCOMPARE(notBook.code, 1);
        QVERIFY(notBook.err.contains(QStringLiteral("文件加载失败")));

        const QString held = home.filePath(QStringLiteral("held.xls"));
        QFile::copy(fixture(QStringLiteral("numbers.xls")), held);
        writeFile(home.filePath(QStringLiteral(".~lock.held.xls#")), "x");
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

    void commandTable()
    {
        QVERIFY(findCommand(QStringLiteral("xls2csv")));
        QVERIFY(findCommand(QStringLiteral("xls2csv"))->run == &runXls2Csv);
        QVERIFY(!findCommand(QStringLiteral("xls")));
    }
};

VUMO_TEST_CLASS(TestXls2Csv)
#include "tst_Xls2Csv.moc"
