#pragma once
// Deletes listings off the GUI thread, one at a time: for for-sale listings first on the
// marketplace at the address book's open-API gateway (one blocking call each, 180000 ms), then
// in the store (permanently or into the recycle bin). A failing listing is counted and the loop
// goes on; Stop() ends the loop before the next listing and keeps what was done.
#include "database/VumoListStruct.h"
#include "plugin/VumoCommandRules.h"
#include "utils/VumoWorker.h"

#include <QList>

namespace Quorvia::vumo {

class VumoDeleteThread : public Quorvia::utils::VumoWorker
{
    Q_OBJECT
public:
    static constexpr int OnlineDeleteTimeoutMs = 180000;

    // Total() is the number of rows from the start.
    VumoDeleteThread(const VumoDeletePlan& plan, const QList<VUMO_LIST_STRUCT>& rows, QObject* parent = nullptr);
    ~VumoDeleteThread() override;

signals:
    // A listing left its class: its row goes, its count moves (VumoDeletePlan::TargetClass).
    // Emitted before the ProgressSignal that counts it.
    void OneVumoDeletedSignal(const VUMO_LIST_STRUCT& row);

protected:
    void run() override;

private:
    // True when the listing is gone from its class; otherwise `error` says why.
    bool deleteOne(const VUMO_LIST_STRUCT& row, QString& error);

    const VumoDeletePlan m_plan;
    const QList<VUMO_LIST_STRUCT> m_rows;
};

} // namespace Quorvia::vumo
