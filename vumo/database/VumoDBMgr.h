#pragma once
// Owns the one listing store and the one category store for the life of the library. The
// accessors never return null: without a connection from the workbench the store is built on
// an invalid connection, so every operation fails cleanly. That is also what a store file gets
// that is damaged, comes from a newer release or is locked by another program: it is looked
// at before the workbench opens it, and never opened for writing.
#include "database/CategoryDbInterface.h"
#include "database/DbConnection.h"
#include "database/StoreFileCheck.h"
#include "database/VumoDbInterface.h"
#include "utils/CSingleton.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <memory>

namespace Quorvia::vumo::database {

class VumoDBMgr : public QObject, public Quorvia::utils::CSingleton<VumoDBMgr>
{
    Q_OBJECT
public:
    std::shared_ptr<VumoDbInterface> GetVumoDb();
    std::shared_ptr<CategoryDbInterface> GetCategoryDb();

    // What the look at the store's file found when the store was built (Ready before that,
    // and for stores on test connections).
    StoreFileStatus StoreStatus(StoreKind kind);
    // StoreFileMessage() of each store built so far that is not Ready, one paragraph each.
    QString StoreProblemText();

    // The seller's stock mode for the listing store, now and for stores built later; the
    // plug-in passes it on from the login (-1 until then).
    void SetStockMode(int stockMode);

    // Drops both stores; the next access opens them again (for another seller, say).
    void Reset();

private:
    friend class Quorvia::utils::CSingleton<VumoDBMgr>;
    VumoDBMgr() = default;

    // GetDB(PluginDisplayName(), name) wrapped for per-thread use; invalid when that fails or
    // when the file is not fit to be opened (`status` tells why).
    DbConnectionPtr openConnection(const QString& name, const QString& currentVersion, StoreFileStatus& status);

    QMutex m_mutex;
    std::shared_ptr<VumoDbInterface> m_vumoDb;
    std::shared_ptr<CategoryDbInterface> m_categoryDb;
    StoreFileStatus m_vumoStatus;
    StoreFileStatus m_categoryStatus;
    int m_stockMode = -1; // outlives Reset(), like the login it comes from
};

} // namespace Quorvia::vumo::database
