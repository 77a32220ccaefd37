#pragma once
// Pictures the seller picks from disk: the checks a picked file must pass and its copy into
// the seller's picture folder. No widgets: each form maps the outcome to its own texts.
#include <QString>

namespace Quorvia::vumo::editor {

inline constexpr qint64 kPictureMaxBytes = 1048576;
inline constexpr int kPictureSide = 800;

enum class PictureCheck {
    Ok,
    Missing,   // no such file
    TooLarge,  // more than kPictureMaxBytes; the file is not decoded
    NotImage,  // does not load as a picture
    WrongSize, // not kPictureSide x kPictureSide (only when dimensions are checked)
};

// The checks in their order: exists, size, loads, dimensions.
PictureCheck CheckPictureFile(const QString& path, bool checkDimensions = true);

// The name a picked file gets in the picture folder: the lower-case MD5 of the hexadecimal
// text of its bytes followed by `salt`, then the file's extension from its last ".". Equal
// files get one name, so copying again changes nothing. Empty when the file cannot be read
// (logged "商品文件打开失败！").
QString PictureFolderName(const QString& path, const QString& salt);

// Copies a picked file into `folder` under PictureFolderName unless a file of that name is
// there already; gives the name, empty on failure. A path without "/" or ":" already names a
// file inside the folder and is given back as it is when that file exists.
// `copied` tells whether this call made the file (so a failed save can take it back).
QString CopyIntoPictureFolder(const QString& path, const QString& folder, const QString& salt, bool* copied = nullptr);

} // namespace Quorvia::vumo::editor
