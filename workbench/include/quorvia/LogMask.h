#pragma once
// What may go into a log line: the host's log file and every program's standard error are read
// by more people than the seller, so credentials never reach them and answers are cut short.
// Header-only because the host and the plug-in are separate binaries that share no library
// for it.
#include <QRegularExpression>
#include <QString>

namespace Quorvia {

// Replaces the values of access_token, sign and app_secret with "***", wherever they stand:
// in a query or form body, in JSON or in an INI line. The rest of the text stays as it is.
//   "http://h/routerjson?access_token=abc&app_key=k&sign=F00D" -> "...access_token=***&app_key=k&sign=***"
//   "{\"app_secret\":\"s\"}" -> "{\"app_secret\":\"***\"}"
// "sign_method=md5" and "design=x" are left alone: only whole parameter names count.
inline QString MaskSecrets(const QString& text)
{
    if (!text.contains(QLatin1String("access_token"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("sign"), Qt::CaseInsensitive)
        && !text.contains(QLatin1String("app_secret"), Qt::CaseInsensitive)) {
        return text;
    }
    // name=value up to the next separator.
    static const QRegularExpression pair(
        QStringLiteral("(?<![A-Za-z0-9_%])(access_token|sign|app_secret)(\\s*=\\s*)[^&\\s\"',;]*"),
        QRegularExpression::CaseInsensitiveOption);
    // "name": "value" in JSON, with or without escaped quotes around it.
    static const QRegularExpression json(
        QStringLiteral("(\\\\?\"(?:access_token|sign|app_secret)\\\\?\"\\s*:\\s*\\\\?\")(?:[^\"\\\\]|\\\\(?!\"))*"),
        QRegularExpression::CaseInsensitiveOption);
    QString masked = text;
    masked.replace(pair, QStringLiteral("\\1\\2***"));
    masked.replace(json, QStringLiteral("\\1***"));
    return masked;
}

// At most `limit` characters of an answer for the log, with a note of what was left out:
//   ClipForLog(<10000 characters>, 4000) -> the first 4000 and "…(6000 more chars)"
inline QString ClipForLog(const QString& text, qsizetype limit = 4000)
{
    if (text.size() <= limit)
        return text;
    return text.left(limit) + QStringLiteral("…(%1 more chars)").arg(text.size() - limit);
}

} // namespace Quorvia
