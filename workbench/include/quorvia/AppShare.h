#pragma once
// Shared application data of the workbench. Plug-ins reach it only through the exported
// function GetAppShare of the library loaded at run time, so everything here is virtual.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

namespace Quorvia::appshare {

class CurrentUser
{
public:
    virtual ~CurrentUser() = default;
    virtual QString GetUid() const = 0;
    virtual QByteArray GetAccessToken() const = 0;
    virtual QString GetShopName() const = 0;

    // Read directly by callers, as the workbench has always offered them.
    qint64 venderId = 0;
    qint64 shopId = 0;
    qint32 shopType = 0;
};

using TemplateInfoList = QList<QPair<QString, QString>>; // (template name, client id)

class AppShare
{
public:
    virtual ~AppShare() = default;
    virtual CurrentUser* GetCurrentUser() = 0;
    virtual QByteArray GetAppKey() const = 0;
    virtual QByteArray GetAppSecret() const = 0;
    virtual QDateTime GetServerTime() const = 0;
    virtual QString GetUUID() = 0;
    virtual TemplateInfoList& GetTemplateInfo() = 0;
};

} // namespace Quorvia::appshare

extern "C" {
// Exported by the AppShare service library.
typedef Quorvia::appshare::AppShare* (*GetAppShareFunc)();
}
