#pragma once
// Typed access to the keys of the seller's "vumo.ini" (the seller given by uid). Each call opens
// the file for one read or one write; a missing file or key gives the default, the first write
// creates file and folder. An empty uid reads defaults and writes nothing.
#include <QDateTime>
#include <QString>

namespace Quorvia::utils {

class VumoIni
{
public:
    // "yyyy-MM-dd hh:mm:ss", the stored form of categoryUpdateTime.
    static const char* const DateTimeFormat;

    // [Synchronize] catsVersion: category data version of the last download; 0 when absent.
    static qint64 CatsVersion(const QString& uid);
    static bool SetCatsVersion(const QString& uid, qint64 version);

    // [Synchronize] categoryUpdateTime: last finished category update; invalid when absent.
    static QDateTime CategoryUpdateTime(const QString& uid);
    static bool SetCategoryUpdateTime(const QString& uid, const QDateTime& time);

    // [Synchronize] downloadWorkers: listings downloaded at the same time, 1 to 8; 4 when
    // absent or not a number, out-of-range values are brought into range.
    static int DownloadWorkers(const QString& uid);
    static bool SetDownloadWorkers(const QString& uid, int workers);

    // [ImageMananger] UserImagePath: folder last used when choosing local images.
    static QString UserImagePath(const QString& uid);
    static bool SetUserImagePath(const QString& uid, const QString& folder);

    // [VumoExport] VumoExportPath: folder last used for CSV export.
    static QString VumoExportPath(const QString& uid);
    static bool SetVumoExportPath(const QString& uid, const QString& folder);

private:
    static QString read(const QString& uid, const char* group, const char* key);
    static bool write(const QString& uid, const char* group, const char* key, const QString& value);
};

} // namespace Quorvia::utils
