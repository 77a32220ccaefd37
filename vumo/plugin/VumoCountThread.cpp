#include "plugin/VumoCountThread.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "utils/Log.h"

#include <limits>

namespace Quorvia::vumo {

using Quorvia::vumo::database::VumoDbInterface;

VumoCountThread::VumoCountThread(const VumoClassMap& classes, QObject* parent)
    : VumoWorker(parent)
    , m_classes(classes)
{
    RegisterVumoClassMetaType();
}

VumoCountThread::~VumoCountThread()
{
    // Here, not only in the base: run() reads this class's members, which go before the
    // base's destructor would wait.
    Stop();
    wait();
}

void VumoCountThread::SetStore(std::shared_ptr<VumoDbInterface> store)
{
    m_store = std::move(store);
}

void VumoCountThread::SetCategoryNodes(const QVector<VumoCategoryKey>& nodes)
{
    m_categoryNodes = nodes;
}

void VumoCountThread::SetCountSearch(bool countSearch)
{
    m_countSearch = countSearch;
}

void VumoCountThread::StartCount(QThread::Priority priority)
{
    Start(priority);
}

bool VumoCountThread::countOne(VumoDbInterface& store, const VUMO_CLASS& node)
{
    if (LeaveIfStopped())
        return false;
    const QString condition = VumoNodeCondition(node);
    qint64 count = 0;
    if (condition.isEmpty() || !store.CountVumos(condition, count)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "count failed for class" << node.classType;
        ItemFailed(QStringLiteral("count failed for class %1").arg(node.classType));
        return true; // the node keeps its last count; go on with the next one
    }
    VUMO_CLASS result = node;
    result.count = int(qBound(qint64(0), count, qint64(std::numeric_limits<int>::max())));
    if (node.nodeKind == VUMO_CLASS::NodeClass)
        emit classificationCountSignal(result, result.count);
    emit classificationCountSignal(result, int(result.nParentCid), int(result.nCid), result.count);
    ItemSucceeded();
    return true;
}

void VumoCountThread::run()
{
    std::shared_ptr<VumoDbInterface> store = m_store;
    if (!store)
        store = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();
    if (!store) {
        SetLastError(QStringLiteral("no listing store to count in"));
        return;
    }

    // The nodes in tree order; the total is known before the first query.
    QVector<VUMO_CLASS> nodes;
    for (auto it = m_classes.cbegin(); it != m_classes.cend(); ++it) {
        const int vumoClass = it.key();
        if (vumoClass == VumoClassSearch && !m_countSearch)
            continue;
        nodes << VumoClassNode(vumoClass);
        if (!VumoClassHasShopCategories(vumoClass))
            continue;
        nodes << VumoNoCategoryNode(vumoClass);
        for (const VumoCategoryKey& key : m_categoryNodes) {
            nodes << (key.nodeKind == VUMO_CLASS::NodeSubCategory
                          ? VumoSubCategoryNode(vumoClass, key.parentCid, key.cid)
                          : VumoTopCategoryNode(vumoClass, key.cid));
        }
    }
    SetTotal(int(nodes.size()));
    for (const VUMO_CLASS& node : std::as_const(nodes)) {
        if (!countOne(*store, node))
            return;
    }
}

} // namespace Quorvia::vumo
