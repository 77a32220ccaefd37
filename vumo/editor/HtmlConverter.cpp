#include "editor/HtmlConverter.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QUrl>

#include <gumbo.h>

#include <vector>

namespace Quorvia::vumo {

namespace {

// Gumbo's parse time grows with the square of the nesting depth (20000 nested tags take about a
// second): text with more tags than that is refused rather than parsed. A stored description has
// at most 30000 characters, so no real one comes near it.
constexpr int kMaxTags = 20000;

// Where the value of one img src attribute stands in the UTF-8 text, quotes included; length 0
// when the attribute has no written value.
struct SrcSpan
{
    qsizetype offset = 0;
    qsizetype length = 0;
    QString value;
};

bool TooManyTags(const QByteArray& utf8)
{
    return utf8.count('<') > kMaxTags;
}

// Every img src attribute, in document order. Elements the parser makes up
// have no text of their own and are never rewritten.
std::vector<SrcSpan> ImgSrcSpans(const QByteArray& utf8)
{
    std::vector<SrcSpan> spans;
    if (utf8.isEmpty() || TooManyTags(utf8))
        return spans;
    // Recorded parse errors each copy the stack of open elements: with deep nesting that is
    // quadratic memory, and nobody reads them.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    if (!output)
        return spans;

    const char* const begin = utf8.constData();
    const char* const end = begin + utf8.size();
    // Depth-first with an explicit stack, children pushed in reverse, so that the order is the
    // document's and deep nesting cannot overflow ours.
    std::vector<const GumboNode*> pending{output->document};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        const GumboVector* children = nullptr;
        if (node->type == GUMBO_NODE_DOCUMENT) {
            children = &node->v.document.children;
        } else if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
            const GumboElement& element = node->v.element;
            children = &element.children;
            if (element.tag == GUMBO_TAG_IMG) {
                const GumboAttribute* src = gumbo_get_attribute(&element.attributes, "src");
                if (src) {
                    // A bare `src` has no value text of its own (gumbo points at the name): it is
                    // listed but never rewritten.
                    const GumboStringPiece& text = src->original_value;
                    const bool written = text.data && text.length > 0 && text.data != src->original_name.data &&
                                         text.data >= begin && text.data + text.length <= end;
                    spans.push_back({written ? qsizetype(text.data - begin) : 0, written ? qsizetype(text.length) : 0,
                                     QString::fromUtf8(src->value)});
                }
            }
        }
        if (children) {
            for (unsigned i = children->length; i > 0; --i)
                pending.push_back(static_cast<const GumboNode*>(children->data[i - 1]));
        }
    }
    gumbo_destroy_output(&options, output);
    return spans;
}

bool HasScheme(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    return colon > 0 && (slash < 0 || colon < slash);
}

bool IsPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}

} // namespace

QStringList FindImgSources(const QString& html)
{
    QStringList sources;
    for (const SrcSpan& span : ImgSrcSpans(html.toUtf8()))
        sources << span.value;
    return sources;
}

QString LocalPathOfImgSrc(const QString& src)
{
    const QString text = src.trimmed();
    if (text.isEmpty())
        return {};
    QString path;
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(text);
        if (!url.isValid() || !url.isLocalFile())
            return {};
        path = url.toLocalFile(); // decodes every escape, so Chinese names come back whole
    } else {
        if (HasScheme(text))
            return {};
        path = text;
        // A path written with escapes (spaces as "%20") names the decoded file when only that exists.
        if (!QFileInfo::exists(path) && path.contains(QLatin1Char('%'))) {
            const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
            if (QFileInfo::exists(decoded))
                path = decoded;
        }
    }
    // Another machine's share ("//host/...") is not a local file.
    if (!QDir::isAbsolutePath(path) || path.startsWith(QLatin1String("//")))
        return {};
    return path;
}

int ReplaceImgSrc(QString& html, const QString& from, const QString& to)
{
    const QByteArray utf8 = html.toUtf8();
    const std::vector<SrcSpan> spans = ImgSrcSpans(utf8);
    const QByteArray quoted = '"' + to.toHtmlEscaped().toUtf8() + '"';
    QByteArray rewritten;
    qsizetype copied = 0;
    int count = 0;
    for (const SrcSpan& span : spans) {
        if (span.length == 0 || span.value != from)
            continue;
        rewritten += utf8.mid(copied, span.offset - copied);
        rewritten += quoted;
        copied = span.offset + span.length;
        ++count;
    }
    if (count == 0)
        return 0;
    rewritten += utf8.mid(copied);
    html = QString::fromUtf8(rewritten);
    return count;
}

HtmlConverter::HtmlConverter(Uploader uploader)
    : m_uploader(std::move(uploader))
{
}

void HtmlConverter::SetHtml(const QString& html)
{
    m_html = html;
}

bool HtmlConverter::Convert()
{
    m_error.clear();
    m_uploaded = 0;
    if (TooManyTags(m_html.toUtf8())) {
        m_error = QStringLiteral("商品描述的标签过多，无法处理其中的图片");
        return false;
    }
    QString html = m_html;
    QSet<QString> seen;
    for (const QString& src : FindImgSources(m_html)) {
        if (seen.contains(src))
            continue; // the first replacement rewrote every img with this source
        seen.insert(src);
        const QString path = LocalPathOfImgSrc(src);
        if (path.isEmpty())
            continue;
        const QFileInfo info(path);
        if (!info.isFile() || info.size() >= kMaxPictureBytes || !IsPicture(path))
            continue;
        QString address;
        QString error;
        if (!m_uploader || !m_uploader(path, address, error) || address.isEmpty()) {
            m_error = error.isEmpty() ? QStringLiteral("图片上传失败：%1").arg(path) : error;
            return false;
        }
        ReplaceImgSrc(html, src, address);
        ++m_uploaded;
    }
    m_html = html;
    return true;
}

} // namespace Quorvia::vumo
