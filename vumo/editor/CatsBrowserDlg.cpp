#include "editor/CatsBrowserDlg.h"

#include "database/CategoryDbInterface.h"
#include "sync/CatsLoader.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace Quorvia::vumo {

namespace {
constexpr int kNodeRole = Qt::UserRole + 1;
}

CatsBrowserDlg::CatsBrowserDlg(QWidget* parent, qint64 currentCid, std::shared_ptr<database::CategoryDbInterface> store)
    : CatsDlgInterface(parent)
{
    m_SearchLabel->setText(QStringLiteral("输入部分Yv类目名称进行查找"));
    m_CatsTreeWidget->setRootIsDecorated(true);
    m_OkBtn->setEnabled(false);

    CatsLoader loader(nullptr, std::move(store));
    loader.LoadYVCats();
    m_tree = loader.YVCats();

    QVector<QTreeWidgetItem*> items(m_tree.nodes.size(), nullptr);
    for (int at : m_tree.treeOrder()) {
        const editor::CategoryNode& node = m_tree.nodes.at(at);
        auto* item = node.parent < 0 ? new QTreeWidgetItem(m_CatsTreeWidget)
                                     : new QTreeWidgetItem(items.at(node.parent));
        item->setText(0, node.name);
        item->setData(0, kNodeRole, at);
        items[at] = item;
    }
    connect(m_CatsTreeWidget, &QTreeWidget::itemSelectionChanged, this, &CatsBrowserDlg::OnItemSelectionChanged);
    connect(m_CatsTreeWidget, &QTreeWidget::itemDoubleClicked, this, &CatsBrowserDlg::OnDoubleClickedItem);

    const int current = m_tree.indexOf(currentCid);
    if (current >= 0) {
        m_CatsTreeWidget->setCurrentItem(items.at(current));
        m_CatsTreeWidget->scrollToItem(items.at(current));
    }
}

QString CatsBrowserDlg::SelectedName() const
{
    return m_selectedNode >= 0 ? m_tree.nodes.at(m_selectedNode).name : QString();
}

QString CatsBrowserDlg::SelectedPath() const
{
    return m_selectedNode >= 0 ? m_tree.path(m_selectedNode) : QString();
}

int CatsBrowserDlg::nodeOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return -1;
    bool ok = false;
    const int at = item->data(0, kNodeRole).toInt(&ok);
    return ok && at >= 0 && at < m_tree.nodes.size() ? at : -1;
}

void CatsBrowserDlg::OnItemSelectionChanged()
{
    const int at = nodeOf(m_CatsTreeWidget->currentItem());
    m_CurrSelectedCats->setText(at >= 0 ? m_tree.path(at) : QString());
    m_OkBtn->setEnabled(at >= 0 && m_tree.nodes.at(at).leaf);
}

bool CatsBrowserDlg::choose(QTreeWidgetItem* item)
{
    const int at = nodeOf(item);
    if (at < 0 || !m_tree.nodes.at(at).leaf)
        return false;
    m_selectedNode = at;
    m_selectedCid = m_tree.nodes.at(at).id;
    Finish(true);
    return true;
}

void CatsBrowserDlg::OnOkBtnClicked()
{
    choose(m_CatsTreeWidget->currentItem());
}

void CatsBrowserDlg::OnDoubleClickedItem(QTreeWidgetItem* item, int)
{
    choose(item);
}

void CatsBrowserDlg::showEvent(QShowEvent* event)
{
    CatsDlgInterface::showEvent(event);
    if (m_tree.isEmpty() && !m_emptyShown) {
        m_emptyShown = true;
        // After the window is up, so the box sits over it.
        QTimer::singleShot(
            0, this, [this] { Quorvia::core::ui::ShowMsgBox(this, QStringLiteral("类目数据为空，请更新类目！")); });
    }
}

bool CatsBrowserDlg::Pick(QWidget* parent, qint64& cid, QString& name)
{
    Quorvia::core::ui::BaseDialog<CatsBrowserDlg> dialog(parent, cid);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    cid = dialog.content()->SelectedCid();
    name = dialog.content()->SelectedName();
    return true;
}

} // namespace Quorvia::vumo
