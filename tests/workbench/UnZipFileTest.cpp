#include "support/TestMain.h"

#include "quorvia/UnZipFile.h"

#include <QRandomGenerator>
#include <QTest>

#include <zlib.h>

namespace {

// windowBits 31 writes a gzip header, 15 a zlib one.
QByteArray deflateBytes(const QByteArray& plain, int windowBits)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(int(deflateBound(&stream, uLong(plain.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.constData()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return rc == Z_STREAM_END ? out : QByteArray();
}

QByteArray gzip(const QByteArray& plain)
{
    return deflateBytes(plain, 31);
}

QByteArray mixedText(int size)
{
    // Half compressible text, half noise, so the stream spans many inflate chunks.
    QByteArray data;
    data.reserve(size);
    QRandomGenerator random(42);
    while (data.size() < size) {
        data.append(QByteArrayLiteral("{\"title\":\"商品标题\",\"price\":1999},"));
        data.append(char(random.bounded(256)));
    }
    data.truncate(size);
    return data;
}

} // namespace

class UnZipFileTest : public QObject
{
    Q_OBJECT
private slots:
    void inflatesGzipAndZlibBodies_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<int>("windowBits");
        QTest::newRow("gzip short") << QByteArray("hello, 卖家") << 31;
        QTest::newRow("gzip spanning chunks") << mixedText(700 * 1024) << 31;
        QTest::newRow("zlib") << mixedText(5000) << 15;
    }
    void inflatesGzipAndZlibBodies()
    {
        QFETCH(QByteArray, plain);
        QFETCH(int, windowBits);
        const QByteArray packed = deflateBytes(plain, windowBits);
        QVERIFY(!packed.isEmpty());
        QCOMPARE(UnZipFile::gUncompress(packed), plain);
    }

    void damagedBodiesGiveEmpty()
    {
        const QByteArray packed = gzip(mixedText(20000));
        QVERIFY(packed.size() > 100);

        QByteArray corrupt = packed;
        for (int i = 20; i < 60; ++i)
            corrupt[i] = char(corrupt[i] ^ 0x5A);
        QVERIFY(UnZipFile::gUncompress(corrupt).isEmpty());

        QVERIFY(UnZipFile::gUncompress(packed.left(packed.size() / 2)).isEmpty());
        // The gzip trailer carries the CRC; a body cut just before it is incomplete.
        QVERIFY(UnZipFile::gUncompress(packed.left(packed.size() - 4)).isEmpty());

        QVERIFY(UnZipFile::gUncompress(QByteArray()).isEmpty());
        QVERIFY(UnZipFile::gUncompress(QByteArray("plain text, not gzip")).isEmpty());
    }

    void sizeCapIsExact()
    {
        const QByteArray plain = mixedText(100000);
        const QByteArray packed = gzip(plain);
        QCOMPARE(UnZipFile::gUncompress(packed, plain.size()), plain);
        QVERIFY(UnZipFile::gUncompress(packed, plain.size() - 1).isEmpty());
        QVERIFY(UnZipFile::gUncompress(packed, 0).isEmpty());
    }

    void zeroBombStopsAtCap()
    {
        // 64 MB of zeros packs into some 64 KB; a 1 MB cap must stop it early.
        const QByteArray packed = gzip(QByteArray(64 * 1024 * 1024, '\0'));
        QVERIFY(packed.size() < 1024 * 1024);
        QVERIFY(UnZipFile::gUncompress(packed, 1024 * 1024).isEmpty());
    }
};

VUMO_TEST_CLASS(UnZipFileTest)
#include "UnZipFileTest.moc"
