#include "support/CliRun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace VumoTest {

namespace {

// `poll` runs while the program runs and once after it ended.
CliRun Run(const QString& program, const QString& home, const QStringList& args, int timeoutMs,
           const std::function<void(QProcess&, QProcessEnvironment&)>& setup, const std::function<void()>& poll)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QUORVIA_HOME"));
    env.remove(QStringLiteral("QUORVIA_LOGIN_FILE"));
    if (setup)
        setup(process, env);
    process.setProcessEnvironment(env);
    process.start(program, QStringList({QStringLiteral("--home"), home}) + args);
    CliRun run;
    if (!process.waitForStarted(10000))
        return run;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < timeoutMs) {
        if (poll)
            poll();
        QTest::qWait(20);
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    if (poll)
        poll();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

CliRun RunCli(const QString& program, const QString& home, const QStringList& args, int timeoutMs)
{
    return Run(program, home, args, timeoutMs, {}, {});
}

CliRun RunCli(const QString& program, const QString& home, const QStringList& args,
              const QMap<QString, QString>& variables, int timeoutMs)
{
    return Run(program, home, args, timeoutMs,
               [&variables](QProcess&, QProcessEnvironment& env) {
                   for (auto it = variables.cbegin(); it != variables.cend(); ++it) {
                       if (it.value().isNull())
                           env.remove(it.key());
                       else
                           env.insert(it.key(), it.value());
                   }
               },
               {});
}

CliRun RunCliOnTerminal(const QString& program, const QString& home, const QStringList& args, const QString& locale,
                        int timeoutMs)
{
    CliRun failed;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return failed;
    const char* slaveName = grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master) : nullptr;
    // The parent keeps the terminal side open, so its raw settings hold for the program.
    const int slave = slaveName ? ::open(slaveName, O_RDWR | O_NOCTTY) : -1;
    termios mode{};
    if (slave < 0 || tcgetattr(slave, &mode) != 0) {
        if (slave >= 0)
            ::close(slave);
        ::close(master);
        return failed;
    }
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    QByteArray screen;
    const auto drain = [&] {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            screen.append(buffer, qsizetype(n));
        }
    };
    const QString terminal = QString::fromLocal8Bit(slaveName);
    CliRun run = Run(
        program, home, args, timeoutMs,
        [&](QProcess& process, QProcessEnvironment& env) {
            process.setStandardOutputFile(terminal);
            env.insert(QStringLiteral("LC_ALL"), locale);
            env.insert(QStringLiteral("LANG"), locale);
        },
        drain);
    ::close(slave);
    drain();
    ::close(master);
    run.out = screen;
    return run;
}

} // namespace VumoTest
