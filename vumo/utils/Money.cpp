#include "utils/Money.h"

#include <limits>

namespace Quorvia::utils {

namespace {

// magnitude = magnitude * 10 + digit, false on overflow of qint64.
bool PushDigit(qint64& magnitude, int digit)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    if (magnitude > (kMax - digit) / 10)
        return false;
    magnitude = magnitude * 10 + digit;
    return true;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool ParseMoney(const QString& text, qint64& cents)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))) {
        negative = t.at(i) == QLatin1Char('-');
        ++i;
    }

    qint64 magnitude = 0;
    int digits = 0;
    for (; i < t.size() && IsDigit(t.at(i)); ++i, ++digits) {
        if (!PushDigit(magnitude, t.at(i).digitValue()))
            return false;
    }

    int fraction[3] = {0, 0, 0};
    if (i < t.size() && t.at(i) == QLatin1Char('.')) {
        ++i;
        for (int f = 0; i < t.size() && IsDigit(t.at(i)); ++i, ++f, ++digits) {
            if (f < 3)
                fraction[f] = t.at(i).digitValue();
        }
    }
    if (digits == 0 || i != t.size())
        return false;

    if (!PushDigit(magnitude, fraction[0]) || !PushDigit(magnitude, fraction[1]))
        return false;
    // Later digits only add to the remainder, so the third one alone decides.
    if (fraction[2] >= 5) {
        if (magnitude == std::numeric_limits<qint64>::max())
            return false;
        ++magnitude;
    }
    cents = negative ? -magnitude : magnitude;
    return true;
}

QString FormatMoney(qint64 cents)
{
    // Unsigned magnitude so the most negative value does not overflow.
    const quint64 magnitude = cents < 0 ? quint64(0) - quint64(cents) : quint64(cents);
    const QString units = QString::number(magnitude / 100);
    const QString hundredths = QStringLiteral("%1").arg(uint(magnitude % 100), 2, 10, QLatin1Char('0'));
    return (cents < 0 ? QStringLiteral("-") : QString()) + units + QLatin1Char('.') + hundredths;
}

} // namespace Quorvia::utils
