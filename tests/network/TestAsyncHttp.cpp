// Asynchronous tasks and their manager against local servers: the concurrency limit and the
// bypass flag, batch deletion, downloads with redirects, time-outs, keep-alive streams and the
// synthetic error body. Hostile answers are in TestHostileServers.
#include "support/TestServer.h"

#include "network/http/HttpRequestManage.h"
#include "network/http/SimpleHttp.h"
#include "network/http/TaskParam.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Quorvia::network::http;
using VumoTest::HttpRequestSeen;
using VumoTest::TestServer;

namespace {

struct Outcome
{
    int calls = 0;
    HTTP_RETURN_STATE state = HTTP_RETURN_PENDING;
    HTTP_RETURN_RESULT result;
};

// Records the answers `task` gets.
std::shared_ptr<Outcome> Track(TASK_PARAM& task)
{
    auto outcome = std::make_shared<Outcome>();
    task.resultCallback = [outcome](HTTP_RETURN_STATE state, const HTTP_RETURN_RESULT& result) {
        ++outcome->calls;
        outcome->state = state;
        outcome->result = result;
    };
    return outcome;
}

// Runs a download through the manager and waits for its answer.
std::shared_ptr<Outcome> Download(const QString& url, const QString& path, QList<int>* progress = nullptr)
{
    auto task = new DOWNLOADFILE_PARAM;
    task->url = url;
    task->filePath = path;
    if (progress)
        task->progressCallback = [progress](int percent) { *progress << percent; };
    const auto outcome = Track(*task);
    HttpRequestManage::Instance()->AddTask(task);
    QDeadlineTimer deadline(10000);
    while (outcome->calls == 0 && !deadline.hasExpired())
        QTest::qWait(10);
    return outcome;
}

} // namespace

class TestAsyncHttp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = std::make_unique<VumoTest::TempHome>(); }

    void fifthCountedTaskWaitsAndBypassStartsAtOnce()
    {
        HttpRequestManage* manager = HttpRequestManage::Instance();
        TestServer server;
        QVERIFY(server.listen());
        QList<QPair<QByteArray, QTcpSocket*>> held;
        server.setHandler([&](const HttpRequestSeen& r, QTcpSocket* s) { held.append({r.target, s}); });

        QList<std::shared_ptr<Outcome>> outcomes;
        for (int i = 1; i <= 5; ++i) {
            auto task = new GET_TASK_PARAM;
            task->url = server.url(QStringLiteral("/task%1").arg(i));
            outcomes << Track(*task);
            SimpleHttp* started = manager->AddTask(task);
            QCOMPARE(started != nullptr, i <= 4);
        }
        QTRY_COMPARE(held.size(), 4);
        QCOMPARE(manager->RunningCount(), 4);
        QCOMPARE(manager->WaitingCount(), 1);

        auto bypass = new GET_TASK_PARAM;
        bypass->url = server.url(QStringLiteral("/bypass"));
        bypass->bypassLimit = true;
        outcomes << Track(*bypass);
        QVERIFY(manager->AddTask(bypass));
        QTRY_COMPARE(held.size(), 5);
        QCOMPARE(held.last().first, QByteArray("/bypass"));
        QCOMPARE(manager->RunningCount(), 4);
        QTest::qWait(100);
        QCOMPARE(held.size(), 5); // the fifth counted task still waits

        // One of the first four ends: the waiting one goes out.
        for (int i = 0; i < held.size(); ++i) {
            if (held.at(i).first == "/task1") {
                TestServer::respond(held.takeAt(i).second, 200, "one");
                break;
            }
        }
        QTRY_COMPARE(outcomes.at(0)->calls, 1);
        QTRY_COMPARE(held.size(), 5);
        QCOMPARE(held.last().first, QByteArray("/task5"));
        QCOMPARE(manager->WaitingCount(), 0);
        QCOMPARE(manager->RunningCount(), 4);

        for (const auto& entry : held)
            TestServer::respond(entry.second, 200, "answer" + entry.first);
        for (int i = 0; i < outcomes.size(); ++i)
            QTRY_COMPARE(outcomes.at(i)->calls, 1);
        QCOMPARE(outcomes.at(4)->result.data, QByteArray("answer/task5"));
        QCOMPARE(outcomes.at(4)->state, HTTP_RETURN_SUCCESS);
        QCOMPARE(outcomes.at(4)->result.status, 200);
        QCOMPARE(manager->RunningCount(), 0);
        // Finished objects go in one batch, a second after the last one ended.
        QVERIFY(manager->PendingDeletionCount() > 0);
        QTRY_COMPARE_WITH_TIMEOUT(manager->PendingDeletionCount(), 0, 3000);
    }

    void unknownOrNullTasksAreRefused()
    {
        HttpRequestManage* manager = HttpRequestManage::Instance();
        QVERIFY(!manager->AddTask(nullptr));
        auto task = new GET_TASK_PARAM;
        task->type = 3;
        task->url = QStringLiteral("http://127.0.0.1:1/");
        QVERIFY(!manager->AddTask(task));
        QCOMPARE(manager->RunningCount(), 0);
        QCOMPARE(manager->WaitingCount(), 0);
    }

    void networkErrorBodyStaysValidJson()
    {
        // The reason phrase ends up in Qt's error text; quotes and backslashes must be escaped.
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket* s) {
            s->write(TestServer::response(404, "", {}, "Not \"Here\" \\ at all"));
        }));
        TASK_PARAM* task = new GET_TASK_PARAM;
        task->url = server.url(QStringLiteral("/missing"));
        const auto outcome = Track(*task);
        HttpRequestManage::Instance()->AddTask(task);
        QTRY_COMPARE(outcome->calls, 1);
        QCOMPARE(outcome->state, HTTP_RETURN_SUCCESS);
        QCOMPARE(outcome->result.status, 404);
        QVERIFY2(VumoTest::ErrorDesc(outcome->result.data).contains(QStringLiteral("Not \"Here\" \\ at all")),
                 outcome->result.data.constData());
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(outcome->result.data, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(doc.object().value("error_response").toObject().value("code").toString(), QStringLiteral("-1"));
        for (const QString& text : {QStringLiteral("连接被拒绝"), QStringLiteral("say \"no\" C:\\path\\ a\nb\tc\x01")})
            QCOMPARE(VumoTest::ErrorDesc(SyntheticErrorBody(text)), text);
    }

    void timeOutGivesOuttime()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket*) {}));
        auto task = new POST_TASK_PARAM;
        task->url = server.url(QStringLiteral("/hang"));
        task->body = "x=1";
        task->timeout = 200;
        const auto outcome = Track(*task);
        HttpRequestManage::Instance()->AddTask(task);
        QTRY_COMPARE(outcome->calls, 1);
        QCOMPARE(outcome->state, HTTP_RETURN_TIMEOUT);
        QCOMPARE(outcome->result.status, 0);
        QCOMPARE(outcome->result.data, QByteArray("outtime"));
        QTRY_COMPARE(HttpRequestManage::Instance()->RunningCount(), 0);
    }

    void redirectedDownloadWritesTheSameFile()
    {
        TestServer server;
        QVERIFY(server.listen());
        const QByteArray content = QByteArray("模板,内容\r\n").repeated(2000);
        server.setHandler([&](const HttpRequestSeen& r, QTcpSocket* s) {
            if (r.target == "/old.csv")
                TestServer::respond(s, 302, "moved away", {"Location: /new.csv"});
            else
                TestServer::respond(s, 200, content);
        });
        const QString path = m_home->filePath("template.csv");
        QVERIFY(VumoTest::WriteBytes(path, QByteArray(100000, 'z'))); // longer than the download: must be cut

        QList<int> progress;
        const auto outcome = Download(server.url(QStringLiteral("/old.csv")), path, &progress);
        QCOMPARE(outcome->calls, 1);
        QCOMPARE(outcome->state, HTTP_RETURN_SUCCESS);
        QCOMPARE(outcome->result.status, 200);
        QVERIFY(outcome->result.data.isEmpty());
        QCOMPARE(server.requests().size(), 2);
        QCOMPARE(server.requests().at(1).target, QByteArray("/new.csv"));
        QCOMPARE(VumoTest::ReadBytes(path), content);
        QVERIFY(!progress.isEmpty());
        for (int percent : progress)
            QVERIFY(percent >= 0 && percent <= 100);
    }

    void failedDownloadsLeaveNoFile()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen& r, QTcpSocket* s) {
            if (r.target == "/loop")
                TestServer::respond(s, 302, "", {"Location: /loop"});
            else
                TestServer::respond(s, 404, "no such file");
        }));
        const QString path = m_home->filePath("missing.csv");
        QCOMPARE(Download(server.url(QStringLiteral("/missing.csv")), path)->result.status, 404);
        QVERIFY(!QFile::exists(path));

        // A redirect loop ends instead of running forever.
        const auto looping = Download(server.url(QStringLiteral("/loop")), path);
        QCOMPARE(looping->calls, 1);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!VumoTest::ErrorDesc(looping->result.data).isEmpty());

        // A file that cannot be opened: 202 and nothing is sent.
        const int before = server.connections();
        const auto blocked = Download(server.url(QStringLiteral("/x.csv")), m_home->filePath("no/such/dir/x.csv"));
        QCOMPARE(blocked->state, HTTP_RETURN_OPENFILE_FAILED);
        QCOMPARE(blocked->result.data, QByteArray("open file failed!"));
        QTest::qWait(50);
        QCOMPARE(server.connections(), before);
        QTRY_COMPARE(HttpRequestManage::Instance()->RunningCount(), 0);
    }

    void oversizeDownloadAndAbortEndClearly()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen& r, QTcpSocket* s) {
            if (r.target == "/big")
                TestServer::respond(s, 200, QByteArray(8192, 'b'));
        }));
        DOWNLOADFILE_PARAM download;
        download.url = server.url(QStringLiteral("/big"));
        download.filePath = m_home->filePath("big.bin");
        const auto downloaded = Track(download);
        SimpleHttp bigFile(download);
        bigFile.SetMaxBodySize(1000);
        bigFile.Start();
        QTRY_COMPARE(downloaded->calls, 1);
        QCOMPARE(VumoTest::ErrorDesc(downloaded->result.data), OversizeBodyText(1000));
        QVERIFY(!QFile::exists(download.filePath));

        GET_TASK_PARAM hanging;
        hanging.url = server.url(QStringLiteral("/hang"));
        const auto aborted = Track(hanging);
        SimpleHttp http(hanging);
        http.Start();
        QTRY_COMPARE(server.requests().size(), 2);
        http.Abort();
        QTRY_COMPARE(aborted->calls, 1);
        QCOMPARE(aborted->state, HTTP_RETURN_ABORTED);
    }

    void keepAliveDeliversLinesAndDropsASilentStream()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen&, QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nhello\n");
            s->flush();
            QTimer::singleShot(50, s, [s] { s->write("par"); });
            QTimer::singleShot(100, s, [s] { s->write("tial\nend\n"); });
        }));
        KeepAliveTask task;
        task.url = server.url(QStringLiteral("/stream"));
        task.body = "uid=1";
        task.timeout = 300; // a tick without data ends the stream
        QList<QByteArray> messages;
        task.messageCallback = [&messages](const QByteArray& m) { messages << m; };
        const auto outcome = Track(task);
        SimpleHttp http(task);
        QSignalSpy finished(&http, &SimpleHttp::RequestFinishedSignal);
        http.Start();
        QTRY_COMPARE(outcome->calls, 1);
        QCOMPARE(messages, (QList<QByteArray>{"hello\n", "partial\nend\n"}));
        QCOMPARE(outcome->state, HTTP_RETURN_TIMEOUT);
        QCOMPARE(finished.count(), 1);
    }

    void endedKeepAliveFreesItsSlot()
    {
        TestServer server;
        QVERIFY(server.listen([](const HttpRequestSeen& r, QTcpSocket* s) {
            if (r.target == "/stream")
                s->write("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nok\n");
            else
                TestServer::respond(s, 200, "after");
        }));
        HttpRequestManage* manager = HttpRequestManage::Instance();
        for (int i = 0; i < HttpRequestManage::kMaxRunningTasks; ++i) {
            auto stream = new KeepAliveTask;
            stream->url = server.url(QStringLiteral("/stream"));
            stream->body = "uid=1";
            QVERIFY(manager->AddTask(stream));
        }
        QTRY_COMPARE(manager->RunningCount(), 0);
        auto task = new GET_TASK_PARAM;
        task->url = server.url(QStringLiteral("/later"));
        const auto outcome = Track(*task);
        QVERIFY(manager->AddTask(task));
        QTRY_COMPARE(outcome->calls, 1);
        QCOMPARE(outcome->result.data, QByteArray("after"));
    }

private:
    std::unique_ptr<VumoTest::TempHome> m_home;
};

VUMO_TEST_CLASS(TestAsyncHttp)
#include "TestAsyncHttp.moc"
