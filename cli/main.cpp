// vumo-cli: scripted work over the plug-in's core. Global options come before the command:
//   vumo-cli [--home DIR] COMMAND [ARGS...]
#include "CliCommand.h"

#include "quorvia/LogMask.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>

using namespace Quorvia::cli;

namespace {

// Qt's own format on standard error, without the seller's token and signature.
void maskedMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QByteArray line = (qFormatLogMessage(type, context, Quorvia::MaskSecrets(message)) + u'\n').toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}

void printHelp(QIODevice& out)
{
    QString text = QStringLiteral("用法：vumo-cli [--home DIR] 命令 [参数...]\n\n"
                                  "  --home DIR  数据目录（同工作台，设置 QUORVIA_HOME）\n"
                                  "  --help      显示本帮助；命令 --help 显示该命令的用法\n\n命令：\n");
    for (const Command& c : commands())
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(c.name), QLatin1String(c.usage), QString::fromUtf8(c.summary));
    writeText(out, text);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(maskedMessage);
    // Every answer is logged at debug level; on a terminal that buries the progress line.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);

    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            printHelp(out);
            return ExitOk;
        }
        if (option == QLatin1String("--home")) {
            if (args.isEmpty()) {
                writeText(err, QStringLiteral("--home 缺少取值（数据目录）\n"));
                return ExitUsage;
            }
            qputenv("QUORVIA_HOME", QDir(args.takeFirst()).absolutePath().toLocal8Bit());
            continue;
        }
        writeText(err, QStringLiteral("无法识别的选项：%1\n").arg(option));
        return ExitUsage;
    }
    if (args.isEmpty() || args.first() == QLatin1String("help")) {
        printHelp(args.isEmpty() ? err : out);
        return args.isEmpty() ? ExitUsage : ExitOk;
    }
    const Command* command = findCommand(args.first());
    if (!command) {
        writeText(err, QStringLiteral("未知命令：%1\n").arg(args.first()));
        printHelp(err);
        return ExitUsage;
    }
    const QStringList rest = args.mid(1);
    if (rest.contains(QLatin1String("--help"))) {
        writeText(
            out,
            QStringLiteral("用法：vumo-cli %1 %2\n  %3\n")
                .arg(QLatin1String(command->name), QLatin1String(command->usage), QString::fromUtf8(command->summary)));
        return ExitOk;
    }
    return command->run(rest, out, err);
}
