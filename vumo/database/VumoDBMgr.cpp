#include "database/VumoDBMgr.h"

#include "database/CategoryDb.h"
#include "database/VumoDb.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <QMutexLocker>
#include <QSqlDatabase>

namespace Quorvia::vumo::database {

DbConnectionPtr VumoDBMgr::openConnection(const QString& name)
{
    QSqlDatabase db;
    if (!Quorvia::utils::DatabaseHelp::instance()->GetDB(Quorvia::utils::PluginDisplayName(), name, db)
        || !db.isOpen()) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "GetDB failed for" << name;
        return std::make_shared<DbConnection>(QSqlDatabase());
    }
    return std::make_shared<DbConnection>(db);
}

std::shared_ptr<VumoDbInterface> VumoDBMgr::GetVumoDb()
{
    QMutexLocker locker(&m_mutex);
    if (!m_vumoDb) {
        DbConnectionPtr connection = m_useTestConnections ? m_testVumo : openConnection(QStringLiteral("Vumo"));
        if (!connection)
            connection = std::make_shared<DbConnection>(QSqlDatabase());
        m_vumoDb = std::make_shared<VumoDb>(connection);
    }
    return m_vumoDb;
}

std::shared_ptr<CategoryDbInterface> VumoDBMgr::GetCategoryDb()
{
    QMutexLocker locker(&m_mutex);
    if (!m_categoryDb) {
        DbConnectionPtr connection =
            m_useTestConnections ? m_testCategory : openConnection(QStringLiteral("Category"));
        if (!connection)
            connection = std::make_shared<DbConnection>(QSqlDatabase());
        m_categoryDb = std::make_shared<CategoryDb>(connection);
    }
    return m_categoryDb;
}

void VumoDBMgr::UseConnectionsForTests(DbConnectionPtr vumo, DbConnectionPtr category)
{
    QMutexLocker locker(&m_mutex);
    m_vumoDb.reset();
    m_categoryDb.reset();
    m_testVumo = std::move(vumo);
    m_testCategory = std::move(category);
    m_useTestConnections = true;
}

void VumoDBMgr::Reset()
{
    QMutexLocker locker(&m_mutex);
    m_vumoDb.reset();
    m_categoryDb.reset();
    m_testVumo.reset();
    m_testCategory.reset();
    m_useTestConnections = false;
}

} // namespace Quorvia::vumo::database
