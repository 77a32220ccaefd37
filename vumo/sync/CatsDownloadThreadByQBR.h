#pragma once
// The category download through the listing API, one call after another: the categories, then
// for each valid leaf its attributes, their values (the brand's own call, which also brings
// the seller's own brands), and its groups. Everything gathered is then written in place of
// what the store holds, in one transaction, and the shop categories are refreshed. It leaves
// the store as a full package would.
#include "sync/CatsSyncWorker.h"

namespace Quorvia::vumo::sync {

class CatsDownloadThreadByQBR final : public CatsSyncWorker
{
    Q_OBJECT
public:
    static constexpr int CallTimeoutMs = 60000;

    CatsDownloadThreadByQBR(const QString& uid, qint64 venderId, QObject* parent = nullptr);
    ~CatsDownloadThreadByQBR() override;

    int SavingPercent() const override;

protected:
    void run() override;

private:
    // Attributes, values and groups of one leaf into its record; false with the error set.
    bool fetchLeaf(database::CategoryRecordRows& record);
};

} // namespace Quorvia::vumo::sync
