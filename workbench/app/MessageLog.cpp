#include "MessageLog.h"

#include "quorvia/LogMask.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include <cstdio>

Q_LOGGING_CATEGORY(lcWorkbench, "workbench")

namespace Quorvia::workbench {

namespace {

struct LogState
{
    QMutex mutex;
    QString folder;
    QDate day;
    QFile file;
};

LogState& state()
{
    static LogState s;
    return s;
}

const char* levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "unknown";
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray line = QStringLiteral("%1 %2 [%3] %4\n")
                                .arg(now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")),
                                     QString::fromLatin1(levelName(type)),
                                     QString::fromUtf8(context.category ? context.category : "default"),
                                     MaskSecrets(message))
                                .toUtf8();

    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.folder.isEmpty() && s.day != now.date()) {
        s.file.close();
        s.day = now.date();
        s.file.setFileName(s.folder
                           + QStringLiteral("/quorvia-%1.log").arg(s.day.toString(QStringLiteral("yyyyMMdd"))));
        // The log tells what the seller did and with whom: the owner's eyes only, also for a
        // file an older version left readable to all.
        const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, ownerOnly))
            std::fprintf(stderr, "cannot write log file %s\n", qPrintable(s.file.fileName()));
        else
            s.file.setPermissions(ownerOnly);
    }
    if (s.file.isOpen()) {
        s.file.write(line);
        s.file.flush();
    }
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void InstallMessageLog(const QString& home)
{
    {
        LogState& s = state();
        QMutexLocker lock(&s.mutex);
        const QString folder = home + QStringLiteral("/logs");
        // Without a writable folder messages still reach standard error.
        s.folder = QDir().mkpath(folder) ? folder : QString();
        s.day = QDate();
    }
    qInstallMessageHandler(handler);
}

QString LoggingRulesFromIni(const QString& text)
{
    QStringList rules;
    bool inRules = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inRules = line.mid(1, line.size() - 2).trimmed().compare(QLatin1String("Rules"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inRules && line.contains(QLatin1Char('=')))
            rules << line;
    }
    return rules.join(QLatin1Char('\n'));
}

void ReportError(const QString& message)
{
    if (lcWorkbench().isCriticalEnabled()) {
        qCCritical(lcWorkbench).noquote() << message;
        return;
    }
    const QByteArray text = message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
}

void ApplyLoggingRules(const QString& home)
{
    QFile file(home + QStringLiteral("/config/qtlogging.ini"));
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcWorkbench) << "cannot read" << file.fileName();
        return;
    }
    const QString rules = LoggingRulesFromIni(QString::fromUtf8(file.readAll()));
    if (!rules.isEmpty())
        QLoggingCategory::setFilterRules(rules);
}

} // namespace Quorvia::workbench
