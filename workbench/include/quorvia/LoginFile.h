#pragma once
// The seller's login as the stand-in host keeps it: an INI file, group "Login". The host, the
// AppShare service and command-line tools all read it through this one reader.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace Quorvia::login {

struct LoginData
{
    QString uid;
    QString shopName;
    QByteArray accessToken;
    QByteArray appKey;
    QByteArray appSecret;
    qint64 venderId = 0;
    qint64 shopId = 0;
    qint32 shopType = 0;
    qint32 stockMode = -1;
};

// $QUORVIA_LOGIN_FILE when set (the host exports it for --login), else
// <home>/config/login.ini.
QString LoginFilePath();

// Reads and checks a login file. On failure returns false and a message for the seller that
// names the file and shows what it should hold. Numbers that do not parse keep their defaults
// and are listed in `warnings`.
bool ReadLogin(const QString& path, LoginData& out, QString* error = nullptr, QString* warnings = nullptr);

// False for identifiers that cannot be a single folder name (separators, "..", control
// characters): the uid becomes part of every per-seller path.
bool IsSafeUid(const QString& uid);

// A complete example file, for messages.
QString LoginExample();

} // namespace Quorvia::login
