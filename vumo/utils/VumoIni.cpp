#include "utils/VumoIni.h"

#include "utils/IniSetting.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <memory>
#include <new>

namespace Quorvia::utils {

const char* const VumoIni::DateTimeFormat = "yyyy-MM-dd hh:mm:ss";

namespace {

std::unique_ptr<IniSetting> openVumoIni()
{
    std::unique_ptr<IniSetting> ini(new (std::nothrow) IniSetting(VumoIniPath()));
    if (!ini)
        qCCritical(lcTrade).noquote() << QStringLiteral("IniSetting内存分配失败");
    return ini;
}

} // namespace

QString VumoIni::read(const char* group, const char* key)
{
    const auto ini = openVumoIni();
    if (!ini)
        return QString();
    const QVariant value = ini->Value(QString::fromLatin1(key), QString::fromLatin1(group));
    // A hand-edited value with an unquoted comma comes back as a list; treat it as garbage
    // rather than guess which part was meant.
    if (value.typeId() == QMetaType::QStringList)
        return QString();
    return value.toString();
}

bool VumoIni::write(const char* group, const char* key, const QString& value)
{
    const auto ini = openVumoIni();
    return ini && ini->SetValue(QString::fromLatin1(group), QString::fromLatin1(key), value);
}

qint64 VumoIni::CatsVersion()
{
    bool ok = false;
    const qint64 version = read("Synchronize", "catsVersion").trimmed().toLongLong(&ok);
    return ok ? version : 0;
}

bool VumoIni::SetCatsVersion(qint64 version)
{
    return write("Synchronize", "catsVersion", QString::number(version));
}

QDateTime VumoIni::CategoryUpdateTime()
{
    return QDateTime::fromString(read("Synchronize", "categoryUpdateTime"), QString::fromLatin1(DateTimeFormat));
}

bool VumoIni::SetCategoryUpdateTime(const QDateTime& time)
{
    // An invalid time would be stored as an empty text, which reads back as "no update yet".
    return write("Synchronize", "categoryUpdateTime", time.toString(QString::fromLatin1(DateTimeFormat)));
}

QString VumoIni::UserImagePath()
{
    return read("ImageMananger", "UserImagePath");
}

bool VumoIni::SetUserImagePath(const QString& folder)
{
    return write("ImageMananger", "UserImagePath", folder);
}

QString VumoIni::VumoExportPath()
{
    return read("VumoExport", "VumoExportPath");
}

bool VumoIni::SetVumoExportPath(const QString& folder)
{
    return write("VumoExport", "VumoExportPath", folder);
}

} // namespace Quorvia::utils
