#pragma once
// Collects "category: message" lines while alive; earlier handlers keep receiving them.
#include <QMutex>
#include <QStringList>
#include <QtGlobal>

class LogCapture
{
public:
    LogCapture()
    {
        lines().clear();
        previous() = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(previous()); }

    static QStringList Lines()
    {
        QMutexLocker lock(&mutex());
        return lines();
    }
    static bool Contains(const char* category, const QString& text)
    {
        const QString wanted = QString::fromLatin1(category) + QStringLiteral(": ") + text;
        for (const QString& line : Lines()) {
            if (line.contains(wanted))
                return true;
        }
        return false;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        {
            QMutexLocker lock(&mutex());
            lines() << QString::fromLatin1(context.category ? context.category : "default") + QStringLiteral(": ")
                    + message;
        }
        if (previous())
            previous()(type, context, message);
    }
    static QStringList& lines()
    {
        static QStringList l;
        return l;
    }
    static QtMessageHandler& previous()
    {
        static QtMessageHandler h = nullptr;
        return h;
    }
    static QMutex& mutex()
    {
        static QMutex m;
        return m;
    }
};
