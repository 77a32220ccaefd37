// The signed envelope: signature rule, form body, answer check, the file post and the
// asynchronous answer. The full exchange with a checking gateway is in MarketplaceTest.
#include "support/TempHome.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include "network/request/PopServerRequestImpl.h"
#include "plugin/UserInfo.h"
#include "request/PopVumoDelete.h"
#include "request/PopVumoPropimgAdd.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QTest>

using namespace Quorvia::network::request;
using Quorvia::network::http::HTTP_RETURN_RESULT;
using Quorvia::network::http::HTTP_RETURN_SUCCESS;
using VumoTest::TestServer;

namespace {

const QByteArray kSecret = QByteArrayLiteral("seller-secret");

// A listing-family call sent to the test's server.
template <class Call>
class At : public Call
{
public:
    QString url;
    QString GetUrl() const override { return url; }
};
using DeleteAt = At<Quorvia::vumo::request::PopVumoDelete>;

class ServerCall : public PopServerRequestImpl
{
public:
    QByteArray GetMethod() const override { return QByteArrayLiteral("quorvia.test.call"); }
    QByteArray GetParamJson() override { return QByteArrayLiteral("{\"a\":\"1\"}"); }
};

class ExtraBodyCall : public Quorvia::vumo::request::PopVumoDelete
{
public:
    QByteArray GetExtraBody() const override { return QByteArrayLiteral("&extra=a b"); }
};

HTTP_RETURN_RESULT Answer(const QByteArray& body)
{
    return {200, body};
}

} // namespace

class EnvelopeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Quorvia::core::plugin::LoginRecord login;
        login.accessToken = "tok-1";
        login.appKey = "key-1";
        login.appSecret = kSecret;
        Quorvia::vumo::UserInfo::instance()->SetLogin(login);
    }
    void cleanupTestCase() { Quorvia::vumo::UserInfo::instance()->SetLogin({}); }

    void signatureFollowsTheRule()
    {
        ParamMap params;
        params.insert("v", "2.0");
        params.insert("timestamp", "2024-01-02 03:04:05");
        params.insert("orvane_param_json", "{}");
        params.insert("method", "orvane.vumo.get");
        params.insert("app_key", "key");
        params.insert("access_token", "tok");
        // Worked out by hand from the rule: secret, the pairs by ascending name, secret.
        QCOMPARE(PopRequestImpl::SignParams(params, "sec"), QByteArrayLiteral("E8D95FB0387DA53FBD13FBF8E15C8CE9"));

        // Any change to a value, the secret or an added pair changes the signature.
        const QByteArray base = PopRequestImpl::SignParams(params, "sec");
        QVERIFY(PopRequestImpl::SignParams(params, "sed") != base);
        params.insert("platform", "pc");
        QVERIFY(PopRequestImpl::SignParams(params, "sec") != base);
    }

    void bodyEncodesOnlyTheJsonParameters()
    {
        ParamMap params;
        params.insert("timestamp", "2024-01-02 03:04:05");
        params.insert("orvane_param_json", "{}");
        params.insert("access_token", "a+b/c=d");
        params.insert("body", "{\"x\":\"y z\"}");
        QCOMPARE(PopRequestImpl::EncodeBody(params),
                 QByteArrayLiteral("access_token=a+b/c=d&body=%7B%22x%22%3A%22y%20z%22%7D"
                                   "&orvane_param_json=%7B%7D&timestamp=2024-01-02 03:04:05"));
        QCOMPARE(PopRequestImpl::EncodeBody(ParamMap()), QByteArray());
    }

    void builtBodyIsSignedAndComplete()
    {
        ExtraBodyCall call;
        call.SetVumoId(1234567890);
        const QByteArray body = call.BuildBody();
        QVERIFY2(body.endsWith("&extra=a b"), body.constData());
        const QByteArray form = body.left(body.size() - 10);
        QVERIFY(form.contains("orvane_param_json=%7B%22vumo_id%22%3A%221234567890%22%7D&"));
        const QByteArray stamp = VumoTest::FormField(form, "timestamp");
        QVERIFY2(QDateTime::fromString(QString::fromLatin1(stamp), QStringLiteral("yyyy-MM-dd hh:mm:ss")).isValid(),
                 stamp.constData());
        QVERIFY(form.contains(QByteArray("&timestamp=" + stamp))); // the space travels as it is
        QCOMPARE(VumoTest::FormField(form, "sign"), VumoTest::GatewaySign(form, kSecret));
    }

    void serverRequestsAddPlatformAndUseTheFixedKey()
    {
        ServerCall call;
        const QByteArray body = call.BuildBody();
        QCOMPARE(VumoTest::FormField(body, "platform"), QByteArrayLiteral("pc"));
        QCOMPARE(VumoTest::FormField(body, "v"), QByteArrayLiteral("2.0"));
        // "platform" is part of the signed text.
        QCOMPARE(VumoTest::FormField(body, "sign"),
                 VumoTest::GatewaySign(body, "{5A0C7E92-3D4B-4F16-A8E7-9B21C6D0F354}"));
    }

    void checkResultErrorCases_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray() << false << QString() << QStringLiteral("返回信息为空");
        QTest::newRow("not json") << QByteArray("abc") << false << QString() << QStringLiteral("abc");
        QTest::newRow("blank") << QByteArray("  \n") << false << QString() << QStringLiteral("返回json解析出错");
        QTest::newRow("nested msg") << QByteArray(
            "{\"error_response\":{\"code\":12,\"zh_desc\":\"{\\\"msg\\\":\\\"x\\\",\\\"k\\\":1}\"}}")
                                    << false << QStringLiteral("12") << QStringLiteral("x");
        QTest::newRow("plain desc") << QByteArray(R"({"error_response":{"code":"11200004","zh_desc":"商品不存在"}})")
                                    << false << QStringLiteral("11200004") << QStringLiteral("商品不存在");
        QTest::newRow("desc is json without msg")
            << QByteArray("{\"error_response\":{\"code\":\"7\",\"zh_desc\":\"{\\\"m\\\":1}\"}}") << false
            << QStringLiteral("7") << QStringLiteral("{\"m\":1}");
        QTest::newRow("no desc") << QByteArray(R"({"error_response":{"code":"-1"}})") << false << QStringLiteral("-1")
                                 << QStringLiteral(R"({"error_response":{"code":"-1"}})");
        QTest::newRow("good") << QByteArray(R"({"vumo_delete_response":{"vumo_id":"1"}})") << true << QString()
                              << QString();
    }

    void checkResultErrorCases()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, ok);
        QFETCH(QString, code);
        QFETCH(QString, message);
        Quorvia::vumo::request::PopVumoDelete call;
        QVariant parsed;
        QCOMPARE(call.CheckResultError(Answer(answer), parsed), ok);
        QCOMPARE(call.errorCode, code);
        QCOMPARE(call.errorMessage, message);
        QCOMPARE(parsed.isValid(), ok);
        if (ok)
            QCOMPARE(parsed.toMap().value("vumo_delete_response").toMap().value("vumo_id").toString(),
                     QStringLiteral("1"));
    }

    void filePostSendsFieldsAndImagePart()
    {
        TestServer server;
        QVERIFY(server.listen(TestServer::answering(R"({"vumo_propimg_add_response":{"image_id":"31"}})")));
        At<Quorvia::vumo::request::PopVumoPropimgAdd> call;
        call.url = server.url(QStringLiteral("/routerjson"));
        call.SetVumoId(77);

        QVERIFY(!call.SyncPostFile(QStringLiteral("/nonexistent/pic.jpg"), 10000));
        QCOMPARE(call.errorMessage, QStringLiteral("Open file failed!"));
        QVERIFY(server.requests().isEmpty());

        VumoTest::TempHome home;
        const QString path = home.filePath(QStringLiteral("pic.jpg"));
        QVERIFY(VumoTest::WriteBytes(path, QByteArray("\xFF\xD8\xFF-jpeg-bytes-", 15)));
        QVERIFY2(call.SyncPostFile(path, 10000), qPrintable(call.errorMessage));
        QCOMPARE(call.GetResponse().toMap().value("image_id").toString(), QStringLiteral("31"));
        QCOMPARE(server.requests().size(), 1);
        const VumoTest::HttpRequestSeen& got = server.requests().first();
        QVERIFY(got.headers.value("content-type").startsWith("multipart/form-data"));
        QVERIFY(!got.headers.value("accept-encoding").contains("gzip"));
        // Text fields unencoded, the file as the part "image".
        QVERIFY(got.body.contains(
            "name=\"orvane_param_json\"\r\nContent-Type: text/plain\r\n\r\n"
            "{\"vumo_id\":\"77\",\"attribute_value_id\":\"0000000000\",\"is_main_pic\":\"false\"}\r\n"));
        QVERIFY(got.body.contains("name=\"sign\""));
        QVERIFY(got.body.contains("name=\"image\";filename=\"pic.jpg\""));
        QVERIFY(got.body.contains("-jpeg-bytes-"));
    }

    void asynchronousAnswerReachesOnlyLiveRequests()
    {
        TestServer server;
        QVERIFY(server.listen(TestServer::answering(R"({"vumo_delete_response":{"vumo_id":"5"}})")));

        class Watched : public DeleteAt
        {
        public:
            int answers = 0;
            bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state, const HTTP_RETURN_RESULT& result) override
            {
                ++answers;
                return DeleteAt::OnResponse(state, result);
            }
        };
        auto* live = new Watched;
        live->url = server.url(QStringLiteral("/routerjson"));
        live->SetVumoId(5);
        live->StartRequest();
        QTRY_COMPARE_WITH_TIMEOUT(live->answers, 1, 10000);
        QVERIFY(live->errorMessage.isEmpty());
        delete live;

        // Dropped before its answer: nothing may touch the destroyed object.
        auto* dropped = new DeleteAt;
        dropped->url = server.url(QStringLiteral("/routerjson"));
        dropped->SetVumoId(5);
        dropped->StartRequest();
        delete dropped;
        QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), 2, 10000);
        QTest::qWait(200);
    }
};

VUMO_TEST_CLASS(EnvelopeTest)
#include "EnvelopeTest.moc"
