#include "quorvia/AppShare.h"
#include "quorvia/DataRoot.h"
#include "quorvia/HostSetup.h"
#include "quorvia/LoginFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QUuid>

Q_LOGGING_CATEGORY(lcAppShare, "appshare")

namespace {

using Quorvia::login::LoginData;

class CurrentUserImpl final : public Quorvia::appshare::CurrentUser
{
public:
    explicit CurrentUserImpl(QMutex& mutex)
        : m_mutex(mutex)
    {
    }

    QString GetUid() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_uid;
    }
    QByteArray GetAccessToken() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_accessToken;
    }
    QString GetShopName() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_shopName;
    }

    // Caller holds the mutex.
    void assign(const LoginData& login)
    {
        m_uid = login.uid;
        m_accessToken = login.accessToken;
        m_shopName = login.shopName;
        venderId = login.venderId;
        shopId = login.shopId;
        shopType = login.shopType;
    }

private:
    QMutex& m_mutex;
    QString m_uid;
    QByteArray m_accessToken;
    QString m_shopName;
};

class AppShareService final : public Quorvia::appshare::AppShare
{
public:
    Quorvia::appshare::CurrentUser* GetCurrentUser() override
    {
        QMutexLocker lock(&m_mutex);
        return ensureLogin() ? &m_user : nullptr;
    }

    QByteArray GetAppKey() const override
    {
        QMutexLocker lock(&m_mutex);
        return ensureLogin() ? m_login.appKey : QByteArray();
    }

    QByteArray GetAppSecret() const override
    {
        QMutexLocker lock(&m_mutex);
        return ensureLogin() ? m_login.appSecret : QByteArray();
    }

    QDateTime GetServerTime() const override
    {
        QMutexLocker lock(&m_mutex);
        return QDateTime::currentDateTime().addMSecs(m_offsetMsecs);
    }

    QString GetUUID() override
    {
        QMutexLocker lock(&m_mutex);
        const QString path = Quorvia::DataRoot() + QStringLiteral("/config/uuid");
        if (m_uuid.isEmpty() || m_uuidPath != path) {
            m_uuid = readOrCreateUuid(path);
            m_uuidPath = path;
        }
        return m_uuid;
    }

    Quorvia::appshare::TemplateInfoList& GetTemplateInfo() override
    {
        // Shared with the plug-in by reference, used on the GUI thread only.
        return m_templates;
    }

    void setLogin(const LoginData& login)
    {
        QMutexLocker lock(&m_mutex);
        m_login = login;
        m_user.assign(login);
        m_hostLogin = true;
        m_loaded = true;
    }

    void setServerTimeOffset(qint64 msecs)
    {
        QMutexLocker lock(&m_mutex);
        m_offsetMsecs = msecs;
    }

private:
    // Without a login from the host, the file is read on first use and again whenever the
    // login file in effect changes (another data root); a missing file is retried later.
    bool ensureLogin() const
    {
        if (m_hostLogin)
            return true;
        const QString path = Quorvia::login::LoginFilePath();
        if (m_loaded && path == m_loadedPath)
            return true;
        LoginData login;
        QString error;
        QString warnings;
        if (!Quorvia::login::ReadLogin(path, login, &error, &warnings)) {
            if (m_reportedPath != path) {
                qCWarning(lcAppShare).noquote() << error;
                m_reportedPath = path;
            }
            m_loaded = false;
            return false;
        }
        if (!warnings.isEmpty())
            qCWarning(lcAppShare).noquote() << warnings;
        m_login = login;
        m_user.assign(login);
        m_loaded = true;
        m_loadedPath = path;
        return true;
    }

    static QString readOrCreateUuid(const QString& path)
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QString text = QString::fromLatin1(file.read(128)).trimmed();
            if (!QUuid::fromString(text).isNull())
                return text;
            qCWarning(lcAppShare) << "installation id in" << path << "is damaged; making a new one";
        }
        const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QSaveFile out(path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !out.open(QIODevice::WriteOnly)
            || out.write(uuid.toLatin1() + '\n') < 0 || !out.commit()) {
            // Still usable for this run; the next run tries to keep one again.
            qCWarning(lcAppShare) << "cannot keep the installation id in" << path;
        }
        return uuid;
    }

    mutable QMutex m_mutex;
    mutable CurrentUserImpl m_user{m_mutex};
    mutable LoginData m_login;
    mutable bool m_loaded = false;
    mutable QString m_loadedPath;
    mutable QString m_reportedPath;
    bool m_hostLogin = false;
    qint64 m_offsetMsecs = 0;
    QString m_uuid;
    QString m_uuidPath;
    Quorvia::appshare::TemplateInfoList m_templates;
};

AppShareService& service()
{
    static AppShareService instance;
    return instance;
}

} // namespace

extern "C" Q_DECL_EXPORT Quorvia::appshare::AppShare* GetAppShare()
{
    return &service();
}

namespace Quorvia::appshare::host {

void SetLogin(const Quorvia::login::LoginData& login)
{
    service().setLogin(login);
}

void SetServerTimeOffset(qint64 msecs)
{
    service().setServerTimeOffset(msecs);
}

} // namespace Quorvia::appshare::host
