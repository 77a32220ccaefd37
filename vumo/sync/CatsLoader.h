#pragma once
// Reads the stored marketplace category tree and the seller's shop categories back for the
// pickers; each load ends with its signal.
#include "editor/CategoryPickerRules.h"

#include <QObject>

#include <memory>

namespace Quorvia::vumo::database {
class CategoryDbInterface;
class VumoDbInterface;
} // namespace Quorvia::vumo::database

namespace Quorvia::vumo {

class CatsLoader final : public QObject
{
    Q_OBJECT
public:
    // Null stores are taken from VumoDBMgr when first needed.
    explicit CatsLoader(QObject* parent = nullptr, std::shared_ptr<database::CategoryDbInterface> categoryDb = {},
                        std::shared_ptr<database::VumoDbInterface> vumoDb = {});
    ~CatsLoader() override;

    // False when the store could not be read (the tree is then empty); the signal comes either way.
    bool LoadYVCats();
    bool LoadSellerCats();

    const editor::CategoryTree& YVCats() const { return m_yvCats; }
    const QList<editor::ShopCategoryNode>& SellerCats() const { return m_sellerCats; }

signals:
    void sigUpdateYVCatsFinished();
    void sigUpdateSellerCatsFinished();

private:
    std::shared_ptr<database::CategoryDbInterface> m_categoryDb;
    std::shared_ptr<database::VumoDbInterface> m_vumoDb;
    editor::CategoryTree m_yvCats;
    QList<editor::ShopCategoryNode> m_sellerCats;
};

} // namespace Quorvia::vumo
