#pragma once
// Small readers for JSON values that may arrive as numbers or as decimal texts.
#include <QJsonValue>
#include <QString>

namespace Quorvia::marketplace {

// 1234, "1234", 1234.0 -> 1234; anything else -> fallback.
inline qint64 JsonInt(const QJsonValue& value, qint64 fallback = 0)
{
    if (value.isDouble())
        return qint64(value.toDouble());
    if (value.isString()) {
        bool ok = false;
        const qint64 n = value.toString().trimmed().toLongLong(&ok);
        return ok ? n : fallback;
    }
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    return fallback;
}

// Text of a member whatever its JSON type ("" for null and missing).
inline QString JsonText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (d == double(qint64(d)))
            return QString::number(qint64(d));
        return QString::number(d);
    }
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QString();
}

} // namespace Quorvia::marketplace
