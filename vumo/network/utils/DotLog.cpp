#include "network/utils/DotLog.h"

#include "network/config/NetworkConfig.h"
#include "network/http/HttpRequestManage.h"
#include "network/http/TaskParam.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "quorvia/LogMask.h"
#include "utils/Log.h"

#include <QNetworkReply>
#include <QPointer>
#include <QUrl>

namespace Quorvia::utils {

using Quorvia::network::http::HTTP_RETURN_RESULT;
using Quorvia::network::http::HTTP_RETURN_STATE;

DotLog::DotLog(QObject* parent)
    : QObject(parent)
{
}

DotLog::~DotLog() = default;

QString DotLog::HitUrl(const QString& base, qint64 venderId, const QString& level1, const QString& level2, qint64 catId,
                       const QString& bizId, qint64 serverSeconds)
{
    auto encoded = [](const QString& text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); };
    return base
        + QStringLiteral(
              "/stats.do?venderId=%1&sysId=OrvaneQuorvia&level1=%2&level2=%3&catId=%4&bizId=%5&opType=2&time=%6")
              .arg(QString::number(venderId), encoded(level1), encoded(level2), QString::number(catId), encoded(bizId),
                   QString::number(serverSeconds));
}

void DotLog::SendDotLog(const QString& level1, const QString& level2, qint64 catId, const QString& bizId)
{
    AppShareHelp* appShare = AppShareHelp::instance();
    auto* task = new Quorvia::network::http::GET_TASK_PARAM;
    task->url = HitUrl(Quorvia::network::config::NetworkConfig::Instance()->GetDotLogUrl(), appShare->GetVenderId(),
                       level1, level2, catId, bizId, appShare->GetServerTime().toSecsSinceEpoch());
    task->timeout = 10000;
    task->bypassLimit = false;
    task->acceptGzip = false;
    QPointer<DotLog> self(this);
    task->resultCallback = [self](HTTP_RETURN_STATE state, const HTTP_RETURN_RESULT& result) {
        if (self)
            self->DotLogResult(state, result);
    };
    Quorvia::network::http::HttpRequestManage::Instance()->AddTask(task);
}

void DotLog::Send(const QString& level1, const QString& level2, qint64 catId, const QString& bizId)
{
    auto* sender = new DotLog;
    connect(sender, &DotLog::DotLogFinishedSignal, sender, &QObject::deleteLater);
    sender->SendDotLog(level1, level2, catId, bizId);
}

void DotLog::DotLogResult(HTTP_RETURN_STATE state, const HTTP_RETURN_RESULT& result)
{
    if (state == Quorvia::network::http::HTTP_RETURN_TIMEOUT) {
        qCWarning(lcMain).noquote() << VUMO_SRC_POS + QStringLiteral("连接超时，请稍后重试！");
    } else if (state != Quorvia::network::http::HTTP_RETURN_SUCCESS || result.status != 200) {
        qCWarning(lcMain).noquote() << VUMO_SRC_POS
                + QStringLiteral("打点失败！state:%1,msg:%2")
                      .arg(int(state))
                      .arg(ClipForLog(MaskSecrets(QString::fromUtf8(result.data))));
    }
    emit DotLogFinishedSignal();
}

void DotLog::OnReplyFinished(QNetworkReply* reply)
{
    if (!reply)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        qCWarning(lcMain).noquote() << VUMO_SRC_POS
                + QStringLiteral("打点失败 NetworkError:%1").arg(int(reply->error()));
    }
    reply->deleteLater();
}

} // namespace Quorvia::utils
