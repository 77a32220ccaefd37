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

// One open object or array. Values go straight into the container being built, so a document
// costs its converted values and the text, not a node tree as well.
struct YvJsonParser::Frame
{
    bool isObject = false;
    QString nameInParent;  // the member name this container takes in its parent object
    bool hasName = false;  // an object's member name waits for its value
    QString name;
    QVariantList items;
    std::map<QString, QVariant> members; // handed to QVariantMap whole at the close
};

YvJsonParser::YvJsonParser() = default;

YvJsonParser::~YvJsonParser() = default;

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
    std::vector<Frame> frames; // frames.back() is the innermost open container
    frames.reserve(16);
    bool haveRoot = false;
    QVariant root;
    const auto cache = std::make_unique<TextCache>(utf8);
    int line = 1; // raw line feeds before p, plus one

    // A finished value into the innermost container: under the waiting member name in an
    // object (a value without one takes the empty name), appended in an array.
    const auto put = [&frames](QVariant&& value) {
        Frame& top = frames.back();
        if (top.isObject) {
            top.members.insert_or_assign(std::move(top.name), std::move(value));
            top.name = QString();
            top.hasName = false;
        } else {
            top.items.append(std::move(value));
        }
    };

#define YV_FAIL(text, at) return Fail(text, begin, at, end, line, utf8)

    while (p < end) {
        const char c = *p;
        switch (c) {
        case '{':
        case '[': {
            if (frames.empty() && haveRoot)
                YV_FAIL(kSecondRoot, p);
            if (int(frames.size()) >= kMaxDepth)
                YV_FAIL(kTooDeep, p);
            Frame frame;
            frame.isObject = c == '{';
            if (!frames.empty() && frames.back().isObject) {
                frame.nameInParent = std::move(frames.back().name);
                frames.back().name = QString();
                frames.back().hasName = false;
            }
            frames.push_back(std::move(frame));
            haveRoot = true;
            ++p;
            break;
        }
        case '}':
        case ']': {
            if (frames.empty() || frames.back().isObject != (c == '}'))
                YV_FAIL(kMismatch, p);
            // A name without a value ends with its object.
            Frame& top = frames.back();
            QVariant value = top.isObject ? QVariant(QVariantMap(std::move(top.members)))
                                          : QVariant(std::move(top.items));
            QString name = std::move(top.nameInParent);
            frames.pop_back();
            if (frames.empty()) {
                root = std::move(value);
            } else if (frames.back().isObject) {
                frames.back().members.insert_or_assign(std::move(name), std::move(value));
            } else {
                frames.back().items.append(std::move(value));
            }
            ++p;
            break;
        }
        case ':':
            if (frames.empty() || !frames.back().isObject)
                YV_FAIL(kUnexpected, p);
            ++p;
            break;
        case ',':
            if (frames.empty())
                YV_FAIL(kUnexpected, p);
            ++p;
            break;
        case '"': {
            if (frames.empty())
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
            Frame& top = frames.back();
            if (top.isObject && !top.hasName) {
                top.name = cache->Get(text, length);
                top.hasName = true;
            } else {
                put(cache->Get(text, length));
            }
            break;
        }
        case 'n':
        case 't':
        case 'f': {
            if (frames.empty())
                YV_FAIL(kUnexpected, p);
            const qsizetype left = end - p;
            if (left >= 4 && std::memcmp(p, "null", 4) == 0) {
                put(QVariant());
                p += 4;
            } else if (left >= 4 && std::memcmp(p, "true", 4) == 0) {
                put(QVariant(qlonglong(1)));
                p += 4;
            } else if (left >= 5 && std::memcmp(p, "false", 5) == 0) {
                put(QVariant(qlonglong(0)));
                p += 5;
            } else {
                YV_FAIL(kUnknownIdentifier, p);
            }
            break;
        }
        case '-':
        case '0': case '1': case '2': case '3': case '4':
        case '5': case '6': case '7': case '8': case '9': {
            if (frames.empty())
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
                if (overflow)
                    put(QVariant(ToDouble(first, tokenEnd)));
                else
                    put(QVariant(qlonglong(negative ? qint64(quint64(0) - value) : qint64(value))));
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
                put(QVariant(ToDouble(first, tokenEnd)));
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
#undef YV_FAIL

    if (!frames.empty())
        return Fail(kNotClosed, begin, end, end, line, utf8);
    result = std::move(root);
    return true;
}

} // namespace Quorvia::utils
