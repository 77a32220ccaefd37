#pragma once
// CSV text in the plug-in's dialect: a field holding a double quote is enclosed with its quotes
// doubled; one holding the separator or a line feed is enclosed unchanged; any other field,
// empty ones included, is written as is. Records end with "\r\n".
//   field("a\"b") → "\"a\"\"b\"",  field("c,d") → "\"c,d\"",  field("e") → "e"
#include <QString>
#include <QStringList>
#include <QVector>

namespace YExcel {
class XlsWorksheet;
}

namespace Quorvia::cli::CsvText {

QString field(const QString& text, QChar separator = QLatin1Char(','));
QString record(const QStringList& fields, QChar separator = QLatin1Char(','));

// The texts of a worksheet, row by row, every row as wide as the widest: up to the last row
// and the last column that hold a non-empty text (formatted blanks at the edges are dropped,
// as a spreadsheet does when it saves CSV).
QVector<QStringList> sheetTexts(YExcel::XlsWorksheet& sheet);

} // namespace Quorvia::cli::CsvText
