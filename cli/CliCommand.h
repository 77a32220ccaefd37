#pragma once
// The commands of vumo-cli. Each command is one function that takes its own arguments (the
// words after the command name) and writes to the given output and error devices; the
// dispatcher in main.cpp handles the global options and --help.
#include <QIODevice>
#include <QStringList>

#include <vector>

namespace Quorvia::cli {

struct Command
{
    const char* name;
    const char* usage;   // arguments after the name
    const char* summary; // one line for the command list
    int (*run)(const QStringList& args, QIODevice& out, QIODevice& err);
};

// Exit codes shared by the commands.
enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2, ExitCancelled = 130 };

const std::vector<Command>& commands();
const Command* findCommand(const QString& name);
void writeText(QIODevice& device, const QString& text);

int runXls2Csv(const QStringList& args, QIODevice& out, QIODevice& err);
int runCall(const QStringList& args, QIODevice& out, QIODevice& err);
int runDownload(const QStringList& args, QIODevice& out, QIODevice& err);
int runUpload(const QStringList& args, QIODevice& out, QIODevice& err);
int runFillDemoStore(const QStringList& args, QIODevice& out, QIODevice& err);
int runCategories(const QStringList& args, QIODevice& out, QIODevice& err);

} // namespace Quorvia::cli
