// vumo-cli xls2csv: one worksheet of a legacy workbook as CSV in the plug-in's dialect
// (comma separated, quoted where needed, "\r\n" line ends, GB18030 without byte-order mark).
#include "CliCommand.h"
#include "CsvText.h"

#include "io/excel/XlsWorkbook.h"

#include <QTextCodec>

namespace Quorvia::cli {

namespace {

QString loadFailure(YExcel::CompoundDocument::OpenError error, const QString& path)
{
    using E = YExcel::CompoundDocument::OpenError;
    switch (error) {
    case E::Missing: return QStringLiteral("文件不存在：%1\n").arg(path);
    case E::Locked: return QStringLiteral("文件可能被占用：%1\n").arg(path);
    case E::Unreadable: return QStringLiteral("文件无法读取：%1\n").arg(path);
    default: return QStringLiteral("文件加载失败，不是Excel 97-2003工作簿（.xls）：%1\n").arg(path);
    }
}

// Sheet by index (0 = the first) or, failing that, by name.
int findSheet(YExcel::XlsWorkbook& book, const QString& which)
{
    bool isNumber = false;
    const int index = which.toInt(&isNumber);
    if (isNumber)
        return index >= 0 && index < book.worksheetCount() ? index : -1;
    for (int i = 0; i < book.worksheetCount(); ++i) {
        if (book.worksheet(i)->name() == which)
            return i;
    }
    return -1;
}

} // namespace

int runXls2Csv(const QStringList& args, QIODevice& out, QIODevice& err)
{
    QString path;
    QString sheetArg = QStringLiteral("0");
    QByteArray encoding = "GB18030";
    bool list = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if ((a == QLatin1String("--sheet") || a == QLatin1String("--encoding")) && i + 1 < args.size()) {
            if (a == QLatin1String("--sheet"))
                sheetArg = args.at(++i);
            else
                encoding = args.at(++i).toLatin1();
        } else if (a == QLatin1String("--list")) {
            list = true;
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            writeText(err, QStringLiteral("xls2csv：无法识别的参数：%1\n").arg(a));
            return ExitUsage;
        } else {
            path = a;
        }
    }
    if (path.isEmpty()) {
        writeText(err, QStringLiteral("用法：vumo-cli xls2csv FILE [--sheet N|NAME] [--list] [--encoding NAME]\n"));
        return ExitUsage;
    }
    QTextCodec* codec = QTextCodec::codecForName(encoding);
    if (!codec) {
        writeText(err, QStringLiteral("xls2csv：不支持的编码：%1\n").arg(QString::fromLatin1(encoding)));
        return ExitUsage;
    }

    YExcel::XlsWorkbook book;
    if (!book.load(path)) {
        writeText(err, loadFailure(book.loadError(), path));
        return ExitFailed;
    }
    if (list) {
        for (int i = 0; i < book.worksheetCount(); ++i) {
            YExcel::XlsWorksheet* s = book.worksheet(i);
            out.write(codec->fromUnicode(QStringLiteral("%1\t%2\t%3x%4\r\n")
                                             .arg(i).arg(s->name()).arg(s->rowCount()).arg(s->columnCount())));
        }
        return ExitOk;
    }
    const int index = findSheet(book, sheetArg);
    if (index < 0) {
        writeText(err, book.worksheetCount() == 0
                           ? QStringLiteral("文件无有效内容，没有工作表：%1\n").arg(path)
                           : QStringLiteral("工作表不存在：%1（共%2个，从0开始编号）\n").arg(sheetArg).arg(book.worksheetCount()));
        return ExitFailed;
    }
    YExcel::XlsWorksheet* sheet = book.worksheet(index);
    const QVector<QStringList> rows = CsvText::sheetTexts(*sheet);
    QByteArray chunk;
    for (const QStringList& row : rows) {
        chunk += codec->fromUnicode(CsvText::record(row));
        if (chunk.size() > (1 << 16)) {
            out.write(chunk);
            chunk.clear();
        }
    }
    out.write(chunk);
    return ExitOk;
}

} // namespace Quorvia::cli
