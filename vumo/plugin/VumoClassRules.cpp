#include "plugin/VumoClassRules.h"

#include <QMetaType>
#include <QStringList>

#include <limits>

namespace Quorvia::vumo {

namespace {

// The id part of shop_categorys ("12-34;56-56|服装/T恤;..." -> "12-34;56-56"), with ","
// read as ";" like older texts write it, framed by ";" so every entry is ";<entry>;".
const char* const kFramedIds =
    "(';' || replace(substr(shop_categorys, 1, instr(shop_categorys || '|', '|') - 1), ',', ';') || ';')";

// The decimal text of a non-negative id exactly as it is written ("012" is not 12).
bool parseId(const QString& text, qint64* value)
{
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok || id < 0 || QString::number(id) != text)
        return false;
    *value = id;
    return true;
}

} // namespace

void RegisterVumoClassMetaType()
{
    qRegisterMetaType<VUMO_CLASS>("VUMO_CLASS");
}

const VumoClassMap& VumoClassStatusMap()
{
    static const VumoClassMap map = [] {
        VumoClassMap m;
        m.insert(VumoClassTemplate, {2013});
        m.insert(VumoClassOnSale, {8, 520});
        m.insert(VumoClassForSale, {1, 2, 4, 513, 514, 516, 1026, 1028});
        m.insert(VumoClassLocal, {2014});
        m.insert(VumoClassRecycle, {2015});
        m.insert(VumoClassSearch, m.value(VumoClassForSale) + m.value(VumoClassOnSale) + m.value(VumoClassLocal));
        return m;
    }();
    return map;
}

namespace {

VUMO_CLASS makeNode(VUMO_CLASS::NodeKind kind, int vumoClass, qint64 parentCid, qint64 cid)
{
    VUMO_CLASS node;
    node.classType = vumoClass;
    node.nParentCid = parentCid;
    node.nCid = cid;
    node.nodeKind = kind;
    return node;
}

} // namespace

VUMO_CLASS VumoClassNode(int vumoClass)
{
    return makeNode(VUMO_CLASS::NodeClass, vumoClass, 1, 2);
}

VUMO_CLASS VumoTopCategoryNode(int vumoClass, qint64 cid)
{
    return makeNode(VUMO_CLASS::NodeTopCategory, vumoClass, 2, cid);
}

VUMO_CLASS VumoNoCategoryNode(int vumoClass)
{
    return makeNode(VUMO_CLASS::NodeNoCategory, vumoClass, 2, 3);
}

VUMO_CLASS VumoSubCategoryNode(int vumoClass, qint64 parentCid, qint64 cid)
{
    return makeNode(VUMO_CLASS::NodeSubCategory, vumoClass, parentCid, cid);
}

bool VumoClassHasShopCategories(int vumoClass)
{
    return vumoClass == VumoClassOnSale || vumoClass == VumoClassForSale;
}

QString VumoClassStatusPart(int vumoClass)
{
    QStringList parts;
    for (int status : VumoClassStatusMap().value(vumoClass))
        parts << QStringLiteral("vumo_status=%1").arg(status);
    return parts.join(QStringLiteral(" or "));
}

QString VumoTopCategoryMatch(qint64 cid)
{
    // The category itself ("56" or "56-56") or any of its children ("56-78").
    const QString ids = QString::fromLatin1(kFramedIds);
    return QStringLiteral("(%1 LIKE '%;%2;%' OR %1 LIKE '%;%2-%')").arg(ids).arg(cid);
}

QString VumoSubCategoryMatch(qint64 parentCid, qint64 cid)
{
    return QStringLiteral("(%1 LIKE '%;%2-%3;%')").arg(QString::fromLatin1(kFramedIds)).arg(parentCid).arg(cid);
}

QString VumoNoCategoryMatch()
{
    return QStringLiteral("(shop_categorys IS NULL OR shop_categorys='' OR shop_categorys LIKE '|%')");
}

QString VumoNodeCondition(const VUMO_CLASS& node)
{
    const QString classPart = VumoClassStatusPart(node.classType);
    if (classPart.isEmpty())
        return QString();
    switch (node.nodeKind) {
    case VUMO_CLASS::NodeClass:
        return QStringLiteral("(%1)").arg(classPart);
    case VUMO_CLASS::NodeTopCategory:
        return QStringLiteral("(%1) AND %2").arg(classPart, VumoTopCategoryMatch(node.nCid));
    case VUMO_CLASS::NodeNoCategory:
        return QStringLiteral("(%1) AND %2").arg(classPart, VumoNoCategoryMatch());
    case VUMO_CLASS::NodeSubCategory:
        return QStringLiteral("(%1) AND %2").arg(classPart, VumoSubCategoryMatch(node.nParentCid, node.nCid));
    default:
        return QString();
    }
}

int ClassOfStatus(int status, int currentClass)
{
    const VumoClassMap& map = VumoClassStatusMap();
    if (currentClass != VumoClassSearch && map.value(currentClass).contains(status))
        return currentClass;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.key() != VumoClassSearch && it.value().contains(status))
            return it.key();
    }
    return VumoClassNone;
}

QVector<VumoCategoryKey> VumoShopCategoryKeys(const QString& shopCategorys)
{
    QVector<VumoCategoryKey> keys;
    const QString ids = shopCategorys.section(QLatin1Char('|'), 0, 0);
    if (ids.isEmpty()) {
        keys.append({VUMO_CLASS::NodeNoCategory, 2, 3});
        return keys;
    }
    auto add = [&keys](const VumoCategoryKey& key) {
        if (!keys.contains(key))
            keys.append(key);
    };
    QString normalised = ids;
    normalised.replace(QLatin1Char(','), QLatin1Char(';'));
    for (const QString& entry : normalised.split(QLatin1Char(';'))) {
        const int dash = entry.indexOf(QLatin1Char('-'));
        qint64 parent = 0;
        if (!parseId(dash < 0 ? entry : entry.left(dash), &parent))
            continue;
        add({VUMO_CLASS::NodeTopCategory, 2, parent});
        qint64 child = 0;
        if (dash >= 0 && parseId(entry.mid(dash + 1), &child) && child != parent)
            add({VUMO_CLASS::NodeSubCategory, parent, child});
    }
    return keys;
}

bool VumoNodeShowsClass(const VUMO_CLASS& node, int vumoClass, const QString& shopCategorys)
{
    if (node.classType != vumoClass || vumoClass == VumoClassSearch || vumoClass == VumoClassNone)
        return false;
    switch (node.nodeKind) {
    case VUMO_CLASS::NodeClass:
        return true;
    case VUMO_CLASS::NodeTopCategory:
    case VUMO_CLASS::NodeNoCategory:
    case VUMO_CLASS::NodeSubCategory:
        return VumoShopCategoryKeys(shopCategorys).contains({node.nodeKind, node.nParentCid, node.nCid});
    default:
        return false;
    }
}

bool VumoApplyCountDelta(int current, int delta, int* result)
{
    const qint64 sum = qint64(current) + qint64(delta);
    if (sum < 0)
        return false;
    if (result)
        *result = int(qMin<qint64>(sum, std::numeric_limits<int>::max()));
    return true;
}

QString VumoNodeText(const QString& name, int count)
{
    return QStringLiteral("%1(%2)").arg(name, QString::number(count));
}

} // namespace Quorvia::vumo
