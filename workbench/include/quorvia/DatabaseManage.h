#pragma once
// The workbench's database service: open SQLite connections per owner and name for the
// logged-in seller. Reached through the exported function GetDatabaseManage.
#include <QSqlDatabase>
#include <QString>

namespace Quorvia::database {

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
