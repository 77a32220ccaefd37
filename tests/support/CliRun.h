#pragma once
// Runs vumo-cli (or another program of the build) on a test's data root.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace VumoTest {

struct CliRun
{
    int exitCode = -1; // -1: did not start or timed out, -2: crashed
    QByteArray out;
    QByteArray err;
};

// The inherited data root and login file are dropped, so the program sees only `home`. The
// event loop keeps running while it waits, so a local server in this thread still answers.
CliRun RunCli(const QString& program, const QString& home, const QStringList& args, int timeoutMs = 60000);
// The same with these variables set (a null value removes one).
CliRun RunCli(const QString& program, const QString& home, const QStringList& args, const QMap<QString, QString>& env,
              int timeoutMs = 60000);

// The same with standard output on a pseudo-terminal (raw, so line ends arrive as written) and
// the locale set to `locale` (LC_ALL and LANG). `out` is what reached the terminal.
CliRun RunCliOnTerminal(const QString& program, const QString& home, const QStringList& args, const QString& locale,
                        int timeoutMs = 60000);

} // namespace VumoTest
