#include "ListingFixture.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoSearchStatement.h"
#include "quorvia/DatabaseManage.h"
#include "quorvia/LoginRecord.h"
#include "quorvia/UserConfig.h"
#include "utils/SellerPaths.h"

namespace VumoTest {

using Quorvia::vumo::database::VumoDBMgr;

ListingFixture::ListingFixture(int count, const DemoLogin& login)
{
    if (!m_home.isValid()) {
        m_error = QStringLiteral("no temporary home");
        return;
    }
    m_home.writeLogin(login);
    m_previousUser = quorvia::settings::CUserConfig::CurrentUser();
    quorvia::settings::CUserConfig::SetCurrentUser(login.uid);

    Quorvia::vumo::UserInfo::instance()->SetLogin(login.Record());

    // The plug-in reaches the store the way it does under the workbench: the seller's uid from
    // the login file, the file through the host's database service.
    VumoDBMgr::instance()->Reset();
    m_dbPath = Quorvia::database::DatabaseFilePath(login.uid, Quorvia::utils::PluginDisplayName(),
                                                   QStringLiteral("Vumo"));
    if (!store()->CheckDatabase()) {
        m_error = QStringLiteral("store check failed on %1").arg(m_dbPath);
        return;
    }
    m_valid = count == 0 || fill(count);
}

ListingFixture::~ListingFixture()
{
    VumoDBMgr::instance()->Reset();
    quorvia::settings::CUserConfig::SetCurrentUser(m_previousUser);
    Quorvia::vumo::UserInfo::instance()->SetLogin(Quorvia::core::plugin::LoginRecord());
}

bool ListingFixture::fill(int count)
{
    QString error;
    if (!Quorvia::vumo::database::FillDemoStore(*store(), count, &error, &m_summary)) {
        m_error = error;
        return false;
    }
    return true;
}

Quorvia::vumo::database::VumoDbInterface* ListingFixture::store() const
{
    return VumoDBMgr::instance()->GetVumoDb().get();
}

bool WriteColumnLayout(const QStringList& entries)
{
    QVector<quorvia::settings::_tagColumnInfo*> infos;
    for (const QString& entry : entries) {
        const QStringList parts = entry.split(QLatin1Char(','));
        infos << new quorvia::settings::_tagColumnInfo{parts.value(0).toInt(), parts.value(1).toInt(),
                                                       parts.value(2) == QLatin1String("1")};
    }
    const bool ok = quorvia::settings::CUserConfig::Instance()->SetVumoColumnInfo(infos);
    qDeleteAll(infos);
    return ok;
}

QStringList ReadColumnLayout()
{
    QStringList entries;
    const QVector<quorvia::settings::_tagColumnInfo*> infos =
        quorvia::settings::CUserConfig::Instance()->GetVumoColumnInfo();
    for (const auto* info : infos)
        entries << QStringLiteral("%1,%2,%3").arg(info->column).arg(info->width).arg(info->visible ? 1 : 0);
    qDeleteAll(infos);
    return entries;
}

QString ListingFixture::TableQuery(const QString& condition)
{
    return Quorvia::vumo::VumoTableQuery() + condition;
}

} // namespace VumoTest
