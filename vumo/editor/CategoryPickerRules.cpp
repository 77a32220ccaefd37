#include "editor/CategoryPickerRules.h"

#include "database/VumoCompleteness.h"

#include "entity/AttributeText.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VenderShopCategoryEntity.h"
#include "utils/Log.h"

#include <QRegularExpression>

#include <algorithm>

namespace Quorvia::vumo::editor {

using database::CategoryAttributeWithValues;
using database::CategoryDbInterface;
using entity::SellerCatsEntity;
using entity::VenderShopCategoryEntity;

// ---- Marketplace category tree -------------------------------------------------------------

int CategoryTree::indexOf(qint64 id) const
{
    return byId.value(id, -1);
}

QString CategoryTree::path(int node) const
{
    QStringList names;
    for (int at = node; at >= 0 && at < nodes.size(); at = nodes.at(at).parent)
        names.prepend(nodes.at(at).name);
    return names.join(QStringLiteral(">>"));
}

QVector<int> CategoryTree::treeOrder() const
{
    QVector<int> order;
    order.reserve(nodes.size());
    // Depth first without recursion: a stack of nodes still to visit, next one on top.
    QVector<int> stack(roots.rbegin(), roots.rend());
    while (!stack.isEmpty()) {
        const int at = stack.takeLast();
        order.append(at);
        const QVector<int>& kids = nodes.at(at).children;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it)
            stack.append(*it);
    }
    return order;
}

CategoryTree BuildCategoryTree(const QList<VenderShopCategoryEntity*>& rows)
{
    QList<const VenderShopCategoryEntity*> sorted(rows.begin(), rows.end());
    // Parents before children whatever order the rows came in; position order among siblings.
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return a->lev() != b->lev() ? a->lev() < b->lev() : a->index_id() < b->index_id();
    });
    CategoryTree tree;
    for (const VenderShopCategoryEntity* row : sorted) {
        if (row->lev() < 1 || row->lev() > 3) {
            qCWarning(lcVumo).noquote() << QStringLiteral("类目cid=%1的层级未知").arg(row->id());
            continue;
        }
        if (tree.byId.contains(row->id()))
            continue;
        int parent = -1;
        if (row->lev() > 1) {
            parent = tree.indexOf(row->fid());
            if (parent < 0 || tree.nodes.at(parent).lev != row->lev() - 1) {
                qCWarning(lcVumo).noquote()
                    << QStringLiteral("类目cid=%1的父类目fid=%2不存在").arg(row->id()).arg(row->fid());
                continue;
            }
        }
        CategoryNode node;
        node.id = row->id();
        node.fid = row->fid();
        node.name = row->name();
        node.lev = row->lev();
        node.leaf = row->is_parent() == 0;
        node.parent = parent;
        const int index = int(tree.nodes.size());
        tree.nodes.append(node);
        tree.byId.insert(node.id, index);
        if (parent < 0)
            tree.roots.append(index);
        else
            tree.nodes[parent].children.append(index);
    }
    return tree;
}

// ---- Search walk ---------------------------------------------------------------------------

void SearchWalk::start(const QStringList& namesInTreeOrder, const QString& text)
{
    m_matches.clear();
    m_pos = -1;
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return;
    for (int i = 0; i < namesInTreeOrder.size(); ++i) {
        if (namesInTreeOrder.at(i).contains(wanted, Qt::CaseInsensitive))
            m_matches.append(i);
    }
    if (!m_matches.isEmpty())
        m_pos = 0;
}

bool SearchWalk::next()
{
    if (!hasNext())
        return false;
    ++m_pos;
    return true;
}

bool SearchWalk::previous()
{
    if (!hasPrevious())
        return false;
    --m_pos;
    return true;
}

// ---- Listing attribute strings --------------------------------------------------------------

bool FreeTextAllowed(const QString& text)
{
    static const QRegularExpression rule(QString::fromLatin1(kFreeTextRule));
    return rule.match(text).hasMatch();
}

QMap<qint64, QList<qint64>> ParseAttributeItems(const QString& attributes)
{
    // The store's reading, item by item, so one bad item does not hide the others.
    QMap<qint64, QList<qint64>> items;
    QList<QPair<QString, QStringList>> all;
    if (!database::ParseAttributeItems(attributes, all)) {
        all.clear();
        static const QRegularExpression itemSeparator(QStringLiteral("[|^;]"));
        for (const QString& part : attributes.split(itemSeparator, Qt::SkipEmptyParts))
            database::ParseAttributeItems(part, all);
    }
    for (const auto& item : std::as_const(all)) {
        QList<qint64> vids;
        for (const QString& v : item.second) {
            bool vidOk = false;
            const qint64 vid = v.toLongLong(&vidOk);
            if (vidOk)
                vids.append(vid);
        }
        items[item.first.toLongLong()] += vids;
    }
    return items;
}

QMap<qint64, QString> ParseInputTexts(const QString& inputPids, const QString& inputStrs, bool* ok)
{
    QMap<qint64, QString> texts;
    const QStringList pids = inputPids.isEmpty() ? QStringList() : inputPids.split(QLatin1Char('|'));
    const QStringList strs = entity::SplitInputTexts(inputStrs);
    const bool same = pids.size() == strs.size();
    if (ok)
        *ok = same;
    if (!same) {
        qCWarning(lcVumo).noquote() << QStringLiteral(
            "CategoryAttributeBrowser::AnalysisAttvalues  "
            "可输入属性ID串Input_pids和可输入属性值串Input_strs解析后长度不相同");
        return texts;
    }
    for (int i = 0; i < pids.size(); ++i) {
        bool aidOk = false;
        const qint64 aid = pids.at(i).trimmed().toLongLong(&aidOk);
        if (aidOk)
            texts.insert(aid, strs.at(i));
    }
    return texts;
}

bool IsBrandFeatures(const QString& features)
{
    QMap<QString, QString> pairs;
    for (const QString& item : features.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList kv = item.split(QLatin1Char(':'));
        if (kv.size() == 2)
            pairs.insert(kv.at(0).trimmed(), kv.at(1).trimmed());
    }
    return pairs.value(QStringLiteral("erpAttType")) == QStringLiteral("KZSX")
        && pairs.contains(QStringLiteral("brand"));
}

bool AttributeField::hasValue() const
{
    switch (kind) {
    case Single:
        return choice >= 0 && choice < values.size();
    case Multi:
        return flags.contains(true);
    case Text:
        return !text.trimmed().isEmpty();
    }
    return false;
}

AttributeForm BuildAttributeForm(qint64 cid, const QList<CategoryAttributeWithValues>& attributes,
                                 const QString& storedAttributes, const QString& inputPids, const QString& inputStrs)
{
    AttributeForm form;
    form.cid = cid;
    const QMap<qint64, QList<qint64>> chosen = ParseAttributeItems(storedAttributes);
    const QMap<qint64, QString> texts = ParseInputTexts(inputPids, inputStrs);
    for (const CategoryAttributeWithValues& a : attributes) {
        if (a.input_type < AttributeField::Single || a.input_type > AttributeField::Text) {
            qCWarning(lcVumo).noquote() << QStringLiteral("属性aid=%1的输入类型未知").arg(a.aid);
            qCWarning(lcVumo).noquote() << QStringLiteral("类目属性类型非单选、非多选、非输入，类型未知");
            continue;
        }
        if (a.is_req != 0 && a.is_req != 1)
            qCWarning(lcVumo).noquote() << QStringLiteral("类目属性是否必填项字段数据有误");
        AttributeField field;
        field.aid = a.aid;
        field.name = a.name;
        field.kind = AttributeField::Kind(a.input_type);
        field.required = a.is_req == 1;
        if (field.kind != AttributeField::Text)
            field.values = a.values;
        field.flags.fill(false, field.values.size());
        const QList<qint64> vids = chosen.value(a.aid);
        for (int i = 0; i < field.values.size(); ++i) {
            if (!vids.contains(field.values.at(i).vid))
                continue;
            if (field.kind == AttributeField::Single && field.choice < 0)
                field.choice = i;
            else if (field.kind == AttributeField::Multi)
                field.flags[i] = true;
        }
        if (field.kind == AttributeField::Text)
            field.text = texts.value(a.aid);
        form.fields.append(field);
    }
    return form;
}

AttributeForm LoadAttributeForm(CategoryDbInterface& store, qint64 cid, const QString& storedAttributes,
                                const QString& inputPids, const QString& inputStrs)
{
    AttributeForm empty;
    if (cid <= 0)
        return empty;
    QMap<qint64, VenderShopCategoryEntity*> categories;
    const bool read = store.GetVenderShopCategoryMap(categories);
    const bool known = read && categories.contains(cid);
    qDeleteAll(categories);
    if (!known) {
        qCWarning(lcVumo).noquote() << QStringLiteral("类目cid=%1非法").arg(cid);
        return empty;
    }
    QList<CategoryAttributeWithValues> attributes;
    if (!store.GetAttributesWithValues(cid, 0, attributes))
        return empty;
    AttributeForm form = BuildAttributeForm(cid, attributes, storedAttributes, inputPids, inputStrs);
    for (const AttributeField& f : form.fields) {
        if (f.name == QStringLiteral("品牌")) {
            form.brandAid = f.aid;
            return form;
        }
    }
    for (const AttributeField& f : form.fields) {
        qint64 aid = 0;
        QString features;
        if (store.GetAttributeByName(f.name, cid, aid, features) && aid == f.aid && IsBrandFeatures(features)) {
            form.brandAid = f.aid;
            break;
        }
    }
    return form;
}

QList<int> MissingRequired(const AttributeForm& form)
{
    QList<int> missing;
    for (int i = 0; i < form.fields.size(); ++i) {
        if (form.fields.at(i).required && !form.fields.at(i).hasValue())
            missing.append(i);
    }
    return missing;
}

AttributeStrings BuildAttributeStrings(const AttributeForm& form)
{
    AttributeStrings out;
    out.brandAid = form.brandAid;
    QStringList items;
    QStringList pids;
    QStringList texts;
    for (const AttributeField& f : form.fields) {
        if (f.kind == AttributeField::Text) {
            const QString text = f.text.trimmed();
            if (!text.isEmpty()) {
                pids << QString::number(f.aid);
                texts << text;
            }
            continue;
        }
        QStringList vids;
        for (int i = 0; i < f.values.size(); ++i) {
            if ((f.kind == AttributeField::Single && f.choice == i)
                || (f.kind == AttributeField::Multi && f.flags.at(i)))
                vids << QString::number(f.values.at(i).vid);
        }
        if (vids.isEmpty())
            continue;
        items << QString::number(f.aid) + QLatin1Char(':') + vids.join(QLatin1Char(','));
        if (f.aid == form.brandAid && out.brandVid == 0)
            out.brandVid = vids.first().toLongLong();
    }
    out.attributes = items.join(QLatin1Char('|'));
    out.inputPids = pids.join(QLatin1Char('|'));
    out.inputStrs = entity::JoinInputTexts(texts);
    return out;
}

// ---- Shop categories -----------------------------------------------------------------------

QList<ShopCategoryNode> BuildShopCategoryTree(const QList<SellerCatsEntity*>& rows)
{
    QList<ShopCategoryNode> tops;
    QMap<qint64, int> topIndex;
    for (const SellerCatsEntity* row : rows) {
        if (row->parent_id() == 0 && !topIndex.contains(row->cid())) {
            topIndex.insert(row->cid(), int(tops.size()));
            tops.append(ShopCategoryNode{row->cid(), row->name(), {}});
        }
    }
    for (const SellerCatsEntity* row : rows) {
        if (row->parent_id() == 0)
            continue;
        const int top = topIndex.value(row->parent_id(), -1);
        if (top < 0 || row->cid() == row->parent_id()) {
            qCWarning(lcVumo).noquote()
                << QStringLiteral("店内分类cid=%1的上级分类%2不存在").arg(row->cid()).arg(row->parent_id());
            continue;
        }
        tops[top].children.append(ShopCategoryNode{row->cid(), row->name(), {}});
    }
    return tops;
}

QString BuildShopCategorys(const QList<ShopCategoryChoice>& choices)
{
    if (choices.isEmpty())
        return QString();
    QStringList ids;
    QStringList names;
    for (const ShopCategoryChoice& c : choices) {
        ids << QStringLiteral("%1-%2").arg(c.parent).arg(c.child);
        names << QStringLiteral("%1/%2").arg(c.parentName, c.childName);
    }
    return ids.join(QLatin1Char(';')) + QLatin1Char('|') + names.join(QLatin1Char(';'));
}

QList<QPair<qint64, qint64>> ParseShopCategorys(const QString& shopCategorys)
{
    QList<QPair<qint64, qint64>> pairs;
    const QString ids = shopCategorys.section(QLatin1Char('|'), 0, 0);
    for (const QString& entry : ids.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(QLatin1Char('-'));
        bool okParent = false;
        bool okChild = parts.size() == 1;
        const qint64 parent = parts.at(0).trimmed().toLongLong(&okParent);
        const qint64 child = parts.size() == 2 ? parts.at(1).trimmed().toLongLong(&okChild) : parent;
        if (parts.size() <= 2 && okParent && okChild)
            pairs.append({parent, child});
    }
    return pairs;
}

QString ShopCategoryLimitMessage(int chosen)
{
    return chosen > kMaxShopCategories ? QStringLiteral("提示：店内分类最多只能设置10个！") : QString();
}

ShopCategoryTicks::ShopCategoryTicks(QList<ShopCategoryNode> tree)
    : m_tree(std::move(tree))
{
    for (const ShopCategoryNode& top : m_tree)
        m_ticks.append(QVector<bool>(std::max<int>(1, int(top.children.size())), false));
}

void ShopCategoryTicks::setTicked(int top, int child, bool ticked)
{
    if (top < 0 || top >= m_ticks.size())
        return;
    QVector<bool>& ticks = m_ticks[top];
    if (child < 0)
        ticks.fill(ticked);
    else if (child < m_tree.at(top).children.size())
        ticks[child] = ticked;
}

bool ShopCategoryTicks::isTicked(int top, int child) const
{
    if (top < 0 || top >= m_ticks.size())
        return false;
    if (child < 0)
        return topState(top) == Qt::Checked;
    return child < m_tree.at(top).children.size() && m_ticks.at(top).at(child);
}

Qt::CheckState ShopCategoryTicks::topState(int top) const
{
    const QVector<bool>& ticks = m_ticks.at(top);
    const auto n = std::count(ticks.begin(), ticks.end(), true);
    return n == 0 ? Qt::Unchecked : (n == ticks.size() ? Qt::Checked : Qt::PartiallyChecked);
}

void ShopCategoryTicks::load(const QString& shopCategorys)
{
    const QList<QPair<qint64, qint64>> pairs = ParseShopCategorys(shopCategorys);
    for (int t = 0; t < m_tree.size(); ++t) {
        const ShopCategoryNode& top = m_tree.at(t);
        if (top.children.isEmpty()) {
            m_ticks[t][0] = pairs.contains({top.cid, top.cid});
            continue;
        }
        for (int c = 0; c < top.children.size(); ++c)
            m_ticks[t][c] = pairs.contains({top.cid, top.children.at(c).cid});
    }
}

QList<ShopCategoryChoice> ShopCategoryTicks::chosen() const
{
    QList<ShopCategoryChoice> out;
    for (int t = 0; t < m_tree.size(); ++t) {
        const ShopCategoryNode& top = m_tree.at(t);
        if (top.children.isEmpty()) {
            if (m_ticks.at(t).at(0))
                out.append({top.cid, top.cid, top.name, top.name});
            continue;
        }
        for (int c = 0; c < top.children.size(); ++c) {
            if (m_ticks.at(t).at(c))
                out.append({top.cid, top.children.at(c).cid, top.name, top.children.at(c).name});
        }
    }
    return out;
}

} // namespace Quorvia::vumo::editor
