#pragma once
// The one way text goes into an SQL statement built from "%1" templates.
#include <QString>

namespace Quorvia::utils {

// Doubles every single quote: "it's" -> "it''s". The caller writes the surrounding quotes.
inline QString SqlText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

} // namespace Quorvia::utils
