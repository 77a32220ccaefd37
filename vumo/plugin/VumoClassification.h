#pragma once
// The tree on the left of the listing page: the shop, its six listing classes and, under the
// two online classes, the shop's own categories, each with its number of listings. Counts
// come from VumoCountThread and then move by small increments as commands move listings.
#include "plugin/VumoClassRules.h"

#include <QTreeWidget>

#include <memory>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

class VumoCountThread;

class VumoClassification : public QTreeWidget
{
    Q_OBJECT
public:
    explicit VumoClassification(QWidget* parent = nullptr);
    ~VumoClassification() override;

    // Stops a running count (and waits for it), rebuilds every node from the store's shop
    // categories and starts counting again. The local-store node is current afterwards
    // unless another class node was current before.
    void Refill();

    // Class of the current node; the last known one while nothing is selected; -1 when none.
    int CurrentClass() const;
    // The current node's value (a shop-node value while nothing is selected).
    VUMO_CLASS CurrentNode() const;
    // Makes a class node current (no-op for an unknown class).
    void SetCurrentClass(int vumoClass);

    int ClassOfStatus(int status) const;
    bool NodeShowsClass(int vumoClass, const QString& shopCategorys) const;

    // One listing moved: -1 from the old class (and its shop-category nodes), +1 to the new;
    // nothing when class and shop categories are unchanged. -1 means no class.
    void MoveCount(int fromClass, int toClass, const QString& srcShopCats, const QString& dstShopCats);
    // n listings moved between two class nodes (e.g. restored from 5 to 4). -1 means none.
    void AddCount(int fromClass, int toClass, int n);
    // Sets a class node's count outright (the main widget uses it for search results).
    void SetClassCount(int vumoClass, int count);

    // Condition of the current node without "WHERE "; empty when no class node is current.
    QString ConditionOfNode() const;

    // Whether class 6 is counted by the count thread (off by default).
    void SetCountSearch(bool countSearch);

    // Stored count of a node (-1 when the tree has no such node). For the page and tests.
    int NodeCount(const VUMO_CLASS& node) const;
    QTreeWidgetItem* FindNode(const VUMO_CLASS& node) const;
    QTreeWidgetItem* ClassItem(int vumoClass) const;
    VumoCountThread* CountThread() const { return m_countThread; }

signals:
    // The current node changed to another listing node (the main widget reloads the table).
    void ClassificationChangedSignal();
    // A count thread run finished (all its results have been applied).
    void CountFinishedSignal();

public slots:
    void setVumoClassificationCount(VUMO_CLASS node, int parentCid, int cid, int count);

private slots:
    void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);

private:
    void addCategoryNodes(QTreeWidgetItem* classItem, int vumoClass);
    // Adds `delta` to one node; false (count and text unchanged, error logged) below 0.
    bool addToNode(QTreeWidgetItem* item, int delta);
    void setNodeCount(QTreeWidgetItem* item, int count);
    void updateShopTotal();

    const VumoClassMap m_classes;
    VumoCountThread* m_countThread = nullptr;
    QTreeWidgetItem* m_shopItem = nullptr;
    QVector<VumoCategoryKey> m_categoryKeys;
    int m_lastClass = -1;
    bool m_countSearch = false;
};

} // namespace Quorvia::vumo
