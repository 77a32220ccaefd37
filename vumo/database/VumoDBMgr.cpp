#include "database/VumoDBMgr.h"

#include "database/CategoryDb.h"
#include "database/VumoDb.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "plugin/hostservices/DatabaseHelp.h"
#include "quorvia/DatabaseManage.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"

#include <QMutexLocker>
#include <QSqlDatabase>

namespace Quorvia::vumo::database {

DbConnectionPtr VumoDBMgr::openConnection(const QString& name, const QString& currentVersion, StoreFileStatus& status)
{
    status = StoreFileStatus();
    const QString uid = Quorvia::utils::AppShareHelp::instance()->GetUid();
    if (!uid.isEmpty()) {
        status = InspectStoreFile(Quorvia::database::DatabaseFilePath(uid, Quorvia::utils::PluginDisplayName(), name),
                                  currentVersion);
        if (status.state != StoreFileState::Ready) {
            static const char* const kStates[] = {"ready", "damaged", "newer", "locked", "unreadable"};
            qCCritical(lcTrade).noquote() << VUMO_SRC_POS << name << "store not opened:" << status.path
                                          << kStates[int(status.state)] << "version" << status.version << status.detail;
            return std::make_shared<DbConnection>(QSqlDatabase());
        }
    }
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
        DbConnectionPtr connection = openConnection(QStringLiteral("Vumo"),
                                                    QString::fromLatin1(VumoDb::kCurrentVersion), m_vumoStatus);
        if (!connection)
            connection = std::make_shared<DbConnection>(QSqlDatabase());
        auto store = std::make_shared<VumoDb>(connection);
        store->SetStockMode(m_stockMode);
        store->SetImageFolder(Quorvia::utils::SellerImageFolder(Quorvia::utils::AppShareHelp::instance()->GetUid()));
        m_vumoDb = std::move(store);
    }
    return m_vumoDb;
}

void VumoDBMgr::SetStockMode(int stockMode)
{
    QMutexLocker locker(&m_mutex);
    m_stockMode = stockMode;
    if (m_vumoDb)
        m_vumoDb->SetStockMode(stockMode);
}

std::shared_ptr<CategoryDbInterface> VumoDBMgr::GetCategoryDb()
{
    QMutexLocker locker(&m_mutex);
    if (!m_categoryDb) {
        DbConnectionPtr connection = openConnection(QStringLiteral("Category"),
                                                    QString::fromLatin1(CategoryDb::kCurrentVersion), m_categoryStatus);
        if (!connection)
            connection = std::make_shared<DbConnection>(QSqlDatabase());
        m_categoryDb = std::make_shared<CategoryDb>(connection);
    }
    return m_categoryDb;
}

StoreFileStatus VumoDBMgr::StoreStatus(StoreKind kind)
{
    QMutexLocker locker(&m_mutex);
    return kind == StoreKind::Listings ? m_vumoStatus : m_categoryStatus;
}

QString VumoDBMgr::StoreProblemText()
{
    QMutexLocker locker(&m_mutex);
    QStringList parts;
    for (const auto& [status, kind] :
         {std::pair{m_vumoStatus, StoreKind::Listings}, std::pair{m_categoryStatus, StoreKind::Categories}}) {
        const QString message = StoreFileMessage(status, kind);
        if (!message.isEmpty())
            parts << message;
    }
    return parts.join(QStringLiteral("\n\n"));
}

void VumoDBMgr::Reset()
{
    QMutexLocker locker(&m_mutex);
    m_vumoDb.reset();
    m_categoryDb.reset();
    m_vumoStatus = StoreFileStatus();
    m_categoryStatus = StoreFileStatus();
}

} // namespace Quorvia::vumo::database
