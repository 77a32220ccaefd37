#pragma once
// The rules behind the category, attribute and shop-category pickers, without widgets: the
// trees built from the stores, the search walk, the listing's attribute strings and the
// shop-category string.
#include "database/CategoryDbInterface.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace Quorvia::vumo::entity {
class VenderShopCategoryEntity;
class SellerCatsEntity;
} // namespace Quorvia::vumo::entity

namespace Quorvia::vumo::editor {

// ---- Marketplace category tree -------------------------------------------------------------

struct CategoryNode
{
    qint64 id = 0;
    qint64 fid = 0;
    QString name;
    int lev = 0;
    bool leaf = false;
    int parent = -1; // index into CategoryTree::nodes, -1 at the top
    QVector<int> children;
};

struct CategoryTree
{
    QVector<CategoryNode> nodes;
    QVector<int> roots;

    bool isEmpty() const { return nodes.isEmpty(); }
    // -1 when the tree has no such category.
    int indexOf(qint64 id) const;
    // Names from the top down joined by ">>": "服装>>男装>>T恤".
    QString path(int node) const;
    // Every node, parents before their children, siblings in order.
    QVector<int> treeOrder() const;

    QMap<qint64, int> byId;
};

// Levels 1 to 3 from the store's rows (ordered by level); siblings keep the store's position
// order. Another level is left out and logged "类目cid=%1的层级未知"; a category whose parent is
// not in the tree is left out and logged.
CategoryTree BuildCategoryTree(const QList<entity::VenderShopCategoryEntity*>& rows);

// ---- Search walk ---------------------------------------------------------------------------

// The matches of a search over names in tree order and the position among them.
//   names {"男装","T恤","女装"}, text " 装 " -> matches {0, 2}, current 0, hasNext
class SearchWalk
{
public:
    // Trimmed, case-insensitive "contains"; an empty text matches nothing.
    void start(const QStringList& namesInTreeOrder, const QString& text);
    // Index into the names of the current match, -1 when nothing matched.
    int current() const { return m_pos < 0 ? -1 : m_matches.at(m_pos); }
    int count() const { return int(m_matches.size()); }
    bool hasNext() const { return m_pos >= 0 && m_pos + 1 < m_matches.size(); }
    bool hasPrevious() const { return m_pos > 0; }
    // Move when a further match exists; false (and no move) otherwise.
    bool next();
    bool previous();

private:
    QVector<int> m_matches;
    int m_pos = -1;
};

// ---- Listing attribute strings --------------------------------------------------------------

// The input rule of a free-text attribute: no "|", at most 50 characters.
inline constexpr char kFreeTextRule[] = "^[^|]{0,50}$";
bool FreeTextAllowed(const QString& text);

// "1001:2001|1004:3001,3002" -> {1001: [2001], 1004: [3001, 3002]}; items may also be separated
// by "^" (stores of earlier releases) or ";"; items that do not read as numbers are skipped.
QMap<qint64, QList<qint64>> ParseAttributeItems(const QString& attributes);

// input_pids and input_strs read together: aid -> text. Lists of different lengths give nothing
// and log the length message; `ok` tells which.
QMap<qint64, QString> ParseInputTexts(const QString& inputPids, const QString& inputStrs, bool* ok = nullptr);

// The brand attribute's features: ";"-separated "key:value" pairs with erpAttType KZSX and a
// key "brand".
bool IsBrandFeatures(const QString& features);

// One attribute of the browser with its current value.
struct AttributeField
{
    enum Kind { Single = 1, Multi = 2, Text = 3 };

    qint64 aid = 0;
    QString name;
    Kind kind = Single;
    bool required = false;
    QList<database::CategoryAttributeValue> values;
    int choice = -1;     // Single: index into values, -1 for nothing
    QVector<bool> flags; // Multi: one per value
    QString text;        // Text

    bool hasValue() const;
};

struct AttributeForm
{
    qint64 cid = 0;
    qint64 brandAid = 0; // 0 when the category has no brand attribute
    QList<AttributeField> fields;
};

// One field per attribute in the given order; unknown input types are logged and left out,
// an is_req other than 0 or 1 is logged (and taken as not required). The stored strings
// fill the values: vids that are no longer offered are dropped.
AttributeForm BuildAttributeForm(qint64 cid, const QList<database::CategoryAttributeWithValues>& attributes,
                                 const QString& storedAttributes, const QString& inputPids, const QString& inputStrs);

// The form of a category from the category store: its non-sale attributes with values and the
// brand attribute (by the name "品牌", else by features). A cid of 0 or less gives an empty
// form; a cid the store does not know logs "类目cid=%1非法" and gives an empty form.
AttributeForm LoadAttributeForm(database::CategoryDbInterface& store, qint64 cid, const QString& storedAttributes,
                                const QString& inputPids, const QString& inputStrs);

// Indexes of the required fields without a value (a free text counts when trimmed).
QList<int> MissingRequired(const AttributeForm& form);

struct AttributeStrings
{
    QString attributes;
    QString inputPids;
    QString inputStrs;
    qint64 brandVid = 0;
    qint64 brandAid = 0;
};

// The listing's strings from the form's values, fields in order.
AttributeStrings BuildAttributeStrings(const AttributeForm& form);

// ---- Shop categories -----------------------------------------------------------------------

struct ShopCategoryNode
{
    qint64 cid = 0;
    QString name;
    QList<ShopCategoryNode> children;
};

// Tops (parent 0) in store order with their children; a child whose parent is not a top is
// left out and logged.
QList<ShopCategoryNode> BuildShopCategoryTree(const QList<entity::SellerCatsEntity*>& rows);

// One chosen shop category: a child under its parent, or a top without children (child == parent).
struct ShopCategoryChoice
{
    qint64 parent = 0;
    qint64 child = 0;
    QString parentName;
    QString childName;
};

// "12-34;56-56|Phones/Cases;Gifts/Gifts"; no choices give an empty string.
QString BuildShopCategorys(const QList<ShopCategoryChoice>& choices);
// The chosen pairs of a stored string (its part before "|"; a bare id counts as "%1-%1").
QList<QPair<qint64, qint64>> ParseShopCategorys(const QString& shopCategorys);

inline constexpr int kMaxShopCategories = 10;
// "提示：店内分类最多只能设置10个！" past the limit, else empty.
QString ShopCategoryLimitMessage(int chosen);

// The ticks of the shop-category tree: a top with children is ticked through its children
// (ticking it ticks them all), a top without children is ticked whole.
class ShopCategoryTicks
{
public:
    explicit ShopCategoryTicks(QList<ShopCategoryNode> tree = {});

    const QList<ShopCategoryNode>& tree() const { return m_tree; }
    // child -1 addresses the top itself.
    void setTicked(int top, int child, bool ticked);
    bool isTicked(int top, int child) const;
    // Qt::Unchecked, Qt::PartiallyChecked or Qt::Checked for a top.
    Qt::CheckState topState(int top) const;
    // Ticks exactly the pairs of a stored string.
    void load(const QString& shopCategorys);
    QList<ShopCategoryChoice> chosen() const;

private:
    QList<ShopCategoryNode> m_tree;
    QVector<QVector<bool>> m_ticks; // per top: its children, or one entry for a top without any
};

} // namespace Quorvia::vumo::editor
