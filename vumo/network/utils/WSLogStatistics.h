#pragma once
// The usage-count report to the workbench's platform server, signed as a server request.
#include "network/request/PopServerRequestImpl.h"

#include <QList>

namespace Quorvia::network::request {

struct LogStatisticsEntry
{
    qint64 categoryId = 0;
    qint64 operationId = 0;
    qint64 times = 1;
};

class WSLogStatistics : public PopServerRequestImpl
{
    Q_OBJECT

public:
    using PopServerRequestImpl::PopServerRequestImpl;

    void SetAssistId(const QString& assistId) { m_assistId = assistId; }
    void SetEntries(const QList<LogStatisticsEntry>& entries) { m_entries = entries; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("quorvia.log.statistics"); }
    QByteArray GetParamJson() override;
    QString GetUrl() const override;
    bool OnResponse(http::HTTP_RETURN_STATE state, const http::HTTP_RETURN_RESULT& result) override;

signals:
    void ReportFinishedSignal(bool ok);

private:
    QString m_assistId;
    QList<LogStatisticsEntry> m_entries;
};

} // namespace Quorvia::network::request
