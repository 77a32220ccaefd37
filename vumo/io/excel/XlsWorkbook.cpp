#include "io/excel/XlsWorkbook.h"

#include "io/excel/CompoundDocument.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace YExcel {

using namespace Worksheet::CellTable::RowBlock;

// ---- XlsCell -----------------------------------------------------------------------------------

XlsCell XlsCell::integer(qint32 v)
{
    XlsCell c;
    c.m_type = Integer;
    c.m_integer = v;
    return c;
}

XlsCell XlsCell::number(double v)
{
    XlsCell c;
    c.m_type = Double;
    c.m_double = v;
    return c;
}

XlsCell XlsCell::formulaNumber(double v)
{
    XlsCell c = number(v);
    c.m_type = Formula;
    return c;
}

XlsCell XlsCell::text(Type type, const QString* text)
{
    XlsCell c;
    c.m_type = quint8(type);
    c.m_text = text;
    if (type == Formula)
        c.m_integer = 1;
    return c;
}

qint32 XlsCell::integerValue() const
{
    if (m_type == Integer)
        return m_integer;
    if (m_type == Double || (m_type == Formula && !m_integer)) {
        // Saturating: a double outside the 32-bit range must not be undefined behaviour.
        if (!(m_double > -2147483649.0 && m_double < 2147483648.0))
            return m_double > 0 ? std::numeric_limits<qint32>::max() : std::numeric_limits<qint32>::min();
        return qint32(m_double);
    }
    return 0;
}

double XlsCell::doubleValue() const
{
    if (m_type == Integer)
        return m_integer;
    if (m_type == Double || (m_type == Formula && !m_integer))
        return m_double;
    return 0;
}

QByteArray XlsCell::stringValue() const
{
    return m_type == String ? m_text->toLatin1() : QByteArray();
}

QString XlsCell::wideStringValue() const
{
    return m_type == WString || (m_type == Formula && m_integer) ? *m_text : QString();
}

QString XlsCell::formatDouble(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("#NUM!");
    if (v == 0)
        return QStringLiteral("0"); // also for -0
    // 15 digits is what a double holds reliably and what spreadsheets show; fewer would turn
    // item numbers and bar codes stored as numbers into rounded exponent forms.
    return QString::number(v, 'g', 15);
}

QString XlsCell::text() const
{
    switch (m_type) {
    case Integer:
        return QString::number(m_integer);
    case Double:
        return formatDouble(m_double);
    case String:
    case WString:
        return *m_text;
    case Formula:
        return m_integer ? *m_text : formatDouble(m_double);
    default:
        return QString();
    }
}

// ---- XlsWorksheet ------------------------------------------------------------------------------

void XlsWorksheet::touch(int row, int col)
{
    m_rowCount = std::max(m_rowCount, row + 1);
    m_columnCount = std::max(m_columnCount, col + 1);
}

const QString* XlsWorksheet::keepText(const QString& text)
{
    m_texts.push_back(text);
    return &m_texts.back();
}

void XlsWorksheet::setCell(int row, int col, XlsCell cell)
{
    if (row < 0 || row >= MaxRows || col < 0 || col >= MaxColumns)
        return;
    touch(row, col);
    cell.m_row = quint16(row);
    cell.m_col = quint8(col);
    m_cells.push_back(cell);
}

void XlsWorksheet::finish()
{
    auto key = [](const XlsCell& c) { return (quint32(c.m_row) << 8) | c.m_col; };
    // Writers emit cells in order; anything else is sorted, and of two records for one cell
    // the later wins.
    if (!std::is_sorted(m_cells.begin(), m_cells.end(),
                        [&](const XlsCell& a, const XlsCell& b) { return key(a) < key(b); }))
        std::stable_sort(m_cells.begin(), m_cells.end(),
                         [&](const XlsCell& a, const XlsCell& b) { return key(a) < key(b); });
    size_t out = 0;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        if (out > 0 && key(m_cells[out - 1]) == key(m_cells[i]))
            m_cells[out - 1] = m_cells[i];
        else
            m_cells[out++] = m_cells[i];
    }
    m_cells.resize(out);
    m_cells.shrink_to_fit();
    const int rows = m_cells.empty() ? 0 : m_cells.back().m_row + 1;
    m_rowStart.assign(size_t(rows) + 1, 0);
    size_t at = 0;
    for (int r = 0; r <= rows; ++r) {
        while (at < m_cells.size() && m_cells[at].m_row < r)
            ++at;
        m_rowStart[size_t(r)] = quint32(at);
    }
}

XlsCell* XlsWorksheet::cell(int row, int col)
{
    if (row < 0 || row >= MaxRows || col < 0 || col >= MaxColumns)
        return nullptr;
    touch(row, col);
    if (size_t(row) + 1 < m_rowStart.size()) {
        const auto first = m_cells.begin() + m_rowStart[size_t(row)];
        const auto last = m_cells.begin() + m_rowStart[size_t(row) + 1];
        const auto it = std::lower_bound(first, last, col, [](const XlsCell& c, int k) { return c.m_col < k; });
        if (it != last && it->m_col == col)
            return &*it;
    }
    return &m_undefined;
}

// ---- XlsWorkbook -------------------------------------------------------------------------------

XlsWorkbook::XlsWorkbook() = default;
XlsWorkbook::~XlsWorkbook() = default;

void XlsWorkbook::clear()
{
    window1 = Workbook::Window1();
    fonts.clear();
    xfs.clear();
    formats.clear();
    styles.clear();
    boundSheets.clear();
    m_worksheets.clear();
    sharedStrings = Workbook::SharedStringTable();
    m_haveSharedStrings = false;
    m_encrypted = false;
    m_worksheetOffsets.clear();
}

XlsWorksheet* XlsWorkbook::worksheet(int index)
{
    if (index < 0 || index >= worksheetCount())
        return nullptr;
    return m_worksheets[size_t(index)].get();
}

bool XlsWorkbook::load(const QString& path)
{
    clear();
    m_loadError = CompoundDocument::OpenError::None;
    QString file = path;
    // Callers built for Windows hand over backslash paths.
    if (!QFileInfo::exists(file) && file.contains(QLatin1Char('\\'))) {
        QString slashed = file;
        slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QFileInfo::exists(slashed))
            file = slashed;
    }
    QByteArray stream;
    {
        CompoundDocument document;
        if (!document.open(file)) {
            m_loadError = document.lastError();
            return false;
        }
        stream = document.readStream(QStringLiteral("Workbook"));
    }
    parseStream(stream);
    return true;
}

void XlsWorkbook::parseStream(const QByteArray& stream)
{
    clear();
    RecordStream records(stream);
    Record raw;
    while (records.next(raw)) {
        if (raw.code != Code::BOF)
            continue;
        BOF bof;
        bof.parse(raw);
        if (bof.type == BOF::Globals)
            readGlobals(records);
        else if (bof.type == BOF::Worksheet)
            readWorksheet(records, raw.streamOffset);
        else
            skipSubstream(records);
    }
    nameWorksheets();
}

void XlsWorkbook::skipSubstream(RecordStream& records)
{
    Record raw;
    int depth = 1;
    while (depth > 0 && records.next(raw)) {
        if (raw.code == Code::BOF)
            ++depth;
        else if (raw.code == Code::YEOF)
            --depth;
    }
}

namespace {

template <typename T>
void keep(std::vector<T>& list, const Record& raw)
{
    list.emplace_back();
    list.back().parse(raw);
    list.back().detach();
}

// A BOF that opens a sheet or the globals where the current substream should have ended:
// the EOF is missing, and the new substream belongs to the caller.
bool startsTopLevelSubstream(const Record& raw)
{
    if (raw.code != Code::BOF)
        return false;
    BOF bof;
    bof.parse(raw);
    return bof.type == BOF::Globals || bof.type == BOF::Worksheet;
}

} // namespace

void XlsWorkbook::readGlobals(RecordStream& records)
{
    Record raw;
    for (;;) {
        const qint64 before = records.pos();
        if (!records.next(raw))
            return;
        switch (raw.code) {
        case Code::YEOF:
            return;
        case Code::BOF:
            if (startsTopLevelSubstream(raw)) {
                records.seek(before);
                return;
            }
            skipSubstream(records);
            break;
        case Code::FilePass:
            // Everything after it is encrypted: reading on would turn ciphertext into cells.
            m_encrypted = true;
            records.seek(records.size());
            return;
        case Code::Window1:
            window1.parse(raw);
            window1.detach();
            break;
        case Code::Font:
            keep(fonts, raw);
            break;
        case Code::XF:
            keep(xfs, raw);
            break;
        case Code::Format:
            keep(formats, raw);
            break;
        case Code::Style:
            keep(styles, raw);
            break;
        case Code::BoundSheet:
            keep(boundSheets, raw);
            break;
        case Code::SST:
            // Cells point into the table: a second one (a damaged file) must not move it.
            if (m_haveSharedStrings)
                break;
            m_haveSharedStrings = true;
            sharedStrings.parse(raw);
            // The strings are what is needed; the raw table would double their memory.
            sharedStrings.data.clear();
            break;
        default:
            break;
        }
    }
}

void XlsWorkbook::readWorksheet(RecordStream& records, qint64 bofOffset)
{
    auto sheet = std::make_unique<XlsWorksheet>();
    XlsWorksheet& s = *sheet;
    const auto& strings = sharedStrings.strings;
    // One pass over the headers sizes the cell list exactly; it cannot exceed one cell per six
    // bytes of the stream, so the reservation stays within the file's size.
    size_t expected = 0;
    int depth = 0;
    records.scanAhead([&](quint16 code, quint16 length, const uchar* data) {
        if (code == Code::BOF) {
            // The next sheet when this one lacks its EOF: the scan must not run on into it,
            // or damaged files would cost time in the square of their size.
            const quint16 type = length >= 4 ? quint16(data[2] | (data[3] << 8)) : 0;
            if (depth == 0 && (type == BOF::Globals || type == BOF::Worksheet))
                return false;
            ++depth;
        } else if (code == Code::YEOF && depth-- == 0)
            return false;
        else if (code == Code::MulRK && length >= 6)
            expected += (length - 6) / 6;
        else if (code == Code::Number || code == Code::RK || code == Code::LabelSST || code == Code::Formula
                 || code == Code::BoolErr || code == Code::Label || code == Code::RString)
            ++expected;
        return true;
    });
    s.m_cells.reserve(expected);
    int pendingRow = -1;
    int pendingCol = -1;
    Record raw;
    for (bool done = false; !done;) {
        const qint64 before = records.pos();
        if (!records.next(raw))
            break;
        // Array, shared and table formulas may stand between a formula and its String record.
        if (raw.code != Code::String && raw.code != Code::Array && raw.code != Code::ShrFmla
            && raw.code != Code::ShrFmla1 && raw.code != Code::Table)
            pendingRow = -1;
        switch (raw.code) {
        case Code::YEOF:
            done = true;
            break;
        case Code::BOF:
            if (startsTopLevelSubstream(raw)) {
                records.seek(before);
                done = true;
            } else {
                skipSubstream(records); // an embedded chart
            }
            break;
        case Code::Index:
            s.index.parse(raw);
            s.index.detach();
            break;
        case Code::Dimensions:
            // Informational only: the grid follows the cells that are really there.
            s.dimensions.parse(raw);
            s.dimensions.detach();
            break;
        case Code::ColInfo:
            keep(s.colInfos, raw);
            break;
        case Code::Window2:
            s.window2.parse(raw);
            s.window2.detach();
            break;
        case Code::MergedCells:
            keep(s.mergedCells, raw);
            break;
        case Code::Blank: {
            CellBlock::Blank r;
            if (r.parse(raw) && r.col < XlsWorksheet::MaxColumns)
                s.touch(r.row, r.col);
            break;
        }
        case Code::MulBlank: {
            CellBlock::MulBlank r;
            if (r.parse(raw) && !r.xfIndexes.isEmpty()) {
                const int last = std::min<int>(r.firstCol + int(r.xfIndexes.size()) - 1, XlsWorksheet::MaxColumns - 1);
                if (last >= r.firstCol)
                    s.touch(r.row, last);
            }
            break;
        }
        case Code::Number: {
            CellBlock::Number r;
            if (r.parse(raw))
                s.setCell(r.row, r.col, XlsCell::number(r.value));
            break;
        }
        case Code::RK: {
            CellBlock::RK r;
            if (r.parse(raw)) {
                const auto v = CellBlock::RKValue::decode(r.rk);
                s.setCell(r.row, r.col, v.isInteger ? XlsCell::integer(v.integer) : XlsCell::number(v.value));
            }
            break;
        }
        case Code::MulRK: {
            CellBlock::MulRK r;
            r.parse(raw);
            for (int i = 0; i < r.items.size(); ++i) {
                const auto v = CellBlock::RKValue::decode(r.items[i].rk);
                s.setCell(r.row, r.firstCol + i, v.isInteger ? XlsCell::integer(v.integer) : XlsCell::number(v.value));
            }
            break;
        }
        case Code::LabelSST: {
            CellBlock::LabelSST r;
            if (!r.parse(raw))
                break;
            if (r.stringIndex < strings.size()) {
                const auto& e = strings[r.stringIndex];
                s.setCell(r.row, r.col, XlsCell::text(e.compressed ? XlsCell::String : XlsCell::WString, &e.text));
            } else if (r.col < XlsWorksheet::MaxColumns) {
                s.touch(r.row, r.col); // an index past the table: the cell stays empty
            }
            break;
        }
        case Code::Label:
        case Code::RString: {
            CellBlock::Label r;
            if (r.parse(raw))
                s.setCell(r.row, r.col,
                          XlsCell::text(r.compressed ? XlsCell::String : XlsCell::WString, s.keepText(r.text)));
            break;
        }
        case Code::BoolErr: {
            CellBlock::BoolErr r;
            if (r.parse(raw))
                s.setCell(r.row, r.col, XlsCell::text(XlsCell::Formula, s.keepText(r.text())));
            break;
        }
        case Code::Formula: {
            CellBlock::Formula r;
            if (!r.parse(raw) && raw.data.size() < 14)
                break;
            switch (r.kind) {
            case CellBlock::Formula::NumberResult:
                s.setCell(r.row, r.col, XlsCell::formulaNumber(r.number));
                break;
            case CellBlock::Formula::StringResult:
                // The text follows in a String record.
                s.setCell(r.row, r.col, XlsCell::text(XlsCell::Formula, s.keepText(QString())));
                pendingRow = r.row;
                pendingCol = r.col;
                break;
            case CellBlock::Formula::BoolResult:
                s.setCell(r.row, r.col,
                          XlsCell::text(XlsCell::Formula,
                                        s.keepText(r.boolOrError ? QStringLiteral("TRUE") : QStringLiteral("FALSE"))));
                break;
            case CellBlock::Formula::ErrorResult:
                s.setCell(r.row, r.col,
                          XlsCell::text(XlsCell::Formula, s.keepText(CellBlock::errorText(r.boolOrError))));
                break;
            case CellBlock::Formula::EmptyResult:
                s.setCell(r.row, r.col, XlsCell::text(XlsCell::Formula, s.keepText(QString())));
                break;
            }
            break;
        }
        case Code::String: {
            CellBlock::Formula::String r;
            if (pendingRow >= 0 && r.parse(raw))
                s.setCell(pendingRow, pendingCol, XlsCell::text(XlsCell::Formula, s.keepText(r.text)));
            pendingRow = -1;
            break;
        }
        default:
            break;
        }
    }
    sheet->finish();
    m_worksheets.push_back(std::move(sheet));
    m_worksheetOffsets.push_back(bofOffset);
}

void XlsWorkbook::nameWorksheets()
{
    std::vector<bool> used(boundSheets.size(), false);
    std::vector<bool> named(m_worksheets.size(), false);
    // First by the stream position each BoundSheet gives, then in file order.
    for (size_t i = 0; i < m_worksheets.size(); ++i) {
        for (size_t b = 0; b < boundSheets.size(); ++b) {
            if (!used[b] && qint64(boundSheets[b].position) == m_worksheetOffsets[i]) {
                m_worksheets[i]->m_name = boundSheets[b].name;
                used[b] = named[i] = true;
                break;
            }
        }
    }
    size_t next = 0;
    for (size_t i = 0; i < m_worksheets.size(); ++i) {
        if (named[i])
            continue;
        while (next < boundSheets.size()
               && (used[next] || (boundSheets[next].sheetType & 0x0F) != Workbook::BoundSheet::WorksheetType))
            ++next;
        if (next < boundSheets.size()) {
            m_worksheets[i]->m_name = boundSheets[next].name;
            used[next++] = true;
        } else {
            m_worksheets[i]->m_name = QStringLiteral("Sheet%1").arg(i + 1);
        }
    }
}

} // namespace YExcel
