#pragma once
// Picture files made at test time for the picture checks.
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "support/TempHome.h"

namespace VumoTest {

inline QColor PictureColour(int seed)
{
    return QColor::fromHsv((seed * 47) % 360, 200, 220);
}

// A file in `dir` whose content depends on `seed`. kind 0: an 800x800 PNG of exactly 1048576
// bytes (the largest size allowed); 1: the same one byte longer; 2: an 800x801 PNG; 3: not a
// picture at all.
inline QString Picture(const QTemporaryDir& dir, int seed, int kind = 0)
{
    const QString path = dir.filePath(QStringLiteral("p%1_%2.png").arg(seed).arg(kind));
    QByteArray bytes;
    if (kind == 3) {
        bytes = QByteArray("no picture here ") + QByteArray::number(seed);
    } else {
        QImage image(800, kind == 2 ? 801 : 800, QImage::Format_RGB32);
        image.fill(PictureColour(seed));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        // Bytes after the end of a PNG are ignored by readers: pad to the size limit.
        if (kind != 2)
            bytes.append(QByteArray(1048576 + (kind == 1 ? 1 : 0) - bytes.size(), '\0'));
    }
    return WriteBytes(path, bytes) ? path : QString();
}

} // namespace VumoTest
