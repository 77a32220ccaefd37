#include "plugin/VumoCountThread.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "utils/Log.h"

#include <QMutexLocker>

#include <limits>

namespace Quorvia::vumo {

using Quorvia::vumo::database::VumoDbInterface;

VumoCountThread::VumoCountThread(const VumoClassMap& classes, QObject* parent)
    : QThread(parent)
    , m_classes(classes)
{
    RegisterVumoClassMetaType();
}

VumoCountThread::~VumoCountThread()
{
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

void VumoCountThread::Stop()
{
    QMutexLocker lock(&m_stopMutex);
    m_stop = true;
}

bool VumoCountThread::IsStopped() const
{
    QMutexLocker lock(&m_stopMutex);
    return m_stop;
}

void VumoCountThread::StartCount(QThread::Priority priority)
{
    {
        QMutexLocker lock(&m_stopMutex);
        m_stop = false;
    }
    start(priority);
}

bool VumoCountThread::countOne(VumoDbInterface& store, const VUMO_CLASS& node)
{
    if (IsStopped())
        return false;
    const QString condition = VumoNodeCondition(node);
    qint64 count = 0;
    if (condition.isEmpty() || !store.CountVumos(condition, count)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "count failed for class" << node.classType;
        return true; // the node keeps its last count; go on with the next one
    }
    VUMO_CLASS result = node;
    result.count = int(qBound(qint64(0), count, qint64(std::numeric_limits<int>::max())));
    if (node.nodeKind == VUMO_CLASS::NodeClass)
        emit classificationCountSignal(result, result.count);
    emit classificationCountSignal(result, int(result.nParentCid), int(result.nCid), result.count);
    return true;
}

void VumoCountThread::run()
{
    std::shared_ptr<VumoDbInterface> store = m_store;
    if (!store)
        store = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();

    for (auto it = m_classes.cbegin(); it != m_classes.cend(); ++it) {
        const int vumoClass = it.key();
        if (vumoClass == VumoClassSearch && !m_countSearch)
            continue;
        if (!countOne(*store, VumoClassNode(vumoClass)))
            return;
        if (!VumoClassHasShopCategories(vumoClass))
            continue;
        if (!countOne(*store, VumoNoCategoryNode(vumoClass)))
            return;
        for (const VumoCategoryKey& key : m_categoryNodes) {
            const VUMO_CLASS node = key.nodeKind == VUMO_CLASS::NodeSubCategory
                                        ? VumoSubCategoryNode(vumoClass, key.parentCid, key.cid)
                                        : VumoTopCategoryNode(vumoClass, key.cid);
            if (!countOne(*store, node))
                return;
        }
    }
}

} // namespace Quorvia::vumo
