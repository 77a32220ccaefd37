#pragma once
// What the two category downloads share: percent progress, the all-or-nothing write of the
// gathered category records, and the refresh of the seller's shop categories at the end.
// A run comes to one item: succeeded, failed (LastError() says why) or cancelled.
#include "database/CategoryRows.h"
#include "utils/VumoWorker.h"

#include <QDateTime>
#include <QString>

#include <atomic>

namespace Quorvia::vumo::sync {

class CatsSyncWorker : public Quorvia::utils::VumoWorker
{
    Q_OBJECT
public:
    static constexpr int ShopCatsTimeoutMs = 180000;

    // `uid`: the seller whose "vumo.ini" keeps the category version; `venderId` names the
    // seller to the package server.
    CatsSyncWorker(const QString& uid, qint64 venderId, QObject* parent = nullptr);

    // From this percent on the run writes what it gathered.
    virtual int SavingPercent() const = 0;

    // Whether the run was started by the daily automatic update (only the starter reads it).
    void SetAutomatic(bool automatic) { m_automatic = automatic; }
    bool IsAutomatic() const { return m_automatic; }

signals:
    // Progress in percent, 0 to 100; ProgressSignal(percent, 100) goes with it.
    void SetValue(int percent);

protected:
    QString Uid() const { return m_uid; }
    qint64 VenderId() const { return m_venderId; }
    void SetPercent(int percent);
    // At the start of each run: its first percent is always sent.
    void ResetPercent() { m_lastPercent = -1; }
    // The store takes the records in one transaction, progress between `from` and `to`
    // percent. False when it failed (the error is set) or was cancelled.
    bool ApplyRecords(const QVector<database::CategoryRecordRows>& records, bool replaceAll, int from, int to);
    // Replaces the seller's shop categories with the marketplace's in one store operation.
    bool RefreshShopCategories();
    void Fail(const QString& error);

private:
    const QString m_uid;
    const qint64 m_venderId;
    int m_lastPercent = -1; // run thread only
    std::atomic<bool> m_automatic{false};
};

// The automatic update runs at most once per server day: not when the last finished update
// (invalid: none yet) fell on the server's today.
bool AutomaticCategoryUpdateDue(const QDateTime& lastUpdate, const QDateTime& serverNow);

} // namespace Quorvia::vumo::sync
