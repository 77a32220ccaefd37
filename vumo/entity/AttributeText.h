#pragma once
// The listing attribute text as the marketplace sends it ("vumo_attribute") and the escaped
// form in which free-text values are kept in input_strs.
//
// "1001:2001^1002:0,红, 蓝^1003:3001" ->
//   attributes "1001:2001|1003:3001", input_pids "1002", input_strs "红{DouHao} 蓝"
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::entity {

struct ParsedAttributeText
{
    // The other entries in the stored form, joined by "|": the editor, the checks and the
    // upload read items at "|".
    QString attributes;
    QString inputPids; // free-text attribute identifiers joined by "|"
    QString inputStrs; // their escaped texts joined by "|"
};

// Entries are separated by "^"; an entry of digits, ":0," and a text is a free-text attribute.
ParsedAttributeText ParseApiAttributeText(const QString& text);

// "," -> "{DouHao}", ":" -> "{MaoHao}", "-" -> "{JianHao}", so the text survives the
// separators of the stored attribute formats.
QString EscapeInputText(const QString& text);
// The reverse of EscapeInputText.
QString UnescapeInputText(const QString& text);

// input_strs split at "|" and unescaped, one text per identifier of input_pids.
QStringList SplitInputTexts(const QString& inputStrs);
// The reverse: texts escaped and joined by "|".
QString JoinInputTexts(const QStringList& texts);

} // namespace Quorvia::vumo::entity
