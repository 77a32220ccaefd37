#include "utils/VumoIni.h"

#include "utils/IniSetting.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <memory>
#include <new>

namespace Quorvia::utils {

const char* const VumoIni::DateTimeFormat = "yyyy-MM-dd hh:mm:ss";

namespace {

std::unique_ptr<IniSetting> openVumoIni(const QString& uid)
{
    std::unique_ptr<IniSetting> ini(new (std::nothrow) IniSetting(VumoIniPath(uid)));
    if (!ini)
        qCCritical(lcTrade).noquote() << QStringLiteral("IniSetting内存分配失败");
    return ini;
}

} // namespace

QString VumoIni::read(const QString& uid, const char* group, const char* key)
{
    const auto ini = openVumoIni(uid);
    if (!ini)
        return QString();
    const QVariant value = ini->Value(QString::fromLatin1(key), QString::fromLatin1(group));
    // A hand-edited value with an unquoted comma comes back as a list; treat it as garbage
    // rather than guess which part was meant.
    if (value.typeId() == QMetaType::QStringList)
        return QString();
    return value.toString();
}

bool VumoIni::write(const QString& uid, const char* group, const char* key, const QString& value)
{
    // The seller folder is made here, by the first write, not by asking for the path.
    if (!EnsureFolder(SellerFolder(uid)))
        return false;
    const auto ini = openVumoIni(uid);
    return ini && ini->SetValue(QString::fromLatin1(group), QString::fromLatin1(key), value);
}

qint64 VumoIni::CatsVersion(const QString& uid)
{
    bool ok = false;
    const qint64 version = read(uid, "Synchronize", "catsVersion").trimmed().toLongLong(&ok);
    return ok ? version : 0;
}

bool VumoIni::SetCatsVersion(const QString& uid, qint64 version)
{
    return write(uid, "Synchronize", "catsVersion", QString::number(version));
}

int VumoIni::DownloadWorkers(const QString& uid)
{
    bool ok = false;
    const int workers = read(uid, "Synchronize", "downloadWorkers").trimmed().toInt(&ok);
    return ok ? qBound(1, workers, 8) : 4;
}

bool VumoIni::SetDownloadWorkers(const QString& uid, int workers)
{
    return write(uid, "Synchronize", "downloadWorkers", QString::number(qBound(1, workers, 8)));
}

QDateTime VumoIni::CategoryUpdateTime(const QString& uid)
{
    return QDateTime::fromString(read(uid, "Synchronize", "categoryUpdateTime"), QString::fromLatin1(DateTimeFormat));
}

bool VumoIni::SetCategoryUpdateTime(const QString& uid, const QDateTime& time)
{
    // An invalid time would be stored as an empty text, which reads back as "no update yet".
    return write(uid, "Synchronize", "categoryUpdateTime", time.toString(QString::fromLatin1(DateTimeFormat)));
}

QString VumoIni::UserImagePath(const QString& uid)
{
    return read(uid, "ImageMananger", "UserImagePath");
}

bool VumoIni::SetUserImagePath(const QString& uid, const QString& folder)
{
    return write(uid, "ImageMananger", "UserImagePath", folder);
}

QString VumoIni::VumoExportPath(const QString& uid)
{
    return read(uid, "VumoExport", "VumoExportPath");
}

bool VumoIni::SetVumoExportPath(const QString& uid, const QString& folder)
{
    return write(uid, "VumoExport", "VumoExportPath", folder);
}

} // namespace Quorvia::utils
