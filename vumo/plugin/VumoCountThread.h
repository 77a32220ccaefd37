#pragma once
// Counts the listings of every tree node in the background. The counts are read on this
// thread's own store connection and reach the tree through queued signals; the tree is never
// touched from here (the thread works on a copy of its category nodes). Each node counted is
// one item of the worker's counters; a query that fails counts as failed.
#include "plugin/VumoClassRules.h"
#include "utils/VumoWorker.h"

#include <QVector>

#include <memory>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

class VumoCountThread : public Quorvia::utils::VumoWorker
{
    Q_OBJECT
public:
    // `classes` is the tree's class map; the store defaults to VumoDBMgr's listing store.
    explicit VumoCountThread(const VumoClassMap& classes, QObject* parent = nullptr);
    ~VumoCountThread() override;

    void SetStore(std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> store);
    // The shop-category nodes to count under classes 2 and 3 (top and child keys, in tree
    // order). Set before start().
    void SetCategoryNodes(const QVector<VumoCategoryKey>& nodes);
    // Whether class 6 (search results) is counted; off by default.
    void SetCountSearch(bool countSearch);

    // Stop() asks a running count to leave before its next query. StartCount() clears the
    // stop flag, then starts (VumoWorker::Start).
    void StartCount(QThread::Priority priority = QThread::InheritPriority);

signals:
    // Class total (class node markers 1 and 2).
    void classificationCountSignal(VUMO_CLASS node, int count);
    // Any node: (node, nParentCid, nCid, count). The node value carries the full 64-bit ids.
    void classificationCountSignal(VUMO_CLASS node, int parentCid, int cid, int count);

protected:
    void run() override;

private:
    // False when stopped.
    bool countOne(Quorvia::vumo::database::VumoDbInterface& store, const VUMO_CLASS& node);

    const VumoClassMap m_classes;
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> m_store;
    QVector<VumoCategoryKey> m_categoryNodes;
    bool m_countSearch = false;
};

} // namespace Quorvia::vumo
