#pragma once
// The shop-category picker ("店内分类"): the seller's two-level tree with check boxes, the same
// search as the category picker; applying gives the shop_categorys string.
#include "editor/CatsDlgInterface.h"

#include <memory>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

class SellerCategoryDlg final : public CatsDlgInterface
{
    Q_OBJECT
public:
    // Ticks the categories of `shopCategorys`; a null store is the one of VumoDBMgr.
    explicit SellerCategoryDlg(QWidget* parent = nullptr, const QString& shopCategorys = QString(),
                               std::shared_ptr<database::VumoDbInterface> store = {});

    // The string built by the last successful apply.
    QString ShopCategorys() const { return m_result; }

    // Runs the dialog modally; true with the new string when the seller applied.
    static bool Pick(QWidget* parent, QString& shopCategorys);

public slots:
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void OnApplyBtnClicked();
    void OnOkBtnClicked() override;

private:
    // Check boxes and the chosen names from the ticks.
    void showTicks();

    editor::ShopCategoryTicks m_ticks;
    QString m_result;
};

} // namespace Quorvia::vumo
