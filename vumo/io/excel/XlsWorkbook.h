#pragma once
// Legacy Excel workbooks (BIFF8 in a compound document), read only: the workbook globals, the
// worksheets in file order and their cells by row and column.
//
//   YExcel::XlsWorkbook book;
//   if (book.load(path))
//       if (YExcel::XlsWorksheet* sheet = book.worksheet(0))
//           QString t = sheet->cell(0, 0)->text();   // "12", "12.5", "商品名称", ...
#include "io/excel/CompoundDocument.h"
#include "io/excel/XlsRecords.h"

#include <QString>

#include <memory>
#include <vector>

namespace YExcel {

class XlsCell final
{
public:
    enum Type { Undefined = 0, Integer = 1, Double = 2, String = 3, WString = 4, Formula = 5 };

    Type type() const { return Type(m_type); }
    qint32 integerValue() const { return m_type == Integer ? m_integer : qint32(m_double); }
    double doubleValue() const { return m_type == Integer ? double(m_integer) : m_double; }
    // The 8-bit text of a String cell (Latin-1 bytes) and the text of a WString cell.
    QByteArray stringValue() const { return m_type == String ? m_text.toLatin1() : QByteArray(); }
    QString wideStringValue() const { return m_type == WString || m_type == Formula ? m_text : QString(); }

    // What the cell shows: integers in decimal, doubles in general form with up to 15
    // significant digits (2 → "2", 12.5 → "12.5", 6901234567890 → "6901234567890",
    // 1e20 → "1e+20"), text unchanged, formulas as their stored result, empty otherwise.
    QString text() const;

    static XlsCell integer(qint32 v);
    static XlsCell number(double v);
    static XlsCell string(const QString& latin1Text);
    static XlsCell wideString(const QString& text);
    static XlsCell formula(const QString& text, double value = 0);
    static QString formatDouble(double v);

private:
    quint8 m_type = Undefined;
    qint32 m_integer = 0;
    double m_double = 0;
    QString m_text;
};

class XlsWorksheet final
{
public:
    QString name() const { return m_name; }
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }

    // Null beyond 65536 rows or 256 columns. Addressing beyond the current totals raises them
    // (the cell there is undefined). The pointer stays valid until the workbook is reloaded.
    XlsCell* cell(int row, int col);

    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;

    // Records of the sheet that are kept.
    Worksheet::Index index;
    Worksheet::Dimensions dimensions;
    Worksheet::ColInfos colInfos;
    Worksheet::Window2 window2;
    std::vector<Worksheet::MergedCells> mergedCells;

private:
    friend class XlsWorkbook;
    struct StoredCell
    {
        quint16 col;
        XlsCell cell;
    };
    void setCell(int row, int col, XlsCell cell);
    void touch(int row, int col);

    QString m_name;
    int m_rowCount = 0;
    int m_columnCount = 0;
    // Only cells that hold a value are stored, sorted by column within their row: a record
    // that addresses a far corner must not make the sheet allocate the space up to it.
    std::vector<std::vector<StoredCell>> m_rows;
    XlsCell m_undefined;
};

class XlsWorkbook final
{
public:
    XlsWorkbook();
    ~XlsWorkbook();
    XlsWorkbook(const XlsWorkbook&) = delete;
    XlsWorkbook& operator=(const XlsWorkbook&) = delete;

    // False when the file is missing, is no compound document or is held by another
    // program. A damaged "Workbook" stream gives an empty or partial workbook and true.
    bool load(const QString& path);
    // Why the last `load` failed (None after a success).
    CompoundDocument::OpenError loadError() const { return m_loadError; }
    int worksheetCount() const { return int(m_worksheets.size()); }
    XlsWorksheet* worksheet(int index);

    // The workbook globals.
    Workbook::Window1 window1;
    std::vector<Workbook::Font> fonts;
    std::vector<Workbook::XF> xfs;
    std::vector<Workbook::Format> formats;
    std::vector<Workbook::Style> styles;
    std::vector<Workbook::BoundSheet> boundSheets;
    Workbook::SharedStringTable sharedStrings;

    // Parses a "Workbook" stream already in memory (the tail of `load`).
    void parseStream(const QByteArray& stream);

private:
    void clear();
    void readGlobals(RecordStream& records);
    void readWorksheet(RecordStream& records, qint64 bofOffset);
    static void skipSubstream(RecordStream& records);
    void nameWorksheets();

    std::vector<std::unique_ptr<XlsWorksheet>> m_worksheets;
    std::vector<qint64> m_worksheetOffsets;
    CompoundDocument::OpenError m_loadError = CompoundDocument::OpenError::None;
};

} // namespace YExcel
