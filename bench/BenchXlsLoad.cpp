// Loading a 60,000 × 10 workbook and reading every cell's text, against reading the same
// file's bytes from disk. The workbook is written at run time by a child process (the test
// suite's small BIFF8 writer), so the peak memory reported is that of loading alone.
#include "XlsFileBuilder.h"

#include "io/excel/XlsWorkbook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kRows = 60000;
constexpr int kCols = 10;

int writeWorkbook(const QString& path)
{
    XlsTest::BiffWriter writer;
    const int s = writer.addSheet(QStringLiteral("商品"));
    for (int r = 0; r < kRows; ++r) {
        writer.setText(s, r, 0, QStringLiteral("商品名称%1 纯棉T恤").arg(r));
        writer.setText(s, r, 1, QStringLiteral("SKU-%1").arg(r % 50));
        writer.setNumber(s, r, 2, r);                       // RK integer
        writer.setNumber(s, r, 3, (r % 10000) / 100.0 + 1); // RK ×100
        writer.setNumber(s, r, 4, r * 1.1 + 0.123);         // Number
        for (int c = 5; c < kCols; ++c)
            writer.setNumber(s, r, c, (r * c) % 100000); // MulRK run
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray file = XlsTest::compoundDocument({{QStringLiteral("Workbook"), writer.stream()}});
    return f.write(file) == file.size() ? 0 : 1;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--write")
        return writeWorkbook(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xls"));
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("--write"), path}) != 0) {
        std::fprintf(stderr, "bench_xls_load: could not write %s\n", qPrintable(path));
        return 1;
    }
    const double baseMb = peakRssMb();

    constexpr int kRounds = 5;
    double bestReference = 1e300, bestOurs = 1e300;
    qint64 cells = 0, checksum = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            const QByteArray bytes = f.readAll();
            checksum += bytes.size();
        }
        bestReference = std::min(bestReference, t.nsecsElapsed() / 1e6);

        t.restart();
        YExcel::XlsWorkbook book;
        if (!book.load(path)) {
            std::fprintf(stderr, "bench_xls_load: load failed\n");
            return 1;
        }
        YExcel::XlsWorksheet* sheet = book.worksheet(0);
        const int rows = sheet->rowCount(), cols = sheet->columnCount();
        cells = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                checksum += sheet->cell(r, c)->text().size();
                ++cells;
            }
        bestOurs = std::min(bestOurs, t.nsecsElapsed() / 1e6);
        if (rows != kRows || cols != kCols) {
            std::fprintf(stderr, "bench_xls_load: read %d x %d\n", rows, cols);
            return 1;
        }
    }
    const double fileMb = QFileInfo(path).size() / 1048576.0;
    std::printf("xls_load_60000x10 (%lld cells, file %.1f MB): ours %.1f ms, reference read-file %.1f ms, ratio %.1f, "
                "peak RSS %.1f MB (%.1f MB before loading) [%lld]\n",
                cells, fileMb, bestOurs, bestReference, bestOurs / bestReference, peakRssMb(), baseMb, checksum % 10);
    return 0;
}
