#include "io/excel/XlsRecords.h"

#include <QtEndian>

#include <cstring>

namespace YExcel {

// ---- RecordReader ----------------------------------------------------------------------------

RecordReader::RecordReader(const char* data, int size, const QVector<int>& continueLengths)
    : m_data(reinterpret_cast<const uchar*>(data))
    , m_size(size)
{
    int end = size;
    for (int len : continueLengths)
        end -= len;
    for (int len : continueLengths) {
        if (end > 0 && end < size)
            m_ends.append(end);
        end += len;
    }
}

void RecordReader::need(int bytes) const
{
    if (bytes < 0 || m_size - m_pos < bytes)
        throw EXCEPTION_YEOF();
}

quint8 RecordReader::u8()
{
    need(1);
    return m_data[m_pos++];
}

quint16 RecordReader::u16()
{
    need(2);
    const quint16 v = qFromLittleEndian<quint16>(m_data + m_pos);
    m_pos += 2;
    return v;
}

quint32 RecordReader::u32()
{
    need(4);
    const quint32 v = qFromLittleEndian<quint32>(m_data + m_pos);
    m_pos += 4;
    return v;
}

double RecordReader::f64()
{
    need(8);
    const quint64 bits = qFromLittleEndian<quint64>(m_data + m_pos);
    m_pos += 8;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void RecordReader::skip(qint64 bytes)
{
    if (bytes < 0 || bytes > qint64(m_size - m_pos))
        throw EXCEPTION_YEOF();
    m_pos += int(bytes);
}

bool RecordReader::atContinueStart()
{
    while (m_next < m_ends.size() && m_ends[m_next] < m_pos)
        ++m_next;
    return m_next < m_ends.size() && m_ends[m_next] == m_pos;
}

QString RecordReader::characters(int count, bool high, bool* compressed)
{
    QString out;
    if (compressed)
        *compressed = !high;
    if (count <= 0)
        return out;
    // Bounded by the data, not by the count the string claims.
    out.reserve(qMin(count, m_size - m_pos));
    int remaining = count;
    bool anyWide = false;
    while (remaining > 0) {
        // Characters that go on in a Continue record start with a fresh option byte there.
        if (atContinueStart())
            high = (u8() & 0x01) != 0;
        need(1);
        while (m_next < m_ends.size() && m_ends[m_next] <= m_pos)
            ++m_next;
        const int segmentEnd = m_next < m_ends.size() ? m_ends[m_next] : m_size;
        const int width = high ? 2 : 1;
        const int fit = qMin(remaining, (segmentEnd - m_pos) / width);
        if (fit == 0) {
            // A 16-bit character cut in half by a boundary: the odd byte cannot be used.
            m_pos = segmentEnd;
            continue;
        }
        const uchar* p = m_data + m_pos;
        if (high) {
            const int at = int(out.size());
            out.resize(at + fit);
            char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + at;
            for (int i = 0; i < fit; ++i)
                dst[i] = char16_t(p[2 * i] | (p[2 * i + 1] << 8));
        } else {
            // 8-bit characters are the low bytes of UTF-16 code units, i.e. Latin-1.
            out.append(QLatin1String(reinterpret_cast<const char*>(p), fit));
        }
        m_pos += fit * width;
        remaining -= fit;
        anyWide = anyWide || high;
        if (compressed)
            *compressed = !anyWide;
    }
    return out;
}

QString RecordReader::unicodeString(bool* compressed)
{
    const quint16 count = u16();
    const quint8 options = u8();
    return characters(count, (options & 0x01) != 0, compressed);
}

QString RecordReader::shortUnicodeString()
{
    const quint8 count = u8();
    const quint8 options = u8();
    return characters(count, (options & 0x01) != 0);
}

// ---- Record ------------------------------------------------------------------------------------

bool Record::parse(const Record& raw)
{
    code = raw.code;
    dataLength = raw.dataLength;
    data = raw.data;
    continueLengths = raw.continueLengths;
    streamOffset = raw.streamOffset;
    RecordReader reader(data.constData(), int(data.size()), continueLengths);
    try {
        readFields(reader);
    } catch (const EXCEPTION_YEOF&) {
        return false;
    }
    return true;
}

qint64 Record::recordSize() const
{
    return 4 + qint64(data.size()) + 4 * qint64(continueLengths.size());
}

QByteArray Record::serialize() const
{
    QByteArray out;
    out.reserve(qsizetype(recordSize()));
    auto header = [&out](quint16 c, int len) {
        uchar h[4];
        qToLittleEndian<quint16>(c, h);
        qToLittleEndian<quint16>(quint16(len), h + 2);
        out.append(reinterpret_cast<const char*>(h), 4);
    };
    int first = int(data.size());
    for (int len : continueLengths)
        first -= len;
    header(code, first);
    out.append(data.constData(), first);
    int at = first;
    for (int len : continueLengths) {
        header(Code::Continue, len);
        out.append(data.constData() + at, len);
        at += len;
    }
    return out;
}

void Record::detach()
{
    data = QByteArray(data.constData(), data.size());
}

// ---- RecordStream ------------------------------------------------------------------------------

quint16 RecordStream::peekCode() const
{
    if (m_stream.size() - m_pos < 4)
        return 0;
    return qFromLittleEndian<quint16>(m_stream.constData() + m_pos);
}

bool RecordStream::next(Record& record)
{
    const qint64 size = m_stream.size();
    if (size - m_pos < 4) {
        m_truncated = m_pos < size;
        return false;
    }
    const char* base = m_stream.constData();
    const quint16 code = qFromLittleEndian<quint16>(base + m_pos);
    const quint16 length = qFromLittleEndian<quint16>(base + m_pos + 2);
    if (size - m_pos - 4 < length) {
        m_truncated = true;
        m_pos = size;
        return false;
    }
    record.code = code;
    record.streamOffset = m_pos;
    record.continueLengths.clear();
    const qint64 dataAt = m_pos + 4;
    m_pos = dataAt + length;

    // Continue records: only whole ones are taken; a cut-off one ends the stream.
    qint64 scan = m_pos;
    qint64 extra = 0;
    while (size - scan >= 4 && qFromLittleEndian<quint16>(base + scan) == Code::Continue) {
        const quint16 len = qFromLittleEndian<quint16>(base + scan + 2);
        if (size - scan - 4 < len)
            break;
        record.continueLengths.append(len);
        extra += len;
        scan += 4 + len;
    }
    if (record.continueLengths.isEmpty()) {
        record.data = QByteArray::fromRawData(base + dataAt, length);
    } else {
        m_joined = QByteArray();
        m_joined.reserve(qsizetype(length + extra));
        m_joined.append(base + dataAt, length);
        qint64 at = m_pos;
        for (int len : std::as_const(record.continueLengths)) {
            m_joined.append(base + at + 4, len);
            at += 4 + len;
        }
        record.data = m_joined;
        m_pos = scan;
    }
    record.dataLength = quint32(record.data.size());
    return true;
}

// ---- Fields ------------------------------------------------------------------------------------

void BOF::readFields(RecordReader& r)
{
    version = r.u16();
    type = r.u16();
    build = r.u16();
    year = r.u16();
    fileHistory = r.u32();
    lowestVersion = r.u32();
}

namespace Workbook {

void Window1::readFields(RecordReader& r)
{
    x = r.u16();
    y = r.u16();
    width = r.u16();
    height = r.u16();
    options = r.u16();
    activeSheet = r.u16();
    firstVisibleTab = r.u16();
    selectedTabs = r.u16();
    tabRatio = r.u16();
}

void Font::readFields(RecordReader& r)
{
    height = r.u16();
    options = r.u16();
    colourIndex = r.u16();
    weight = r.u16();
    escapement = r.u16();
    underline = r.u8();
    family = r.u8();
    charset = r.u8();
    r.u8();
    name = r.shortUnicodeString();
}

void XF::readFields(RecordReader& r)
{
    fontIndex = r.u16();
    formatIndex = r.u16();
    options = r.u16();
}

void Format::readFields(RecordReader& r)
{
    index = r.u16();
    format = r.unicodeString();
}

void Style::readFields(RecordReader& r)
{
    const quint16 v = r.u16();
    xfIndex = v & 0x0FFF;
    builtIn = (v & 0x8000) != 0;
    if (builtIn) {
        builtInId = r.u8();
        level = r.u8();
    } else {
        name = r.unicodeString();
    }
}

void BoundSheet::readFields(RecordReader& r)
{
    position = r.u32();
    visibility = r.u8();
    sheetType = r.u8();
    name = r.shortUnicodeString();
}

void SharedStringTable::readFields(RecordReader& r)
{
    totalCount = r.u32();
    uniqueCount = r.u32();
    strings.clear();
    // Every entry takes at least three bytes, which bounds the reservation by the data.
    strings.reserve(qMin<quint32>(uniqueCount, quint32(r.remaining() / 3)));
    while (strings.size() < uniqueCount && !r.atEnd()) {
        const quint16 count = r.u16();
        const quint8 options = r.u8();
        const quint16 runs = (options & 0x08) ? r.u16() : 0;
        const quint32 extLength = (options & 0x04) ? r.u32() : 0;
        Entry entry;
        entry.text = r.characters(count, (options & 0x01) != 0, &entry.compressed);
        strings.push_back(std::move(entry));
        // Formatting runs and phonetic data carry on across boundaries without option bytes.
        r.skip(4 * qint64(runs));
        r.skip(extLength);
    }
}

void ExtSST::readFields(RecordReader& r)
{
    stringsPerBucket = r.u16();
}

} // namespace Workbook

namespace Worksheet {

void Index::readFields(RecordReader& r)
{
    r.u32();
    firstRow = r.u32();
    lastRowPlusOne = r.u32();
    defColWidthPos = r.u32();
    dbCellPositions.clear();
    while (r.remaining() >= 4)
        dbCellPositions.append(r.u32());
}

void Dimensions::readFields(RecordReader& r)
{
    firstRow = r.u32();
    lastRowPlusOne = r.u32();
    firstCol = r.u16();
    lastColPlusOne = r.u16();
}

void ColInfo::readFields(RecordReader& r)
{
    firstCol = r.u16();
    lastCol = r.u16();
    width = r.u16();
    xfIndex = r.u16();
    options = r.u16();
}

void Window2::readFields(RecordReader& r)
{
    options = r.u16();
    topRow = r.u16();
    leftCol = r.u16();
}

void MergedCells::readFields(RecordReader& r)
{
    const quint16 count = r.u16();
    cells.clear();
    for (int i = 0; i < count && r.remaining() >= 8; ++i) {
        MergedCell c;
        c.firstRow = r.u16();
        c.lastRow = r.u16();
        c.firstCol = r.u16();
        c.lastCol = r.u16();
        cells.append(c);
    }
}

namespace CellTable::RowBlock {

void Row::readFields(RecordReader& r)
{
    row = r.u16();
    firstCol = r.u16();
    lastColPlusOne = r.u16();
    height = r.u16();
    r.u32();
    options = r.u16();
    xfIndex = r.u16() & 0x0FFF;
}

void DBCell::readFields(RecordReader& r)
{
    firstRowOffset = r.u32();
    cellOffsets.clear();
    while (r.remaining() >= 2)
        cellOffsets.append(r.u16());
}

namespace CellBlock {

void CellRecord::readFields(RecordReader& r)
{
    row = r.u16();
    col = r.u16();
    xfIndex = r.u16();
}

void MulBlank::readFields(RecordReader& r)
{
    row = r.u16();
    firstCol = r.u16();
    xfIndexes.clear();
    // The last word is the last column; everything between is one format index per cell.
    while (r.remaining() > 2)
        xfIndexes.append(r.u16());
    lastCol = r.u16();
}

void BoolErr::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    value = r.u8();
    isError = r.u8() != 0;
}

QString BoolErr::text() const
{
    if (isError)
        return errorText(value);
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

void LabelSST::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    stringIndex = r.u32();
}

void Label::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    text = r.unicodeString(&compressed);
}

void Number::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    value = r.f64();
}

RKValue RKValue::decode(quint32 rk)
{
    RKValue v;
    const bool divide = (rk & 0x01) != 0;
    if (rk & 0x02) {
        // 30-bit signed integer in the upper bits.
        const qint32 n = qint32(rk) >> 2;
        if (!divide) {
            v.integer = n;
            v.value = n;
        } else if (n % 100 == 0) {
            v.integer = n / 100;
            v.value = v.integer;
        } else {
            v.isInteger = false;
            v.value = double(n) / 100.0;
        }
        return v;
    }
    const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    v.isInteger = false;
    v.value = divide ? d / 100.0 : d;
    return v;
}

void RK::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    rk = r.u32();
}

void MulRK::readFields(RecordReader& r)
{
    row = r.u16();
    firstCol = r.u16();
    items.clear();
    while (r.remaining() >= 6 + 2) {
        Item item;
        item.xfIndex = r.u16();
        item.rk = r.u32();
        items.append(item);
    }
    lastCol = r.u16();
}

void Formula::readFields(RecordReader& r)
{
    CellRecord::readFields(r);
    const quint32 low = r.u32();
    const quint32 high = r.u32();
    // A result that is not a number is marked by 0xFFFF in the top word.
    if ((high >> 16) == 0xFFFF) {
        switch (low & 0xFF) {
        case 0:
            kind = StringResult;
            break;
        case 1:
            kind = BoolResult;
            boolOrError = quint8((low >> 16) & 0xFF);
            break;
        case 2:
            kind = ErrorResult;
            boolOrError = quint8((low >> 16) & 0xFF);
            break;
        default:
            kind = EmptyResult;
            break;
        }
    } else {
        kind = NumberResult;
        const quint64 bits = (quint64(high) << 32) | low;
        std::memcpy(&number, &bits, sizeof number);
    }
    options = r.u16();
    r.u32();
    const quint16 length = r.u16();
    const int take = qMin<int>(length, r.remaining());
    expression = QByteArray(data.constData() + r.pos(), take);
    r.skip(take);
}

void Formula::String::readFields(RecordReader& r)
{
    text = r.unicodeString();
}

void Formula::RangeRecord::readFields(RecordReader& r)
{
    firstRow = r.u16();
    lastRow = r.u16();
    firstCol = r.u8();
    lastCol = r.u8();
}

QString errorText(quint8 code)
{
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    default:
        return QStringLiteral("#N/A");
    }
}

} // namespace CellBlock
} // namespace CellTable::RowBlock
} // namespace Worksheet
} // namespace YExcel
