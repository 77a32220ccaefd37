#pragma once
// The workbench's database service: open SQLite connections per owner and name for the
// logged-in seller. Reached through the exported function GetDatabaseManage.
#include "quorvia/DataRoot.h"

#include <QSqlDatabase>
#include <QString>

namespace Quorvia::database {

// <home>/users/<uid>/databases/<owner>/<name>.db, the file GetDB opens. A plug-in may look at
// the file (read-only) before it asks for a connection.
inline QString DatabaseFilePath(const QString& uid, const QString& owner, const QString& name)
{
    return Quorvia::DataRoot() + QStringLiteral("/users/") + uid + QStringLiteral("/databases/") + owner
        + QLatin1Char('/') + name + QStringLiteral(".db");
}

class DatabaseManage
{
public:
    virtual ~DatabaseManage() = default;
    // True and an open connection to <home>/users/<uid>/databases/<owner>/<name>.db.
    virtual bool GetDB(const QString& owner, const QString& name, QSqlDatabase& db) = 0;
};

} // namespace Quorvia::database

extern "C" {
typedef Quorvia::database::DatabaseManage* (*GetDatabaseManageFunc)();
}
