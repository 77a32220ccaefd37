// vumo-cli download: the listing download of the plug-in without a window. Progress goes to
// standard error, the summary and the failures to standard output.
#include "CliCommand.h"
#include "CliInterrupt.h"
#include "SellerStores.h"

#include "entity/VumoDataEntity.h"
#include "sync/VumoDownloadThread.h"
#include "utils/VumoIni.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDevice>
#include <QRegularExpression>

#include <unistd.h>

namespace Quorvia::cli {

namespace {

using Quorvia::vumo::VumoDownloadCondition;
using Quorvia::vumo::VumoDownloadThread;

QString PlainText(QString html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    return html.remove(tags);
}

struct DownloadArgs
{
    bool all = false;
    QList<qint64> ids;
    VumoDownloadCondition condition;
    int workers = 0; // 0: the seller's setting
};

// False with the message on err.
bool ParseArgs(const QStringList& args, DownloadArgs& parsed, QIODevice& err)
{
    const QString timeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    QString low, high;
    QDateTime since, until;
    auto fail = [&err](const QString& text) {
        writeText(err, QStringLiteral("download：%1\n").arg(text));
        return false;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString option = args.at(i);
        if (option == QLatin1String("--all")) {
            parsed.all = true;
            continue;
        }
        if (option == QLatin1String("--id")) {
            bool any = false;
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1String("--"))) {
                qint64 id = 0;
                if (!Quorvia::vumo::ParseVumoNumber(args.at(++i).trimmed(), &id))
                    return fail(QStringLiteral("请确认商品编号是否正确！（%1）").arg(args.at(i)));
                parsed.ids << id;
                any = true;
            }
            if (!any)
                return fail(QStringLiteral("--id 后面需要商品编号"));
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("无法识别的参数或缺少取值：%1").arg(option));
        const QString value = args.at(++i);
        bool ok = true;
        if (option == QLatin1String("--status")) {
            parsed.condition.status = value.toInt(&ok);
        } else if (option == QLatin1String("--cid")) {
            parsed.condition.cid = value.toLongLong(&ok);
        } else if (option == QLatin1String("--title")) {
            parsed.condition.title = value;
        } else if (option == QLatin1String("--price")) {
            ok = value.count(QLatin1Char('-')) == 1;
            low = value.section(QLatin1Char('-'), 0, 0);
            high = value.section(QLatin1Char('-'), 1);
        } else if (option == QLatin1String("--since") || option == QLatin1String("--until")) {
            const QDateTime time = QDateTime::fromString(value, timeFormat);
            ok = time.isValid();
            (option == QLatin1String("--since") ? since : until) = time;
        } else if (option == QLatin1String("--workers")) {
            parsed.workers = value.toInt(&ok);
            ok = ok && parsed.workers >= 1 && parsed.workers <= VumoDownloadThread::kMaxWorkers;
        } else {
            return fail(QStringLiteral("无法识别的参数：%1").arg(option));
        }
        if (!ok)
            return fail(QStringLiteral("%1 的取值无效：%2").arg(option, value));
    }
    if (parsed.all == !parsed.ids.isEmpty())
        return fail(QStringLiteral("请给出 --all 或 --id（二者选一）"));
    const QString problem = Quorvia::vumo::CheckDownloadInput(QString(), low, high, since, until, parsed.condition);
    if (!problem.isEmpty())
        return fail(PlainText(problem));
    return true;
}

} // namespace

int runDownload(const QStringList& args, QIODevice& out, QIODevice& err)
{
    DownloadArgs parsed;
    if (!ParseArgs(args, parsed, err))
        return ExitUsage;
    Quorvia::login::LoginData login;
    using Quorvia::vumo::database::StoreKind;
    // The category store too: the brand completion looks up the category's brand attribute.
    if (!OpenSellerStores("download", {StoreKind::Listings, StoreKind::Categories}, err, login))
        return ExitFailed;
    const int workers = parsed.workers > 0 ? parsed.workers : Quorvia::utils::VumoIni::DownloadWorkers(login.uid);

    VumoDownloadThread thread(login.uid, workers);
    if (parsed.all)
        thread.SetCondition(parsed.condition);
    else
        thread.SetVumoIds(parsed.ids);
    QString lastMessage;
    // On a terminal the progress stays on one line; into a file or pipe each message is a line.
    auto* errFile = qobject_cast<QFileDevice*>(&err);
    const bool terminal = errFile && errFile->handle() >= 0 && ::isatty(errFile->handle());
    QObject::connect(
        &thread, &VumoDownloadThread::DownloadVumoStatusMessageSignal, &thread,
        [&err, errFile, terminal, &lastMessage](const QString& text, int) {
            lastMessage = text;
            writeText(err, terminal ? QString(QStringLiteral("\r\x1b[K") + text) : QString(text + QLatin1Char('\n')));
            // Progress is only progress when it shows at once.
            if (errFile)
                errFile->flush();
        });
    QObject::connect(&thread, &VumoDownloadThread::OnVumoHandleFinishedSignal, &thread,
                     [](Quorvia::vumo::entity::VumoDataEntity* record) { delete record; });
    QEventLoop loop;
    QObject::connect(&thread, &VumoDownloadThread::finished, &loop, &QEventLoop::quit);

    {
        // Ctrl-C cancels as the dialog's cancel does: the listings under way finish first.
        InterruptWatch watch([&thread] { thread.Cancel(); });
        thread.start();
        loop.exec();
        thread.wait();
    }
    if (terminal)
        writeText(err, QStringLiteral("\n"));
    QCoreApplication::sendPostedEvents(&thread); // the last messages and records

    const QString summary = thread.Summary();
    writeText(out, (summary.isEmpty() ? PlainText(lastMessage) : summary) + QLatin1Char('\n'));
    const QMap<qint64, QString> failures = thread.Failures();
    const QString table = Quorvia::vumo::DownloadFailureText(failures, thread.Overwritten());
    if (!table.isEmpty())
        writeText(out, table + QLatin1Char('\n'));
    if (thread.IsCancelled())
        return ExitCancelled;
    return failures.isEmpty() && thread.SearchError().isEmpty() ? ExitOk : ExitFailed;
}

} // namespace Quorvia::cli
