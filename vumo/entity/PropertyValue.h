#pragma once
// Conversions between loosely typed values (API texts, SQLite columns) and property types.
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariant>

namespace Quorvia::vumo::entity {

// The text form of date-times in the listing tables: local time "yyyy-MM-ddThh:mm:ss";
// an invalid date-time is the empty text.
QString DateTimeText(const QDateTime& dt);

// Reads a date-time from text ("yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd hh:mm:ss", ISO forms,
// "yyyy-MM-dd"; local time) or from an integer count of seconds since 1970-01-01 UTC
// (counts too large for seconds are taken as milliseconds). Anything else is invalid.
QDateTime ParseDateTime(const QVariant& value);

// `value` converted to `type` without failing: numbers from texts (decimal texts are rounded
// for integer types, unreadable texts give 0), flags from numbers and "true"/"false",
// texts from UTF-8 bytes, date-times as above. Null input gives the type's default value.
QVariant CoerceValue(QMetaType type, const QVariant& value);

} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::entity {

// A price as the API sends it (decimal text or number) in hundredths; unreadable -> 0.
qint64 PriceFromApi(const QVariant& raw);

// True for integer and floating-point variants (not texts).
bool IsNumericVariant(const QVariant& value);

} // namespace Quorvia::vumo::entity
