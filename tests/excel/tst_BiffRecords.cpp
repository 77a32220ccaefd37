#include "XlsTestSupport.h"

#include "io/excel/CompoundDocument.h"
#include "io/excel/XlsRecords.h"
#include "support/TestMain.h"

#include <QTest>

using namespace YExcel;
using namespace XlsTest;
using YExcel::Worksheet::CellTable::RowBlock::CellBlock::RKValue;

namespace {

// One logical record from its base part and Continue parts.
Record joined(quint16 code, const QList<QByteArray>& parts)
{
    QByteArray stream = record(code, parts.first());
    for (int i = 1; i < parts.size(); ++i)
        stream += record(Code::Continue, parts[i]);
    RecordStream rs(stream);
    Record r;
    rs.next(r);
    r.detach();
    return r;
}

QByteArray latin(const char* s)
{
    return QByteArray(s);
}

QByteArray wide(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        b += u16le(c.unicode());
    return b;
}

} // namespace

class TestBiffRecords : public QObject
{
    Q_OBJECT

private slots:
    void rkDecoding_data()
    {
        QTest::addColumn<quint32>("rk");
        QTest::addColumn<bool>("isInteger");
        QTest::addColumn<double>("value");
        QTest::newRow("integer 12") << quint32((12 << 2) | 2) << true << 12.0;
        QTest::newRow("1250 divided") << quint32((1250 << 2) | 3) << false << 12.5;
        QTest::newRow("negative divided") << (quint32(-1250) << 2 | 3) << false << -12.5;
        QTest::newRow("largest integer") << (quint32(536870911) << 2 | 2) << true << 536870911.0;
        QTest::newRow("smallest integer") << (quint32(-536870912) << 2 | 2) << true << -536870912.0;
        QTest::newRow("double 1.5") << quint32(0x3FF80000) << false << 1.5;
        QTest::newRow("double 1.5 divided") << quint32(0x3FF80001) << false << 0.015;
    }
    void rkDecoding()
    {
        QFETCH(quint32, rk);
        QFETCH(bool, isInteger);
        QFETCH(double, value);
        const RKValue v = RKValue::decode(rk);
        QCOMPARE(v.isInteger, isInteger);
        QCOMPARE(v.value, value);
        if (isInteger)
            QCOMPARE(double(v.integer), value);
    }

    // The option byte at a Continue boundary decides the width of the rest of the string.
    void charactersAcrossContinues_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("compressed");
        QTest::newRow("8-bit then 16-bit")
            << (u16le(5) + char(0) + latin("ab")) << (QByteArray(1, 1) + wide(QStringLiteral("c中e")))
            << QStringLiteral("abc中e") << false;
        QTest::newRow("16-bit then 8-bit") << (u16le(4) + char(1) + wide(QStringLiteral("中文")))
                                           << (QByteArray(1, 0) + latin("\xe9x")) << QStringLiteral("中文éx") << false;
        QTest::newRow("8-bit both") << (u16le(4) + char(0) + latin("ca")) << (QByteArray(1, 0) + latin("f\xe9"))
                                    << QStringLiteral("café") << true;
        QTest::newRow("header ends at the boundary")
            << (u16le(3) + char(1)) << (QByteArray(1, 0) + latin("abc")) << QStringLiteral("abc") << true;
    }
    void charactersAcrossContinues()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, text);
        QFETCH(bool, compressed);
        const Record r = joined(Code::Label, {cellHeader(0, 0) + first, second});
        Worksheet::CellTable::RowBlock::CellBlock::Label label;
        QVERIFY(label.parse(r));
        QCOMPARE(label.text, text);
        QCOMPARE(label.compressed, compressed);
    }

    void sharedStringsSkipRunsAndPhoneticsAcrossBoundaries()
    {
        // "abc" with two formatting runs and six bytes of phonetic data, then "中文"; the
        // boundaries fall inside the runs and inside the phonetic data, where no option
        // byte is inserted.
        const QByteArray head = u32le(2) + u32le(2) + u16le(3) + char(0x0C) + u16le(2) + u32le(6) + latin("abc");
        const QByteArray runs = u16le(0) + u16le(1) + u16le(2) + u16le(3);
        const QByteArray ext("\x01\x02\x03\x04\x05\x06", 6);
        const QByteArray tail = u16le(2) + char(1) + wide(QStringLiteral("中文"));
        const Record r = joined(Code::SST, {head + runs.left(3), runs.mid(3) + ext.left(2), ext.mid(2) + tail});
        Workbook::SharedStringTable sst;
        QVERIFY(sst.parse(r));
        QCOMPARE(int(sst.strings.size()), 2);
        QCOMPARE(sst.strings[0].text, QStringLiteral("abc"));
        QVERIFY(sst.strings[0].compressed);
        QCOMPARE(sst.strings[1].text, QStringLiteral("中文"));
        QVERIFY(!sst.strings[1].compressed);
    }

    void sharedStringsSplitByAWriter()
    {
        QStringList strings;
        for (int i = 0; i < 300; ++i)
            strings << (i % 3 ? QStringLiteral("Plain item %1 with a longer tail").arg(i)
                              : QStringLiteral("商品%1号：连衣裙").arg(i));
        strings << QStringLiteral("x").repeated(600) + QStringLiteral("中"); // spans several records
        for (int limit : {8224, 97, 40}) {
            const QByteArray stream = sstRecords(strings, limit);
            RecordStream rs(stream);
            Record raw;
            QVERIFY(rs.next(raw));
            QVERIFY(!raw.continueLengths.isEmpty());
            Workbook::SharedStringTable sst;
            QVERIFY(sst.parse(raw));
            QCOMPARE(int(sst.strings.size()), int(strings.size()));
            for (int i = 0; i < strings.size(); ++i)
                QCOMPARE(sst.strings[size_t(i)].text, strings[i]);
        }
    }

    // Claims of counts and lengths are not trusted, short records report false, a cut record
    // ends the stream.
    void damagedRecords()
    {
        // A million strings announced, two present; a string longer than the data.
        Workbook::SharedStringTable sst;
        sst.parse(joined(
            Code::SST,
            {u32le(1000000) + u32le(1000000) + u16le(1) + char(0) + latin("a") + u16le(2) + char(0) + latin("bc")}));
        QCOMPARE(int(sst.strings.size()), 2);
        Workbook::SharedStringTable cut;
        QVERIFY(
            !cut.parse(joined(Code::SST, {u32le(1) + u32le(1) + u16le(60000) + char(1) + wide(QStringLiteral("ab"))})));
        QVERIFY(cut.strings.empty());

        Worksheet::CellTable::RowBlock::CellBlock::Number number;
        QVERIFY(!number.parse(joined(Code::Number, {cellHeader(3, 4) + QByteArray(3, '\0')})));
        QCOMPARE(int(number.row), 3);
        QCOMPARE(int(number.col), 4);
        Workbook::BoundSheet sheet;
        QVERIFY(!sheet.parse(
            joined(Code::BoundSheet, {u32le(100) + char(0) + char(0) + char(40) + char(0) + latin("short")})));
        QCOMPARE(sheet.position, quint32(100));

        const QByteArray stream = bof(0x0005) + record(0x0031, QByteArray(20, 'x')).left(10);
        RecordStream rs(stream);
        Record r;
        QVERIFY(rs.next(r));
        QCOMPARE(r.code, quint16(Code::BOF));
        QVERIFY(!rs.next(r));
        QVERIFY(rs.truncated());
    }

    // The stream keeps its own share of the bytes: a caller that reuses or drops its array,
    // or passes a temporary, does not pull the records from under it.
    void streamOutlivesTheCallersArray()
    {
        QByteArray bytes = bof(0x0005) + record(0x0031, latin("font"));
        RecordStream rs(bytes);
        Record first;
        QVERIFY(rs.next(first));
        bytes.fill('\xff');
        bytes.clear();
        Record second;
        QVERIFY(rs.next(second));
        QCOMPARE(second.code, quint16(0x0031));
        QCOMPARE(second.data, latin("font"));
        QCOMPARE(first.code, quint16(Code::BOF));

        RecordStream fromTemporary(record(0x0031, latin("x")) + record(0x0031, latin("yz")));
        QVERIFY(fromTemporary.next(first));
        QVERIFY(fromTemporary.next(second));
        QCOMPARE(second.data, latin("yz"));
        QVERIFY(!fromTemporary.next(second));
        QVERIFY(!fromTemporary.truncated());
    }

    // Records folded with their continuations serialise back to the very bytes of the file.
    void fixtureStreamsSerialiseBack()
    {
        for (const QString& name : fixtureNames()) {
            CompoundDocument doc;
            QVERIFY(doc.open(fixture(name)));
            bool found = false; // the name is matched regardless of case
            const QByteArray stream = doc.readStream(QStringLiteral("workbook"), &found);
            QVERIFY(found);
            RecordStream rs(stream);
            Record raw;
            QByteArray again;
            int continued = 0;
            while (rs.next(raw)) {
                again += raw.serialize();
                QCOMPARE(raw.recordSize(), qint64(raw.serialize().size()));
                continued += int(raw.continueLengths.size());
            }
            QCOMPARE(again, stream);
            if (name == QLatin1String("longsst.xls"))
                QVERIFY(continued > 0);
        }
    }
};

VUMO_TEST_CLASS(TestBiffRecords)
#include "tst_BiffRecords.moc"
