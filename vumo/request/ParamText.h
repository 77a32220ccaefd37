#pragma once
// Parameter texts of the listing operations. They are written by text formatting, every value
// as a JSON string, from "\"name\":\"value\"," pieces; the last "," becomes "}".
//   ParamText().Add("vumo_id", 12).Add("fields", "").Close()  -> {"vumo_id":"12","fields":""}
//   ParamText().Close()                                      -> {}
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Quorvia::vumo::request {

// Text the seller typed, made safe inside a JSON string: \ " / backspace, form feed, CR, LF
// and tab become \\ \" \/ \b \f \r \n \t; other control characters become \u00XX so the
// parameter text always stays valid JSON.
//   EscapeJsonText("a\"b/c")  -> a\"b\/c
QString EscapeJsonText(const QString& text);

// The attribute value id as the property-image calls send it: 0 is "0000000000".
QString AttributeValueIdText(qint64 valueId);

class ParamText
{
public:
    // Value inserted as it is (numbers, fixed names, texts already safe).
    ParamText& Add(const char* name, const QString& value);
    ParamText& Add(const char* name, qint64 value);
    // "true" / "false".
    ParamText& AddFlag(const char* name, bool value);
    // Text the seller typed: escaped first.
    ParamText& AddText(const char* name, const QString& typed);
    // A complete piece that already ends in ",".
    ParamText& AddPiece(const QString& piece);

    QByteArray Close() const;

private:
    QString m_text = QStringLiteral("{");
};

// Counts the items of a paged answer over all pages. Finished once "total" items arrived, or
// when a page brings nothing although fewer arrived: a server that miscounts must not keep a
// caller paging for ever.
class PageCounter
{
public:
    void Reset();
    void AddPage(qint64 total, qint64 itemsOnPage);

    qint64 Total() const { return m_total; }
    qint64 Received() const { return m_received; }
    bool Finished() const { return m_finished; }

private:
    qint64 m_total = 0;
    qint64 m_received = 0;
    bool m_finished = false;
};

} // namespace Quorvia::vumo::request
