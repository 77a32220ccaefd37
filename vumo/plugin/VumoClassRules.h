#pragma once
// Rules of the classification tree that need no widget: the class -> status map, the node
// values (VUMO_CLASS), the condition of every node, which class a status belongs to, which
// nodes a listing's shop-category text puts it in, and the count arithmetic with its guard.
#include "plugin/VumoClassLayout.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QSet>
#include <QString>
#include <QVector>

// What each tree node carries (user role) and what the count thread reports.
// Markers: a class node has nParentCid 1 and nCid 2; a top-level shop category nParentCid 2
// and its own id; the node for listings without shop category nParentCid 2 and nCid 3; a
// second-level category its parent's id and its own. nodeKind tells the markers apart where
// a category id happens to equal a marker value.
struct VUMO_CLASS
{
    enum NodeKind {
        NodeNone = 0,
        NodeShop = 1,        // the top item, the shop itself
        NodeClass = 2,       // one of the six classes
        NodeTopCategory = 3, // a top-level shop category under class 2 or 3
        NodeNoCategory = 4,  // listings without shop category under class 2 or 3
        NodeSubCategory = 5, // a second-level shop category
    };

    int count = 0;
    int classType = -1;
    qint64 nCid = 0;
    qint64 nParentCid = 0;
    int nodeKind = NodeNone;

    bool sameNode(const VUMO_CLASS& other) const
    {
        return nodeKind == other.nodeKind && classType == other.classType && nCid == other.nCid
            && nParentCid == other.nParentCid;
    }
};

Q_DECLARE_METATYPE(VUMO_CLASS)

namespace Quorvia::vumo {

// Registers VUMO_CLASS for queued signals; safe to call more than once.
void RegisterVumoClassMetaType();

// Class -> statuses, fixed: 1 {2013}, 2 {8, 520}, 3 {1, 2, 4, 513, 514, 516, 1026, 1028},
// 4 {2014}, 5 {2015}, 6 the statuses of 3, 2 and 4 in that order.
using VumoClassMap = QMap<int, QList<int>>;
const VumoClassMap& VumoClassStatusMap();

// Node values.
VUMO_CLASS VumoClassNode(int vumoClass);
VUMO_CLASS VumoTopCategoryNode(int vumoClass, qint64 cid);
VUMO_CLASS VumoNoCategoryNode(int vumoClass);
VUMO_CLASS VumoSubCategoryNode(int vumoClass, qint64 parentCid, qint64 cid);

// Classes whose nodes have shop categories under them (2 and 3).
bool VumoClassHasShopCategories(int vumoClass);

// "vumo_status=8 or vumo_status=520"; empty for an unknown class.
QString VumoClassStatusPart(int vumoClass);

// The condition of a node, without "WHERE ":
//   class node 2            -> "(vumo_status=8 or vumo_status=520)"
//   top category 17 in 2    -> "(<class part>) AND (<17 is one of the listing's categories>)"
//   child 17-42 in 2        -> "(<class part>) AND (<17-42 is one of the listing's categories>)"
//   no shop category in 2   -> "(<class part>) AND (<shop_categorys empty or NULL>)"
// Shop categories are matched as whole entries of the id part of shop_categorys (before
// "|", entries split by ";"), so category 5 never matches a listing filed under 15 or 5-52.
// Empty for an unknown class or node.
QString VumoNodeCondition(const VUMO_CLASS& node);

// The shop-category parts of the conditions above, on their own.
QString VumoTopCategoryMatch(qint64 cid);
QString VumoSubCategoryMatch(qint64 parentCid, qint64 cid);
QString VumoNoCategoryMatch();

// The class whose statuses contain `status` (class 6 is skipped); -1 for none. When
// `currentClass` is not 6 and contains the status, it wins.
int ClassOfStatus(int status, int currentClass = -1);

// The shop-category nodes a listing with this shop_categorys text belongs to, as
// (nParentCid, nCid) markers of top and child nodes; the no-category marker (2, 3) when the
// text names no category. "12-34;56-56|..." -> {(2,12), (12,34), (2,56)}.
struct VumoCategoryKey
{
    int nodeKind = VUMO_CLASS::NodeNone;
    qint64 parentCid = 0;
    qint64 cid = 0;
    bool operator==(const VumoCategoryKey& o) const
    {
        return nodeKind == o.nodeKind && parentCid == o.parentCid && cid == o.cid;
    }
};
QVector<VumoCategoryKey> VumoShopCategoryKeys(const QString& shopCategorys);

// Whether a node shows listings of `vumoClass` with this shop-category text. The search
// results node shows what the search found, never a listing just because of its class.
bool VumoNodeShowsClass(const VUMO_CLASS& node, int vumoClass, const QString& shopCategorys);

// Applies a signed change to a stored count: false (and `result` untouched) when the count
// would go below 0.
bool VumoApplyCountDelta(int current, int delta, int* result);

// "线上在售商品" + 5 -> "线上在售商品(5)".
QString VumoNodeText(const QString& name, int count);

} // namespace Quorvia::vumo
