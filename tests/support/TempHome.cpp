#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace VumoTest {

Quorvia::core::plugin::LoginRecord DemoLogin::Record() const
{
    Quorvia::core::plugin::LoginRecord record;
    record.accessToken = accessToken.toUtf8();
    record.appKey = appKey.toUtf8();
    record.appSecret = appSecret.toUtf8();
    record.firstId = venderId;
    record.secondId = shopId;
    record.stockMode = stockMode;
    record.shopType = shopType;
    return record;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

TempHome::TempHome()
{
    m_hadPrevious = qEnvironmentVariableIsSet("QUORVIA_HOME");
    m_previous = qgetenv("QUORVIA_HOME");
    qputenv("QUORVIA_HOME", m_dir.path().toLocal8Bit());
}

TempHome::~TempHome()
{
    if (m_hadPrevious)
        qputenv("QUORVIA_HOME", m_previous);
    else
        qunsetenv("QUORVIA_HOME");
}

QString TempHome::writeLogin(const DemoLogin& login) const
{
    QDir().mkpath(filePath(QStringLiteral("config")));
    const QString file = filePath(QStringLiteral("config/login.ini"));
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Login"));
    ini.setValue(QStringLiteral("uid"), login.uid);
    ini.setValue(QStringLiteral("shop_name"), login.shopName);
    ini.setValue(QStringLiteral("access_token"), login.accessToken);
    ini.setValue(QStringLiteral("app_key"), login.appKey);
    ini.setValue(QStringLiteral("app_secret"), login.appSecret);
    ini.setValue(QStringLiteral("vender_id"), login.venderId);
    ini.setValue(QStringLiteral("shop_id"), login.shopId);
    ini.setValue(QStringLiteral("shop_type"), login.shopType);
    ini.setValue(QStringLiteral("stock_mode"), login.stockMode);
    ini.endGroup();
    ini.sync();
    return file;
}

} // namespace VumoTest
