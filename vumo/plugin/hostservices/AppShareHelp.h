#pragma once
// Adapter over the workbench's AppShare service library, loaded at run time from the
// workbench's library folder. Every accessor has a fall-back when the library, its export or
// its object is missing.
#include "quorvia/AppShare.h"
#include "utils/CSingleton.h"

#include <QObject>

class QLibrary;

namespace Quorvia::utils {

class AppShareHelp : public QObject, public CSingleton<AppShareHelp>
{
    Q_OBJECT
public:
    // Null when the service is missing.
    Quorvia::appshare::CurrentUser* GetCurrentUser();
    QString GetUid();                                       // empty without a user
    QByteArray GetAccessToken();                            // empty without a user
    QString GetShopName();                                  // empty without a user
    qint64 GetVenderId();                                   // 0 without a user
    qint32 GetShopType();                                   // 0 without a user
    QByteArray GetAppKey();                                 // empty fall-back
    QByteArray GetAppSecret();                              // empty fall-back
    QDateTime GetServerTime();                              // local current time fall-back
    QString GetUUID();                                      // empty fall-back
    Quorvia::appshare::TemplateInfoList& GetTemplateInfo(); // empty list fall-back

    // Folder the service libraries are loaded from: $QUORVIA_SERVICE_DIR when set, else the
    // directory of the running executable.
    static QString ServiceDirectory();

    // Unloads the library; the next access loads it again from ServiceDirectory(). For tests
    // that swap the service folder.
    void Reload();

    ~AppShareHelp() override;

private:
    friend class CSingleton<AppShareHelp>;
    AppShareHelp();
    void load();

    QLibrary* m_library = nullptr;
    Quorvia::appshare::AppShare* m_appShare = nullptr;
    bool m_loaded = false;
    Quorvia::appshare::TemplateInfoList m_emptyTemplates;
};

} // namespace Quorvia::utils
