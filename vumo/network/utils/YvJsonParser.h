#pragma once
// JSON text to Qt values (objects -> QVariantMap, arrays -> QVariantList). The tokenizer works
// in place: strings are unescaped and terminated inside the caller's buffer, and the node tree
// comes from an arena of 1024-byte blocks freed with the parser. One parser object per parse.
#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Quorvia::utils {

class YvJsonParser
{
public:
    // Deeper documents are refused: the converted values are destroyed recursively.
    static constexpr int kMaxDepth = 1024;
    static constexpr int kBlockSize = 1024;

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
    enum NodeType : quint8 {
        TypeNull = 0,
        TypeObject = 1,
        TypeArray = 2,
        TypeString = 3,
        TypeInteger = 4,
        TypeFloat = 5,
        TypeBool = 6,
    };
    struct Node;
    struct Block;
    class TextCache;

    Node* NewNode(NodeType type, Node* parent, const char* name, qsizetype nameLength);
    QVariant Convert(const Node* node, TextCache& cache) const;
    bool Fail(const char* description, const char* begin, const char* at, const char* end,
              int line, bool utf8);

    QString m_errorPos;
    QString m_errorDesc;
    int m_errorLine = 0;

    Block* m_blocks = nullptr;
    char* m_free = nullptr;
    char* m_freeEnd = nullptr;
};

} // namespace Quorvia::utils
