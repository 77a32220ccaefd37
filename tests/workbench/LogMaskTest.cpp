// Log lines keep what they say but lose the seller's credentials, and long answers are cut.
#include "quorvia/LogMask.h"

#include "support/TestMain.h"

#include <QTest>

class LogMaskTest : public QObject
{
    Q_OBJECT

private slots:
    void credentialsAreMasked_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("masked");
        QTest::newRow("query, token first") << "SyncHttpRequest.cpp[105] Exchange "
                                               "http://127.0.0.1:18080/"
                                               "routerjson?access_token=9f8e-77&app_key=k1&method=orvane.vumo.get&sign="
                                               "5C1200B7D3E1&timestamp=2026-12-07 20:33:38&v=2.0"
                                            << "SyncHttpRequest.cpp[105] Exchange "
                                               "http://127.0.0.1:18080/"
                                               "routerjson?access_token=***&app_key=k1&method=orvane.vumo.get&sign=***&"
                                               "timestamp=2026-12-07 20:33:38&v=2.0";
        QTest::newRow("form body, sign at the end of the line")
            << "POST body: app_key=k1&access_token=tok.en/+=&method=m&v=2.0&sign=ABCDEF0123"
            << "POST body: app_key=k1&access_token=***&method=m&v=2.0&sign=***";
        QTest::newRow("INI text and app_secret")
            << "[Login]\nuid=s1\naccess_token=t-1\napp_key=k\napp_secret=very-secret\n"
            << "[Login]\nuid=s1\naccess_token=***\napp_key=k\napp_secret=***\n";
        QTest::newRow("JSON, plain and escaped")
            << QStringLiteral(
                   "{\"access_token\":\"t1\",\"n\":1,\"inner\":\"{\\\"app_secret\\\":\\\"s2\\\",\\\"x\\\":2}\"}")
            << QStringLiteral(
                   "{\"access_token\":\"***\",\"n\":1,\"inner\":\"{\\\"app_secret\\\":\\\"***\\\",\\\"x\\\":2}\"}");
        QTest::newRow("look-alike names stay") << "design=blue&sign_method=md5&resign=1&my_access_token_count=3"
                                               << "design=blue&sign_method=md5&resign=1&my_access_token_count=3";
    }

    void credentialsAreMasked()
    {
        QFETCH(QString, line);
        QFETCH(QString, masked);
        QCOMPARE(Quorvia::MaskSecrets(line), masked);
    }

    void longAnswersAreCutWithANote()
    {
        const QString answer = QString(10000, QLatin1Char('a'));
        const QString cut = Quorvia::ClipForLog(answer, 4000);
        QCOMPARE(cut, QString(4000, QLatin1Char('a')) + QStringLiteral("…(6000 more chars)"));
        QCOMPARE(Quorvia::ClipForLog(QStringLiteral("short"), 4000), QStringLiteral("short"));
        QCOMPARE(Quorvia::ClipForLog(QString(4000, QLatin1Char('b')), 4000), QString(4000, QLatin1Char('b')));
    }
};

VUMO_TEST_CLASS(LogMaskTest)
#include "LogMaskTest.moc"
