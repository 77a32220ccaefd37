#include "editor/PictureFiles.h"

#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace Quorvia::vumo::editor {

PictureCheck CheckPictureFile(const QString& path, bool checkDimensions)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return PictureCheck::Missing;
    if (info.size() > kPictureMaxBytes)
        return PictureCheck::TooLarge;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return PictureCheck::NotImage;
    if (checkDimensions && (image.width() != kPictureSide || image.height() != kPictureSide))
        return PictureCheck::WrongSize;
    return PictureCheck::Ok;
}

QString PictureFolderName(const QString& path, const QString& salt)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("商品文件打开失败！") << path;
        return QString();
    }
    QByteArray text = file.readAll().toHex();
    text += salt.toUtf8();
    QString name = QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
    const QString fileName = QFileInfo(path).fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name += fileName.mid(dot);
    return name;
}

QString CopyIntoPictureFolder(const QString& path, const QString& folder, const QString& salt, bool* copied)
{
    if (copied)
        *copied = false;
    if (path.isEmpty() || folder.isEmpty())
        return QString();
    const QDir dir(folder);
    if (!path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char(':')))
        return dir.exists(path) ? path : QString();
    const QString name = PictureFolderName(path, salt);
    if (name.isEmpty() || !utils::EnsureFolder(folder))
        return QString();
    const QString target = dir.filePath(name);
    if (QFileInfo::exists(target))
        return name;
    if (!QFile::copy(path, target)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("复制图片失败") << path << target;
        return QString();
    }
    if (copied)
        *copied = true;
    return name;
}

} // namespace Quorvia::vumo::editor
