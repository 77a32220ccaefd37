#include "support/TestMain.h"
#include "support/TestServer.h"

#include "quorvia/UnZipFile.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

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
    void damagedBodiesGiveEmpty()
    {
        const QByteArray packed = VumoTest::gzipBytes(mixedText(20000));
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
        const QByteArray plain = mixedText(700 * 1024);
        const QByteArray packed = VumoTest::gzipBytes(plain);
        QCOMPARE(UnZipFile::gUncompress(packed), plain);
        QCOMPARE(UnZipFile::gUncompress(qCompress(plain, 9).mid(4)), plain); // a bare zlib stream
        QCOMPARE(UnZipFile::gUncompress(packed, plain.size()), plain);
        QVERIFY(UnZipFile::gUncompress(packed, plain.size() - 1).isEmpty());
        QVERIFY(UnZipFile::gUncompress(packed, 0).isEmpty());
    }

    void zeroBombStopsAtCap()
    {
        // 64 MB of zeros packs into some 64 KB; a 1 MB cap must stop it early.
        const QByteArray packed = VumoTest::gzipBytes(QByteArray(64 * 1024 * 1024, '\0'));
        QVERIFY(packed.size() < 1024 * 1024);
        QVERIFY(UnZipFile::gUncompress(packed, 1024 * 1024).isEmpty());
    }
};

VUMO_TEST_CLASS(UnZipFileTest)
#include "UnZipFileTest.moc"
