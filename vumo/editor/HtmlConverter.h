#pragma once
// Finds the pictures a listing description refers to, puts the local ones on the image server and
// rewrites their addresses. Runs on any thread: the HTML is parsed with gumbo, never in a web view.
#include <QString>
#include <QStringList>

#include <functional>

namespace Quorvia::vumo {

// The "src" values of every img element, in document order, duplicates kept.
//   `<p><img src="a.png"><IMG SRC='b.png'></p>` -> {"a.png", "b.png"}
QStringList FindImgSources(const QString& html);

// The file a src refers to, or an empty text when it does not name an absolute local path.
//   "file:///tmp/%E5%9B%BE%20a.png" -> "/tmp/图 a.png"
//   "/tmp/a.png" -> "/tmp/a.png";  "http://x/a.png", "https://x/a.png", "a.png", "" -> ""
QString LocalPathOfImgSrc(const QString& src);

// Sets `to` as the src of every img element whose src is exactly `from`; nothing outside img
// src attributes changes (the same text in a paragraph or an href stays). Returns the number of
// attributes rewritten.
int ReplaceImgSrc(QString& html, const QString& from, const QString& to);

class HtmlConverter
{
public:
    // Puts one local file on the image server: true with its address, or false with the reason.
    using Uploader = std::function<bool(const QString& localPath, QString& address, QString& error)>;

    explicit HtmlConverter(Uploader uploader);

    void SetHtml(const QString& html);
    // Uploads each local picture file once (however its sources spell it) and rewrites every img
    // that names it. Sources that
    // are web addresses, not absolute paths, missing, 1048576 bytes or larger, or not pictures stay
    // as they are. False at the first failed upload; the HTML is then left unchanged.
    bool Convert();
    QString GetHtml() const { return m_html; }
    QString Error() const { return m_error; }
    // Pictures uploaded by the last Convert().
    int UploadedCount() const { return m_uploaded; }

    static constexpr qint64 kMaxPictureBytes = 1048576;

private:
    Uploader m_uploader;
    QString m_html;
    QString m_error;
    int m_uploaded = 0;
};

} // namespace Quorvia::vumo
