// vumo-cli upload: the listing upload of the plug-in without a window. Progress goes to
// standard error, one outcome line per listing and the summary to standard output.
#include "CliCommand.h"
#include "CliInterrupt.h"
#include "SellerStores.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "sync/VumoUploadStore.h"
#include "sync/VumoUploadThread.h"
#include "utils/SqlText.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDevice>

namespace Quorvia::cli {

namespace {

using Quorvia::vumo::VumoUploadThread;
using Quorvia::vumo::database::VumoDbInterface;

struct UploadArgs
{
    bool changed = false;
    QStringList clientIds;
    int mode = 0;
    bool overwrite = false;
};

bool ParseArgs(const QStringList& args, UploadArgs& parsed, QIODevice& err)
{
    auto fail = [&err](const QString& text) {
        writeText(err, QStringLiteral("upload：%1\n").arg(text));
        return false;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString option = args.at(i);
        if (option == QLatin1String("--changed")) {
            parsed.changed = true;
        } else if (option == QLatin1String("--overwrite")) {
            parsed.overwrite = true;
        } else if (option == QLatin1String("--client-id")) {
            bool any = false;
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--"))) {
                parsed.clientIds << args.at(++i).trimmed();
                any = true;
            }
            if (!any)
                return fail(QStringLiteral("--client-id 后面需要商品的本地编号"));
        } else if (option == QLatin1String("--mode")) {
            bool ok = false;
            parsed.mode = i + 1 < args.size() ? args.at(++i).toInt(&ok) : -1;
            if (!ok || parsed.mode < 0 || parsed.mode > 2)
                return fail(QStringLiteral("--mode 的取值应为 0（仅上传）、1（上传且上架）或 2（上传且下架）"));
        } else {
            return fail(QStringLiteral("无法识别的参数：%1").arg(option));
        }
    }
    if (parsed.changed == !parsed.clientIds.isEmpty())
        return fail(QStringLiteral("请给出 --changed 或 --client-id（二者选一）"));
    return true;
}

// Listings changed and not uploaded, or whose upload failed; templates and the recycle bin
// are never sent.
bool ChangedListings(VumoDbInterface& store, QStringList& clientIds, QMap<QString, QString>& titles)
{
    QList<VumoDbInterface::TextPair> rows;
    if (!store.QueryTextPairs(QStringLiteral("SELECT client_id, title FROM vumo_data WHERE upload_status IN (0, 2) "
                                             "AND vumo_status NOT IN (2013, 2015) ORDER BY rowid"),
                              rows))
        return false;
    for (const auto& row : rows) {
        clientIds << row.first;
        titles.insert(row.first, row.second);
    }
    return true;
}

bool Titles(VumoDbInterface& store, const QStringList& clientIds, QMap<QString, QString>& titles)
{
    QStringList quoted;
    for (const QString& id : clientIds)
        quoted << QStringLiteral("'%1'").arg(Quorvia::utils::SqlText(id));
    QList<VumoDbInterface::TextPair> rows;
    if (!store.QueryTextPairs(
            QStringLiteral("SELECT client_id, title FROM vumo_data WHERE client_id IN (%1)").arg(quoted.join(QLatin1Char(','))),
            rows))
        return false;
    for (const auto& row : rows)
        titles.insert(row.first, row.second);
    return true;
}

} // namespace

int runUpload(const QStringList& args, QIODevice& out, QIODevice& err)
{
    UploadArgs parsed;
    if (!ParseArgs(args, parsed, err))
        return ExitUsage;
    Quorvia::login::LoginData login;
    using Quorvia::vumo::database::StoreKind;
    if (!OpenSellerStores("upload", {StoreKind::Listings}, err, login))
        return ExitFailed;
    auto store = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();
    QStringList clientIds = parsed.clientIds;
    QMap<QString, QString> titles;
    const bool read = parsed.changed ? ChangedListings(*store, clientIds, titles) : Titles(*store, clientIds, titles);
    if (!read) {
        writeText(err, QStringLiteral("upload：读取商品数据库失败\n"));
        return ExitFailed;
    }
    if (clientIds.isEmpty()) {
        writeText(out, QStringLiteral("没有需要上传的商品\n"));
        return ExitOk;
    }

    VumoUploadThread thread(login.uid);
    thread.SetClientIds(clientIds);
    thread.SetMode(parsed.mode);
    thread.SetOverwrite(parsed.overwrite);
    auto* errFile = qobject_cast<QFileDevice*>(&err);
    QObject::connect(
        &thread,
        QOverload<int, qint16, VUMO_CLASS, VUMO_CLASS, const QString&>::of(&VumoUploadThread::UploadSignal),
        &thread, [&](int index, qint16 state, VUMO_CLASS, VUMO_CLASS, const QString& outcome) {
            const QString clientId = clientIds.value(index);
            if (state == Quorvia::vumo::UploadRunning) {
                writeText(err, QStringLiteral("正在上传第%1个商品，共%2个商品...\n").arg(index + 1).arg(clientIds.size()));
                if (errFile)
                    errFile->flush();
                return;
            }
            const QString mark = state == Quorvia::vumo::UploadSucceeded ? QStringLiteral("成功")
                                                                          : QStringLiteral("失败");
            writeText(out, QStringLiteral("%1\t%2\t%3\t%4\n").arg(mark, clientId, titles.value(clientId), outcome));
        });
    int succeeded = 0;
    int failed = 0;
    QObject::connect(&thread, &VumoUploadThread::UploadFinishedSignal, &thread, [&](int ok, int bad) {
        succeeded = ok;
        failed = bad;
    });
    QEventLoop loop;
    QObject::connect(&thread, &VumoUploadThread::finished, &loop, &QEventLoop::quit);
    {
        // Ctrl-C as the dialog's cancel: the listing under way finishes, the rest stay as they are.
        InterruptWatch watch([&thread] { thread.Stop(); });
        thread.Start();
        loop.exec();
        thread.wait();
    }
    QCoreApplication::sendPostedEvents(&thread); // the last outcomes

    const QString head = thread.Cancelled() ? QStringLiteral("上传被取消") : QStringLiteral("上传完成");
    QString summary = QStringLiteral("%1，上传成功%2个商品，失败%3个商品").arg(head).arg(succeeded).arg(failed);
    const int conflicts = int(thread.Conflicts().size());
    if (conflicts > 0)
        summary += QStringLiteral("（其中%1个线上已被修改，未覆盖）").arg(conflicts);
    if (thread.Cancelled())
        summary += QStringLiteral("，%1个商品未上传").arg(clientIds.size() - succeeded - failed);
    writeText(out, summary + QLatin1Char('\n'));
    if (thread.Cancelled())
        return ExitCancelled;
    return failed == 0 ? ExitOk : ExitFailed;
}

} // namespace Quorvia::cli
