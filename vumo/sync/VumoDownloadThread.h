#pragma once
// The listing download: finds the listing numbers page by page (or takes the one number asked
// for) and feeds them to a MultiThreadManager with one or more DownloadOneVumoThread workers.
// run() lasts until the last listing is done, so DownloadVumoStopSignal and finished() both
// mark the end of the whole run.
#include "entity/VumoStatus.h"
#include "sync/VumoDownloadRules.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

#include <memory>
#include <vector>

namespace Quorvia::network::http {
class MultiThreadManager;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class DownloadOneVumoThread;

class VumoDownloadThread : public QThread
{
    Q_OBJECT

public:
    static constexpr int kMaxWorkers = 8;

    // `workers` is bounded to 1..kMaxWorkers.
    // `uid`: the seller whose picture folder receives the pictures.
    explicit VumoDownloadThread(const QString& uid, int workers = 1, QObject* parent = nullptr);
    ~VumoDownloadThread() override; // cancels a run and waits for it

    // A condition whose vumoId is above 0 downloads that one listing, else it searches.
    void SetCondition(const VumoDownloadCondition& condition);
    // Several numbers at once (the command line's --id); no search.
    void SetVumoIds(const QList<qint64>& vumoIds);
    // Time limit of every marketplace call but the picture files (tests shorten it).
    void SetRequestTimeLimit(int ms);
    int WorkerCount() const { return int(m_workers.size()); }

    // Takes no new numbers; the listings under way finish, then the summary comes.
    void Cancel();
    bool IsCancelled() const;

    // Of the last finished run.
    QMap<qint64, QString> Failures() const;
    QList<qint64> Overwritten() const;
    QString Summary() const;
    // The search's error text when a page failed (the listings queued before still ran).
    QString SearchError() const;

signals:
    void OneVumoDownloadFinished(int completed);
    void DownloadVumoStopSignal();
    void DownloadVumoStatusMessageSignal(const QString& text, int showMs);
    void NeedDownloadTotalSignal(qint64 total);
    // Forwarded from the workers; the receiver owns `record`.
    void OnVumoHandleFinishedSignal(Quorvia::vumo::entity::VumoDataEntity* record,
                                    Quorvia::vumo::entity::ENUM_VUMO_STATUS srcStatus, QString srcSellerCats);

protected:
    void run() override;

private:
    // Queues the numbers of every page; false when nothing was queued and the run is over.
    bool queueSearchResults();
    void onOneComplete();
    void onAllComplete();
    void announce(const QString& text, int showMs = 3000);

    std::vector<std::unique_ptr<DownloadOneVumoThread>> m_workers; // outlive the manager
    std::unique_ptr<network::http::MultiThreadManager> m_manager;
    QSemaphore m_runEnded;
    int m_requestTimeoutMs = 60000;

    mutable QMutex m_mutex; // guards everything below
    bool m_stop = false;
    VumoDownloadCondition m_condition;
    QMap<qint64, QString> m_single; // the number asked for, when one was
    QMap<qint64, QString> m_failures;
    QList<qint64> m_overwritten;
    QString m_summary;
    QString m_searchError;
};

} // namespace Quorvia::vumo
