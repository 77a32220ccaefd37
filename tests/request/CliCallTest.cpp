// vumo-cli call as a separate process against a local server named in network.ini.
#include "support/CliRun.h"
#include "support/TempHome.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include <QDir>
#include <QSettings>
#include <QTest>

using VumoTest::CliRun;
using VumoTest::TestServer;

namespace {

// Runs "call" with `args` while this thread keeps serving the local server.
CliRun RunCall(const QString& home, const QStringList& args)
{
    // Debug lines on: they are the ones that carry the request.
    return VumoTest::RunCli(QStringLiteral(VUMO_CLI), home, QStringList{QStringLiteral("call")} + args,
                            {{QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true")}});
}

void WriteNetworkIni(const VumoTest::TempHome& home, const QString& gateway)
{
    QDir().mkpath(home.filePath(QStringLiteral("config")));
    QSettings ini(home.filePath(QStringLiteral("config/network.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("apiserver/url"), gateway);
    ini.sync();
}

} // namespace

class CliCallTest : public QObject
{
    Q_OBJECT

private slots:
    void callPrintsTheAnswer()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin login;
        login.appSecret = QStringLiteral("cli-secret");
        home.writeLogin(login);
        TestServer server;
        QVERIFY(server.listen());
        WriteNetworkIni(home, server.url(QStringLiteral("/routerjson")));
        const QByteArray answer = R"({"sellercats_get_response":{"shopCats":[]}})";
        server.setHandler(TestServer::answering(answer));

        const CliRun run = RunCall(home.path(), {"orvane.sellercats.get", "{\"a\":\"b c\"}"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, answer + '\n');

        QCOMPARE(server.requests().size(), 1);
        const QByteArray body = server.requests().first().body;
        QVERIFY2(body.contains("&orvane_param_json=%7B%22a%22%3A%22b%20c%22%7D&"), body.constData());
        QCOMPARE(VumoTest::FormField(body, "method"), QByteArrayLiteral("orvane.sellercats.get"));
        QCOMPARE(VumoTest::FormField(body, "app_key"), login.appKey.toUtf8());
        QCOMPARE(VumoTest::FormField(body, "access_token"), login.accessToken.toUtf8());
        QCOMPARE(VumoTest::FormField(body, "sign"), VumoTest::GatewaySign(body, "cli-secret"));

        // The call's log lines name the request, never the credentials that sign it.
        QVERIFY2(run.err.contains("access_token=***"), run.err.constData());
        QVERIFY2(!run.err.contains(login.accessToken.toUtf8()), run.err.constData());
        QVERIFY2(!run.err.contains(VumoTest::FormField(body, "sign")), run.err.constData());
    }

    void failuresExitWithTheErrorText()
    {
        VumoTest::TempHome home;
        home.writeLogin();
        TestServer server;
        QVERIFY(server.listen());
        WriteNetworkIni(home, server.url(QStringLiteral("/routerjson")));
        server.setHandler(TestServer::answering(
            "{\"error_response\":{\"code\":\"19\",\"zh_desc\":\"{\\\"msg\\\":\\\"无效的access_token\\\"}\"}}"));

        CliRun run = RunCall(home.path(), {"orvane.vumo.get", "{\"vumo_id\":\"1\"}"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.contains(QStringLiteral("errorMessage: 无效的access_token")), run.err.constData());
        QVERIFY(err.contains(QStringLiteral("errorCode: 19")));

        // A parameter text that is not JSON never leaves the machine.
        run = RunCall(home.path(), {"orvane.vumo.get", "{\"a\":"});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(server.requests().size(), 1);

        // A server that never answers: the time-out is a failure.
        server.setHandler([](const VumoTest::HttpRequestSeen&, QTcpSocket*) {});
        run = RunCall(home.path(), {"orvane.sellercats.get", "--timeout", "300"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QVERIFY2(QString::fromUtf8(run.err).contains(QStringLiteral("errorMessage: http 请求超时")),
                 run.err.constData());
        QCOMPARE(server.requests().size(), 2);

        // No login: a clear message, no traffic.
        QFile::remove(home.filePath(QStringLiteral("config/login.ini")));
        run = RunCall(home.path(), {"orvane.sellercats.get"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("login.ini"), run.err.constData());
        QCOMPARE(server.requests().size(), 2);
    }
};

VUMO_TEST_CLASS(CliCallTest)
#include "CliCallTest.moc"
