#include "XlsFileBuilder.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace XlsTest {

namespace {
template <typename T>
QByteArray le(T v)
{
    char b[sizeof(T)];
    qToLittleEndian<T>(v, b);
    return QByteArray(b, sizeof(T));
}
} // namespace

QByteArray u16le(quint16 v)
{
    return le(v);
}
QByteArray u32le(quint32 v)
{
    return le(v);
}
QByteArray f64le(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    return le(bits);
}
QByteArray record(quint16 code, const QByteArray& data)
{
    return u16le(code) + u16le(quint16(data.size())) + data;
}
QByteArray bof(quint16 type)
{
    return record(0x0809, u16le(0x0600) + u16le(type) + u16le(0x0DBB) + u16le(0x07CC) + u32le(0) + u32le(6));
}
QByteArray eof()
{
    return record(0x000A, QByteArray());
}

namespace {
bool fitsLatin1(const QString& s, int from = 0)
{
    return std::all_of(s.begin() + from, s.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

QByteArray chars(const QString& s, int from, int count, bool wide)
{
    QByteArray out;
    for (int i = from; i < from + count; ++i) {
        const quint16 u = s.at(i).unicode();
        out.append(char(u & 0xFF));
        if (wide)
            out.append(char(u >> 8));
    }
    return out;
}
} // namespace

QByteArray unicodeString(const QString& text)
{
    const bool wide = !fitsLatin1(text);
    return u16le(quint16(text.size())) + char(wide ? 1 : 0) + chars(text, 0, int(text.size()), wide);
}

QByteArray cellHeader(int row, int col)
{
    return u16le(quint16(row)) + u16le(quint16(col)) + u16le(15);
}
QByteArray rkRecord(int row, int col, quint32 rk)
{
    return record(0x027E, cellHeader(row, col) + u32le(rk));
}
QByteArray numberRecord(int row, int col, double v)
{
    return record(0x0203, cellHeader(row, col) + f64le(v));
}
QByteArray labelSstRecord(int row, int col, quint32 index)
{
    return record(0x00FD, cellHeader(row, col) + u32le(index));
}

QByteArray sstRecords(const QStringList& strings, int limit)
{
    QByteArray out;
    QByteArray current = u32le(quint32(strings.size())) + u32le(quint32(strings.size()));
    bool first = true;
    auto flush = [&]() {
        out += record(first ? 0x00FC : 0x003C, current);
        first = false;
        current.clear();
    };
    for (const QString& s : strings) {
        bool wide = !fitsLatin1(s);
        // The string header is never split.
        if (current.size() + 3 > limit)
            flush();
        current += u16le(quint16(s.size())) + char(wide ? 1 : 0);
        int at = 0;
        while (at < s.size()) {
            const int width = wide ? 2 : 1;
            int room = (limit - int(current.size())) / width;
            if (room <= 0) {
                flush();
                wide = !fitsLatin1(s, at);
                current += char(wide ? 1 : 0);
                continue;
            }
            const int n = std::min<int>(room, int(s.size()) - at);
            current += chars(s, at, n, wide);
            at += n;
        }
    }
    flush();
    return out;
}

namespace {
// Encodes `v` as RK when that is exact.
bool encodeRk(double v, quint32* rk)
{
    for (int divide = 0; divide < 2; ++divide) {
        const double scaled = divide ? v * 100.0 : v;
        if (std::floor(scaled) == scaled && scaled >= -536870912.0 && scaled <= 536870911.0) {
            const qint32 n = qint32(scaled);
            if ((divide ? double(n) / 100.0 : double(n)) == v) {
                *rk = (quint32(n) << 2) | 0x02 | quint32(divide);
                return true;
            }
        }
        quint64 bits;
        std::memcpy(&bits, &scaled, 8);
        if ((bits & 0xFFFFFFFFull) == 0) {
            double back;
            const quint64 top = bits & 0xFFFFFFFC00000000ull;
            std::memcpy(&back, &top, 8);
            if ((divide ? back / 100.0 : back) == v) {
                *rk = quint32(top >> 32) | quint32(divide);
                return true;
            }
        }
    }
    return false;
}
} // namespace

int BiffWriter::addSheet(const QString& name)
{
    m_sheets.push_back({name, {}});
    return int(m_sheets.size()) - 1;
}
void BiffWriter::setNumber(int sheet, int row, int col, double v)
{
    m_sheets[size_t(sheet)].cells[{row, col}] = {false, v, {}};
}
void BiffWriter::setText(int sheet, int row, int col, const QString& text)
{
    m_sheets[size_t(sheet)].cells[{row, col}] = {true, 0, text};
}

QByteArray BiffWriter::stream() const
{
    QStringList strings;
    QHash<QString, int> index;
    for (const Sheet& sheet : m_sheets) {
        for (const auto& [pos, cell] : sheet.cells) {
            if (cell.isText && !index.contains(cell.text)) {
                index.insert(cell.text, int(strings.size()));
                strings << cell.text;
            }
        }
    }
    QVector<QByteArray> bodies;
    for (const Sheet& sheet : m_sheets) {
        QByteArray body = bof(0x0010);
        int maxRow = 0, maxCol = 0;
        for (const auto& [pos, cell] : sheet.cells) {
            maxRow = std::max(maxRow, pos.first + 1);
            maxCol = std::max(maxCol, pos.second + 1);
        }
        body += record(0x0200, u32le(0) + u32le(quint32(maxRow)) + u16le(0) + u16le(quint16(maxCol)) + u16le(0));
        for (auto it = sheet.cells.begin(); it != sheet.cells.end();) {
            const int row = it->first.first, col = it->first.second;
            quint32 rk = 0;
            if (!it->second.isText && encodeRk(it->second.number, &rk)) {
                // A run of RK cells side by side becomes one MulRK.
                QByteArray items;
                int last = col;
                auto run = it;
                quint32 r = 0;
                while (run != sheet.cells.end() && run->first.first == row && run->first.second == last
                       && !run->second.isText && encodeRk(run->second.number, &r)) {
                    items += u16le(15) + u32le(r);
                    ++last;
                    ++run;
                }
                if (last - col > 1) {
                    body += record(0x00BD,
                                   u16le(quint16(row)) + u16le(quint16(col)) + items + u16le(quint16(last - 1)));
                    it = run;
                    continue;
                }
            }
            if (it->second.isText)
                body += labelSstRecord(row, col, quint32(index.value(it->second.text)));
            else if (encodeRk(it->second.number, &rk))
                body += rkRecord(row, col, rk);
            else
                body += numberRecord(row, col, it->second.number);
            ++it;
        }
        body += eof();
        bodies << body;
    }
    // Globals: BOF, BoundSheets (positions fixed below), SST, EOF.
    QByteArray globals = bof(0x0005);
    QVector<int> positionAt;
    for (const Sheet& sheet : m_sheets) {
        positionAt << int(globals.size()) + 4;
        const bool wide = !fitsLatin1(sheet.name);
        globals += record(0x0085,
                          u32le(0) + char(0) + char(0) + char(quint8(sheet.name.size())) + char(wide ? 1 : 0)
                              + chars(sheet.name, 0, int(sheet.name.size()), wide));
    }
    globals += sstRecords(strings);
    globals += eof();
    qint64 offset = globals.size();
    for (int i = 0; i < bodies.size(); ++i) {
        setWordAt(globals, positionAt[i], quint32(offset));
        offset += bodies[i].size();
    }
    QByteArray out = globals;
    for (const QByteArray& b : std::as_const(bodies))
        out += b;
    return out;
}

quint32 wordAt(const QByteArray& bytes, qint64 offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
void setWordAt(QByteArray& bytes, qint64 offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

QByteArray compoundDocument(const QList<QPair<QString, QByteArray>>& streams, const CfbOptions& options)
{
    const int sectorSize = options.version4 ? 4096 : 512;
    const int perSector = sectorSize / 4;
    constexpr quint32 kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSect = 0xFFFFFFFD, kDifSect = 0xFFFFFFFC;
    auto sectorsFor = [sectorSize](qint64 bytes) { return int((bytes + sectorSize - 1) / sectorSize); };

    // Small streams go to the mini stream in 64-byte pieces.
    QByteArray mini;
    QVector<quint32> miniFat;
    QVector<quint32> starts(streams.size(), kEnd);
    QVector<bool> inMini(streams.size(), false);
    for (int i = 0; i < streams.size(); ++i) {
        const QByteArray& data = streams[i].second;
        if (data.size() >= 4096 || data.isEmpty())
            continue;
        inMini[i] = true;
        const int first = int(mini.size() / 64);
        const int count = int((data.size() + 63) / 64);
        starts[i] = quint32(first);
        for (int k = 0; k < count; ++k)
            miniFat << (k + 1 < count ? quint32(first + k + 1) : kEnd);
        mini += data;
        mini += QByteArray(int(count * 64 - data.size()), '\0');
    }
    QVector<quint32> fat;
    QByteArray body;
    auto place = [&](const QByteArray& data) -> quint32 {
        if (data.isEmpty())
            return kEnd;
        const quint32 first = quint32(fat.size());
        const int n = sectorsFor(data.size());
        for (int k = 0; k < n; ++k)
            fat << (k + 1 < n ? first + k + 1 : kEnd);
        body += data;
        body += QByteArray(n * sectorSize - int(data.size()), '\0');
        return first;
    };
    for (int i = 0; i < streams.size(); ++i) {
        if (!inMini[i])
            starts[i] = place(streams[i].second);
    }
    const quint32 miniStart = place(mini);
    QByteArray miniFatBytes;
    for (quint32 v : std::as_const(miniFat))
        miniFatBytes += u32le(v);
    const quint32 miniFatStart = place(miniFatBytes);
    const int miniFatSectors = sectorsFor(miniFatBytes.size());

    // Directory: root, then one entry per stream chained through right siblings.
    QByteArray dir;
    auto entry = [](const QString& name, quint8 type, quint32 left, quint32 right, quint32 child, quint32 start,
                    quint64 size) {
        QByteArray e(128, '\0');
        for (int i = 0; i < name.size() && i < 31; ++i)
            qToLittleEndian<quint16>(name.at(i).unicode(), e.data() + 2 * i);
        qToLittleEndian<quint16>(quint16((std::min<int>(int(name.size()), 31) + 1) * 2), e.data() + 64);
        e[66] = char(type);
        e[67] = 1;
        qToLittleEndian<quint32>(left, e.data() + 68);
        qToLittleEndian<quint32>(right, e.data() + 72);
        qToLittleEndian<quint32>(child, e.data() + 76);
        qToLittleEndian<quint32>(start, e.data() + 116);
        qToLittleEndian<quint64>(size, e.data() + 120);
        return e;
    };
    dir += entry(QStringLiteral("Root Entry"), 5, kFree, kFree, streams.isEmpty() ? kFree : 1, miniStart,
                 quint64(mini.size()));
    for (int i = 0; i < streams.size(); ++i) {
        const quint32 right = i + 1 < streams.size() ? quint32(i + 2) : kFree;
        dir += entry(streams[i].first, 2, kFree, right, kFree, starts[i], quint64(streams[i].second.size()));
    }
    while (dir.size() % sectorSize)
        dir += entry(QString(), 0, kFree, kFree, kFree, 0, 0);
    const quint32 dirStart = place(dir);

    // Allocation table sectors and their extension blocks come last and describe themselves.
    const int used = int(fat.size());
    int fatSectors = 0, difatSectors = 0;
    for (;;) {
        const int needFat = (used + fatSectors + difatSectors + perSector - 1) / perSector;
        const int overflow = std::max(0, needFat - options.headerDifatSlots);
        const int needDifat = (overflow + perSector - 2) / (perSector - 1);
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 fatFirst = quint32(used);
    for (int k = 0; k < fatSectors; ++k)
        fat << kFatSect;
    const quint32 difatFirst = quint32(fat.size());
    for (int k = 0; k < difatSectors; ++k)
        fat << kDifSect;
    while (fat.size() % perSector)
        fat << kFree;
    QByteArray fatBytes;
    for (quint32 v : std::as_const(fat))
        fatBytes += u32le(v);
    body += fatBytes;
    QByteArray difatBytes;
    int listed = std::min(fatSectors, options.headerDifatSlots);
    for (int d = 0; d < difatSectors; ++d) {
        QByteArray block;
        for (int k = 0; k < perSector - 1; ++k)
            block += u32le(listed < fatSectors ? fatFirst + quint32(listed++) : kFree);
        block += u32le(d + 1 < difatSectors ? difatFirst + quint32(d + 1) : kEnd);
        difatBytes += block;
    }
    body += difatBytes;

    QByteArray header(sectorSize, '\0');
    const uchar sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header.data(), sig, 8);
    qToLittleEndian<quint16>(0x003E, header.data() + 24);
    qToLittleEndian<quint16>(options.version4 ? 4 : 3, header.data() + 26);
    qToLittleEndian<quint16>(0xFFFE, header.data() + 28);
    qToLittleEndian<quint16>(options.version4 ? 12 : 9, header.data() + 30);
    qToLittleEndian<quint16>(6, header.data() + 32);
    qToLittleEndian<quint32>(options.version4 ? quint32(sectorsFor(dir.size())) : 0, header.data() + 40);
    qToLittleEndian<quint32>(quint32(fatSectors), header.data() + 44);
    qToLittleEndian<quint32>(dirStart, header.data() + 48);
    qToLittleEndian<quint32>(4096, header.data() + 56);
    qToLittleEndian<quint32>(miniFatSectors ? miniFatStart : kEnd, header.data() + 60);
    qToLittleEndian<quint32>(quint32(miniFatSectors), header.data() + 64);
    qToLittleEndian<quint32>(difatSectors ? difatFirst : kEnd, header.data() + 68);
    qToLittleEndian<quint32>(quint32(difatSectors), header.data() + 72);
    for (int k = 0; k < 109; ++k)
        qToLittleEndian<quint32>(k < std::min(fatSectors, options.headerDifatSlots) ? fatFirst + quint32(k) : kFree,
                                 header.data() + 76 + 4 * k);
    return header + body;
}

} // namespace XlsTest
