// The download's rules on input and names, without a marketplace.
#include "support/TestMain.h"
#include "sync/VumoDownloadRules.h"
#include "sync/VumoImageFetch.h"

#include <QTest>

using namespace Quorvia::vumo;

class TestDownloadRules : public QObject
{
    Q_OBJECT

private slots:
    void listingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("10 digits") << "1000000001" << true;
        QTest::newRow("18 digits") << "123456789012345678" << true;
        QTest::newRow("9 digits") << "123456789" << false;
        QTest::newRow("19 digits") << "1234567890123456789" << false;
        QTest::newRow("letters") << "12345abcde" << false;
        QTest::newRow("leading zero") << "0123456789" << false;
        QTest::newRow("sign") << "+123456789" << false;
    }
    void listingNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        qint64 id = 0;
        QCOMPARE(ParseVumoNumber(text, &id), accepted);
        if (accepted)
            QCOMPARE(QString::number(id), text);
        VumoDownloadCondition condition;
        const QString message = CheckDownloadInput(text, {}, {}, {}, {}, condition);
        QCOMPARE(message.isEmpty(), accepted);
    }

    void inputRanges_data()
    {
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<QString>("message");
        const QDateTime day(QDate(2024, 5, 1), QTime(0, 0));
        QTest::newRow("blank end is open") << ""
                                           << "" << day << QDateTime() << "";
        QTest::newRow("end before start") << ""
                                          << "" << day << day.addSecs(-1) << "请确认时间范围是否正确！";
        QTest::newRow("low above high") << "20"
                                        << "10" << QDateTime() << QDateTime() << "请确认Yv价范围是否正确！";
        QTest::newRow("negative low") << "-1"
                                      << "" << QDateTime() << QDateTime() << "请确认Yv价范围是否正确！";
        QTest::newRow("only high") << ""
                                   << "10" << QDateTime() << QDateTime() << "";
    }
    void inputRanges()
    {
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(QString, message);
        VumoDownloadCondition condition;
        const QString shown = CheckDownloadInput(QString(), low, high, start, end, condition);
        QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.contains(message), qPrintable(shown));
        if (message.isEmpty())
            QCOMPARE(condition.end, end); // a blank end stays open, never 1970
    }

    void brandPair_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("completed");
        QTest::newRow("stored text") << "1:2|3:4"
                                     << "1:2|3:4|100:9";
        QTest::newRow("semicolons") << " 1:2;3:4 "
                                    << "1:2|3:4|100:9";
        QTest::newRow("brand replaced") << "100:7|1:2"
                                        << "100:9|1:2";
        QTest::newRow("empty") << ""
                               << "100:9";
        QTest::newRow("other attribute with the same prefix") << "1000:5"
                                                              << "1000:5|100:9";
    }
    void brandPair()
    {
        QFETCH(QString, attributes);
        QFETCH(QString, completed);
        QCOMPARE(CompleteBrandPair(attributes, 100, 9), completed);
    }

    void pictureNames_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::newRow("size folder") << "http://h/imgzone/n2/seed/11/0_1.jpg"
                                     << "seed_11_0_1.jpg";
        QTest::newRow("another listing") << "http://h/imgzone/n5/seed/12/0_1.jpg"
                                         << "seed_12_0_1.jpg";
        QTest::newRow("query") << "http://h/imgzone/n0/a.png?x=1"
                               << "a.png";
        QTest::newRow("folder") << "http://h/imgzone/n0/a/"
                                << "";
        QTest::newRow("dot dot") << "http://h/imgzone/n0/a/%2E%2E/b.png"
                                 << "";
    }
    void pictureNames()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QCOMPARE(PictureNameFromUrl(url), name);
    }

    void picturePaths()
    {
        // The local file is always the full-size picture, whatever size the row's address names.
        QCOMPARE(FullSizePictureUrl("http://h/imgzone/n5/a/b.jpg"), QStringLiteral("http://h/imgzone/n0/a/b.jpg"));
        QCOMPARE(FullSizePictureUrl("http://h/imgzone/n2/a/b.jpg"), QStringLiteral("http://h/imgzone/n0/a/b.jpg"));
        QVERIFY(IsPictureFolderName("seed_1_0_1.jpg"));
        QVERIFY(!IsPictureFolderName("/home/seller/a.jpg"));
        QVERIFY(!IsPictureFolderName(""));
    }

    void failureTable()
    {
        const QString html = DownloadFailureTable({{1000000002, "商品状态无效"}, {1000000005, "a<b"}}, {1000000001});
        QVERIFY(html.startsWith("提示：<br />"));
        QVERIFY(html.contains("<td>1</td><td>1000000002</td><td>商品状态无效</td></tr><tr><td>2</td>"));
        QVERIFY(html.contains("a&lt;b</td></tr></table>"));
        QVERIFY(html.contains("1000000001"));
        QVERIFY(DownloadFailureTable({}).isEmpty());
    }
};

VUMO_TEST_CLASS(TestDownloadRules)
#include "TestDownloadRules.moc"
