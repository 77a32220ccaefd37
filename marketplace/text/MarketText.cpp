#include "MarketText.h"

#include <QRegularExpression>

namespace Quorvia::marketplace::text {

namespace {

// Only ASCII digits: QRegularExpression's \d would also take other scripts' digits.
const QRegularExpression& MoneyPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    return pattern;
}

// total = total * factor + add, false when that leaves qint64.
bool Grow(qint64& total, qint64 factor, qint64 add)
{
    qint64 scaled = 0;
    return !__builtin_mul_overflow(total, factor, &scaled) && !__builtin_add_overflow(scaled, add, &total);
}

struct StatusWords
{
    const char* words;
    int code;
};

// Sale state 1, 2, 4 or 8; +512 while a review is pending, +1024 after a failed one. Only these
// combinations occur.
const StatusWords kStatuses[] = {
    {"NEVER_UP", 1},
    {"CUSTORMER_DOWN", 2},
    {"SYSTEM_DOWN", 4},
    {"ON_SALE", 8},
    {"NEVER_UP AUDIT_AWAIT", 513},
    {"CUSTORMER_DOWN AUDIT_AWAIT", 514},
    {"SYSTEM_DOWN AUDIT_AWAIT", 516},
    {"ON_SALE AUDIT_AWAIT", 520},
    {"CUSTORMER_DOWN AUDIT_FAIL", 1026},
    {"SYSTEM_DOWN AUDIT_FAIL", 1028},
};

} // namespace

bool ParseCents(const QString& text, qint64& cents)
{
    const QRegularExpressionMatch m = MoneyPattern().match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return false;

    qint64 total = 0;
    for (const QChar c : whole) {
        if (!Grow(total, 10, c.unicode() - u'0'))
            return false;
    }
    // Missing decimals count as zeros: ".5" is fifty hundredths.
    const int tenths = fraction.size() > 0 ? fraction.at(0).unicode() - u'0' : 0;
    const int hundredths = fraction.size() > 1 ? fraction.at(1).unicode() - u'0' : 0;
    if (!Grow(total, 100, tenths * 10 + hundredths))
        return false;
    if (fraction.size() > 2 && fraction.at(2) >= QLatin1Char('5') && !Grow(total, 1, 1))
        return false;
    cents = m.captured(1) == QLatin1String("-") ? -total : total;
    return true;
}

QString FormatCents(qint64 cents)
{
    // Through quint64 so the most negative value has a magnitude.
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    QString out = QString::number(magnitude / 100) + QLatin1Char('.');
    const uint rest = uint(magnitude % 100);
    out += QLatin1Char(char('0' + rest / 10));
    out += QLatin1Char(char('0' + rest % 10));
    return cents < 0 ? QStringLiteral("-") + out : out;
}

int StatusFromText(const QString& words)
{
    const QString normal = words.simplified();
    for (const StatusWords& status : kStatuses) {
        if (normal == QLatin1String(status.words))
            return status.code;
    }
    return -1;
}

QStringList SplitFreeTexts(const QString& inputStrs)
{
    if (inputStrs.isEmpty())
        return {};
    QStringList texts = inputStrs.split(QLatin1Char('|'));
    for (QString& t : texts) {
        t.replace(QLatin1String("{DouHao}"), QLatin1String(","));
        t.replace(QLatin1String("{MaoHao}"), QLatin1String(":"));
        t.replace(QLatin1String("{JianHao}"), QLatin1String("-"));
    }
    return texts;
}

} // namespace Quorvia::marketplace::text
