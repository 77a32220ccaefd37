#pragma once
// Gzip inflation for HTTP bodies (linked service library).
#include <QByteArray>

class UnZipFile
{
public:
    // Largest inflated body accepted; past it the result is empty.
    static constexpr qsizetype MaxInflatedSize = 256 * 1024 * 1024;

    // The inflated bytes of a gzip (or zlib) body; empty when the body is corrupt or would
    // inflate past MaxInflatedSize.
    static QByteArray gUncompress(const QByteArray& data);
    static QByteArray gUncompress(const QByteArray& data, qsizetype maxSize);
    // The same; `tooLarge` tells an empty result caused by the size limit from a corrupt body,
    // so a caller can say which of the two happened.
    static QByteArray gUncompress(const QByteArray& data, qsizetype maxSize, bool* tooLarge);
};
