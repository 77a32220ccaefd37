// Many damaged copies of every fixture: each load must come back, quickly, with a workbook
// whose cells can all be read.
#include "XlsTestSupport.h"

#include "io/excel/XlsWorkbook.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

using namespace YExcel;
using namespace XlsTest;

namespace {

QByteArray mutate(const QByteArray& original, QRandomGenerator& rng, int headerBias)
{
    QByteArray b = original;
    if (b.isEmpty())
        return b;
    const int kind = int(rng.bounded(5));
    // Half of the damage goes to the first bytes, where the structures are.
    auto position = [&]() {
        const qint64 range = rng.bounded(2) && headerBias > 0 ? std::min<qint64>(headerBias, b.size()) : b.size();
        return int(rng.bounded(quint32(range)));
    };
    switch (kind) {
    case 0: // bit flips
        for (int i = 0, n = 1 + int(rng.bounded(8)); i < n; ++i)
            b[position()] ^= char(1 << rng.bounded(8));
        break;
    case 1: // cut short
        b.truncate(int(rng.bounded(quint32(b.size()))));
        break;
    case 2: { // a run of one byte
        const int at = position();
        const int len = std::min<int>(1 + int(rng.bounded(64)), int(b.size()) - at);
        const char fill = "\x00\xff\x7f\x80"[rng.bounded(4)];
        for (int i = 0; i < len; ++i)
            b[at + i] = fill;
        break;
    }
    case 3: { // random words, often landing on lengths, counts and sector numbers
        for (int i = 0, n = 1 + int(rng.bounded(4)); i < n; ++i) {
            const int at = position() & ~1;
            if (at + 4 <= b.size())
                setWordAt(b, at, rng.generate());
        }
        break;
    }
    default: { // a block moved elsewhere
        const int from = position();
        const int len = std::min<int>(int(rng.bounded(512)), int(b.size()) - from);
        const int to = position();
        const QByteArray piece = b.mid(from, len);
        b.replace(to, std::min<int>(len, int(b.size()) - to), piece.left(int(b.size()) - to));
        break;
    }
    }
    return b;
}

// Reads every cell a caller would read; the totals never pass the limits.
bool exercise(XlsWorkbook& book)
{
    for (int s = 0; s < book.worksheetCount(); ++s) {
        XlsWorksheet* sheet = book.worksheet(s);
        if (sheet->rowCount() > XlsWorksheet::MaxRows || sheet->columnCount() > XlsWorksheet::MaxColumns)
            return false;
        const int rows = std::min(sheet->rowCount(), 3000), cols = sheet->columnCount();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (!sheet->cell(r, c))
                    return false;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                sheet->cell(r, c)->text();
    }
    return true;
}

} // namespace

class TestXlsFuzz : public QObject
{
    Q_OBJECT
    VumoTest::TempHome home;

private slots:
    void damagedFilesLoadOrFailCleanly()
    {
        QRandomGenerator rng(20240611);
        QElapsedTimer total;
        total.start();
        int loaded = 0, runs = 0;
        for (const QString& name : fixtureNames()) {
            const QByteArray original = ReadBytes(fixture(name));
            QVERIFY(!original.isEmpty());
            for (int i = 0; i < 80; ++i) {
                const QString path = home.filePath(QStringLiteral("fuzz.xls"));
                QVERIFY(WriteBytes(path, mutate(original, rng, 2048)));
                QElapsedTimer one;
                one.start();
                XlsWorkbook book;
                if (book.load(path)) {
                    ++loaded;
                    QVERIFY2(exercise(book), qPrintable(QStringLiteral("%1 #%2").arg(name).arg(i)));
                }
                ++runs;
                QVERIFY2(one.elapsed() < 3000,
                         qPrintable(QStringLiteral("%1 #%2 took %3 ms").arg(name).arg(i).arg(one.elapsed())));
            }
        }
        // Most damage leaves the container readable: the cases reach the record parser too.
        QVERIFY(loaded > runs / 4);
        qInfo("%d of %d damaged files loaded, %lld ms", loaded, runs, total.elapsed());
    }
};

VUMO_TEST_CLASS(TestXlsFuzz)
#include "tst_XlsFuzz.moc"
