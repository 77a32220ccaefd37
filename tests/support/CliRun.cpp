#include "support/CliRun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace VumoTest {

CliRun RunCli(const QString& program, const QString& home, const QStringList& args, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QUORVIA_HOME"));
    env.remove(QStringLiteral("QUORVIA_LOGIN_FILE"));
    process.setProcessEnvironment(env);
    process.start(program, QStringList({QStringLiteral("--home"), home}) + args);
    CliRun run;
    if (!process.waitForStarted(10000))
        return run;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs)
        QTest::qWait(20);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace VumoTest
