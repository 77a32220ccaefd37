#include "utils/IniSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace Quorvia::utils {

IniSetting::IniSetting(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
{
    // Without a path QSettings would pick some platform default location; we want no file.
    if (!m_filePath.isEmpty())
        m_settings = new QSettings(m_filePath, QSettings::IniFormat, this);
}

IniSetting::~IniSetting() = default;

QVariant IniSetting::Value(const QString& key, const QString& group, const QVariant& defaultValue) const
{
    if (!m_settings || key.isEmpty())
        return defaultValue;
    m_settings->beginGroup(group);
    const QVariant value = m_settings->value(key, defaultValue);
    m_settings->endGroup();
    return value;
}

bool IniSetting::SetValue(const QString& group, const QString& key, const QVariant& value)
{
    if (!m_settings || key.isEmpty())
        return false;
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    m_settings->beginGroup(group);
    m_settings->setValue(key, value);
    m_settings->endGroup();
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace Quorvia::utils
