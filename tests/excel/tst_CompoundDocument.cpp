#include "XlsTestSupport.h"

#include "io/excel/CompoundDocument.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using YExcel::CompoundDocument;
using namespace XlsTest;

namespace {
QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return b;
}
} // namespace

class TestCompoundDocument : public QObject
{
    Q_OBJECT
    VumoTest::TempHome home;

    QString put(const QString& name, const QByteArray& bytes)
    {
        const QString path = home.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

private slots:
    void streamsRoundTrip_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("difatSlots");
        QTest::addColumn<bool>("version4");
        QTest::newRow("mini stream") << 1000 << 109 << false;
        QTest::newRow("just under the cutoff") << 4095 << 109 << false;
        QTest::newRow("at the cutoff") << 4096 << 109 << false;
        QTest::newRow("several sectors, odd tail") << 70001 << 109 << false;
        QTest::newRow("allocation table in extension blocks") << 300000 << 1 << false;
        QTest::newRow("4096-byte sectors") << 50000 << 109 << true;
    }
    void streamsRoundTrip()
    {
        QFETCH(int, size);
        QFETCH(int, difatSlots);
        QFETCH(bool, version4);
        CfbOptions options;
        options.headerDifatSlots = difatSlots;
        options.version4 = version4;
        const QByteArray a = pattern(size, 1), b = pattern(777, 2);
        const QString path = put(
            QStringLiteral("rt.xls"),
            compoundDocument({{QStringLiteral("Other"), b}, {QStringLiteral("Workbook"), a}}, options));
        CompoundDocument doc;
        QVERIFY(doc.open(path));
        QCOMPARE(doc.readStream(QStringLiteral("Workbook")), a);
        QCOMPARE(doc.readStream(QStringLiteral("Other")), b);
        bool found = true;
        QVERIFY(doc.readStream(QStringLiteral("Book"), &found).isEmpty());
        QVERIFY(!found);
    }

    void openFailures()
    {
        CompoundDocument doc;
        QVERIFY(!doc.open(home.filePath(QStringLiteral("absent.xls"))));
        QCOMPARE(doc.lastError(), CompoundDocument::OpenError::Missing);
        QVERIFY(!doc.open(home.path()));
        QCOMPARE(doc.lastError(), CompoundDocument::OpenError::Unreadable);
        QVERIFY(!doc.open(put(QStringLiteral("empty.xls"), QByteArray())));
        QCOMPARE(doc.lastError(), CompoundDocument::OpenError::NotCompound);
        QVERIFY(!doc.open(put(QStringLiteral("text.xls"), QByteArray("a,b,c\r\n1,2,3\r\n").repeated(100))));
        QCOMPARE(doc.lastError(), CompoundDocument::OpenError::NotCompound);
        // A signature alone, with nothing behind it.
        QByteArray stub = workbookFile(pattern(5000, 3)).left(512);
        QVERIFY(!doc.open(put(QStringLiteral("stub.xls"), stub)));
        QVERIFY(!doc.isOpen());
    }

    // Each case damages one structure; the reader must come back at once with what it can:
    // never foreign bytes, only the start of the real stream (`kept` bytes of it; -1: all of
    // it, maybe with the rest of its last sector; -2: nothing to check; -3: the open fails).
    void damagedStructuresStayBounded_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("kept");
        QTest::newRow("cyclic stream chain") << "cycle" << 4 * 512;
        QTest::newRow("chain into nowhere") << "range" << 3 * 512;
        QTest::newRow("size claim of 4 GB") << "size" << -1;
        QTest::newRow("directory outside the file") << "dir" << -3;
        QTest::newRow("sibling loop in the directory") << "tree" << 40000;
        QTest::newRow("cyclic extension blocks") << "difat" << 40000;
        QTest::newRow("file cut in half") << "cut" << -2;
        QTest::newRow("cyclic mini chain") << "minicycle" << 6 * 64;
    }
    void damagedStructuresStayBounded()
    {
        QFETCH(QString, damage);
        QFETCH(int, kept);
        const bool mini = damage == QLatin1String("minicycle");
        const QByteArray stream = pattern(mini ? 3000 : 40000, 4);
        CfbOptions options;
        if (damage == QLatin1String("difat"))
            options.headerDifatSlots = 0;
        QByteArray file = workbookFile(stream, options);
        const qint64 dirAt = 512 + qint64(wordAt(file, 48)) * 512;
        const qint64 entry = dirAt + 128; // the stream's entry follows the root
        const quint32 start = wordAt(file, entry + 116);
        const qint64 fatAt = 512 + qint64(options.headerDifatSlots ? wordAt(file, 76) : 0) * 512;
        if (damage == QLatin1String("cycle")) {
            setWordAt(file, fatAt + 4 * (start + 3), start); // fourth sector links back to the first
        } else if (damage == QLatin1String("range")) {
            setWordAt(file, fatAt + 4 * (start + 2), 0x00FFFFFF);
        } else if (damage == QLatin1String("size")) {
            setWordAt(file, entry + 120, 0xFFFFFFF0);
        } else if (damage == QLatin1String("dir")) {
            setWordAt(file, 48, 0x7FFFFFF0);
        } else if (damage == QLatin1String("tree")) {
            setWordAt(file, entry + 72, 1); // right sibling is itself
            setWordAt(file, entry + 68, 0); // left sibling is the root
        } else if (damage == QLatin1String("difat")) {
            const quint32 difat = wordAt(file, 68);
            setWordAt(file, 512 + qint64(difat) * 512 + 508, difat);
        } else if (damage == QLatin1String("cut")) {
            file.truncate(file.size() / 2);
        } else if (mini) {
            const quint32 miniFatSector = wordAt(file, 60);
            setWordAt(file, 512 + qint64(miniFatSector) * 512 + 4 * (start + 5), start + 1);
        }
        const QString path = put(QStringLiteral("damaged.xls"), file);
        QElapsedTimer timer;
        timer.start();
        CompoundDocument doc;
        const bool opened = doc.open(path);
        const QByteArray read = opened ? doc.readStream(QStringLiteral("Workbook")) : QByteArray();
        QVERIFY(timer.elapsed() < 2000);
        // Never more than the chain really holds: the claim may pass the file, the read not.
        QVERIFY(read.size() <= stream.size() + 511);
        if (kept >= 0)
            QCOMPARE(read, stream.left(kept));
        else if (kept == -1)
            QCOMPARE(read.left(stream.size()), stream);
        else if (kept == -3)
            QVERIFY(!opened);
    }

    // A file another program holds (its lock file beside it, a record lock through another open
    // file description, a whole-file lock) is refused as locked, and opens again once released.
    void heldFilesAreRefused_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"lock file", "record lock", "file lock"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void heldFilesAreRefused()
    {
        QFETCH(QString, how);
        const QString path = put(QStringLiteral("货品.xls"), workbookFile(pattern(5000, 5)));
        const QString lockFile = home.filePath(QStringLiteral(".~lock.货品.xls#"));
        QVERIFY(!CompoundDocument::isHeldByAnotherProgram(path));
        int fd = -1;
        if (how == QLatin1String("lock file")) {
            QVERIFY(WriteBytes(lockFile, "user,host,0;"));
        } else {
            fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
            QVERIFY(fd >= 0);
            struct flock lock = {};
            lock.l_type = F_RDLCK;
            lock.l_whence = SEEK_SET;
            QCOMPARE(how == QLatin1String("record lock") ? ::fcntl(fd, F_OFD_SETLK, &lock) : ::flock(fd, LOCK_SH), 0);
        }
        QVERIFY(CompoundDocument::isHeldByAnotherProgram(path));
        CompoundDocument doc;
        QVERIFY(!doc.open(path));
        QCOMPARE(doc.lastError(), CompoundDocument::OpenError::Locked);
        if (fd >= 0)
            ::close(fd);
        else
            QFile::remove(lockFile);
        QVERIFY(!CompoundDocument::isHeldByAnotherProgram(path));
        QVERIFY(doc.open(path));
    }
};

VUMO_TEST_CLASS(TestCompoundDocument)
#include "tst_CompoundDocument.moc"
