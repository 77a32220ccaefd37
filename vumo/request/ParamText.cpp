#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QString EscapeJsonText(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '/':
            out += QLatin1String("\\/");
            break;
        case '\b':
            out += QLatin1String("\\b");
            break;
        case '\f':
            out += QLatin1String("\\f");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString AttributeValueIdText(qint64 valueId)
{
    return valueId == 0 ? QStringLiteral("0000000000") : QString::number(valueId);
}

ParamText& ParamText::Add(const char* name, const QString& value)
{
    m_text += QStringLiteral("\"%1\":\"%2\",").arg(QLatin1String(name), value);
    return *this;
}

ParamText& ParamText::Add(const char* name, qint64 value)
{
    return Add(name, QString::number(value));
}

ParamText& ParamText::AddFlag(const char* name, bool value)
{
    return Add(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

ParamText& ParamText::AddText(const char* name, const QString& typed)
{
    return Add(name, EscapeJsonText(typed));
}

ParamText& ParamText::AddPiece(const QString& piece)
{
    m_text += piece;
    return *this;
}

QByteArray ParamText::Close() const
{
    QString text = m_text;
    if (text.endsWith(QLatin1Char(',')))
        text.chop(1);
    text += QLatin1Char('}');
    return text.toUtf8();
}

void PageCounter::Reset()
{
    m_total = 0;
    m_received = 0;
    m_finished = false;
}

void PageCounter::AddPage(qint64 total, qint64 itemsOnPage)
{
    m_total = total;
    m_received += itemsOnPage;
    m_finished = m_received >= m_total || itemsOnPage <= 0;
}

} // namespace Quorvia::vumo::request
