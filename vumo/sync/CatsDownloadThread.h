#pragma once
// The category download by change package: asks the workbench's API server ("serverurl") for
// what changed since the stored category version (0 for a full refresh), reads and checks the
// whole package, writes it in one transaction, stores the new version, then refreshes the
// shop categories. A failure or cancel leaves the store and the stored version as they were.
#include "sync/CatsSyncWorker.h"

namespace Quorvia::network::http {
class SyncHttpRequest;
}

namespace Quorvia::vumo::sync {

class CatsDownloadThread final : public CatsSyncWorker
{
    Q_OBJECT
public:
    static constexpr int PackageTimeoutMs = 3600000;
    // A full package can pass the transport's cap for ordinary calls; this download alone may
    // take up to this much.
    static constexpr qint64 MaxPackageBytes = 1024LL * 1024 * 1024;

    CatsDownloadThread(const QString& uid, qint64 venderId, QObject* parent = nullptr);
    ~CatsDownloadThread() override;

    // Set by the starter before each start; a full refresh asks for version 0 and replaces
    // every category table.
    void SetFullRefresh(bool full) { m_fullRefresh = full; }
    bool FullRefresh() const { return m_fullRefresh; }

    // The package request's parameter text for a version.
    static QByteArray PackageParamJson(qint64 venderId, qint64 version);

public slots:
    // Transferred bytes as percent 1 to 20; a stop asked meanwhile ends the transfer.
    void OnDownloadProgress(qint64 nCureent, qint64 ntotal);

    int SavingPercent() const override;

protected:
    void run() override;

private:
    std::atomic<bool> m_fullRefresh{true};
    Quorvia::network::http::SyncHttpRequest* m_http = nullptr; // run thread only
};

} // namespace Quorvia::vumo::sync
