#pragma once
// The marketplace category picker: the stored tree, the current category selected with its
// path; only a leaf can be chosen ("确定" or a double-click).
//
//   qint64 cid = current; QString name;
//   if (CatsBrowserDlg::Pick(this, cid, name)) ...
#include "editor/CatsDlgInterface.h"

#include <memory>

namespace Quorvia::vumo::database {
class CategoryDbInterface;
}

namespace Quorvia::vumo {

class CatsBrowserDlg final : public CatsDlgInterface
{
    Q_OBJECT
public:
    // A null store is the one of VumoDBMgr.
    explicit CatsBrowserDlg(QWidget* parent = nullptr, qint64 currentCid = 0,
                            std::shared_ptr<database::CategoryDbInterface> store = {});

    // The chosen leaf after the dialog was accepted (0 before).
    qint64 SelectedCid() const { return m_selectedCid; }
    QString SelectedName() const;
    QString SelectedPath() const;
    bool IsEmpty() const { return m_tree.isEmpty(); }

    // Runs the dialog modally from `cid` on; true with the chosen leaf and its name.
    static bool Pick(QWidget* parent, qint64& cid, QString& name);

public slots:
    void OnOkBtnClicked() override;
    void OnItemSelectionChanged();
    void OnDoubleClickedItem(QTreeWidgetItem* item, int column);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Node of the tree behind an item, -1 for none.
    int nodeOf(const QTreeWidgetItem* item) const;
    bool choose(QTreeWidgetItem* item);

    editor::CategoryTree m_tree;
    qint64 m_selectedCid = 0;
    int m_selectedNode = -1;
    bool m_emptyShown = false;
};

} // namespace Quorvia::vumo
