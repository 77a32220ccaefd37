#include "quorvia/UserConfig.h"

#include "quorvia/DataRoot.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

namespace quorvia::settings {

namespace {

QMutex& userMutex()
{
    static QMutex mutex;
    return mutex;
}

QString& currentUid()
{
    static QString uid;
    return uid;
}

const QString kGroup = QStringLiteral("vumo");
const QString kColumnKey = QStringLiteral("VumoColumnOrder");

} // namespace

CUserConfig::CUserConfig(QObject* parent)
    : QObject(parent)
{
}

CUserConfig* CUserConfig::Instance()
{
    // Function-local static: created once, thread-safe, lives until the library unloads.
    static CUserConfig instance;
    return &instance;
}

void CUserConfig::SetCurrentUser(const QString& uid)
{
    QMutexLocker lock(&userMutex());
    currentUid() = uid;
}

QString CUserConfig::CurrentUser()
{
    QMutexLocker lock(&userMutex());
    return currentUid();
}

QString CUserConfig::FilePath() const
{
    QString uid = CurrentUser();
    if (uid.isEmpty())
        uid = QStringLiteral("default");
    return Quorvia::DataRoot() + QStringLiteral("/users/") + uid + QStringLiteral("/userconfig.ini");
}

QVector<_tagColumnInfo*> CUserConfig::GetVumoColumnInfo() const
{
    QVector<_tagColumnInfo*> result;
    QSettings settings(FilePath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    const QString text = settings.value(kColumnKey).toString();
    settings.endGroup();

    // "column,width,visible;..." in visual order. A damaged entry drops the whole layout, so
    // the table falls back to its defaults instead of showing a half-restored header.
    const QStringList entries = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const QStringList parts = entry.split(QLatin1Char(','));
        bool okColumn = false, okWidth = false, okVisible = false;
        const int column = parts.value(0).toInt(&okColumn);
        const int width = parts.value(1).toInt(&okWidth);
        const int visible = parts.value(2).toInt(&okVisible);
        if (parts.size() != 3 || !okColumn || !okWidth || !okVisible || column < 0 || width < 0) {
            qDeleteAll(result);
            return {};
        }
        auto* info = new _tagColumnInfo;
        info->column = column;
        info->width = width;
        info->visible = visible != 0;
        result.append(info);
    }
    return result;
}

bool CUserConfig::SetVumoColumnInfo(const QVector<_tagColumnInfo*>& columns)
{
    QStringList entries;
    for (const _tagColumnInfo* info : columns) {
        if (!info)
            continue;
        entries << QStringLiteral("%1,%2,%3").arg(info->column).arg(info->width).arg(info->visible ? 1 : 0);
    }
    const QString path = FilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(kGroup);
    settings.setValue(kColumnKey, entries.join(QLatin1Char(';')));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace quorvia::settings
