// vumo-cli call: one signed call of the listing family with the seller's credentials, taken
// from the workbench's AppShare service exactly as the plug-in gets them from its host.
#include "CliCommand.h"

#include "network/utils/YvJsonParser.h"
#include "plugin/UserInfo.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "quorvia/LoginFile.h"
#include "request/PopRequestBase.h"

namespace Quorvia::cli {

namespace {

using Quorvia::network::http::HTTP_RETURN_RESULT;
using Quorvia::network::http::HTTP_RETURN_STATE;

constexpr int kDefaultTimeoutMs = 60000;

// Any method with a caller-given parameter text; the answer is kept as it came.
class RawCallRequest final : public Quorvia::vumo::request::PopRequestBase
{
public:
    RawCallRequest(const QByteArray& method, const QByteArray& paramJson)
        : m_method(method)
        , m_paramJson(paramJson)
    {
    }

    QByteArray GetMethod() const override { return m_method; }
    QByteArray GetParamJson() override { return m_paramJson; }
    bool OnResponse(HTTP_RETURN_STATE, const HTTP_RETURN_RESULT& result) override
    {
        m_answer = result.data;
        QVariant parsed;
        return CheckResultError(result, parsed);
    }

    QByteArray Answer() const { return m_answer; }

private:
    QByteArray m_method;
    QByteArray m_paramJson;
    QByteArray m_answer;
};

// The plug-in's UserInfo filled from the host service, as SetUserInfo would fill it.
bool LoadSeller(QIODevice& err)
{
    auto* appShare = Quorvia::utils::AppShareHelp::instance();
    const Quorvia::appshare::CurrentUser* user = appShare->GetCurrentUser();
    if (!user) {
        writeText(
            err, QStringLiteral("call：没有可用的登录信息，请检查登录文件：%1\n").arg(Quorvia::login::LoginFilePath()));
        return false;
    }
    Quorvia::core::plugin::LoginRecord record;
    record.accessToken = user->GetAccessToken();
    record.appKey = appShare->GetAppKey();
    record.appSecret = appShare->GetAppSecret();
    record.firstId = user->venderId;
    record.secondId = user->shopId;
    record.shopType = user->shopType;
    Quorvia::vumo::UserInfo::instance()->SetLogin(record);
    return true;
}

} // namespace

int runCall(const QStringList& args, QIODevice& out, QIODevice& err)
{
    QStringList words;
    int timeoutMs = kDefaultTimeoutMs;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--timeout")) {
            bool ok = false;
            timeoutMs = i + 1 < args.size() ? args.at(++i).toInt(&ok) : 0;
            if (!ok || timeoutMs <= 0) {
                writeText(err, QStringLiteral("call：--timeout 需要一个正整数（毫秒）\n"));
                return ExitUsage;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            writeText(err, QStringLiteral("call：无法识别的参数：%1\n").arg(a));
            return ExitUsage;
        } else {
            words << a;
        }
    }
    if (words.isEmpty() || words.size() > 2 || words.first().trimmed().isEmpty()) {
        writeText(err, QStringLiteral("用法：vumo-cli call METHOD [JSON] [--timeout MS]\n"));
        return ExitUsage;
    }
    const QByteArray method = words.first().trimmed().toUtf8();
    const QByteArray paramJson = words.size() > 1 ? words.at(1).toUtf8() : QByteArrayLiteral("{}");

    // A broken parameter text would only come back as a platform error; say so here.
    QByteArray check = paramJson;
    QVariant ignored;
    Quorvia::utils::YvJsonParser parser;
    if (!parser.parse(check, ignored, true)) {
        writeText(err,
                  QStringLiteral("call：参数不是有效的JSON：%1（第%2行）\n")
                      .arg(parser.errorDesc(), QString::number(parser.errorLine())));
        return ExitUsage;
    }

    if (!LoadSeller(err))
        return ExitFailed;

    RawCallRequest request(method, paramJson);
    if (!request.SyncRequest(timeoutMs)) {
        QString text = QStringLiteral("errorMessage: %1\n").arg(request.errorMessage);
        if (!request.errorCode.isEmpty())
            text += QStringLiteral("errorCode: %1\n").arg(request.errorCode);
        writeText(err, text);
        return ExitFailed;
    }
    QByteArray answer = request.Answer();
    if (!answer.endsWith('\n'))
        answer += '\n';
    out.write(answer);
    return ExitOk;
}

} // namespace Quorvia::cli
