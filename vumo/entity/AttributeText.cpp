#include "entity/AttributeText.h"

#include <QRegularExpression>

namespace Quorvia::vumo::entity {

namespace {

const QString kDouHao = QStringLiteral("{DouHao}");
const QString kMaoHao = QStringLiteral("{MaoHao}");
const QString kJianHao = QStringLiteral("{JianHao}");
const QString kFreeTextMark = QStringLiteral(":0,");

} // namespace

ParsedAttributeText ParseApiAttributeText(const QString& text)
{
    // Anchored at the start only: a free text may contain blanks after its first character.
    static const QRegularExpression freeText(QStringLiteral("^[0-9]+(:0,)\\S"));

    ParsedAttributeText parsed;
    QStringList others;
    QStringList pids;
    QStringList strs;
    const QStringList entries = text.split(QLatin1Char('^'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        if (freeText.match(entry).hasMatch()) {
            const int at = entry.indexOf(kFreeTextMark);
            pids << entry.left(at);
            strs << EscapeInputText(entry.mid(at + kFreeTextMark.size()));
        } else {
            others << entry;
        }
    }
    parsed.attributes = others.join(QLatin1Char('|'));
    parsed.inputPids = pids.join(QLatin1Char('|'));
    parsed.inputStrs = strs.join(QLatin1Char('|'));
    return parsed;
}

QString EscapeInputText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char(','), kDouHao);
    out.replace(QLatin1Char(':'), kMaoHao);
    out.replace(QLatin1Char('-'), kJianHao);
    return out;
}

QString UnescapeInputText(const QString& text)
{
    QString out = text;
    out.replace(kDouHao, QStringLiteral(","));
    out.replace(kMaoHao, QStringLiteral(":"));
    out.replace(kJianHao, QStringLiteral("-"));
    return out;
}

QStringList SplitInputTexts(const QString& inputStrs)
{
    QStringList texts;
    if (inputStrs.isEmpty())
        return texts;
    const QStringList parts = inputStrs.split(QLatin1Char('|'));
    for (const QString& part : parts)
        texts << UnescapeInputText(part);
    return texts;
}

QString JoinInputTexts(const QStringList& texts)
{
    QStringList escaped;
    for (const QString& text : texts)
        escaped << EscapeInputText(text);
    return escaped.join(QLatin1Char('|'));
}

} // namespace Quorvia::vumo::entity
