#pragma once
// Writes BIFF8 workbook streams and compound documents for tests and benchmarks, so that
// cases a spreadsheet program never writes (damaged chains, odd record splits, huge claims)
// can be made on purpose. Not part of the product.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

#include <map>
#include <vector>

namespace XlsTest {

QByteArray record(quint16 code, const QByteArray& data);
QByteArray u16le(quint16 v);
QByteArray u32le(quint32 v);
QByteArray f64le(double v);
QByteArray bof(quint16 type);
QByteArray eof();
// XLUnicodeString: 16-bit count, option byte, characters (8-bit when they all fit).
QByteArray unicodeString(const QString& text);
QByteArray cellHeader(int row, int col);
QByteArray rkRecord(int row, int col, quint32 rk); // the raw RK encoding given
QByteArray numberRecord(int row, int col, double v);
QByteArray labelSstRecord(int row, int col, quint32 index);

// The SST record and its Continue records for `strings`, split so that no record holds more
// than `limit` data bytes. A string cut by a boundary goes on after a new option byte, in
// 8-bit form when the rest fits.
QByteArray sstRecords(const QStringList& strings, int limit = 8224);

// A workbook stream with the given sheets. Cells: numbers become RK when they fit, else
// Number; text goes through the shared-string table.
class BiffWriter
{
public:
    struct Cell
    {
        bool isText = false;
        double number = 0;
        QString text;
    };
    int addSheet(const QString& name);
    void setNumber(int sheet, int row, int col, double v);
    void setText(int sheet, int row, int col, const QString& text);
    QByteArray stream() const;

private:
    struct Sheet
    {
        QString name;
        std::map<std::pair<int, int>, Cell> cells;
    };
    std::vector<Sheet> m_sheets;
};

struct CfbOptions
{
    int headerDifatSlots = 109; // fewer forces the extension blocks
    bool version4 = false;      // 4096-byte sectors
};

// A compound document holding the streams below its root.
QByteArray compoundDocument(const QList<QPair<QString, QByteArray>>& streams, const CfbOptions& options = CfbOptions());

// Reading and patching little-endian words of a built file.
quint32 wordAt(const QByteArray& bytes, qint64 offset);
void setWordAt(QByteArray& bytes, qint64 offset, quint32 value);

} // namespace XlsTest
