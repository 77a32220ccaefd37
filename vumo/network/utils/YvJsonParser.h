#pragma once
// JSON text to Qt values (objects -> QVariantMap, arrays -> QVariantList). The tokenizer works
// in place: strings are unescaped and terminated inside the caller's buffer, and each value goes
// straight into the container being built, kept on a stack of open containers (no recursion, no
// intermediate tree). One parser object per parse.
#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Quorvia::utils {

class YvJsonParser
{
public:
    // Deeper documents are refused: the converted values are destroyed recursively.
    static constexpr int kMaxDepth = 1024;

    YvJsonParser();
    ~YvJsonParser();
    YvJsonParser(const YvJsonParser&) = delete;
    YvJsonParser& operator=(const YvJsonParser&) = delete;

    // `bytes` is modified in place (pass a copy when the text is still needed). `utf8` false
    // reads every byte as one Latin-1 character. On failure `result` is left untouched.
    //   [true,null,1.5,-7]  -> (1LL, QVariant(), 1.5, -7LL)
    //   {"a":1,"a":2}       -> {a: 2}
    bool parse(QByteArray& bytes, QVariant& result, bool utf8 = true);

    // After a failure: the description, the line (1-based) and the input from the error on.
    QString errorDesc() const { return m_errorDesc; }
    int errorLine() const { return m_errorLine; }
    QString errorPos() const { return m_errorPos; }

private:
    struct Frame;
    class TextCache;
    class Reader;

    bool Fail(const char* description, const char* begin, const char* at, const char* end, int line, bool utf8);

    QString m_errorPos;
    QString m_errorDesc;
    int m_errorLine = 0;
};

} // namespace Quorvia::utils
