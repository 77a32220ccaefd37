// Finding and rewriting the pictures of a description, and the conversion that uploads the local
// ones, on a plain thread without any web view.
#include "editor/HtmlConverter.h"

#include "ImageFixtures.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvia::vumo;

namespace {

// Records what would go up and answers with a made-up address per file.
struct FakeImageServer
{
    QStringList sent;
    QString failOn; // a path whose upload fails
    HtmlConverter::Uploader uploader()
    {
        return [this](const QString& path, QString& address, QString& error) {
            sent << path;
            if (path == failOn) {
                error = QStringLiteral("图片服务器拒绝");
                return false;
            }
            address = QStringLiteral("http://img.example/jfs/%1.png").arg(sent.size());
            return true;
        };
    }
};

QString Png(const QTemporaryDir& dir, const QString& name, qint64 size)
{
    const QString path = dir.filePath(name);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    bytes.append(QByteArray(size - bytes.size(), '\0')); // readers stop at the PNG's end
    return VumoTest::WriteBytes(path, bytes) ? path : QString();
}

QString FileUrl(const QString& path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

} // namespace

class TestHtmlConverter : public QObject
{
    Q_OBJECT

private slots:
    void findsOnlyImgSources()
    {
        const QString html = QStringLiteral(
            "<p>src=\"x.png\" <a href=\"a.png\">a</a><img src=\"a.png\"><IMG SRC='b.png' alt=x>"
            "<img alt=\"no source\"><img src><image src=\"c.png\"></p><script>var s='<img src=d.png>';</script>"
            "<img src=\"&#x56FE;.png\">");
        // The parser reads "image" as img, keeps script text as text and decodes references.
        QCOMPARE(FindImgSources(html), (QStringList{QStringLiteral("a.png"), QStringLiteral("b.png"), QString(),
                                                    QStringLiteral("c.png"), QStringLiteral("图.png")}));
        QVERIFY(FindImgSources(QString()).isEmpty());
    }

    void localPathsAreAbsoluteAndDecoded()
    {
        QTemporaryDir dir;
        const QString spaced = Png(dir, QStringLiteral("商品 图.png"), 100);
        QCOMPARE(LocalPathOfImgSrc(FileUrl(spaced)), spaced);
        QCOMPARE(LocalPathOfImgSrc(QStringLiteral("file:///tmp/a%20b.png")), QStringLiteral("/tmp/a b.png"));
        QCOMPARE(LocalPathOfImgSrc(QStringLiteral("/tmp/x.png")), QStringLiteral("/tmp/x.png"));
        // A plain path written with escapes names the decoded file when only that one exists.
        const QString escaped = QString(spaced).replace(QLatin1Char(' '), QLatin1String("%20"));
        QCOMPARE(LocalPathOfImgSrc(escaped), spaced);
        for (const char* notLocal : {"", "  ", "http://x/a.png", "https://x/a.png", "data:image/png;base64,AA",
                                     "a.png", "images/a.png", "file://otherhost/a.png", "//host/a.png",
                                     "C:/pics/a.png"})
            QVERIFY2(LocalPathOfImgSrc(QString::fromUtf8(notLocal)).isEmpty(), notLocal);
    }

    void replaceTouchesOnlyImgSrcAttributes()
    {
        QString html = QStringLiteral("<p>/a.png <a href=\"/a.png\">/a.png</a><img class=\"/a.png\" src=\"/a.png\">"
                                      "<img src='/a.png' alt='中文'><img src=\"/a.png.bak\"></p>");
        const QString expected = QStringLiteral(
            "<p>/a.png <a href=\"/a.png\">/a.png</a><img class=\"/a.png\" src=\"http://h/x.png?a=1&amp;b=&quot;2&quot;\">"
            "<img src=\"http://h/x.png?a=1&amp;b=&quot;2&quot;\" alt='中文'><img src=\"/a.png.bak\"></p>");
        QCOMPARE(ReplaceImgSrc(html, QStringLiteral("/a.png"), QStringLiteral("http://h/x.png?a=1&b=\"2\"")), 2);
        QCOMPARE(html, expected);
        // The rewritten value reads back as the address given.
        QCOMPARE(FindImgSources(html).first(), QStringLiteral("http://h/x.png?a=1&b=\"2\""));
        QCOMPARE(ReplaceImgSrc(html, QStringLiteral("/missing.png"), QStringLiteral("x")), 0);
        QCOMPARE(html, expected);
        // A bare attribute has no value to rewrite; its name stays.
        QString bare = QStringLiteral("<img src><img src=\"\">");
        QCOMPARE(ReplaceImgSrc(bare, QString(), QStringLiteral("x")), 1);
        QCOMPARE(bare, QStringLiteral("<img src><img src=\"x\">"));
    }

    void convertUploadsEachLocalPictureOnceAndRewritesEveryUse()
    {
        QTemporaryDir dir;
        const QString small = Png(dir, QStringLiteral("小 图.png"), 1048575);
        const QString large = Png(dir, QStringLiteral("large.png"), 1048576);
        const QString notPicture = dir.filePath(QStringLiteral("notes.png"));
        QVERIFY(VumoTest::WriteBytes(notPicture, "plain text"));
        const QString html = QStringLiteral("<div><img src=\"%1\"><p>%2</p><img src=\"%1\"><img src=\"%3\">"
                                            "<img src=\"%4\"><img src=\"http://img/a.png\"><img src=\"%5\">"
                                            "<img src=\"https://img/b.png\"></div>")
                                 .arg(FileUrl(small), small, large, notPicture, dir.filePath(QStringLiteral("gone.png")));
        FakeImageServer server;
        HtmlConverter converter(server.uploader());
        converter.SetHtml(html);
        QVERIFY(converter.Convert());
        QCOMPARE(server.sent, QStringList{small});
        QCOMPARE(converter.UploadedCount(), 1);
        QString expected = html;
        expected.replace(QStringLiteral("<img src=\"%1\">").arg(FileUrl(small)),
                         QStringLiteral("<img src=\"http://img.example/jfs/1.png\">"));
        QCOMPARE(converter.GetHtml(), expected); // the path in the paragraph stays

        // Converting the result again uploads nothing.
        converter.SetHtml(converter.GetHtml());
        QVERIFY(converter.Convert());
        QCOMPARE(server.sent.size(), 1);
        QCOMPARE(converter.GetHtml(), expected);
    }

    void failedUploadLeavesTheDescriptionAlone()
    {
        QTemporaryDir dir;
        const QString first = Png(dir, QStringLiteral("1.png"), 200);
        const QString second = Png(dir, QStringLiteral("2.png"), 200);
        const QString html = QStringLiteral("<img src=\"%1\"><img src=\"%2\">").arg(first, second);
        FakeImageServer server;
        server.failOn = second;
        HtmlConverter converter(server.uploader());
        converter.SetHtml(html);
        QVERIFY(!converter.Convert());
        QCOMPARE(converter.GetHtml(), html);
        QCOMPARE(converter.Error(), QStringLiteral("图片服务器拒绝"));
        QCOMPARE(server.sent, (QStringList{first, second}));
    }

    void hostileMarkupNeverCrashesOrHangs()
    {
        // Mutated and truncated descriptions, and nesting far deeper than any real page.
        const QString seed = QStringLiteral("<div class=\"a\"><img src=\"/x.png\" alt='y'><table><tr><td>中文"
                                            "<img src=/z.png><!-- c --><svg><image href=\"q\"/></svg></td></tr></table>"
                                            "<template><img src=\"/t.png\"></template></div>");
        QRandomGenerator random(17);
        for (int round = 0; round < 2000; ++round) {
            QString html = seed;
            const int edits = 1 + random.bounded(6);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(int(html.size()) + 1);
                switch (random.bounded(3)) {
                case 0: html.insert(at, QChar(char16_t(random.bounded(0x20, 0x7f)))); break;
                case 1: html.remove(at, 1 + random.bounded(4)); break;
                default: html.insert(at, QStringLiteral("<img src=\"\xe2\x80\x8b")); break;
                }
            }
            const QStringList sources = FindImgSources(html);
            if (sources.isEmpty())
                continue;
            QString rewritten = html;
            const int count = ReplaceImgSrc(rewritten, sources.last(), QStringLiteral("/n.png"));
            // Rewriting keeps every img and changes exactly the attributes it counts.
            const QStringList after = FindImgSources(rewritten);
            QCOMPARE(after.size(), sources.size());
            QCOMPARE(after.count(QStringLiteral("/n.png")), sources.count(QStringLiteral("/n.png")) + count);
        }
        QString deep;
        for (int i = 0; i < 5000; ++i)
            deep += QStringLiteral("<div>");
        deep += QStringLiteral("<img src=\"/deep.png\">");
        QCOMPARE(FindImgSources(deep), QStringList{QStringLiteral("/deep.png")});
        QString tags = QStringLiteral("<b>").repeated(20001);
        QVERIFY(FindImgSources(tags).isEmpty());
        HtmlConverter converter({});
        converter.SetHtml(tags);
        QVERIFY(!converter.Convert());
        QVERIFY(!converter.Error().isEmpty());
    }
};

VUMO_TEST_CLASS(TestHtmlConverter)
#include "TestHtmlConverter.moc"
