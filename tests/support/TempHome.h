#pragma once
// A fresh data root for one test: a temporary folder exported as QUORVIA_HOME for the test's
// lifetime, with helpers to write the login file. Never touches the user's own home.
#include "quorvia/LoginRecord.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace VumoTest {

struct DemoLogin
{
    QString uid = QStringLiteral("demo_seller");
    QString shopName = QStringLiteral("演示小店");
    QString accessToken = QStringLiteral("demo-access-token");
    QString appKey = QStringLiteral("demo-app-key");
    QString appSecret = QStringLiteral("demo-app-secret");
    qint64 venderId = 10001;
    qint64 shopId = 20001;
    int shopType = 0;
    int stockMode = -1;

    // The same seller as the host hands it to the plug-in.
    Quorvia::core::plugin::LoginRecord Record() const;
};

// Whole files: the bytes (empty when unreadable); writing makes the folder and replaces the file.
QByteArray ReadBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

class TempHome
{
public:
    TempHome();
    ~TempHome();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes <home>/config/login.ini; returns its path.
    QString writeLogin(const DemoLogin& login = DemoLogin()) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

} // namespace VumoTest
