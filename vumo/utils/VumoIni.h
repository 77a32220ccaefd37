#pragma once
// Typed access to the keys of the seller's "vumo.ini". Each call opens the file for one read or
// one write; a missing file or key gives the default, the first write creates file and folder.
#include <QDateTime>
#include <QString>

namespace Quorvia::utils {

class VumoIni
{
public:
    // "yyyy-MM-dd hh:mm:ss", the stored form of categoryUpdateTime.
    static const char* const DateTimeFormat;

    // [Synchronize] catsVersion: category data version of the last download; 0 when absent.
    static qint64 CatsVersion();
    static bool SetCatsVersion(qint64 version);

    // [Synchronize] categoryUpdateTime: last finished category update; invalid when absent.
    static QDateTime CategoryUpdateTime();
    static bool SetCategoryUpdateTime(const QDateTime& time);

    // [ImageMananger] UserImagePath: folder last used when choosing local images.
    static QString UserImagePath();
    static bool SetUserImagePath(const QString& folder);

    // [VumoExport] VumoExportPath: folder last used for CSV export.
    static QString VumoExportPath();
    static bool SetVumoExportPath(const QString& folder);

private:
    static QString read(const char* group, const char* key);
    static bool write(const char* group, const char* key, const QString& value);
};

} // namespace Quorvia::utils
