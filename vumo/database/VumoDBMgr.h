#pragma once
// Owns the one listing store and the one category store for the life of the library. The
// accessors never return null: without a connection from the workbench the store is built on
// an invalid connection, so every operation fails cleanly.
#include "database/DbConnection.h"
#include "utils/CSingleton.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <memory>

namespace Quorvia::vumo::database {

class VumoDbInterface;
class CategoryDbInterface;

class VumoDBMgr : public QObject, public Quorvia::utils::CSingleton<VumoDBMgr>
{
    Q_OBJECT
public:
    std::shared_ptr<VumoDbInterface> GetVumoDb();
    std::shared_ptr<CategoryDbInterface> GetCategoryDb();

    // Tests hand in their own files; either may be null for "no connection".
    void UseConnectionsForTests(DbConnectionPtr vumo, DbConnectionPtr category);
    // Drops both stores (and any test connections); the next access builds them again.
    void Reset();

private:
    friend class Quorvia::utils::CSingleton<VumoDBMgr>;
    VumoDBMgr() = default;

    // GetDB(PluginDisplayName(), name) wrapped for per-thread use; invalid when that fails.
    DbConnectionPtr openConnection(const QString& name);

    QMutex m_mutex;
    std::shared_ptr<VumoDbInterface> m_vumoDb;
    std::shared_ptr<CategoryDbInterface> m_categoryDb;
    DbConnectionPtr m_testVumo;
    DbConnectionPtr m_testCategory;
    bool m_useTestConnections = false;
};

} // namespace Quorvia::vumo::database
