#pragma once
// The simulator's own readers for prices, listing status words and free-text attribute values.
// Written apart from the plug-in's on purpose: a marketplace that reused the client's parsers
// would agree with the client's mistakes instead of catching them.
#include <QString>
#include <QStringList>

namespace Quorvia::marketplace::text {

// "19.99" -> 1999 hundredths; blanks around, a sign, ".5" and "5." are fine; a third decimal
// of 5 or more rounds away from zero, later ones are ignored. "1e3", "", "1.2.3", "١٢" and
// values beyond 64 bits -> false, cents untouched.
bool ParseCents(const QString& text, qint64& cents);

// 1999 -> "19.99", -50 -> "-0.50".
QString FormatCents(qint64 cents);

// The listing status words the marketplace reports: "ON_SALE AUDIT_AWAIT" -> 520, blanks
// between and around the words do not matter; anything else -> -1.
int StatusFromText(const QString& words);

// input_strs: one text per free-text attribute, split at "|", with "{DouHao}", "{MaoHao}" and
// "{JianHao}" back to ",", ":" and "-". Empty input -> no texts.
QStringList SplitFreeTexts(const QString& inputStrs);

} // namespace Quorvia::marketplace::text
