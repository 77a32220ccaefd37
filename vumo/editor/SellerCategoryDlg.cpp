#include "editor/SellerCategoryDlg.h"

#include "database/VumoDbInterface.h"
#include "sync/CatsLoader.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace Quorvia::vumo {

namespace {
constexpr int kTopRole = Qt::UserRole + 1;
constexpr int kChildRole = Qt::UserRole + 2;
} // namespace

SellerCategoryDlg::SellerCategoryDlg(QWidget* parent, const QString& shopCategorys,
                                     std::shared_ptr<database::VumoDbInterface> store)
    : CatsDlgInterface(parent)
{
    setWindowTitle(QStringLiteral("店内分类"));
    m_SearchLabel->setText(QStringLiteral("输入部分店内分类名称进行查找"));

    CatsLoader loader(nullptr, {}, std::move(store));
    loader.LoadSellerCats();
    m_ticks = editor::ShopCategoryTicks(loader.SellerCats());
    m_ticks.load(shopCategorys);

    const QList<editor::ShopCategoryNode>& tree = m_ticks.tree();
    for (int t = 0; t < tree.size(); ++t) {
        auto* top = new QTreeWidgetItem(m_CatsTreeWidget, {tree.at(t).name});
        top->setData(0, kTopRole, t);
        top->setData(0, kChildRole, -1);
        top->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        for (int c = 0; c < tree.at(t).children.size(); ++c) {
            auto* child = new QTreeWidgetItem(top, {tree.at(t).children.at(c).name});
            child->setData(0, kTopRole, t);
            child->setData(0, kChildRole, c);
            child->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
    }
    m_CatsTreeWidget->expandAll();
    showTicks();
    connect(m_CatsTreeWidget, &QTreeWidget::itemChanged, this, &SellerCategoryDlg::OnItemChanged);
}

void SellerCategoryDlg::OnItemChanged(QTreeWidgetItem* item, int column)
{
    if (!item || column != 0)
        return;
    // A partly ticked top clicked by the seller comes as ticked: tick all its children.
    m_ticks.setTicked(item->data(0, kTopRole).toInt(), item->data(0, kChildRole).toInt(),
                      item->checkState(0) != Qt::Unchecked);
    showTicks();
}

void SellerCategoryDlg::showTicks()
{
    const QSignalBlocker quiet(m_CatsTreeWidget);
    for (int t = 0; t < m_CatsTreeWidget->topLevelItemCount(); ++t) {
        QTreeWidgetItem* top = m_CatsTreeWidget->topLevelItem(t);
        top->setCheckState(0, m_ticks.topState(t));
        for (int c = 0; c < top->childCount(); ++c)
            top->child(c)->setCheckState(0, m_ticks.isTicked(t, c) ? Qt::Checked : Qt::Unchecked);
    }
    const QString text = editor::BuildShopCategorys(m_ticks.chosen());
    // Many names do not fit: the field shows the first ones, the tool tip all of them.
    const QString names = text.section(QLatin1Char('|'), 1).replace(QLatin1Char(';'), QStringLiteral("; "));
    m_CurrSelectedCats->setText(names);
    m_CurrSelectedCats->setCursorPosition(0);
    m_CurrSelectedCats->setToolTip(names);
}

void SellerCategoryDlg::OnApplyBtnClicked()
{
    const QList<editor::ShopCategoryChoice> chosen = m_ticks.chosen();
    const QString refusal = editor::ShopCategoryLimitMessage(int(chosen.size()));
    if (!refusal.isEmpty()) {
        Quorvia::core::ui::ShowMsgBox(this, refusal);
        return;
    }
    m_result = editor::BuildShopCategorys(chosen);
    Finish(true);
}

void SellerCategoryDlg::OnOkBtnClicked()
{
    OnApplyBtnClicked();
}

bool SellerCategoryDlg::Pick(QWidget* parent, QString& shopCategorys)
{
    Quorvia::core::ui::BaseDialog<SellerCategoryDlg> dialog(parent, shopCategorys);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    shopCategorys = dialog.content()->ShopCategorys();
    return true;
}

} // namespace Quorvia::vumo
