#pragma once
// Adapter over the workbench's Database service library, loaded at run time from the same
// folder as AppShare. Without the library, GetDB is false.
#include "quorvia/DatabaseManage.h"
#include "utils/CSingleton.h"

#include <QObject>

class QLibrary;

namespace Quorvia::utils {

class DatabaseHelp : public QObject, public CSingleton<DatabaseHelp>
{
    Q_OBJECT
public:
    // Null when loading or resolving failed.
    Quorvia::database::DatabaseManage* Manager();
    bool GetDB(const QString& owner, const QString& name, QSqlDatabase& db);

    // Unloads the library; the next access loads it again from ServiceDirectory(). For tests
    // that swap the service folder.
    void Reload();

    ~DatabaseHelp() override;

private:
    friend class CSingleton<DatabaseHelp>;
    DatabaseHelp();
    void load();

    QLibrary* m_library = nullptr;
    Quorvia::database::DatabaseManage* m_manager = nullptr;
    bool m_loaded = false;
};

} // namespace Quorvia::utils
