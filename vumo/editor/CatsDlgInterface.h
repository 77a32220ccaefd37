#pragma once
// The common content of the category pickers (shown in a BaseDialog): a search line with
// "上一个"/"下一个" over the tree's names, the chosen path, the tree, "确定" and "取消".
#include "editor/CategoryPickerRules.h"

#include <QList>
#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace Quorvia::vumo {

class CatsDlgInterface : public QWidget
{
    Q_OBJECT
public:
    explicit CatsDlgInterface(QWidget* parent = nullptr);
    ~CatsDlgInterface() override;

public slots:
    void OnTextChanged(const QString& text);
    void OnSearchNextBtnClicked();
    void OnSearchPreBtnClicked();
    virtual void OnOkBtnClicked();
    void OnCancelBtnClicked();
    void ClearMessage();

protected:
    // Shows a hint in m_SearchMessage for 3000 ms.
    void ShowMessage(const QString& text);
    // Accepts or rejects the dialog the content sits in.
    void Finish(bool accepted);

    QLabel* m_SearchLabel = nullptr;
    QLineEdit* m_SearchCats = nullptr;
    QPushButton* m_SearchNextBtn = nullptr;
    QPushButton* m_SearchPreBtn = nullptr;
    QLineEdit* m_CurrSelectedCats = nullptr;
    QTreeWidget* m_CatsTreeWidget = nullptr;
    QLabel* m_SearchMessage = nullptr;
    QPushButton* m_OkBtn = nullptr;
    QPushButton* m_CancelBtn = nullptr;

private:
    void showMatch();

    editor::SearchWalk m_walk;
    QList<QTreeWidgetItem*> m_searchItems; // the tree's items in tree order at the last search
    QTimer m_messageTimer;
};

} // namespace Quorvia::vumo
