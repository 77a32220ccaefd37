// vumo-cli categories update [--full] [--by-api]: the category update of the listing page,
// headless: the same download threads, their progress as one line on the terminal.
#include "CliCommand.h"
#include "SellerStores.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "sync/CatsDownloadThread.h"
#include "sync/CatsDownloadThreadByQBR.h"
#include "utils/VumoIni.h"

#include <QEventLoop>

#include <memory>

namespace Quorvia::cli {

using Quorvia::vumo::sync::CatsDownloadThread;
using Quorvia::vumo::sync::CatsDownloadThreadByQBR;
using Quorvia::vumo::sync::CatsSyncWorker;

int runCategories(const QStringList& args, QIODevice& out, QIODevice& err)
{
    bool full = false;
    bool byApi = false;
    bool known = !args.isEmpty() && args.first() == QLatin1String("update");
    for (const QString& arg : args.mid(1)) {
        full = full || arg == QLatin1String("--full");
        byApi = byApi || arg == QLatin1String("--by-api");
        known = known && (arg == QLatin1String("--full") || arg == QLatin1String("--by-api"));
    }
    if (!known) {
        writeText(err, QStringLiteral("用法：vumo-cli categories update [--full] [--by-api]\n"));
        return ExitUsage;
    }
    Quorvia::login::LoginData login;
    using Quorvia::vumo::database::StoreKind;
    if (!OpenSellerStores("categories", {StoreKind::Categories, StoreKind::Listings}, err, login))
        return ExitFailed;

    auto* appShare = Quorvia::utils::AppShareHelp::instance();
    std::unique_ptr<CatsSyncWorker> worker;
    if (byApi) {
        worker = std::make_unique<CatsDownloadThreadByQBR>(appShare->GetUid(), appShare->GetVenderId());
    } else {
        auto thread = std::make_unique<CatsDownloadThread>(appShare->GetUid(), appShare->GetVenderId());
        thread->SetFullRefresh(full);
        worker = std::move(thread);
    }
    QEventLoop loop;
    QObject::connect(
        worker.get(), &CatsSyncWorker::SetValue, &loop,
        [&out](int percent) { writeText(out, QStringLiteral("\r正在下载类目信息，进度%1%").arg(percent)); },
        Qt::QueuedConnection);
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->Start();
    loop.exec();
    worker->wait();
    writeText(out, QStringLiteral("\n"));

    const auto outcome = worker->Outcome();
    if (outcome.succeeded == 0) {
        writeText(err,
                  outcome.lastError.isEmpty()
                      ? QStringLiteral("类目数据更新失败，请稍后重试！\n")
                      : QStringLiteral("类目数据更新失败，原因：%1，请稍后重试！\n").arg(outcome.lastError));
        return ExitFailed;
    }
    if (!Quorvia::utils::VumoIni::SetCategoryUpdateTime(login.uid, appShare->GetServerTime()))
        writeText(err, QStringLiteral("类目同步最新更新时间保存失败\n"));
    writeText(out, QStringLiteral("类目数据更新完成！\n"));
    return ExitOk;
}

} // namespace Quorvia::cli
