#include "network/utils/WSLogStatistics.h"

#include "network/config/NetworkConfig.h"

#include <QStringList>

namespace Quorvia::network::request {

QByteArray WSLogStatistics::GetParamJson()
{
    QStringList items;
    for (const LogStatisticsEntry& entry : m_entries) {
        items << QStringLiteral("{\"%1\":%2,\"%3\":%4,\"%5\":%6}")
                     .arg(QStringLiteral("categoryId"), QString::number(entry.categoryId),
                          QStringLiteral("operationId"), QString::number(entry.operationId), QStringLiteral("times"),
                          QString::number(entry.times));
    }
    return QStringLiteral("{\"assistId\":\"%1\",\"logStatistics\":[%2]}")
        .arg(m_assistId, items.join(QLatin1Char(',')))
        .toUtf8();
}

QString WSLogStatistics::GetUrl() const
{
    return config::NetworkConfig::Instance()->GetPlatformUrl();
}

bool WSLogStatistics::OnResponse(http::HTTP_RETURN_STATE, const http::HTTP_RETURN_RESULT& result)
{
    // Failures are logged by the check and go no further.
    QVariant parsed;
    const bool ok = CheckResultError(result, parsed);
    emit ReportFinishedSignal(ok);
    return ok;
}

} // namespace Quorvia::network::request
