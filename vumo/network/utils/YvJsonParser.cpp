#include "network/utils/YvJsonParser.h"

#include "utils/Log.h"

#include <QVariantList>
#include <QVariantMap>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <map>
#include <memory>
#include <new>
#include <string>

namespace Quorvia::utils {

struct YvJsonParser::Node
{
    Node* parent;
    Node* next;
    Node* firstChild;
    Node* lastChild;
    const char* name; // null for array items and the root
    union {
        const char* text;
        qint64 integer;
        double number;
    } value;
    qsizetype nameLength;
    qsizetype textLength;
    quint32 childCount;
    NodeType type;
};

struct YvJsonParser::Block
{
    Block* next;
};

namespace {

constexpr size_t kNodeAlign = alignof(std::max_align_t);
constexpr size_t kBlockHeader = (sizeof(void*) + kNodeAlign - 1) / kNodeAlign * kNodeAlign;

const char kUnexpected[] = "Unexcepted character";
const char kSecondRoot[] = "Second root. Only one root allowed";
const char kMismatch[] = "Mismatch closing brace/bracket";
const char kBadUnicode[] = "Bad unicode codepoint";
const char kBadEscape[] = "Unrecognized escape sequence";
const char kUnknownIdentifier[] = "Unknown identifier";
const char kBadInteger[] = "Bad integer number";
const char kBadFloat[] = "Bad float number";
const char kNotClosed[] = "Not all objects/arrays have been properly closed";
const char kTooDeep[] = "Nesting too deep";
const char kNoMemory[] = "内存分配失败";

inline bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

inline bool EndsNumber(char c)
{
    return IsSpace(c) || c == ',' || c == ']' || c == '}';
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Four hex digits at p (bounded by end), or -1.
inline int ReadHex4(const char* p, const char* end)
{
    if (end - p < 4)
        return -1;
    int code = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = HexValue(p[i]);
        if (digit < 0)
            return -1;
        code = code * 16 + digit;
    }
    return code;
}

inline char* PutUtf8(char* out, quint32 code)
{
    if (code < 0x80) {
        *out++ = char(code);
    } else if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
        *out++ = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
        *out++ = char(0x80 | (code & 0x3F));
    }
    return out;
}

// A decimal token already checked against the number grammar; correctly rounded and
// independent of the process locale.
double ToDouble(const char* begin, const char* end)
{
    double value = 0;
    const auto converted = std::from_chars(begin, end, value);
    if (converted.ec == std::errc() && converted.ptr == end)
        return value;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const std::string token(begin, end);
    return cLocale ? strtod_l(token.c_str(), nullptr, cLocale) : std::strtod(token.c_str(), nullptr);
}

inline QString Decode(const char* text, qsizetype length, bool utf8)
{
    return utf8 ? QString::fromUtf8(text, length) : QString::fromLatin1(text, length);
}


} // namespace

// Member names and short values repeat throughout a page of answers; decoding each once and
// sharing the text saves most of the allocations. Direct-mapped: a collision just replaces.
class YvJsonParser::TextCache
{
public:
    explicit TextCache(bool utf8) : m_utf8(utf8) {}

    QString Get(const char* text, qsizetype length)
    {
        if (length == 0)
            return QString();
        if (length > kMaxCachedLength)
            return Decode(text, length, m_utf8);
        quint32 hash = 2166136261u;
        for (qsizetype i = 0; i < length; ++i)
            hash = (hash ^ quint8(text[i])) * 16777619u;
        Slot& slot = m_slots[hash & (kSlots - 1)];
        if (slot.length == length && std::memcmp(slot.bytes, text, size_t(length)) == 0)
            return slot.value;
        slot.bytes = text;
        slot.length = length;
        slot.value = Decode(text, length, m_utf8);
        return slot.value;
    }

private:
    static constexpr qsizetype kMaxCachedLength = 24;
    static constexpr quint32 kSlots = 1024;
    struct Slot
    {
        const char* bytes = nullptr; // inside the parsed buffer, alive while converting
        qsizetype length = -1;
        QString value;
    };
    bool m_utf8;
    Slot m_slots[kSlots];
};

YvJsonParser::YvJsonParser() = default;

YvJsonParser::~YvJsonParser()
{
    while (m_blocks) {
        Block* next = m_blocks->next;
        std::free(m_blocks);
        m_blocks = next;
    }
}

YvJsonParser::Node* YvJsonParser::NewNode(NodeType type, Node* parent, const char* name,
                                          qsizetype nameLength)
{
    constexpr size_t nodeSize = (sizeof(Node) + kNodeAlign - 1) / kNodeAlign * kNodeAlign;
    static_assert(kBlockHeader + nodeSize <= size_t(kBlockSize), "a node must fit a block");
    if (size_t(m_freeEnd - m_free) < nodeSize) {
        auto* block = static_cast<Block*>(std::malloc(kBlockSize));
        if (!block)
            return nullptr;
        block->next = m_blocks;
        m_blocks = block;
        m_free = reinterpret_cast<char*>(block) + kBlockHeader;
        m_freeEnd = reinterpret_cast<char*>(block) + kBlockSize;
    }
    Node* node = new (m_free) Node;
    m_free += nodeSize;
    node->parent = parent;
    node->next = nullptr;
    node->firstChild = nullptr;
    node->lastChild = nullptr;
    node->name = name;
    node->nameLength = nameLength;
    node->value.integer = 0;
    node->textLength = 0;
    node->childCount = 0;
    node->type = type;
    if (parent) {
        if (parent->lastChild)
            parent->lastChild->next = node;
        else
            parent->firstChild = node;
        parent->lastChild = node;
        ++parent->childCount;
    }
    return node;
}

bool YvJsonParser::Fail(const char* description, const char*, const char* at, const char* end,
                        int line, bool utf8)
{
    m_errorDesc = QString::fromUtf8(description);
    m_errorLine = line;
    m_errorPos = Decode(at, end - at, utf8);
    return false;
}

bool YvJsonParser::parse(QByteArray& bytes, QVariant& result, bool utf8)
{
    m_errorDesc.clear();
    m_errorPos.clear();
    m_errorLine = 0;
    if (bytes.isEmpty() || bytes.at(0) == '\0') {
        result = QVariant();
        return true;
    }

    char* const begin = bytes.data();
    char* const end = begin + bytes.size();
    char* p = begin;
    Node* root = nullptr;
    Node* top = nullptr;
    const char* name = nullptr;
    qsizetype nameLength = 0;
    int depth = 0;
    int line = 1; // raw line feeds before p, plus one

#define YV_FAIL(text, at) return Fail(text, begin, at, end, line, utf8)
#define YV_NODE(var, type)                                            \
    Node* var = NewNode(type, top, name, nameLength);                 \
    if (!var) {                                                       \
        qCCritical(lcVumo).noquote() << QStringLiteral("YvJsonParser内存分配失败"); \
        YV_FAIL(kNoMemory, p);                                        \
    }                                                                 \
    name = nullptr;                                                   \
    nameLength = 0

    while (p < end) {
        const char c = *p;
        switch (c) {
        case '{':
        case '[': {
            if (top == nullptr && root != nullptr)
                YV_FAIL(kSecondRoot, p);
            if (depth >= kMaxDepth)
                YV_FAIL(kTooDeep, p);
            YV_NODE(node, c == '{' ? TypeObject : TypeArray);
            if (!root)
                root = node;
            top = node;
            ++depth;
            ++p;
            break;
        }
        case '}':
        case ']':
            if (!top || top->type != (c == '}' ? TypeObject : TypeArray))
                YV_FAIL(kMismatch, p);
            top = top->parent;
            --depth;
            name = nullptr; // a name without a value ends with its object
            nameLength = 0;
            ++p;
            break;
        case ':':
            if (!top || top->type != TypeObject)
                YV_FAIL(kUnexpected, p);
            ++p;
            break;
        case ',':
            if (!top)
                YV_FAIL(kUnexpected, p);
            ++p;
            break;
        case '"': {
            if (!top)
                YV_FAIL(kUnexpected, p);
            char* const text = ++p;
            char* out = p;
            for (;;) {
                if (p >= end)
                    YV_FAIL(kNotClosed, end); // the string, and so its container, never closed
                const char s = *p;
                if (s == '"')
                    break;
                if (s != '\\') {
                    if (s == '\n')
                        ++line;
                    *out++ = *p++;
                    continue;
                }
                if (p + 1 >= end)
                    YV_FAIL(kNotClosed, end);
                char* const escape = p;
                switch (p[1]) {
                case '"': *out++ = '"'; p += 2; break;
                case '\\': *out++ = '\\'; p += 2; break;
                case '/': *out++ = '/'; p += 2; break;
                case 'b': *out++ = '\b'; p += 2; break;
                case 'f': *out++ = '\f'; p += 2; break;
                case 'n': *out++ = '\n'; p += 2; break;
                case 'r': *out++ = '\r'; p += 2; break;
                case 't': *out++ = '\t'; p += 2; break;
                case 'u': {
                    int code = ReadHex4(p + 2, end);
                    if (code < 0)
                        YV_FAIL(kBadUnicode, escape);
                    p += 6;
                    // A high surrogate followed by a low one is one character; split, it would
                    // decode to two replacement characters.
                    if (code >= 0xD800 && code <= 0xDBFF && end - p >= 6 && p[0] == '\\'
                        && p[1] == 'u') {
                        const int low = ReadHex4(p + 2, end);
                        if (low >= 0xDC00 && low <= 0xDFFF) {
                            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                            p += 6;
                        }
                    }
                    out = PutUtf8(out, quint32(code));
                    break;
                }
                default:
                    YV_FAIL(kBadEscape, escape);
                }
            }
            const qsizetype length = out - text;
            *out = '\0';
            ++p; // closing quote
            if (top->type == TypeObject && !name) {
                name = text;
                nameLength = length;
            } else {
                YV_NODE(node, TypeString);
                node->value.text = text;
                node->textLength = length;
            }
            break;
        }
        case 'n':
        case 't':
        case 'f': {
            if (!top)
                YV_FAIL(kUnexpected, p);
            const qsizetype left = end - p;
            if (left >= 4 && std::memcmp(p, "null", 4) == 0) {
                YV_NODE(node, TypeNull);
                p += 4;
            } else if (left >= 4 && std::memcmp(p, "true", 4) == 0) {
                YV_NODE(node, TypeBool);
                node->value.integer = 1;
                p += 4;
            } else if (left >= 5 && std::memcmp(p, "false", 5) == 0) {
                YV_NODE(node, TypeBool);
                node->value.integer = 0;
                p += 5;
            } else {
                YV_FAIL(kUnknownIdentifier, p);
            }
            break;
        }
        case '-':
        case '0': case '1': case '2': case '3': case '4':
        case '5': case '6': case '7': case '8': case '9': {
            if (!top)
                YV_FAIL(kUnexpected, p);
            char* const first = p;
            char* tokenEnd = p;
            bool isFloat = false;
            while (tokenEnd < end && !EndsNumber(*tokenEnd)) {
                const char t = *tokenEnd;
                isFloat = isFloat || t == '.' || t == 'e' || t == 'E';
                ++tokenEnd;
            }
            const char* s = first;
            const bool negative = *s == '-';
            if (negative)
                ++s;
            if (!isFloat) {
                // Accumulated unsigned; a value past the 64-bit range becomes a double
                // instead of wrapping to a wrong number.
                const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
                quint64 value = 0;
                bool overflow = false;
                const char* digits = s;
                for (; s < tokenEnd && IsDigit(*s); ++s) {
                    const quint64 digit = quint64(*s - '0');
                    if (value > (limit - digit) / 10)
                        overflow = true;
                    else
                        value = value * 10 + digit;
                }
                if (s != tokenEnd || s == digits)
                    YV_FAIL(kBadInteger, first);
                if (overflow) {
                    YV_NODE(node, TypeFloat);
                    node->value.number = ToDouble(first, tokenEnd);
                } else {
                    YV_NODE(node, TypeInteger);
                    node->value.integer = negative ? qint64(quint64(0) - value) : qint64(value);
                }
            } else {
                int mantissa = 0;
                for (; s < tokenEnd && IsDigit(*s); ++s)
                    ++mantissa;
                if (s < tokenEnd && *s == '.') {
                    for (++s; s < tokenEnd && IsDigit(*s); ++s)
                        ++mantissa;
                }
                bool ok = mantissa > 0;
                if (ok && s < tokenEnd && (*s == 'e' || *s == 'E')) {
                    ++s;
                    if (s < tokenEnd && (*s == '+' || *s == '-'))
                        ++s;
                    int exponent = 0;
                    for (; s < tokenEnd && IsDigit(*s); ++s)
                        ++exponent;
                    ok = exponent > 0;
                }
                if (!ok || s != tokenEnd)
                    YV_FAIL(kBadFloat, first);
                YV_NODE(node, TypeFloat);
                node->value.number = ToDouble(first, tokenEnd);
            }
            p = tokenEnd;
            break;
        }
        case ' ':
        case '\t':
        case '\r':
        case '\n':
            // Only between tokens: the document must start with its first token.
            if (p == begin)
                YV_FAIL(kUnexpected, p);
            if (c == '\n')
                ++line;
            ++p;
            break;
        default:
            YV_FAIL(kUnexpected, p);
        }
    }
#undef YV_NODE
#undef YV_FAIL

    if (top)
        return Fail(kNotClosed, begin, end, end, line, utf8);
    if (!root) {
        result = QVariant();
        return true;
    }
    auto cache = std::make_unique<TextCache>(utf8);
    result = Convert(root, *cache);
    return true;
}

QVariant YvJsonParser::Convert(const Node* node, TextCache& cache) const
{
    switch (node->type) {
    case TypeObject: {
        // Built as a std::map and handed over whole; a repeated name keeps the last value.
        std::map<QString, QVariant> members;
        for (const Node* child = node->firstChild; child; child = child->next)
            members.insert_or_assign(members.end(), cache.Get(child->name, child->nameLength),
                                     Convert(child, cache));
        return QVariantMap(std::move(members));
    }
    case TypeArray: {
        QVariantList list;
        list.reserve(qsizetype(node->childCount));
        for (const Node* child = node->firstChild; child; child = child->next)
            list.append(Convert(child, cache));
        return list;
    }
    case TypeString:
        return cache.Get(node->value.text, node->textLength);
    case TypeInteger:
    case TypeBool:
        return QVariant(qlonglong(node->value.integer));
    case TypeFloat:
        return QVariant(node->value.number);
    case TypeNull:
    default:
        return QVariant();
    }
}

} // namespace Quorvia::utils
