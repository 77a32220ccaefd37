#pragma once
// BIFF8 record classes. A `Record` is one logical record: its code, its data with the data of
// any Continue records that follow it appended, and the lengths of those continuations (a
// string split across them restarts with an option byte at each boundary). Subclasses read
// their fields from the data; a field past the end raises EXCEPTION_YEOF inside `parse`, which
// keeps the fields read so far and reports false.
#include <QByteArray>
#include <QString>
#include <QVector>

#include <utility>
#include <vector>

namespace YExcel {

// A read past the end of the stream or of a record's data.
struct EXCEPTION_YEOF
{
};

namespace Code {
enum : quint16 {
    BOF = 0x0809,
    YEOF = 0x000A,
    Continue = 0x003C,
    Window1 = 0x003D,
    Font = 0x0031,
    Format = 0x041E,
    XF = 0x00E0,
    Style = 0x0293,
    BoundSheet = 0x0085,
    SST = 0x00FC,
    ExtSST = 0x00FF,
    FilePass = 0x002F,
    Index = 0x020B,
    Dimensions = 0x0200,
    Row = 0x0208,
    ColInfo = 0x007D,
    MergedCells = 0x00E5,
    Window2 = 0x023E,
    DBCell = 0x00D7,
    Blank = 0x0201,
    MulBlank = 0x00BE,
    BoolErr = 0x0205,
    LabelSST = 0x00FD,
    Number = 0x0203,
    RK = 0x027E,
    MulRK = 0x00BD,
    Formula = 0x0006,
    String = 0x0207,
    Array = 0x0221,
    ShrFmla = 0x04BC,
    ShrFmla1 = 0x00BC,
    Table = 0x0236,
    // Written by some other programs instead of LabelSST.
    Label = 0x0204,
    RString = 0x00D6,
};
}

// Little-endian reader over a record's data that knows where each Continue begins.
class RecordReader
{
public:
    RecordReader(const char* data, int size, const QVector<int>& continueLengths);

    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    void skip(qint64 bytes);
    int pos() const { return m_pos; }
    int remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }

    // `count` characters of a BIFF8 string whose option byte said `high` (16-bit); at each
    // Continue boundary a new option byte decides the width of the rest. `compressed` ends
    // true only when every part was 8-bit.
    QString characters(int count, bool high, bool* compressed = nullptr);
    // XLUnicodeString (16-bit count) and ShortXLUnicodeString (8-bit count).
    QString unicodeString(bool* compressed = nullptr);
    QString shortUnicodeString();

private:
    void need(int bytes) const;
    bool atContinueStart();

    const uchar* m_data;
    int m_size;
    int m_pos = 0;
    QVector<int> m_ends; // offsets where a Continue starts
    int m_next = 0;      // first entry of m_ends not behind m_pos
};

class Record
{
public:
    Record() = default;
    virtual ~Record() = default;

    quint16 code = 0;
    quint32 dataLength = 0; // all data, continuations included
    QByteArray data;
    QVector<int> continueLengths;
    qint64 streamOffset = -1; // where the record header starts in the stream

    // Copies `raw` (code, data, continuations) and reads the fields; false when the data was
    // too short for them.
    bool parse(const Record& raw);
    // Header plus data, again split into the record and its Continue records.
    qint64 recordSize() const;
    QByteArray serialize() const;
    // Makes `data` own its bytes (a record parsed from a view of the stream keeps a view).
    void detach();

protected:
    virtual void readFields(RecordReader&) { }
};

class BOF final : public Record
{
public:
    enum : quint16 { Globals = 0x0005, Worksheet = 0x0010, Chart = 0x0020, Macro = 0x0040 };
    quint16 version = 0x0600;
    quint16 type = 0;
    quint16 build = 0;
    quint16 year = 0;
    quint32 fileHistory = 0;
    quint32 lowestVersion = 0;

protected:
    void readFields(RecordReader& r) override;
};

class YEOF final : public Record
{
};

namespace Workbook {

class Window1 final : public Record
{
public:
    quint16 x = 0, y = 0, width = 0, height = 0, options = 0;
    quint16 activeSheet = 0, firstVisibleTab = 0, selectedTabs = 0, tabRatio = 0;

protected:
    void readFields(RecordReader& r) override;
};

class Font final : public Record
{
public:
    quint16 height = 200, options = 0, colourIndex = 0x7FFF, weight = 400, escapement = 0;
    quint8 underline = 0, family = 0, charset = 0;
    QString name = QStringLiteral("Arial");

protected:
    void readFields(RecordReader& r) override;
};

class XF final : public Record
{
public:
    quint16 fontIndex = 0, formatIndex = 0, options = 0;

protected:
    void readFields(RecordReader& r) override;
};

class Format final : public Record
{
public:
    quint16 index = 0;
    QString format = QStringLiteral("General");

protected:
    void readFields(RecordReader& r) override;
};

class Style final : public Record
{
public:
    quint16 xfIndex = 0;
    bool builtIn = false;
    quint8 builtInId = 0, level = 0;
    QString name;

protected:
    void readFields(RecordReader& r) override;
};

class BoundSheet final : public Record
{
public:
    enum : quint8 { WorksheetType = 0, MacroType = 1, ChartType = 2, ModuleType = 6 };
    quint32 position = 0; // stream offset of the sheet's BOF
    quint8 visibility = 0;
    quint8 sheetType = 0;
    QString name = QStringLiteral("Sheet1");

protected:
    void readFields(RecordReader& r) override;
};

class SharedStringTable final : public Record
{
public:
    struct Entry
    {
        QString text;
        bool compressed = true; // stored 8-bit throughout
    };
    quint32 totalCount = 0;
    quint32 uniqueCount = 0;
    // Only the strings the data really holds: a count larger than the table is not trusted.
    std::vector<Entry> strings;

protected:
    void readFields(RecordReader& r) override;
};

class ExtSST final : public Record
{
public:
    quint16 stringsPerBucket = 8;

protected:
    void readFields(RecordReader& r) override;
};

} // namespace Workbook

namespace Worksheet {

class Index final : public Record
{
public:
    quint32 firstRow = 0, lastRowPlusOne = 0, defColWidthPos = 0;
    QVector<quint32> dbCellPositions;

protected:
    void readFields(RecordReader& r) override;
};

class Dimensions final : public Record
{
public:
    quint32 firstRow = 0, lastRowPlusOne = 0;
    quint16 firstCol = 0, lastColPlusOne = 0;

protected:
    void readFields(RecordReader& r) override;
};

class ColInfo final : public Record
{
public:
    quint16 firstCol = 0, lastCol = 0, width = 0, xfIndex = 0, options = 0;

protected:
    void readFields(RecordReader& r) override;
};

using ColInfos = std::vector<ColInfo>;

class Window2 final : public Record
{
public:
    quint16 options = 0, topRow = 0, leftCol = 0;

protected:
    void readFields(RecordReader& r) override;
};

class MergedCells final : public Record
{
public:
    struct MergedCell
    {
        quint16 firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    };
    QVector<MergedCell> cells;

protected:
    void readFields(RecordReader& r) override;
};

namespace CellTable::RowBlock {

class Row final : public Record
{
public:
    quint16 row = 0, firstCol = 0, lastColPlusOne = 0, height = 0, options = 0, xfIndex = 0;

protected:
    void readFields(RecordReader& r) override;
};

class DBCell final : public Record
{
public:
    quint32 firstRowOffset = 0;
    QVector<quint16> cellOffsets;

protected:
    void readFields(RecordReader& r) override;
};

namespace CellBlock {

// Row, column and format index that every cell record starts with.
class CellRecord : public Record
{
public:
    quint16 row = 0, col = 0, xfIndex = 0;

protected:
    void readFields(RecordReader& r) override;
};

class Blank final : public CellRecord
{
};

class MulBlank final : public Record
{
public:
    quint16 row = 0, firstCol = 0, lastCol = 0;
    QVector<quint16> xfIndexes;

protected:
    void readFields(RecordReader& r) override;
};

class BoolErr final : public CellRecord
{
public:
    quint8 value = 0;
    bool isError = false;
    QString text() const;

protected:
    void readFields(RecordReader& r) override;
};

class LabelSST final : public CellRecord
{
public:
    quint32 stringIndex = 0;

protected:
    void readFields(RecordReader& r) override;
};

// Label and RString: the text in the record itself.
class Label final : public CellRecord
{
public:
    QString text;
    bool compressed = true;

protected:
    void readFields(RecordReader& r) override;
};

class Number final : public CellRecord
{
public:
    double value = 0;

protected:
    void readFields(RecordReader& r) override;
};

// A decoded RK value: an integer, or a double when it is not whole.
struct RKValue
{
    bool isInteger = true;
    qint32 integer = 0;
    double value = 0;
    static RKValue decode(quint32 rk);
};

class RK final : public CellRecord
{
public:
    quint32 rk = 0;

protected:
    void readFields(RecordReader& r) override;
};

class MulRK final : public Record
{
public:
    struct Item
    {
        quint16 xfIndex = 0;
        quint32 rk = 0;
    };
    quint16 row = 0, firstCol = 0, lastCol = 0;
    QVector<Item> items;

protected:
    void readFields(RecordReader& r) override;
};

class Formula final : public CellRecord
{
public:
    enum ResultKind { NumberResult, StringResult, BoolResult, ErrorResult, EmptyResult };
    ResultKind kind = NumberResult;
    double number = 0;
    quint8 boolOrError = 0;
    quint16 options = 0;
    QByteArray expression;

    class String final : public Record
    {
    public:
        QString text;

    protected:
        void readFields(RecordReader& r) override;
    };
    // Range records of array, shared and table formulas: kept only as their range.
    class RangeRecord : public Record
    {
    public:
        quint16 firstRow = 0, lastRow = 0;
        quint8 firstCol = 0, lastCol = 0;

    protected:
        void readFields(RecordReader& r) override;
    };
    class Array final : public RangeRecord
    {
    };
    class ShrFmla final : public RangeRecord
    {
    };
    class ShrFmla1 final : public RangeRecord
    {
    };
    class Table final : public RangeRecord
    {
    };

protected:
    void readFields(RecordReader& r) override;
};

QString errorText(quint8 code);

} // namespace CellBlock
} // namespace CellTable::RowBlock
} // namespace Worksheet

// Walks the records of a stream; Continue records are folded into the record before them.
// The stream holds its own (shared, not copied) reference to the bytes, so the records it hands
// out stay valid while it lives, whatever the caller does with its array or a temporary.
class RecordStream
{
public:
    explicit RecordStream(QByteArray stream)
        : m_stream(std::move(stream))
    {
    }

    // The next record with its data as a view into the stream; false at the end or when the
    // rest is too short for a header or for the data the header announces.
    bool next(Record& record);
    // Type of the next record without consuming it (0 at the end).
    quint16 peekCode() const;
    // Calls visit(code, length, data) for the records ahead, without consuming them, while it
    // returns true and whole records remain.
    template <typename Visit>
    void scanAhead(Visit visit) const
    {
        qint64 at = m_pos;
        while (m_stream.size() - at >= 4) {
            const auto* p = reinterpret_cast<const uchar*>(m_stream.constData() + at);
            const quint16 code = quint16(p[0] | (p[1] << 8));
            const quint16 length = quint16(p[2] | (p[3] << 8));
            if (m_stream.size() - at - 4 < length || !visit(code, length, p + 4))
                return;
            at += 4 + length;
        }
    }
    qint64 pos() const { return m_pos; }
    void seek(qint64 pos) { m_pos = qBound<qint64>(0, pos, m_stream.size()); }
    qint64 size() const { return m_stream.size(); }
    bool truncated() const { return m_truncated; }

private:
    const QByteArray m_stream;
    qint64 m_pos = 0;
    bool m_truncated = false;
    QByteArray m_joined; // data of a record with continuations
};

} // namespace YExcel
