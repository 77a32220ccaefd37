#include "plugin/VumoClassification.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/SellerCatsEntity.h"
#include "plugin/VumoCountThread.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "utils/Log.h"

#include <QHash>
#include <QHeaderView>

namespace Quorvia::vumo {

using Quorvia::vumo::database::VumoDbInterface;
using Quorvia::vumo::entity::SellerCatsEntity;

namespace {

constexpr int kValueRole = Qt::UserRole;
// The node's name alone: category names may hold "(" themselves, so the name is never cut
// back out of the shown text.
constexpr int kNameRole = Qt::UserRole + 1;

const char* const kNoCategoryText = "未分配店内分类";

VUMO_CLASS valueOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kValueRole).value<VUMO_CLASS>() : VUMO_CLASS();
}

bool isListingNode(const VUMO_CLASS& value)
{
    return value.nodeKind != VUMO_CLASS::NodeNone && value.nodeKind != VUMO_CLASS::NodeShop;
}

QTreeWidgetItem* makeItem(QTreeWidgetItem* parent, const QString& name, const VUMO_CLASS& value)
{
    auto* item = new QTreeWidgetItem(parent);
    item->setData(0, kNameRole, name);
    item->setData(0, kValueRole, QVariant::fromValue(value));
    item->setText(0, VumoNodeText(name, value.count));
    return item;
}

QString shopName()
{
    const QString shop = Quorvia::utils::AppShareHelp::instance()->GetShopName();
    return shop.isEmpty() ? QStringLiteral("Yv商城-【店铺名称】") : shop;
}

// Node -> signed change, so a listing that stays in a node costs nothing and never trips the
// guard on the way.
struct NodeDeltas
{
    QList<QPair<VUMO_CLASS, int>> entries;

    void add(const VUMO_CLASS& node, int delta)
    {
        for (auto& entry : entries) {
            if (entry.first.sameNode(node)) {
                entry.second += delta;
                return;
            }
        }
        entries.append({node, delta});
    }
};

VUMO_CLASS nodeOfKey(int vumoClass, const VumoCategoryKey& key)
{
    switch (key.nodeKind) {
    case VUMO_CLASS::NodeTopCategory:
        return VumoTopCategoryNode(vumoClass, key.cid);
    case VUMO_CLASS::NodeSubCategory:
        return VumoSubCategoryNode(vumoClass, key.parentCid, key.cid);
    case VUMO_CLASS::NodeNoCategory:
        return VumoNoCategoryNode(vumoClass);
    default:
        return VUMO_CLASS();
    }
}

void addListing(NodeDeltas& deltas, int vumoClass, const QString& shopCategorys, int delta)
{
    if (vumoClass == VumoClassNone)
        return;
    deltas.add(VumoClassNode(vumoClass), delta);
    if (!VumoClassHasShopCategories(vumoClass))
        return;
    for (const VumoCategoryKey& key : VumoShopCategoryKeys(shopCategorys))
        deltas.add(nodeOfKey(vumoClass, key), delta);
}

} // namespace

VumoClassification::VumoClassification(QWidget* parent)
    : QTreeWidget(parent)
    , m_classes(VumoClassStatusMap())
{
    RegisterVumoClassMetaType();
    setHeaderHidden(true);
    setColumnCount(1);
    setObjectName(QStringLiteral("m_vumoTree"));

    m_countThread = new VumoCountThread(m_classes, this);
    connect(m_countThread, qOverload<VUMO_CLASS, int, int, int>(&VumoCountThread::classificationCountSignal), this,
            &VumoClassification::setVumoClassificationCount, Qt::QueuedConnection);
    connect(m_countThread, &QThread::finished, this, &VumoClassification::CountFinishedSignal, Qt::QueuedConnection);
    connect(this, &QTreeWidget::currentItemChanged, this, &VumoClassification::OnCurrentItemChanged);

    // The class nodes are there from the start; categories and counts come with Refill.
    const QSignalBlocker blocker(this);
    m_shopItem = new QTreeWidgetItem(this);
    m_shopItem->setData(0, kNameRole, shopName());
    VUMO_CLASS shop;
    shop.nodeKind = VUMO_CLASS::NodeShop;
    m_shopItem->setData(0, kValueRole, QVariant::fromValue(shop));
    m_shopItem->setFlags(Qt::ItemIsEnabled);
    for (auto it = m_classes.cbegin(); it != m_classes.cend(); ++it)
        makeItem(m_shopItem, VumoClassNodeText(it.key()), VumoClassNode(it.key()));
    updateShopTotal();
    expandAll();
    setCurrentItem(ClassItem(VumoClassLocal));
    m_lastClass = VumoClassLocal;
}

VumoClassification::~VumoClassification()
{
    m_countThread->Stop();
    m_countThread->wait();
}

void VumoClassification::Refill()
{
    if (m_countThread->isRunning()) {
        m_countThread->Stop();
        m_countThread->wait();
    }

    const std::shared_ptr<VumoDbInterface> store = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();

    const VUMO_CLASS previous = CurrentNode();
    {
        const QSignalBlocker blocker(this);
        for (int i = m_shopItem->childCount() - 1; i >= 0; --i)
            delete m_shopItem->takeChild(i);
        m_shopItem->setData(0, kNameRole, shopName());

        // Top categories in their stored order, each followed by its children.
        QList<SellerCatsEntity*> list;
        QMap<qint64, SellerCatsEntity*> map;
        if (!store->GetSellerCategories(list, map)) {
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "shop categories not readable";
            qDeleteAll(list);
            list.clear();
        }
        m_categoryKeys.clear();
        QList<QPair<VumoCategoryKey, QString>> categories;
        for (const SellerCatsEntity* top : qAsConst(list)) {
            if (top->parent_id() != 0)
                continue;
            const VumoCategoryKey topKey{VUMO_CLASS::NodeTopCategory, 2, top->cid()};
            categories.append({topKey, top->name()});
            for (const SellerCatsEntity* child : qAsConst(list)) {
                if (child->parent_id() == top->cid() && child->cid() != top->cid())
                    categories.append({{VUMO_CLASS::NodeSubCategory, top->cid(), child->cid()}, child->name()});
            }
        }
        qDeleteAll(list);
        for (const auto& entry : qAsConst(categories))
            m_categoryKeys.append(entry.first);

        for (auto it = m_classes.cbegin(); it != m_classes.cend(); ++it) {
            const int vumoClass = it.key();
            QTreeWidgetItem* classItem = makeItem(m_shopItem, VumoClassNodeText(vumoClass), VumoClassNode(vumoClass));
            if (!VumoClassHasShopCategories(vumoClass))
                continue;
            QHash<qint64, QTreeWidgetItem*> tops;
            for (const auto& entry : qAsConst(categories)) {
                const VumoCategoryKey& key = entry.first;
                if (key.nodeKind == VUMO_CLASS::NodeTopCategory)
                    tops.insert(key.cid, makeItem(classItem, entry.second, nodeOfKey(vumoClass, key)));
                else if (QTreeWidgetItem* topItem = tops.value(key.parentCid))
                    makeItem(topItem, entry.second, nodeOfKey(vumoClass, key));
            }
            makeItem(classItem, QString::fromUtf8(kNoCategoryText), VumoNoCategoryNode(vumoClass));
        }
        updateShopTotal();
        expandAll();

        QTreeWidgetItem* current = isListingNode(previous) ? FindNode(previous) : nullptr;
        if (!current)
            current = ClassItem(VumoClassLocal);
        setCurrentItem(current);
        m_lastClass = valueOf(current).classType;
    }
    if (!CurrentNode().sameNode(previous))
        emit ClassificationChangedSignal();

    m_countThread->SetStore(store);
    m_countThread->SetCategoryNodes(m_categoryKeys);
    m_countThread->SetCountSearch(m_countSearch);
    m_countThread->StartCount(QThread::InheritPriority);
}

int VumoClassification::CurrentClass() const
{
    const VUMO_CLASS value = valueOf(currentItem());
    return isListingNode(value) ? value.classType : m_lastClass;
}

VUMO_CLASS VumoClassification::CurrentNode() const
{
    const VUMO_CLASS value = valueOf(currentItem());
    if (isListingNode(value))
        return value;
    if (QTreeWidgetItem* item = ClassItem(m_lastClass))
        return valueOf(item);
    return VUMO_CLASS();
}

void VumoClassification::SetCurrentClass(int vumoClass)
{
    if (QTreeWidgetItem* item = ClassItem(vumoClass))
        setCurrentItem(item);
}

int VumoClassification::ClassOfStatus(int status) const
{
    return Quorvia::vumo::ClassOfStatus(status, CurrentClass());
}

bool VumoClassification::NodeShowsClass(int vumoClass, const QString& shopCategorys) const
{
    return VumoNodeShowsClass(CurrentNode(), vumoClass, shopCategorys);
}

void VumoClassification::MoveCount(int fromClass, int toClass, const QString& srcShopCats, const QString& dstShopCats)
{
    NodeDeltas deltas;
    addListing(deltas, fromClass, srcShopCats, -1);
    addListing(deltas, toClass, dstShopCats, +1);
    for (const auto& entry : qAsConst(deltas.entries)) {
        if (entry.second != 0)
            addToNode(FindNode(entry.first), entry.second);
    }
    updateShopTotal();
}

void VumoClassification::AddCount(int fromClass, int toClass, int n)
{
    if (n <= 0 || fromClass == toClass)
        return;
    if (fromClass != VumoClassNone)
        addToNode(ClassItem(fromClass), -n);
    if (toClass != VumoClassNone)
        addToNode(ClassItem(toClass), n);
    updateShopTotal();
}

void VumoClassification::SetClassCount(int vumoClass, int count)
{
    if (QTreeWidgetItem* item = ClassItem(vumoClass)) {
        setNodeCount(item, qMax(0, count));
        updateShopTotal();
    }
}

QString VumoClassification::ConditionOfNode() const
{
    return VumoNodeCondition(CurrentNode());
}

void VumoClassification::SetCountSearch(bool countSearch)
{
    m_countSearch = countSearch;
}

int VumoClassification::NodeCount(const VUMO_CLASS& node) const
{
    const QTreeWidgetItem* item = FindNode(node);
    return item ? valueOf(item).count : -1;
}

QTreeWidgetItem* VumoClassification::ClassItem(int vumoClass) const
{
    for (int i = 0; i < m_shopItem->childCount(); ++i) {
        QTreeWidgetItem* item = m_shopItem->child(i);
        if (valueOf(item).classType == vumoClass)
            return item;
    }
    return nullptr;
}

QTreeWidgetItem* VumoClassification::FindNode(const VUMO_CLASS& node) const
{
    QTreeWidgetItem* classItem = ClassItem(node.classType);
    if (!classItem || node.nodeKind == VUMO_CLASS::NodeClass)
        return node.nodeKind == VUMO_CLASS::NodeClass ? classItem : nullptr;
    for (int i = 0; i < classItem->childCount(); ++i) {
        QTreeWidgetItem* item = classItem->child(i);
        if (valueOf(item).sameNode(node))
            return item;
        for (int j = 0; j < item->childCount(); ++j) {
            if (valueOf(item->child(j)).sameNode(node))
                return item->child(j);
        }
    }
    return nullptr;
}

void VumoClassification::setVumoClassificationCount(VUMO_CLASS node, int parentCid, int cid, int count)
{
    Q_UNUSED(parentCid)
    Q_UNUSED(cid)
    // The node value carries the full 64-bit ids; the int arguments may be cut short.
    if (QTreeWidgetItem* item = FindNode(node)) {
        setNodeCount(item, qMax(0, count));
        if (node.nodeKind == VUMO_CLASS::NodeClass)
            updateShopTotal();
    }
}

void VumoClassification::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    Q_UNUSED(previous)
    const VUMO_CLASS value = valueOf(current);
    if (!isListingNode(value))
        return;
    m_lastClass = value.classType;
    emit ClassificationChangedSignal();
}

bool VumoClassification::addToNode(QTreeWidgetItem* item, int delta)
{
    if (!item)
        return false;
    int result = 0;
    if (!VumoApplyCountDelta(valueOf(item).count, delta, &result)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("商品类别计数错误！");
        qCWarning(lcContol).noquote()
            << QStringLiteral("%1[%2]").arg(QStringLiteral("VumoClassification")).arg(__LINE__);
        return false;
    }
    setNodeCount(item, result);
    return true;
}

void VumoClassification::setNodeCount(QTreeWidgetItem* item, int count)
{
    VUMO_CLASS value = valueOf(item);
    value.count = count;
    item->setData(0, kValueRole, QVariant::fromValue(value));
    item->setText(0, VumoNodeText(item->data(0, kNameRole).toString(), count));
}

void VumoClassification::updateShopTotal()
{
    // The shop shows every listing it keeps: the classes 1 to 5 (search results repeat them).
    int total = 0;
    for (int i = 0; i < m_shopItem->childCount(); ++i) {
        const VUMO_CLASS value = valueOf(m_shopItem->child(i));
        if (value.classType != VumoClassSearch)
            total += value.count;
    }
    setNodeCount(m_shopItem, total);
}

} // namespace Quorvia::vumo
