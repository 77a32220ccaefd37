#pragma once
// Fire-and-forget tracking hit per user action: one GET to the tracking server through the
// task manager. Failures are only logged.
#include "network/http/HttpReturn.h"

#include <QObject>
#include <QString>

class QNetworkReply;

namespace Quorvia::utils {

class DotLog : public QObject
{
    Q_OBJECT

public:
    explicit DotLog(QObject* parent = nullptr);
    ~DotLog() override;

    // Sends one hit; the object may be destroyed before the answer (it is then ignored).
    void SendDotLog(const QString& level1, const QString& level2, qint64 catId, const QString& bizId);
    // A hit with no object to keep: the sender deletes itself after the answer.
    static void Send(const QString& level1, const QString& level2, qint64 catId, const QString& bizId);

    // The hit's address; arguments are percent-encoded so they cannot break the query.
    static QString HitUrl(const QString& base, qint64 venderId, const QString& level1, const QString& level2,
                          qint64 catId, const QString& bizId, qint64 serverSeconds);

public slots:
    void OnReplyFinished(QNetworkReply* reply);
    void DotLogResult(Quorvia::network::http::HTTP_RETURN_STATE state,
                      const Quorvia::network::http::HTTP_RETURN_RESULT& result);

signals:
    void DotLogFinishedSignal();
};

} // namespace Quorvia::utils
