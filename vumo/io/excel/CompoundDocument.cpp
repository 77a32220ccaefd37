#include "io/excel/CompoundDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace YExcel {

namespace {

constexpr quint32 kMaxRegSect = 0xFFFFFFFA;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kHeaderDifatSlots = 109;
constexpr int kDirEntrySize = 128;
constexpr quint64 kMiniStreamCutoff = 4096;

const uchar kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

quint16 u16(const uchar* p)
{
    return quint16(p[0] | (p[1] << 8));
}
quint32 u32(const uchar* p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

void appendWords(QVector<quint32>& out, const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4)
        out.append(u32(p + i));
}

bool lockedThroughDescriptor(int fd)
{
    struct flock probe;
    std::memset(&probe, 0, sizeof probe);
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
#ifdef F_OFD_GETLK
    // An open-file-description probe also sees locks taken by this very process through
    // another descriptor, which is what a second opener in the same program would be.
    if (::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        return true;
#else
    if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        return true;
#endif
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    ::flock(fd, LOCK_UN);
    return false;
}

} // namespace

bool CompoundDocument::isHeldByAnotherProgram(const QString& path)
{
    const QFileInfo info(path);
    if (QFileInfo::exists(info.dir().filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#'))))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return lockedThroughDescriptor(file.handle());
}

void CompoundDocument::close()
{
    m_file.close();
    m_fileSize = 0;
    m_fat.clear();
    m_miniFat.clear();
    m_dir.clear();
    m_miniStream.clear();
    m_sectorCount = 0;
}

bool CompoundDocument::open(const QString& path)
{
    close();
    m_error = OpenError::None;
    const QFileInfo info(path);
    if (!info.exists()) {
        m_error = OpenError::Missing;
        return false;
    }
    // Devices and pipes would block or never end; only regular files are documents.
    if (!info.isFile()) {
        m_error = OpenError::Unreadable;
        return false;
    }
    if (QFileInfo::exists(info.dir().filePath(QStringLiteral(".~lock.") + info.fileName() + QLatin1Char('#')))) {
        m_error = OpenError::Locked;
        return false;
    }
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = OpenError::Unreadable;
        return false;
    }
    if (lockedThroughDescriptor(m_file.handle())) {
        m_file.close();
        m_error = OpenError::Locked;
        return false;
    }
    m_fileSize = m_file.size();
    if (!parse()) {
        close();
        m_error = OpenError::NotCompound;
        return false;
    }
    return true;
}

void CompoundDocument::appendSector(QByteArray& out, quint32 index, int count) const
{
    const qint64 sectorSize = qint64(1) << m_sectorShift;
    const qint64 wanted = sectorSize * count;
    const qsizetype at = out.size();
    out.resize(at + wanted);
    qint64 got = 0;
    if (m_file.seek((qint64(index) + 1) * sectorSize))
        got = qMax<qint64>(0, m_file.read(out.data() + at, wanted));
    // A last sector cut short by the writer (or a file shortened since) reads as zeros.
    if (got < wanted)
        std::memset(out.data() + at + got, 0, size_t(wanted - got));
}

QVector<quint32> CompoundDocument::chain(const QVector<quint32>& table, quint32 start, quint32 limit)
{
    QVector<quint32> result;
    QVector<bool> seen(int(qMin<quint32>(limit, quint32(table.size()))), false);
    quint32 current = start;
    while (current < quint32(seen.size()) && !seen[int(current)]) {
        seen[int(current)] = true;
        result.append(current);
        current = table[int(current)];
    }
    return result;
}

bool CompoundDocument::parse()
{
    if (m_fileSize < 512)
        return false;
    const QByteArray header = m_file.read(512);
    if (header.size() < 512)
        return false;
    const auto* head = reinterpret_cast<const uchar*>(header.constData());
    if (std::memcmp(head, kSignature, 8) != 0)
        return false;
    const quint16 major = u16(head + 26);
    m_sectorShift = u16(head + 30);
    if (m_sectorShift != 9 && m_sectorShift != 12)
        return false;
    m_miniShift = u16(head + 32);
    if (m_miniShift < 2 || m_miniShift >= m_sectorShift)
        m_miniShift = 6;
    const qint64 sectorSize = qint64(1) << m_sectorShift;
    if (m_fileSize < sectorSize)
        return false;
    m_sectorCount = quint32(qMin<qint64>((m_fileSize - sectorSize + sectorSize - 1) / sectorSize, kMaxRegSect));
    const quint32 fatCount = u32(head + 44);
    const quint32 firstDir = u32(head + 48);
    const quint32 firstMiniFat = u32(head + 60);
    const quint32 firstDifat = u32(head + 68);

    // Sector numbers of the allocation table: 109 in the header, the rest in a chain of
    // extension blocks whose last word links to the next block.
    QVector<quint32> fatSectors;
    const quint32 wanted = fatCount > 0 && fatCount <= m_sectorCount ? fatCount : m_sectorCount;
    for (int i = 0; i < kHeaderDifatSlots && quint32(fatSectors.size()) < wanted; ++i) {
        const quint32 s = u32(head + 76 + 4 * i);
        if (s < m_sectorCount)
            fatSectors.append(s);
    }
    QSet<quint32> difatSeen;
    quint32 difat = firstDifat;
    const int perDifat = int(sectorSize / 4) - 1;
    while (difat < m_sectorCount && !difatSeen.contains(difat) && quint32(fatSectors.size()) < wanted) {
        difatSeen.insert(difat);
        QByteArray block;
        appendSector(block, difat);
        const auto* p = reinterpret_cast<const uchar*>(block.constData());
        for (int i = 0; i < perDifat && quint32(fatSectors.size()) < wanted; ++i) {
            const quint32 s = u32(p + 4 * i);
            if (s < m_sectorCount)
                fatSectors.append(s);
        }
        difat = u32(p + 4 * perDifat);
    }
    if (fatSectors.isEmpty())
        return false;
    for (quint32 s : std::as_const(fatSectors)) {
        QByteArray block;
        appendSector(block, s);
        appendWords(m_fat, block);
        if (quint32(m_fat.size()) >= m_sectorCount)
            break;
    }
    m_fat.resize(int(qMin<quint32>(quint32(m_fat.size()), m_sectorCount)));

    // Directory: 128-byte entries along its sector chain.
    QByteArray dirBytes;
    for (quint32 s : chain(m_fat, firstDir, m_sectorCount))
        appendSector(dirBytes, s);
    const auto* d = reinterpret_cast<const uchar*>(dirBytes.constData());
    for (qsizetype off = 0; off + kDirEntrySize <= dirBytes.size(); off += kDirEntrySize) {
        const uchar* e = d + off;
        DirEntry entry;
        const int nameBytes = qMin<int>(u16(e + 64), 64);
        const int chars = qMax(0, nameBytes / 2 - 1);
        entry.name.reserve(chars);
        for (int i = 0; i < chars; ++i) {
            const QChar c(u16(e + 2 * i));
            if (c.isNull())
                break;
            entry.name.append(c);
        }
        entry.type = e[66];
        entry.left = u32(e + 68);
        entry.right = u32(e + 72);
        entry.child = u32(e + 76);
        entry.start = u32(e + 116);
        entry.size = u32(e + 120);
        // Version 3 files may leave garbage in the high word of the size.
        if (major >= 4)
            entry.size |= quint64(u32(e + 124)) << 32;
        m_dir.append(entry);
    }
    if (m_dir.isEmpty() || m_dir.first().type != 5)
        return false;

    const DirEntry& root = m_dir.first();
    m_miniStream = readChain(root.start, root.size);
    QByteArray miniFatBytes;
    for (quint32 s : chain(m_fat, firstMiniFat, m_sectorCount))
        appendSector(miniFatBytes, s);
    appendWords(m_miniFat, miniFatBytes);
    return true;
}

QByteArray CompoundDocument::readChain(quint32 start, quint64 size) const
{
    QByteArray out;
    if (size == 0)
        return out;
    const quint64 sectorSize = quint64(1) << m_sectorShift;
    const QVector<quint32> sectors = chain(m_fat, start, m_sectorCount);
    const quint64 bytes = qMin<quint64>(size, quint64(sectors.size()) * sectorSize);
    out.reserve(qsizetype(bytes));
    // Runs of consecutive sectors, the usual layout, are read at once.
    const int needed = int((bytes + sectorSize - 1) / sectorSize);
    for (int i = 0; i < needed;) {
        int run = 1;
        while (i + run < needed && sectors[i + run] == sectors[i] + quint32(run))
            ++run;
        appendSector(out, sectors[i], run);
        i += run;
    }
    out.truncate(qsizetype(bytes));
    return out;
}

QByteArray CompoundDocument::readMiniChain(quint32 start, quint64 size) const
{
    QByteArray out;
    const qsizetype miniSize = qsizetype(1) << m_miniShift;
    const quint32 miniCount = quint32(m_miniStream.size() / miniSize);
    const QVector<quint32> sectors = chain(m_miniFat, start, miniCount);
    const quint64 bytes = qMin<quint64>(size, quint64(sectors.size()) * quint64(miniSize));
    out.reserve(qsizetype(bytes));
    for (quint32 s : sectors)
        out.append(m_miniStream.constData() + qsizetype(s) * miniSize, miniSize);
    out.truncate(qsizetype(bytes));
    return out;
}

QVector<int> CompoundDocument::children(quint32 storage) const
{
    QVector<int> result;
    if (storage >= quint32(m_dir.size()))
        return result;
    QVector<bool> seen(m_dir.size(), false);
    QVector<quint32> pending{m_dir[int(storage)].child};
    seen[int(storage)] = true;
    while (!pending.isEmpty()) {
        const quint32 id = pending.takeLast();
        if (id == kNoStream || id >= quint32(m_dir.size()) || seen[int(id)])
            continue;
        seen[int(id)] = true;
        result.append(int(id));
        pending.append(m_dir[int(id)].left);
        pending.append(m_dir[int(id)].right);
    }
    return result;
}

int CompoundDocument::findChild(quint32 storage, const QString& name) const
{
    for (int id : children(storage)) {
        if (m_dir[id].type == 2 && m_dir[id].name.compare(name, Qt::CaseInsensitive) == 0)
            return id;
    }
    return -1;
}

QStringList CompoundDocument::streamNames() const
{
    QStringList names;
    for (int id : children(0))
        names << m_dir[id].name;
    return names;
}

QByteArray CompoundDocument::readStream(const QString& name, bool* found) const
{
    const int id = isOpen() ? findChild(0, name) : -1;
    if (found)
        *found = id >= 0;
    if (id < 0)
        return QByteArray();
    const DirEntry& entry = m_dir[id];
    // The cutoff is fixed at 4096 by the format; a damaged header value is not trusted.
    if (entry.size < kMiniStreamCutoff)
        return readMiniChain(entry.start, entry.size);
    return readChain(entry.start, entry.size);
}

} // namespace YExcel
