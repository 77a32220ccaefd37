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
        QMutexLocker lock(&state().mutex);
        state().lines.clear();
        state().previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(state().previous); }

    static QStringList Lines()
    {
        QMutexLocker lock(&state().mutex);
        return state().lines;
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
    struct State
    {
        QMutex mutex;
        QStringList lines;
        QtMessageHandler previous = nullptr;
    };
    static State& state()
    {
        static State s;
        return s;
    }
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        QtMessageHandler previous = nullptr;
        {
            QMutexLocker lock(&state().mutex);
            state().lines << QString::fromLatin1(context.category ? context.category : "default") + QStringLiteral(": ")
                    + message;
            previous = state().previous;
        }
        if (previous)
            previous(type, context, message);
    }
};
