#include "quorvia/LoginFile.h"

#include "quorvia/DataRoot.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <limits>

namespace Quorvia::login {

namespace {

// An unquoted value with commas comes back from QSettings as a list; a seller writing
// "shop_name=书店, 二店" means the text as written.
QString textValue(const QSettings& ini, const QString& key)
{
    const QVariant value = ini.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

template <typename Int>
Int intValue(const QSettings& ini, const QString& key, Int fallback, QStringList& bad)
{
    const QString text = textValue(ini, key).trimmed();
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    if (!ok || number < qlonglong(std::numeric_limits<Int>::min())
        || number > qlonglong(std::numeric_limits<Int>::max())) {
        bad << QStringLiteral("%1=%2").arg(key, text);
        return fallback;
    }
    return Int(number);
}

} // namespace

QString LoginFilePath()
{
    const QString env = qEnvironmentVariable("QUORVIA_LOGIN_FILE");
    if (!env.isEmpty())
        return QFileInfo(env).absoluteFilePath();
    return DataRoot() + QStringLiteral("/config/login.ini");
}

bool IsSafeUid(const QString& uid)
{
    if (uid.isEmpty() || uid == QLatin1String(".") || uid == QLatin1String(".."))
        return false;
    for (const QChar c : uid) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString LoginExample()
{
    return QStringLiteral("[Login]\n"
                          "uid=demo_seller\n"
                          "shop_name=演示小店\n"
                          "access_token=demo-access-token\n"
                          "app_key=demo-app-key\n"
                          "app_secret=demo-app-secret\n"
                          "vender_id=10001\n"
                          "shop_id=20001\n"
                          "shop_type=0\n"
                          "stock_mode=-1\n");
}

bool ReadLogin(const QString& path, LoginData& out, QString* error, QString* warnings)
{
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1：%2\n请创建该文件（分组 [Login]），内容示例：\n%3")
                         .arg(why, QDir::toNativeSeparators(path), LoginExample());
        return false;
    };

    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return fail(QStringLiteral("找不到登录文件"));
    if (!info.isFile() || !info.isReadable())
        return fail(QStringLiteral("无法读取登录文件"));

    // The file holds the seller's token and secret: the owner's eyes only, also for a file
    // written by hand or by an older version readable to all. Best effort: a file owned by
    // someone else stays as it is and is still read.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (info.permissions() & others)
        QFile::setPermissions(path, ownerOnly);

    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return fail(QStringLiteral("登录文件格式错误"));

    ini.beginGroup(QStringLiteral("Login"));
    LoginData data;
    data.uid = textValue(ini, QStringLiteral("uid")).trimmed();
    if (data.uid.isEmpty()) {
        ini.endGroup();
        return fail(QStringLiteral("登录文件中缺少 uid"));
    }
    if (!IsSafeUid(data.uid)) {
        ini.endGroup();
        return fail(QStringLiteral("登录文件中的 uid 不能含有路径分隔符或控制字符"));
    }
    data.shopName = textValue(ini, QStringLiteral("shop_name"));
    data.accessToken = textValue(ini, QStringLiteral("access_token")).toUtf8();
    data.appKey = textValue(ini, QStringLiteral("app_key")).toUtf8();
    data.appSecret = textValue(ini, QStringLiteral("app_secret")).toUtf8();

    QStringList bad;
    data.venderId = intValue<qint64>(ini, QStringLiteral("vender_id"), data.venderId, bad);
    data.shopId = intValue<qint64>(ini, QStringLiteral("shop_id"), data.shopId, bad);
    data.shopType = intValue<qint32>(ini, QStringLiteral("shop_type"), data.shopType, bad);
    data.stockMode = intValue<qint32>(ini, QStringLiteral("stock_mode"), data.stockMode, bad);
    ini.endGroup();

    if (warnings)
        *warnings = bad.isEmpty() ? QString()
                                  : QStringLiteral("登录文件 %1 中以下数值无效，已使用默认值：%2")
                                        .arg(QDir::toNativeSeparators(path), bad.join(QStringLiteral("; ")));
    out = data;
    return true;
}

} // namespace Quorvia::login
