#include "CsvText.h"

#include "io/excel/XlsWorkbook.h"

namespace Quorvia::cli::CsvText {

QString field(const QString& text, QChar separator)
{
    if (text.contains(QLatin1Char('"'))) {
        QString quoted = text;
        quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    if (text.contains(separator) || text.contains(QLatin1Char('\n')))
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

QString record(const QStringList& fields, QChar separator)
{
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += field(fields.at(i), separator);
    }
    return line + QLatin1String("\r\n");
}

QVector<QStringList> sheetTexts(YExcel::XlsWorksheet& sheet)
{
    // Taken before reading: reading a cell may raise the totals.
    const int rows = sheet.rowCount();
    const int cols = sheet.columnCount();
    QVector<QStringList> grid;
    grid.reserve(rows);
    int lastRow = -1;
    int lastCol = -1;
    for (int r = 0; r < rows; ++r) {
        QStringList texts;
        texts.reserve(cols);
        for (int c = 0; c < cols; ++c) {
            const YExcel::XlsCell* cell = sheet.cell(r, c);
            texts << (cell ? cell->text() : QString());
            if (!texts.last().isEmpty()) {
                lastRow = r;
                lastCol = std::max(lastCol, c);
            }
        }
        grid << texts;
    }
    grid.resize(lastRow + 1);
    for (QStringList& row : grid)
        row = row.mid(0, lastCol + 1);
    return grid;
}

} // namespace Quorvia::cli::CsvText
