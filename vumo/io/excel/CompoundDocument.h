#pragma once
// Reader of the compound-document container (OLE2 structured storage) that holds a legacy
// workbook. Read only, and defensive: every chain walk is bounded by the file's sector count
// and stops at the first repeated or out-of-range sector, so a damaged file yields a short
// stream, never a hang or a read past the end.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVector>

namespace YExcel {

class CompoundDocument final
{
public:
    enum class OpenError { None, Missing, Locked, Unreadable, NotCompound };

    CompoundDocument() = default;
    CompoundDocument(const CompoundDocument&) = delete;
    CompoundDocument& operator=(const CompoundDocument&) = delete;

    // Opens `path` for exclusive reading: false when it is missing, held by another program
    // (a spreadsheet's lock file beside it, or an advisory lock), unreadable or no compound
    // document. Releases anything opened before.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    OpenError lastError() const { return m_error; }

    // The whole stream of that name directly below the root storage (names compare without
    // regard to case, as the format says); `found` tells a missing entry from an empty one.
    QByteArray readStream(const QString& name, bool* found = nullptr) const;
    QStringList streamNames() const;

    // True when another program holds `path`: ".~lock.<name>#" beside it, or a POSIX, OFD or
    // flock lock held through another open file description.
    static bool isHeldByAnotherProgram(const QString& path);

private:
    struct DirEntry
    {
        QString name;
        quint8 type = 0;
        quint32 left = 0, right = 0, child = 0;
        quint32 start = 0;
        quint64 size = 0;
    };

    bool parse();
    void appendSector(QByteArray& out, quint32 index, int count = 1) const;
    static QVector<quint32> chain(const QVector<quint32>& table, quint32 start, quint32 limit);
    QByteArray readChain(quint32 start, quint64 size) const;
    QByteArray readMiniChain(quint32 start, quint64 size) const;
    int findChild(quint32 storage, const QString& name) const;
    QVector<int> children(quint32 storage) const;

    // Sectors are read with plain reads, not a mapping: a mapping would fault if another
    // program shortened the file meanwhile; a short read just gives zeros.
    mutable QFile m_file;
    qint64 m_fileSize = 0;
    OpenError m_error = OpenError::None;

    quint32 m_sectorShift = 9;
    quint32 m_miniShift = 6;
    quint32 m_sectorCount = 0; // whole sectors present after the header
    QVector<quint32> m_fat;
    QVector<quint32> m_miniFat;
    QVector<DirEntry> m_dir;
    QByteArray m_miniStream;
};

} // namespace YExcel
