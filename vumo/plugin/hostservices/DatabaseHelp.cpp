#include "plugin/hostservices/DatabaseHelp.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "utils/Log.h"

#include <QDir>
#include <QLibrary>

namespace Quorvia::utils {

namespace {
const char* const kLibraryName = "quorvia-database";
}

DatabaseHelp::DatabaseHelp() = default;

DatabaseHelp::~DatabaseHelp()
{
    Reload();
}

void DatabaseHelp::Reload()
{
    m_manager = nullptr;
    if (m_library) {
        m_library->unload();
        delete m_library;
        m_library = nullptr;
    }
    m_loaded = false;
}

void DatabaseHelp::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_library = new QLibrary(QDir(AppShareHelp::ServiceDirectory()).filePath(QString::fromLatin1(kLibraryName)));
    if (!m_library->load()) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "加载Database失败:" << m_library->errorString();
        return;
    }
    auto get = reinterpret_cast<GetDatabaseManageFunc>(m_library->resolve("GetDatabaseManage"));
    if (!get) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << "Database没有导出GetDatabaseManage";
        return;
    }
    m_manager = get();
}

Quorvia::database::DatabaseManage* DatabaseHelp::Manager()
{
    load();
    return m_manager;
}

bool DatabaseHelp::GetDB(const QString& owner, const QString& name, QSqlDatabase& db)
{
    auto* manager = Manager();
    return manager && manager->GetDB(owner, name, db);
}

} // namespace Quorvia::utils
