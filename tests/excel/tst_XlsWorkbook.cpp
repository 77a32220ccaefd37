#include "XlsTestSupport.h"

#include "io/excel/XlsWorkbook.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace YExcel;
using namespace XlsTest;

namespace {

QByteArray sheetStream(const QByteArray& cells, const QStringList& strings = {})
{
    return bof(0x0005) + record(0x0085, u32le(0) + char(0) + char(0) + char(1) + char(0) + "S") + sstRecords(strings)
        + eof() + bof(0x0010) + cells + eof();
}

QByteArray formulaRecord(int row, int col, const QByteArray& result)
{
    // Result, options, chain word, then a one-token expression.
    return record(0x0006, cellHeader(row, col) + result + u16le(0) + u32le(0) + u16le(1) + char(0x17));
}

QByteArray specialResult(quint8 kind, quint8 value)
{
    return QByteArray(1, char(kind)) + char(0) + char(value) + QByteArray(3, '\0') + u16le(0xFFFF);
}

} // namespace

class TestXlsWorkbook : public QObject
{
    Q_OBJECT
    VumoTest::TempHome home;

    XlsWorksheet* loadStream(XlsWorkbook& book, const QByteArray& stream)
    {
        const QString path = home.filePath(QStringLiteral("made.xls"));
        WriteBytes(path, workbookFile(stream));
        if (!book.load(path))
            return nullptr;
        return book.worksheet(0);
    }

private slots:
    void fixturesMatchTheirSources_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : {"numbers", "text", "sheets", "longsst", "products"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void fixturesMatchTheirSources()
    {
        QFETCH(QString, name);
        QFile json(fixture(QStringLiteral("expected/%1.json").arg(name)));
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QJsonArray sheets =
            QJsonDocument::fromJson(json.readAll()).object().value(QLatin1String("sheets")).toArray();
        XlsWorkbook book;
        QVERIFY(book.load(fixture(name + QStringLiteral(".xls"))));
        QCOMPARE(book.worksheetCount(), int(sheets.size()));
        for (int s = 0; s < sheets.size(); ++s) {
            XlsWorksheet* sheet = book.worksheet(s);
            QCOMPARE(sheet->name(), sheets[s].toObject().value(QLatin1String("name")).toString());
            const QJsonArray rows = sheets[s].toObject().value(QLatin1String("rows")).toArray();
            const int rowCount = sheet->rowCount(), colCount = sheet->columnCount();
            int widest = 0;
            for (int r = 0; r < rows.size(); ++r) {
                const QJsonArray cols = rows[r].toArray();
                widest = std::max(widest, int(cols.size()));
                for (int c = 0; c < cols.size(); ++c)
                    QCOMPARE(sheet->cell(r, c)->text(), cols[c].toString());
            }
            // Nothing beyond the source's cells except formatted blanks.
            for (int r = 0; r < rowCount; ++r)
                for (int c = 0; c < colCount; ++c)
                    if (r >= rows.size() || c >= rows[r].toArray().size())
                        QVERIFY(sheet->cell(r, c)->text().isEmpty());
            QVERIFY(rowCount <= rows.size() + 1);
            QVERIFY(colCount <= widest + 1);
        }
    }

    // The texts are the fixtures' own (checked above); here the kind each storage gives.
    void cellTypesFollowTheStorage()
    {
        XlsWorkbook book;
        QVERIFY(book.load(fixture(QStringLiteral("numbers.xls"))));
        XlsWorksheet* n = book.worksheet(0);
        QCOMPARE(n->cell(1, 1)->type(), XlsCell::Integer);
        QCOMPARE(n->cell(1, 1)->integerValue(), 12);
        QCOMPARE(n->cell(2, 1)->type(), XlsCell::Double);
        QCOMPARE(n->cell(16, 1)->type(), XlsCell::Double); // a bar code held as a number
        QCOMPARE(n->cell(0, 0)->type(), XlsCell::WString);
        QCOMPARE(n->cell(1, 0)->type(), XlsCell::String);

        // 8-bit strings are Latin-1: accented letters survive.
        QVERIFY(book.load(fixture(QStringLiteral("text.xls"))));
        XlsWorksheet* t = book.worksheet(0);
        QCOMPARE(t->cell(2, 1)->type(), XlsCell::String);
        QCOMPARE(t->cell(2, 1)->stringValue(), QByteArray("Caf\xe9 M\xfcller ni\xf1o \xa3\x35 \xa9\xae\xbd"));
    }

    void doubleTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("two thirds") << 2.0 / 3 << "0.666666666666667";
        QTest::newRow("sum with binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large") << 1e20 << "1e+20";
        QTest::newRow("tiny") << 1.5e-7 << "1.5e-07";
    }
    void doubleTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(XlsCell::number(value).text(), text);
    }

    void limitsAndGrowth()
    {
        XlsWorkbook book;
        QVERIFY(book.load(fixture(QStringLiteral("sheets.xls"))));
        XlsWorksheet* s = book.worksheet(0);
        QVERIFY(!book.worksheet(-1));
        QVERIFY(!book.worksheet(book.worksheetCount()));
        QVERIFY(!s->cell(70000, 0));
        QVERIFY(!s->cell(0, 300));
        QVERIFY(!s->cell(-1, 0));
        QVERIFY(!s->cell(65536, 0));
        QCOMPARE(s->rowCount(), 5);
        // Addressing past the totals raises them; the new cells are undefined.
        XlsCell* far = s->cell(99, 7);
        QVERIFY(far);
        QCOMPARE(far->type(), XlsCell::Undefined);
        QCOMPARE(s->rowCount(), 100);
        QCOMPARE(s->columnCount(), 8);
        QVERIFY(s->cell(65535, 255));
        QCOMPARE(s->rowCount(), 65536);
        QCOMPARE(s->columnCount(), 256);
        // Earlier cells stay where they were.
        QCOMPARE(s->cell(1, 1)->text(), QStringLiteral("羊毛围巾"));
    }

    void farCornerClaimsAreCheap()
    {
        // Dimensions announcing the whole sheet, a value in the last cell, a blank run past
        // the last column and a string index past the table.
        const QByteArray cells = record(0x0200, u32le(0) + u32le(65536) + u16le(0) + u16le(256) + u16le(0))
            + numberRecord(65535, 255, 4.25) + numberRecord(2, 400, 1)
            + record(0x00BE, u16le(3) + u16le(250) + QByteArray(2 * 20, '\0') + u16le(269))
            + labelSstRecord(4, 0, 12345);
        XlsWorkbook book;
        XlsWorksheet* s = loadStream(book, sheetStream(cells, {QStringLiteral("only")}));
        QVERIFY(s);
        QCOMPARE(s->rowCount(), 65536);
        QCOMPARE(s->columnCount(), 256);
        QCOMPARE(s->cell(65535, 255)->text(), QStringLiteral("4.25"));
        QCOMPARE(s->cell(4, 0)->type(), XlsCell::Undefined);
        QCOMPARE(s->cell(3, 255)->type(), XlsCell::Undefined);
        QCOMPARE(s->dimensions.lastRowPlusOne, quint32(65536));
    }

    void formulaResults()
    {
        const QByteArray cells = formulaRecord(0, 0, f64le(2.5)) + formulaRecord(0, 1, specialResult(0, 0))
            + record(0x04BC, u16le(0) + u16le(0) + char(1) + char(1) + QByteArray(4, '\0'))
            + record(0x0207, unicodeString(QStringLiteral("合计"))) + formulaRecord(0, 2, specialResult(1, 1))
            + formulaRecord(0, 3, specialResult(2, 0x07)) + formulaRecord(0, 4, specialResult(3, 0))
            + record(0x0205, cellHeader(1, 0) + char(0) + char(0))
            + record(0x0205, cellHeader(1, 1) + char(0x2A) + char(1))
            // A String record without a formula before it belongs to no cell.
            + numberRecord(1, 2, 3) + record(0x0207, unicodeString(QStringLiteral("stray")));
        XlsWorkbook book;
        XlsWorksheet* s = loadStream(book, sheetStream(cells));
        QVERIFY(s);
        QCOMPARE(s->cell(0, 0)->type(), XlsCell::Formula);
        QCOMPARE(s->cell(0, 0)->text(), QStringLiteral("2.5"));
        QCOMPARE(s->cell(0, 1)->text(), QStringLiteral("合计"));
        QCOMPARE(s->cell(0, 2)->text(), QStringLiteral("TRUE"));
        QCOMPARE(s->cell(0, 3)->text(), QStringLiteral("#DIV/0!"));
        QCOMPARE(s->cell(0, 4)->text(), QString());
        QCOMPARE(s->cell(1, 0)->text(), QStringLiteral("FALSE"));
        QCOMPARE(s->cell(1, 1)->text(), QStringLiteral("#N/A"));
        QCOMPARE(s->cell(1, 2)->text(), QStringLiteral("3"));
    }

    void sheetsAreMatchedAndDelimited()
    {
        // Two BoundSheets for three sheet substreams; a chart substream between the first two
        // sheets, an embedded chart inside the first, and the second sheet lacks its EOF.
        auto boundSheet = [](const QString& name, quint32 pos) {
            QByteArray b = unicodeString(name);
            return record(0x0085, u32le(pos) + char(0) + char(0) + char(quint8(name.size())) + b.mid(2));
        };
        const QByteArray chart = bof(0x0020) + record(0x1002, QByteArray(16, '\0')) + eof();
        const QByteArray first = bof(0x0010) + numberRecord(0, 0, 1) + chart + numberRecord(1, 0, 2) + eof();
        const QByteArray second = bof(0x0010) + labelSstRecord(0, 0, 0);
        const QByteArray third = bof(0x0010) + numberRecord(0, 0, 3) + eof();
        const int globalsSize = int(bof(5).size() + boundSheet(QStringLiteral("一"), 0).size()
                                    + boundSheet(QStringLiteral("Two"), 0).size() + eof().size());
        const quint32 p1 = quint32(globalsSize);
        const quint32 p2 = p1 + quint32(first.size() + chart.size());
        const QByteArray all = bof(5) + boundSheet(QStringLiteral("一"), p1) + boundSheet(QStringLiteral("Two"), p2)
            + eof() + first + chart + second + third;
        XlsWorkbook book;
        QVERIFY(loadStream(book, all));
        QCOMPARE(book.worksheetCount(), 3);
        QCOMPARE(book.worksheet(0)->name(), QStringLiteral("一"));
        QCOMPARE(book.worksheet(0)->cell(1, 0)->text(), QStringLiteral("2"));
        QCOMPARE(book.worksheet(0)->rowCount(), 2);
        QCOMPARE(book.worksheet(1)->name(), QStringLiteral("Two"));
        QCOMPARE(book.worksheet(1)->cell(0, 0)->type(), XlsCell::Undefined); // no strings in the table
        QCOMPARE(book.worksheet(1)->rowCount(), 1);
        QCOMPARE(book.worksheet(2)->cell(0, 0)->text(), QStringLiteral("3"));
        QCOMPARE(book.worksheet(2)->name(), QStringLiteral("Sheet3"));
    }

    void loadResults()
    {
        XlsWorkbook book;
        QVERIFY(book.load(fixture(QStringLiteral("sheets.xls"))));
        QCOMPARE(book.worksheetCount(), 4);
        XlsWorksheet* first = book.worksheet(0);
        QCOMPARE(int(first->mergedCells.size()), 1);
        QCOMPARE(first->mergedCells[0].cells.size(), 1);
        const auto m = first->mergedCells[0].cells[0];
        QCOMPARE((QList<int>{m.firstRow, m.lastRow, m.firstCol, m.lastCol}), (QList<int>{3, 3, 0, 2}));
        // A failed load leaves nothing of the previous workbook.
        QVERIFY(!book.load(home.filePath(QStringLiteral("nothing.xls"))));
        QCOMPARE(book.loadError(), CompoundDocument::OpenError::Missing);
        QCOMPARE(book.worksheetCount(), 0);
        QVERIFY(!book.worksheet(0));

        const QString copy = home.filePath(QStringLiteral("copy.xls"));
        QFile::copy(fixture(QStringLiteral("numbers.xls")), copy);
        QString windows = copy;
        windows.replace(QLatin1Char('/'), QLatin1Char('\\'));
        QVERIFY(book.load(windows));
        QCOMPARE(book.worksheet(0)->cell(1, 1)->text(), QStringLiteral("12"));

        // A compound document without a workbook stream: an empty workbook, not a failure.
        const QString other = home.filePath(QStringLiteral("other.xls"));
        WriteBytes(other, compoundDocument({{QStringLiteral("Book"), QByteArray(100, 'x')}}));
        QVERIFY(book.load(other));
        QCOMPARE(book.worksheetCount(), 0);
    }

    void encryptedAndEndlessSubstreams()
    {
        // A password-protected book: nothing after FilePass is read as cells.
        XlsWorkbook book;
        const QByteArray locked = bof(0x0005) + record(0x002F, u16le(1) + QByteArray(52, 'k')) + eof() + bof(0x0010)
            + numberRecord(0, 0, 1) + eof();
        QVERIFY(loadStream(book, locked) == nullptr);
        QVERIFY(book.isEncrypted());
        QCOMPARE(book.worksheetCount(), 0);

        // Thousands of sheets that never end, each with cells: read in one pass, every sheet
        // holding only its own cells.
        QByteArray endless = bof(0x0005) + eof();
        for (int i = 0; i < 20000; ++i)
            endless += bof(0x0010) + numberRecord(0, 0, i) + numberRecord(1, 1, i);
        QElapsedTimer timer;
        timer.start();
        book.parseStream(endless);
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(book.worksheetCount(), 20000);
        QCOMPARE(book.worksheet(19999)->cell(1, 1)->text(), QStringLiteral("19999"));
        QCOMPARE(book.worksheet(5)->rowCount(), 2);
        QVERIFY(!book.isEncrypted());
    }

    void labelRecordsOfOtherWriters()
    {
        const QByteArray cells = record(0x0204, cellHeader(0, 0) + unicodeString(QStringLiteral("Grüße")))
            + record(0x0204, cellHeader(0, 1) + unicodeString(QStringLiteral("品名")))
            + record(0x00D6, cellHeader(0, 2) + unicodeString(QStringLiteral("rich")) + u16le(0));
        XlsWorkbook book;
        XlsWorksheet* s = loadStream(book, sheetStream(cells));
        QVERIFY(s);
        QCOMPARE(s->cell(0, 0)->text(), QStringLiteral("Grüße"));
        QCOMPARE(s->cell(0, 0)->type(), XlsCell::String);
        QCOMPARE(s->cell(0, 1)->type(), XlsCell::WString);
        QCOMPARE(s->cell(0, 2)->text(), QStringLiteral("rich"));
    }
};

VUMO_TEST_CLASS(TestXlsWorkbook)
#include "tst_XlsWorkbook.moc"
