#pragma once
// Prices are kept as 64-bit integers in hundredths of the currency unit.
#include <QString>

namespace Quorvia::utils {

// Decimal text to hundredths, exactly (no floating point): an optional sign, digits, an
// optional "." with digits, blanks around trimmed; rounded half away from zero.
//   "19.99" -> 1999, "0.005" -> 1, "-0.005" -> -1, "5." -> 500, ".5" -> 50
//   "1e3", "abc", "", "1.2.3", a value beyond 64 bits -> false (cents untouched)
bool ParseMoney(const QString& text, qint64& cents);

// Hundredths to text with two decimals: 1999 -> "19.99", -50 -> "-0.50".
QString FormatMoney(qint64 cents);

} // namespace Quorvia::utils
