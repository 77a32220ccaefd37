// Usage reports: the tracking-hit address and that failures end as log lines only.
#include "plugin/LogCapture.h"
#include "support/TestMain.h"

#include "network/utils/DotLog.h"
#include "network/utils/WSLogStatisticsSingleton.h"

#include <QRegularExpression>
#include <QTest>

using Quorvia::network::http::HTTP_RETURN_RESULT;
using Quorvia::utils::DotLog;

class ReportsTest : public QObject
{
    Q_OBJECT

private slots:
    void hitAddressCarriesEveryArgument()
    {
        QCOMPARE(DotLog::HitUrl(QStringLiteral("http://t.example"), 10001, QStringLiteral("商品管理"),
                                QStringLiteral("a&b=c"), 1355, QStringLiteral("biz 1"), 1700000000),
                 QStringLiteral("http://t.example/stats.do?venderId=10001&sysId=OrvaneQuorvia"
                                "&level1=%E5%95%86%E5%93%81%E7%AE%A1%E7%90%86&level2=a%26b%3Dc&catId=1355"
                                "&bizId=biz%201&opType=2&time=1700000000"));
    }

    void failedHitsAreOnlyLogged()
    {
        LogCapture capture;
        DotLog log;
        int finished = 0;
        connect(&log, &DotLog::DotLogFinishedSignal, this, [&finished] { ++finished; });
        log.DotLogResult(Quorvia::network::http::HTTP_RETURN_TIMEOUT, HTTP_RETURN_RESULT{0, QByteArray()});
        log.DotLogResult(Quorvia::network::http::HTTP_RETURN_SUCCESS, HTTP_RETURN_RESULT{404, "missing"});
        log.DotLogResult(Quorvia::network::http::HTTP_RETURN_SUCCESS, HTTP_RETURN_RESULT{200, "ok"});
        QCOMPARE(finished, 3);
        const QStringList lines = LogCapture::Lines().filter(QRegularExpression(QStringLiteral("^main: ")));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).endsWith(QStringLiteral("连接超时，请稍后重试！")));
        QVERIFY2(lines.at(1).endsWith(QStringLiteral("打点失败！state:200,msg:missing")), qPrintable(lines.at(1)));
        QVERIFY(lines.at(0).contains(QLatin1String("DotLog.cpp[")));
    }

    void recordedUsesAreSentAtOnce()
    {
        auto* stats = Quorvia::utils::WSLogStatisticsSingleton::instance();
        stats->AddStatistics(3, 7);
        stats->AddStatistics(3, 8, 2);
        QCOMPARE(stats->PendingCount(), 0);
        // The request holds the last batch only; earlier ones are already on their way.
        const QByteArray text = stats->Request()->GetParamJson();
        QVERIFY2(text.endsWith("\"logStatistics\":[{\"categoryId\":3,\"operationId\":8,\"times\":2}]}"),
                 text.constData());
    }
};

VUMO_TEST_CLASS(ReportsTest)
#include "ReportsTest.moc"
