#include "entity/PropertyValue.h"

#include "utils/Money.h"

#include <QByteArray>
#include <QHash>
#include <QTimeZone>

#include <cmath>
#include <limits>

namespace Quorvia::vumo::entity {

namespace {

const QString kStoredFormat = QStringLiteral("yyyy-MM-ddThh:mm:ss");

// Seconds since the epoch up to this magnitude; larger counts are milliseconds (year 5138).
constexpr qint64 kMaxSeconds = 100000000000LL;

QDateTime FromEpochCount(qint64 count)
{
    if (count > kMaxSeconds || count < -kMaxSeconds)
        return QDateTime::fromMSecsSinceEpoch(count);
    return QDateTime::fromSecsSinceEpoch(count);
}

bool IsNumberType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QString TextOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

// Integer from any value: exact for integer texts, rounded for decimal ones, 0 otherwise.
qint64 IntegerOf(const QVariant& value)
{
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (id == QMetaType::Double || id == QMetaType::Float) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            return 0;
        return qint64(std::llround(d));
    }
    if (IsNumberType(id))
        return value.toLongLong();
    const QString text = TextOf(value).trimmed();
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (ok)
        return n;
    const double d = text.toDouble(&ok);
    if (ok && std::isfinite(d) && std::fabs(d) < 9.2e18)
        return qint64(std::llround(d));
    return 0;
}

int ClampToInt(qint64 n)
{
    if (n > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (n < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(n);
}

bool FlagOf(const QVariant& value)
{
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return value.toBool();
    if (IsNumberType(id))
        return value.toDouble() != 0.0;
    const QString text = TextOf(value).trimmed().toLower();
    if (text == QLatin1String("true"))
        return true;
    if (text.isEmpty() || text == QLatin1String("false"))
        return false;
    return IntegerOf(text) != 0;
}

double RealOf(const QVariant& value)
{
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    bool ok = false;
    const double d = IsNumberType(id) ? value.toDouble(&ok) : TextOf(value).trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

// A local wall time as a date-time. Qt::LocalTime asks the C library, which re-reads the zone
// file for every value while TZ is unset, and a QTimeZone lookup is not much cheaper; a table
// load reads one per row. So the zone's offset is kept per local hour, for hours without a
// transition inside them, and the value is built at that fixed offset (same instant, same
// wall time; DateTimeText writes it back in local time).
QDateTime LocalWallTime(const QDate& date, const QTime& time)
{
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.isValid())
        return QDateTime(date, time);
    thread_local QHash<qint64, int> offsetOfHour;
    const qint64 hourKey = date.toJulianDay() * 24 + time.hour();
    const auto cached = offsetOfHour.constFind(hourKey);
    if (cached != offsetOfHour.cend())
        return QDateTime(date, time, Qt::OffsetFromUTC, cached.value());

    const QDateTime exact(date, time, zone);
    const int offset = exact.offsetFromUtc();
    if (exact.time() == time && QDateTime(date, QTime(time.hour(), 0), zone).offsetFromUtc() == offset
        && QDateTime(date, QTime(time.hour(), 59, 59, 999), zone).offsetFromUtc() == offset) {
        if (offsetOfHour.size() >= 65536) // decades of distinct hours: start over
            offsetOfHour.clear();
        offsetOfHour.insert(hourKey, offset);
    }
    return exact;
}

} // namespace

QString DateTimeText(const QDateTime& dt)
{
    if (!dt.isValid())
        return QStringLiteral("");
    return dt.toLocalTime().toString(kStoredFormat);
}

QDateTime ParseDateTime(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QDateTime();
    const int id = value.metaType().id();
    if (id == QMetaType::QDateTime)
        return value.toDateTime();
    if (id == QMetaType::QDate)
        return value.toDate().startOfDay();
    if (IsNumberType(id))
        return FromEpochCount(IntegerOf(value));

    const QString text = TextOf(value).trimmed();
    if (text.isEmpty())
        return QDateTime();
    bool isCount = false;
    const qint64 count = text.toLongLong(&isCount);
    if (isCount)
        return FromEpochCount(count);

    // Fast path for the stored form "yyyy-MM-ddThh:mm:ss" (or with a blank): a table load
    // reads one per row, and the format parser costs far more than the query.
    if (text.size() == 19 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')
        && (text.at(10) == QLatin1Char('T') || text.at(10) == QLatin1Char(' ')) && text.at(13) == QLatin1Char(':')
        && text.at(16) == QLatin1Char(':')) {
        bool ok[6] = {};
        const int y = QStringView(text).mid(0, 4).toInt(&ok[0]);
        const int mo = QStringView(text).mid(5, 2).toInt(&ok[1]);
        const int d = QStringView(text).mid(8, 2).toInt(&ok[2]);
        const int h = QStringView(text).mid(11, 2).toInt(&ok[3]);
        const int mi = QStringView(text).mid(14, 2).toInt(&ok[4]);
        const int se = QStringView(text).mid(17, 2).toInt(&ok[5]);
        const QDate date(y, mo, d);
        const QTime time(h, mi, se);
        if (ok[0] && ok[1] && ok[2] && ok[3] && ok[4] && ok[5] && date.isValid() && time.isValid())
            return LocalWallTime(date, time);
    }
    static const QStringList formats = {kStoredFormat, QStringLiteral("yyyy-MM-dd hh:mm:ss"),
                                        QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"),
                                        QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd")};
    for (const QString& format : formats) {
        QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    // Zone-qualified ISO texts ("...Z", "+08:00"), shown in local time like the rest.
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    return iso.isValid() ? iso.toLocalTime() : QDateTime();
}

QVariant CoerceValue(QMetaType type, const QVariant& value)
{
    const bool empty = !value.isValid() || value.isNull();
    switch (type.id()) {
    case QMetaType::QString:
        return empty ? QString() : TextOf(value);
    case QMetaType::LongLong:
        return empty ? qint64(0) : IntegerOf(value);
    case QMetaType::Int:
        return empty ? 0 : ClampToInt(IntegerOf(value));
    case QMetaType::Bool:
        return empty ? false : FlagOf(value);
    case QMetaType::Double:
        return empty ? 0.0 : RealOf(value);
    case QMetaType::QDateTime:
        return ParseDateTime(value);
    case QMetaType::QVariant:
        return value;
    default: {
        QVariant copy = value;
        if (!empty && copy.convert(type))
            return copy;
        return QVariant(type);
    }
    }
}

qint64 PriceFromApi(const QVariant& raw)
{
    qint64 cents = 0;
    if (!raw.isValid() || raw.isNull())
        return 0;
    if (!Quorvia::utils::ParseMoney(TextOf(raw), cents))
        return 0;
    return cents;
}

bool IsNumericVariant(const QVariant& value)
{
    return IsNumberType(value.metaType().id());
}

} // namespace Quorvia::vumo::entity
