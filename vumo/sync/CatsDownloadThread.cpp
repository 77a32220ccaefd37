#include "sync/CatsDownloadThread.h"

#include "network/config/NetworkConfig.h"
#include "network/http/SyncHttpRequest.h"
#include "network/request/PopRequestBase.h"
#include "quorvia/LogMask.h"
#include "sync/CategoryPackage.h"
#include "utils/Log.h"
#include "utils/VumoIni.h"

#include <QTimer>

namespace Quorvia::vumo::sync {

using Quorvia::network::http::SyncHttpRequest;

namespace {

constexpr int kReplyPercent = 20;
constexpr int kReadPercent = 50;
constexpr int kWritePercent = 95;
constexpr int kStopCheckMs = 100;

// The signed call whose answer is the package (not JSON: only its body is used).
class CategoryPackageRequest final : public Quorvia::network::request::PopRequestBase
{
public:
    explicit CategoryPackageRequest(QByteArray paramJson)
        : m_paramJson(std::move(paramJson))
    {
    }
    QByteArray GetMethod() const override { return QByteArrayLiteral("quorvia.incr.category.get"); }
    QByteArray GetParamJson() override { return m_paramJson; }
    QByteArray GetVersion() const override { return QByteArrayLiteral("1.0"); }
    QString GetUrl() const override { return Quorvia::network::config::NetworkConfig::Instance()->GetServerUrl(); }

private:
    const QByteArray m_paramJson;
};

} // namespace

CatsDownloadThread::CatsDownloadThread(const QString& uid, qint64 venderId, QObject* parent)
    : CatsSyncWorker(uid, venderId, parent)
{
}

CatsDownloadThread::~CatsDownloadThread()
{
    Stop();
    wait();
}

QByteArray CatsDownloadThread::PackageParamJson(qint64 venderId, qint64 version)
{
    return QStringLiteral("{\"vender_id\":\"%1\",\"event_type\":\"1\",\"category_version\":\"%2\"}")
        .arg(venderId)
        .arg(version)
        .toUtf8();
}

void CatsDownloadThread::OnDownloadProgress(qint64 nCureent, qint64 ntotal)
{
    if (IsStopped()) {
        if (m_http)
            m_http->Abort();
        return;
    }
    if (ntotal > 0)
        SetPercent(1 + int((kReplyPercent - 1) * qMin(nCureent, ntotal) / ntotal));
}

int CatsDownloadThread::SavingPercent() const
{
    return kReadPercent;
}

void CatsDownloadThread::run()
{
    ResetPercent();
    const bool full = m_fullRefresh;
    const qint64 since = full ? 0 : Quorvia::utils::VumoIni::CatsVersion(Uid());
    if (LeaveIfStopped())
        return;

    Quorvia::network::http::HTTP_RETURN_RESULT reply;
    {
        CategoryPackageRequest request(PackageParamJson(VenderId(), since));
        SyncHttpRequest http;
        http.SetMaxBodySize(MaxPackageBytes);
        connect(&http, &SyncHttpRequest::DownloadProgressSignals, this, &CatsDownloadThread::OnDownloadProgress,
                Qt::DirectConnection);
        // A server that sends nothing for a while must not hold a cancel back.
        QTimer stopCheck;
        connect(&stopCheck, &QTimer::timeout, &http, [this, &http] {
            if (IsStopped())
                http.Abort();
        });
        stopCheck.start(kStopCheckMs);
        m_http = &http;
        SetPercent(1);
        reply = http.Post(request.GetUrl(), request.BuildBody(), PackageTimeoutMs, true);
        m_http = nullptr;
    }
    if (LeaveIfStopped())
        return;
    SetPercent(kReplyPercent);
    if (!CategoryReplyAccepted(reply.status, reply.data)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("类目数据请求失败status=%1, result=%2")
                                           .arg(reply.status)
                                           .arg(ClipForLog(QString::fromUtf8(reply.data), 1000));
        Fail(QStringLiteral("类目数据请求失败"));
        return;
    }

    CategoryPackage package;
    QString error;
    const bool read = ReadCategoryPackage(reply.data, package, error, [this](qint64 done, qint64 total) {
        SetPercent(kReplyPercent + int((kReadPercent - kReplyPercent) * done / qMax<qint64>(1, total)));
        return !IsStopped();
    });
    reply.data = QByteArray(); // the records hold everything now
    if (!read) {
        if (!LeaveIfStopped())
            Fail(error);
        return;
    }
    if (package.hasData && !ApplyRecords(package.records, full, kReadPercent, kWritePercent))
        return;
    package.records = {};
    // Stored only once everything it stands for is: a cancelled or failed package is asked
    // for again from the old version.
    if (!Quorvia::utils::VumoIni::SetCatsVersion(Uid(), package.version))
        qCWarning(lcVumo).noquote() << QStringLiteral("类目版本号保存失败") << package.version;
    if (!RefreshShopCategories())
        return;
    SetPercent(100);
    ItemSucceeded();
}

} // namespace Quorvia::vumo::sync
