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
#include <string>
#include <vector>

namespace Quorvia::utils {

namespace {

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
    explicit TextCache(bool utf8)
        : m_utf8(utf8)
    {
    }

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

// One open object or array. Values go straight into the container being built, so a document
// costs its converted values and the text, not a node tree as well.
struct YvJsonParser::Frame
{
    bool isObject = false;
    QString nameInParent; // the member name this container takes in its parent object
    bool hasName = false; // an object's member name waits for its value
    QString name;
    QVariantList items;
    std::map<QString, QVariant> members; // handed to QVariantMap whole at the close
};

YvJsonParser::YvJsonParser() = default;

YvJsonParser::~YvJsonParser() = default;

bool YvJsonParser::Fail(const char* description, const char*, const char* at, const char* end, int line, bool utf8)
{
    m_errorDesc = QString::fromUtf8(description);
    m_errorLine = line;
    m_errorPos = Decode(at, end - at, utf8);
    return false;
}

// One parse over the caller's buffer: each step takes one token at the cursor, or records the
// failure with the parser and returns false. Hot loops work on local copies of the cursor: the
// in-place writes go through char pointers, which could otherwise alias it.
class YvJsonParser::Reader
{
public:
    Reader(YvJsonParser& parser, QByteArray& bytes, bool utf8)
        : m_parser(parser)
        , m_begin(bytes.data())
        , m_end(m_begin + bytes.size())
        , m_p(m_begin)
        , m_utf8(utf8)
        , m_cache(std::make_unique<TextCache>(utf8))
    {
        m_frames.reserve(16);
    }

    bool Run(QVariant& result)
    {
        while (m_p < m_end) {
            if (!Step())
                return false;
        }
        if (!m_frames.empty())
            return Fail(kNotClosed, m_end);
        result = std::move(m_root);
        return true;
    }

private:
    bool Step()
    {
        const char c = *m_p;
        switch (c) {
        case '{':
        case '[':
            return Open(c == '{');
        case '}':
        case ']':
            return Close(c == '}');
        case ':':
            if (m_frames.empty() || !m_frames.back().isObject)
                return Fail(kUnexpected, m_p);
            ++m_p;
            return true;
        case ',':
            if (m_frames.empty())
                return Fail(kUnexpected, m_p);
            ++m_p;
            return true;
        case '"':
            return String();
        case 'n':
        case 't':
        case 'f':
            return Literal();
        case '-':
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9':
            return Number();
        case ' ':
        case '\t':
        case '\r':
        case '\n':
            // Only between tokens: the document must start with its first token.
            if (m_p == m_begin)
                return Fail(kUnexpected, m_p);
            if (c == '\n')
                ++m_line;
            ++m_p;
            return true;
        default:
            return Fail(kUnexpected, m_p);
        }
    }

    bool Open(bool isObject)
    {
        if (m_frames.empty() && m_haveRoot)
            return Fail(kSecondRoot, m_p);
        if (int(m_frames.size()) >= kMaxDepth)
            return Fail(kTooDeep, m_p);
        Frame frame;
        frame.isObject = isObject;
        if (!m_frames.empty() && m_frames.back().isObject) {
            frame.nameInParent = std::move(m_frames.back().name);
            m_frames.back().name = QString();
            m_frames.back().hasName = false;
        }
        m_frames.push_back(std::move(frame));
        m_haveRoot = true;
        ++m_p;
        return true;
    }

    bool Close(bool isObject)
    {
        if (m_frames.empty() || m_frames.back().isObject != isObject)
            return Fail(kMismatch, m_p);
        // A name without a value ends with its object.
        Frame& top = m_frames.back();
        QVariant value = top.isObject ? QVariant(QVariantMap(std::move(top.members))) : QVariant(std::move(top.items));
        QString name = std::move(top.nameInParent);
        m_frames.pop_back();
        if (m_frames.empty())
            m_root = std::move(value);
        else if (m_frames.back().isObject)
            m_frames.back().members.insert_or_assign(std::move(name), std::move(value));
        else
            m_frames.back().items.append(std::move(value));
        ++m_p;
        return true;
    }

    bool String()
    {
        if (m_frames.empty())
            return Fail(kUnexpected, m_p);
        char* p = m_p + 1;
        char* const text = p;
        char* out = p;
        for (;;) {
            if (p >= m_end)
                return Fail(kNotClosed, m_end); // the string, and so its container, never closed
            const char s = *p;
            if (s == '"')
                break;
            if (s != '\\') {
                if (s == '\n')
                    ++m_line;
                *out++ = *p++;
                continue;
            }
            if (!Unescape(p, out))
                return false;
        }
        const qsizetype length = out - text;
        *out = '\0';
        m_p = p + 1; // closing quote
        Frame& top = m_frames.back();
        if (top.isObject && !top.hasName) {
            top.name = m_cache->Get(text, length);
            top.hasName = true;
        } else {
            Put(m_cache->Get(text, length));
        }
        return true;
    }

    // The escape at p (a backslash) written to out as UTF-8; both move past it.
    bool Unescape(char*& p, char*& out)
    {
        if (p + 1 >= m_end)
            return Fail(kNotClosed, m_end);
        char* const escape = p;
        switch (p[1]) {
        case '"':
            *out++ = '"';
            break;
        case '\\':
            *out++ = '\\';
            break;
        case '/':
            *out++ = '/';
            break;
        case 'b':
            *out++ = '\b';
            break;
        case 'f':
            *out++ = '\f';
            break;
        case 'n':
            *out++ = '\n';
            break;
        case 'r':
            *out++ = '\r';
            break;
        case 't':
            *out++ = '\t';
            break;
        case 'u': {
            int code = ReadHex4(p + 2, m_end);
            if (code < 0)
                return Fail(kBadUnicode, escape);
            p += 6;
            // A high surrogate followed by a low one is one character; split, it would decode
            // to two replacement characters.
            if (code >= 0xD800 && code <= 0xDBFF && m_end - p >= 6 && p[0] == '\\' && p[1] == 'u') {
                const int low = ReadHex4(p + 2, m_end);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    p += 6;
                }
            }
            out = PutUtf8(out, quint32(code));
            return true;
        }
        default:
            return Fail(kBadEscape, escape);
        }
        p += 2;
        return true;
    }

    bool Literal()
    {
        if (m_frames.empty())
            return Fail(kUnexpected, m_p);
        const qsizetype left = m_end - m_p;
        if (left >= 4 && std::memcmp(m_p, "null", 4) == 0) {
            Put(QVariant());
            m_p += 4;
        } else if (left >= 4 && std::memcmp(m_p, "true", 4) == 0) {
            Put(QVariant(qlonglong(1)));
            m_p += 4;
        } else if (left >= 5 && std::memcmp(m_p, "false", 5) == 0) {
            Put(QVariant(qlonglong(0)));
            m_p += 5;
        } else {
            return Fail(kUnknownIdentifier, m_p);
        }
        return true;
    }

    bool Number()
    {
        if (m_frames.empty())
            return Fail(kUnexpected, m_p);
        char* const first = m_p;
        char* tokenEnd = first;
        bool isFloat = false;
        while (tokenEnd < m_end && !EndsNumber(*tokenEnd)) {
            const char t = *tokenEnd;
            isFloat = isFloat || t == '.' || t == 'e' || t == 'E';
            ++tokenEnd;
        }
        if (!(isFloat ? Float(first, tokenEnd) : Integer(first, tokenEnd)))
            return false;
        m_p = tokenEnd;
        return true;
    }

    bool Integer(const char* first, const char* tokenEnd)
    {
        const bool negative = *first == '-';
        const char* s = negative ? first + 1 : first;
        // Accumulated unsigned; a value past the 64-bit range becomes a double instead of
        // wrapping to a wrong number.
        const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
        quint64 value = 0;
        bool overflow = false;
        const char* const digits = s;
        for (; s < tokenEnd && IsDigit(*s); ++s) {
            const quint64 digit = quint64(*s - '0');
            if (value > (limit - digit) / 10)
                overflow = true;
            else
                value = value * 10 + digit;
        }
        if (s != tokenEnd || s == digits)
            return Fail(kBadInteger, first);
        if (overflow)
            Put(QVariant(ToDouble(first, tokenEnd)));
        else
            Put(QVariant(qlonglong(negative ? qint64(quint64(0) - value) : qint64(value))));
        return true;
    }

    bool Float(const char* first, const char* tokenEnd)
    {
        const char* s = *first == '-' ? first + 1 : first;
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
            return Fail(kBadFloat, first);
        Put(QVariant(ToDouble(first, tokenEnd)));
        return true;
    }

    // A finished value into the innermost container: under the waiting member name in an
    // object (a value without one takes the empty name), appended in an array.
    void Put(QVariant&& value)
    {
        Frame& top = m_frames.back();
        if (top.isObject) {
            top.members.insert_or_assign(std::move(top.name), std::move(value));
            top.name = QString();
            top.hasName = false;
        } else {
            top.items.append(std::move(value));
        }
    }

    bool Fail(const char* description, const char* at)
    {
        return m_parser.Fail(description, m_begin, at, m_end, m_line, m_utf8);
    }

    YvJsonParser& m_parser;
    char* const m_begin;
    char* const m_end;
    char* m_p;
    const bool m_utf8;
    int m_line = 1;              // raw line feeds before m_p, plus one
    std::vector<Frame> m_frames; // back() is the innermost open container
    bool m_haveRoot = false;
    QVariant m_root;
    const std::unique_ptr<TextCache> m_cache;
};

bool YvJsonParser::parse(QByteArray& bytes, QVariant& result, bool utf8)
{
    m_errorDesc.clear();
    m_errorPos.clear();
    m_errorLine = 0;
    if (bytes.isEmpty() || bytes.at(0) == '\0') {
        result = QVariant();
        return true;
    }
    return Reader(*this, bytes, utf8).Run(result);
}

} // namespace Quorvia::utils
