#include "editor/VumoDescRules.h"

namespace Quorvia::vumo::editor {

QString DescriptionCheckMessage(const QString& html)
{
    if (html.trimmed().isEmpty())
        return QStringLiteral("商品描述不能为空！");
    if (html.size() > kDescriptionMaxLength)
        return QStringLiteral("商品描述长度超过限制！");
    return QString();
}

int ReplaceCounted(QString& text, const QString& from, const QString& to)
{
    if (from.isEmpty())
        return 0;
    QString out;
    int count = 0;
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(from, 0, Qt::CaseSensitive); at >= 0;
         at = text.indexOf(from, start, Qt::CaseSensitive)) {
        out += QStringView(text).mid(start, at - start);
        out += to;
        start = at + from.size();
        ++count;
    }
    if (count == 0)
        return 0;
    out += QStringView(text).mid(start);
    text = out;
    return count;
}

QList<SaleAttributeGroup> SaleAttributeGroups(const QStringList& displayTexts)
{
    QList<SaleAttributeGroup> groups;
    for (const QString& text : displayTexts) {
        for (const QString& part : text.split(QLatin1Char('^'), Qt::SkipEmptyParts)) {
            const qsizetype colon = part.indexOf(QLatin1Char(':'));
            if (colon <= 0)
                continue;
            const QString name = part.left(colon);
            const QString value = part.mid(colon + 1);
            auto it = std::find_if(groups.begin(), groups.end(),
                                   [&name](const SaleAttributeGroup& g) { return g.name == name; });
            if (it == groups.end()) {
                groups.append({name, {}});
                it = groups.end() - 1;
            }
            if (!value.isEmpty() && !it->values.contains(value))
                it->values.append(value);
        }
    }
    return groups;
}

} // namespace Quorvia::vumo::editor
