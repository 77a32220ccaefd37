#pragma once
// The host's message handler: one line per message with time, level and category, to the day's
// log file under the data root and to standard error.
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcWorkbench)

namespace Quorvia::workbench {

// Opens <home>/logs/quorvia-yyyyMMdd.log (the file follows the date) and installs the handler.
void InstallMessageLog(const QString& home);

// The rules of the [Rules] section of a qtlogging.ini text, one per line, ready for
// QLoggingCategory::setFilterRules. Comments and other sections are left out.
QString LoggingRulesFromIni(const QString& text);

// A failure the seller must see: logged as critical, and written to standard error even when
// the logging rules silence this category.
void ReportError(const QString& message);

// Applies <home>/config/qtlogging.ini when it exists.
void ApplyLoggingRules(const QString& home);

} // namespace Quorvia::workbench
