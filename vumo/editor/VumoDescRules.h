#pragma once
// Rules for a listing's description shared by the editor page, the batch operations and the
// product preview. No widgets.
#include <QList>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::editor {

inline constexpr int kDescriptionMaxLength = 30000;

// What the editor says about a description it is asked to store: empty when it may be
// stored, else the message. A description is never cut: cutting could end it inside a tag.
//   "" or blanks -> "商品描述不能为空！";  30000 characters -> "";  30001 -> "商品描述长度超过限制！"
QString DescriptionCheckMessage(const QString& html);

// Replaces the occurrences of `from` in `text` by `to`, case-sensitive, left to right, never
// overlapping; gives how many were replaced. An empty `from` replaces nothing.
//   "aaa", "aa" -> "b" : "ba", 1;   "abcabc", "b" -> "" : "acac", 2
int ReplaceCounted(QString& text, const QString& from, const QString& to);

// One sale attribute of the preview with its values in first-seen order.
struct SaleAttributeGroup
{
    QString name;
    QStringList values;
};

// The sale attributes of SKU display texts ("颜色:大红^尺码:XL"), attributes and values in
// first-seen order, each value once. Parts without ":" are skipped.
//   {"颜色:红^尺码:L", "颜色:蓝^尺码:L"} -> {颜色: 红, 蓝}, {尺码: L}
QList<SaleAttributeGroup> SaleAttributeGroups(const QStringList& displayTexts);

} // namespace Quorvia::vumo::editor
