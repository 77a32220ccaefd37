#include "quorvia/UnZipFile.h"

#include <zlib.h>

#include <limits>

QByteArray UnZipFile::gUncompress(const QByteArray& data)
{
    return gUncompress(data, MaxInflatedSize);
}

QByteArray UnZipFile::gUncompress(const QByteArray& data, qsizetype maxSize)
{
    return gUncompress(data, maxSize, nullptr);
}

QByteArray UnZipFile::gUncompress(const QByteArray& data, qsizetype maxSize, bool* tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    if (data.isEmpty() || maxSize <= 0)
        return {};

    z_stream stream{};
    // 32 + MAX_WBITS: accept both gzip and zlib headers.
    if (inflateInit2(&stream, 32 + MAX_WBITS) != Z_OK)
        return {};

    QByteArray out;
    char chunk[64 * 1024];
    const auto* input = reinterpret_cast<const Bytef*>(data.constData());
    qsizetype remaining = data.size();
    int rc = Z_OK;
    bool failed = false;

    while (!failed && rc != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            if (remaining == 0)
                break; // truncated body: no end of stream
            const auto step = static_cast<uInt>(qMin<qsizetype>(remaining, std::numeric_limits<uInt>::max()));
            stream.next_in = const_cast<Bytef*>(input);
            stream.avail_in = step;
            input += step;
            remaining -= step;
        }
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof(chunk);
        rc = inflate(&stream, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            failed = true;
            break;
        }
        const qsizetype produced = qsizetype(sizeof(chunk)) - stream.avail_out;
        if (out.size() + produced > maxSize) {
            failed = true; // a hostile body must not exhaust memory
            if (tooLarge)
                *tooLarge = true;
            break;
        }
        out.append(chunk, produced);
    }
    inflateEnd(&stream);

    if (failed || rc != Z_STREAM_END)
        return {};
    return out;
}
