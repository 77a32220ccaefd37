#include "sync/CatsLoader.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VenderShopCategoryEntity.h"
#include "utils/Log.h"

namespace Quorvia::vumo {

using database::VumoDBMgr;

CatsLoader::CatsLoader(QObject* parent, std::shared_ptr<database::CategoryDbInterface> categoryDb,
                       std::shared_ptr<database::VumoDbInterface> vumoDb)
    : QObject(parent)
    , m_categoryDb(std::move(categoryDb))
    , m_vumoDb(std::move(vumoDb))
{
}

CatsLoader::~CatsLoader() = default;

bool CatsLoader::LoadYVCats()
{
    if (!m_categoryDb)
        m_categoryDb = VumoDBMgr::instance()->GetCategoryDb();
    QList<entity::VenderShopCategoryEntity*> rows;
    const bool ok = m_categoryDb->GetVenderShopCategories(rows);
    if (!ok)
        qCWarning(lcVumo).noquote() << QStringLiteral("读取类目数据失败");
    m_yvCats = editor::BuildCategoryTree(rows);
    qDeleteAll(rows);
    emit sigUpdateYVCatsFinished();
    return ok;
}

bool CatsLoader::LoadSellerCats()
{
    if (!m_vumoDb)
        m_vumoDb = VumoDBMgr::instance()->GetVumoDb();
    QList<entity::SellerCatsEntity*> rows;
    QMap<qint64, entity::SellerCatsEntity*> byId;
    const bool ok = m_vumoDb->GetSellerCategories(rows, byId);
    if (!ok)
        qCWarning(lcVumo).noquote() << QStringLiteral("读取店内分类失败");
    m_sellerCats = editor::BuildShopCategoryTree(rows);
    qDeleteAll(rows);
    emit sigUpdateSellerCatsFinished();
    return ok;
}

} // namespace Quorvia::vumo
