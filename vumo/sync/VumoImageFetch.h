#pragma once
// Bringing the marketplace's pictures into the seller's picture folder, each file once.
#include <QString>

namespace Quorvia::vumo {

// The local file name of a picture address: its path after the size folder, folders joined
// by "_", so pictures of different listings with the same last part stay apart:
// "http://h/imgzone/n2/seed/11/0_1.jpg" -> "seed_11_0_1.jpg", "http://h/a/b.jpg" -> "a_b.jpg".
// Empty for a path that ends in a folder or has "." or ".." parts.
QString PictureNameFromUrl(const QString& url);

// The full-size variant of a picture address: "/n2/" and "/n5/" become "/n0/". The local file
// has one name for every size, so it must always hold the full-size picture.
QString FullSizePictureUrl(const QString& url);

// A stored picture path that names a file inside the picture folder (a relative path);
// "/home/a/b.jpg" and "C:/a/b.jpg" are not.
bool IsPictureFolderName(const QString& path);

// Makes sure the picture of `url` is in `folder` and gives its local name. Nothing is fetched
// when the file is there already, nor while another thread fetches the same name (it waits for
// that one). A failed fetch leaves no file, logs "无法下载该图片:%1" and returns false.
bool FetchPicture(const QString& url, const QString& folder, int timeoutMs, QString* name);

} // namespace Quorvia::vumo
