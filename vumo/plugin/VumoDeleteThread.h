#pragma once
// Deletes listings off the GUI thread, one at a time: for for-sale listings first on the
// marketplace (one blocking call each, 180000 ms), then in the store (permanently or into the
// recycle bin). A failing listing is counted and the loop goes on; Stop() ends the loop
// before the next listing and keeps what was done.
#include "database/VumoListStruct.h"
#include "plugin/VumoCommandRules.h"

#include <QList>
#include <QMutex>
#include <QThread>

namespace Quorvia::vumo {

class VumoDeleteThread : public QThread
{
    Q_OBJECT
public:
    static constexpr int OnlineDeleteTimeoutMs = 180000;

    VumoDeleteThread(const VumoDeletePlan& plan, const QList<VUMO_LIST_STRUCT>& rows, QObject* parent = nullptr);
    ~VumoDeleteThread() override;

    // Another gateway than the address book's (a local simulator); empty: the address book's.
    void SetGatewayUrl(const QString& url) { m_gatewayUrl = url; }

    void Stop();
    bool IsStopped() const;

    // Valid once the thread has finished.
    int Done() const { return m_done; }
    int Succeeded() const { return m_succeeded; }
    int Failed() const { return m_failed; }
    bool Cancelled() const { return m_cancelled; }
    int Total() const { return int(m_rows.size()); }

signals:
    // A listing left its class: its row goes, its count moves (VumoDeletePlan::TargetClass).
    void OneVumoDeletedSignal(const VUMO_LIST_STRUCT& row);
    // After each listing: how many are done so far.
    void DeleteProgressSignal(int done);

protected:
    void run() override;

private:
    // True when the listing is gone from its class.
    bool deleteOne(const VUMO_LIST_STRUCT& row);

    const VumoDeletePlan m_plan;
    const QList<VUMO_LIST_STRUCT> m_rows;
    QString m_gatewayUrl;
    mutable QMutex m_mutex;
    bool m_stop = false;
    int m_done = 0;
    int m_succeeded = 0;
    int m_failed = 0;
    bool m_cancelled = false;
};

} // namespace Quorvia::vumo
