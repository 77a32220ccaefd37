// vumo-cli xls2csv: one worksheet of a legacy workbook as CSV in the plug-in's dialect
// (comma separated, quoted where needed, "\r\n" line ends, no byte-order mark). The text is
// GB18030 when it goes to a file or a pipe, which is what the spreadsheet programs of the
// sellers open without asking; a terminal gets its locale's encoding so that it stays readable.
#include "CliCommand.h"
#include "CsvText.h"

#include "io/excel/XlsWorkbook.h"

#include <QFile>
#include <QTextCodec>

#include <unistd.h>

namespace Quorvia::cli {

namespace {

QString loadFailure(YExcel::CompoundDocument::OpenError error, const QString& path)
{
    using E = YExcel::CompoundDocument::OpenError;
    switch (error) {
    case E::Missing:
        return QStringLiteral("文件不存在：%1\n").arg(path);
    case E::Locked:
        return QStringLiteral("文件可能被占用：%1\n").arg(path);
    case E::Unreadable:
        return QStringLiteral("文件无法读取：%1\n").arg(path);
    default:
        return QStringLiteral("文件加载失败，不是Excel 97-2003工作簿（.xls）：%1\n").arg(path);
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

bool isTerminal(QIODevice& device)
{
    auto* file = qobject_cast<QFile*>(&device);
    return file && file->handle() >= 0 && ::isatty(file->handle());
}

// The locale's codec; a C/POSIX locale claims plain ASCII, which cannot show the sheet's
// Chinese text at all, so UTF-8 stands in for it.
QTextCodec* terminalCodec()
{
    QTextCodec* codec = QTextCodec::codecForLocale();
    if (!codec || codec->mibEnum() == 3 /* US-ASCII */ || codec->mibEnum() == 4 /* Latin-1 */)
        return QTextCodec::codecForMib(106 /* UTF-8 */);
    return codec;
}

} // namespace

int runXls2Csv(const QStringList& args, QIODevice& out, QIODevice& err)
{
    QString path;
    QString sheetArg = QStringLiteral("0");
    QByteArray encoding;
    bool list = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool isSheet = a == QLatin1String("--sheet");
        if (isSheet || a == QLatin1String("--encoding")) {
            if (i + 1 >= args.size()) {
                writeText(err,
                          isSheet ? QStringLiteral("xls2csv：--sheet 缺少取值（工作表编号或名称）\n")
                                  : QStringLiteral("xls2csv：--encoding 缺少取值（编码名称，如 UTF-8、GB18030）\n"));
                return ExitUsage;
            }
            if (isSheet)
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
    QTextCodec* codec = !encoding.isEmpty() ? QTextCodec::codecForName(encoding)
        : isTerminal(out)                   ? terminalCodec()
                                            : QTextCodec::codecForName("GB18030");
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
                                             .arg(QString::number(i), s->name(), QString::number(s->rowCount()),
                                                  QString::number(s->columnCount()))));
        }
        return ExitOk;
    }
    const int index = findSheet(book, sheetArg);
    if (index < 0) {
        writeText(err,
                  book.isEncrypted()               ? QStringLiteral("文件已加密，无法读取：%1\n").arg(path)
                      : book.worksheetCount() == 0 ? QStringLiteral("文件无有效内容，没有工作表：%1\n").arg(path)
                                                   : QStringLiteral("工作表不存在：%1（共%2个，从0开始编号）\n")
                                                         .arg(sheetArg, QString::number(book.worksheetCount())));
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
