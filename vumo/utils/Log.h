#pragma once
// The plug-in's four named loggers and the source-position prefix "%1[%2] %3 ".
#include <QFileInfo>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcVumo)   // "vumo": listing operations
Q_DECLARE_LOGGING_CATEGORY(lcContol) // "contol": network details and source positions
Q_DECLARE_LOGGING_CATEGORY(lcMain)   // "main": API errors
Q_DECLARE_LOGGING_CATEGORY(lcTrade)  // "trade": start-up checks, entity layer, picture upload

namespace Quorvia::utils {

// "VumoDb.cpp[120] SaveVumo "
inline QString SourcePrefix(const char* file, int line, const char* function)
{
    return QStringLiteral("%1[%2] %3 ")
        .arg(QFileInfo(QString::fromUtf8(file)).fileName(), QString::number(line), QString::fromUtf8(function));
}

} // namespace Quorvia::utils

#define VUMO_SRC_POS ::Quorvia::utils::SourcePrefix(__FILE__, __LINE__, __FUNCTION__)
