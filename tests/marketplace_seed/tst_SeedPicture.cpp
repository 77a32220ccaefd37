#include "SeedCatalogue.h"

#include "support/TestMain.h"

#include <QImage>
#include <QTest>

using namespace Quorvia::marketplace;

namespace {

QImage Render(const QString& path, QByteArray* type = nullptr)
{
    QByteArray bytes;
    if (!RenderSeedPicture(path, &bytes, type))
        return QImage();
    return QImage::fromData(bytes);
}

} // namespace

class SeedPictureTest : public QObject
{
    Q_OBJECT

private slots:
    void variantsTypesAndRepeatability();
    void unknownPathsAreRefused();
};

void SeedPictureTest::variantsTypesAndRepeatability()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const QString full = c.listings.first().images.first().path;
    QByteArray type;
    QCOMPARE(Render(full, &type).size(), QSize(800, 800));
    QCOMPARE(type, QByteArrayLiteral("image/jpeg"));
    QCOMPARE(Render(QString(full).replace(QStringLiteral("/n0/"), QStringLiteral("/n2/"))).size(), QSize(350, 350));
    QCOMPARE(Render(QString(full).replace(QStringLiteral("/n0/"), QStringLiteral("/n5/"))).size(), QSize(100, 100));

    QString png;
    for (const SeedListing& l : c.listings)
        if (l.images.first().path.endsWith(QStringLiteral(".png")))
            png = l.images.first().path;
    QByteArray bytes;
    QVERIFY(RenderSeedPicture(png, &bytes, &type));
    QCOMPARE(type, QByteArrayLiteral("image/png"));
    QVERIFY(bytes.startsWith("\x89PNG"));

    // The same path gives the same bytes, another picture other bytes.
    const SeedListing& l = c.listings.at(3);
    QByteArray first, second, other;
    QVERIFY(RenderSeedPicture(l.images.at(0).path, &first, nullptr));
    QVERIFY(RenderSeedPicture(l.images.at(0).path, &second, nullptr));
    QVERIFY(RenderSeedPicture(l.images.at(1).path, &other, nullptr));
    QVERIFY(!first.isEmpty());
    QCOMPARE(first, second);
    QVERIFY(first != other);

    // Every kind of goods is drawn: all pictures of the first listing of each top category.
    QHash<qint64, qint64> parent;
    for (const SeedCategory& x : c.categories)
        parent.insert(x.id, x.fid);
    QSet<qint64> tops;
    for (const SeedListing& listing : c.listings) {
        const qint64 cid = qint64(listing.vumo.value(QStringLiteral("cid")).toDouble());
        if (!tops.contains(parent.value(parent.value(cid))))
            for (const SeedImage& image : listing.images)
                QVERIFY2(Render(image.path).size() == QSize(800, 800), qPrintable(image.path));
        tops.insert(parent.value(parent.value(cid)));
    }
    QCOMPARE(tops.size(), 6);
}

void SeedPictureTest::unknownPathsAreRefused()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const QString good = c.listings.at(4).images.first().path;
    QVERIFY(good.endsWith(QStringLiteral(".jpg")));
    QByteArray bytes = "untouched";
    QByteArray type = "untouched";
    const QStringList wrong = {
        QString(good).replace(QStringLiteral("/n0/"), QStringLiteral("/n3/")),
        QString(good).replace(QStringLiteral("/imgzone/"), QStringLiteral("/images/")),
        QString(good).replace(QStringLiteral(".jpg"), QStringLiteral(".gif")),
        QString(good).replace(QStringLiteral(".jpg"), QStringLiteral(".png")), // not this picture's type
        QStringLiteral("/imgzone/n0/seed/1100000005/0_9.jpg"),                 // no 9th picture
        QStringLiteral("/imgzone/n0/seed/1100000005/12345_1.jpg"),             // no such colour
        QStringLiteral("/imgzone/n0/seed/1000000000/0_1.jpg"),                 // before the first listing
        QStringLiteral("/imgzone/n0/seed/../1100000006/0_1.jpg"),
        QString(),
        good + QStringLiteral("?x=1"),
    };
    for (const QString& path : wrong)
        QVERIFY2(!RenderSeedPicture(path, &bytes, &type), qPrintable(path));
    QCOMPARE(bytes, QByteArrayLiteral("untouched"));
    QCOMPARE(type, QByteArrayLiteral("untouched"));
}

VUMO_TEST_CLASS(SeedPictureTest)
#include "tst_SeedPicture.moc"
