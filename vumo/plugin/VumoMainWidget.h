#pragma once
// The one page the plug-in shows inside the workbench: tool bar, classification tree, tab bar,
// search bar, listing table, embedded editor and status bar, and the routing of every command.
// Commands whose dialogs and workers are not part of the build yet stay visibly disabled.
#include "database/VumoListStruct.h"
#include "entity/VumoStatus.h"
#include "plugin/VumoClassLayout.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoCommandRules.h"
#include "plugin/VumoCommandTable.h"

#include <QFrame>
#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QModelIndex;
class QSplitter;
class QStatusBar;
class QTabBar;
class QToolButton;

namespace Quorvia::core::ui {
template <class T>
class BaseDialog;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class AdvanceSearchWidget;
class SettingsFrame;
class VumoClassification;
class VumoDownloadCommands;
class VumoEditerWidget;
class VumoEditorCommands;
class VumoUploadCommands;
class VumoRowCommands;
class VumoSearch;
class VumoTableView;
class SyncRedCommentThread;
namespace sync {
class VumoSyncCommands;
}

class VumoMainWidget : public QFrame
{
    Q_OBJECT
    // The host's --screenshot waits for this (or FirstLoadFinishedSignal).
    Q_PROPERTY(bool vumoFirstLoadDone READ IsFirstLoadDone NOTIFY FirstLoadFinishedSignal)

public:
    // Tool-bar buttons in their order on the bar; each runs one command of the table.
    enum Command {
        CommandNewVumo,
        CommandCatsDownload,
        CommandDownloadVumo,
        CommandUploadVumo,
        CommandBatchEdit,
        CommandAdvanceSearch,
        CommandImport,
        CommandExport,
        CommandDeleteVumo,
        CommandSettings,
        CommandToggleSearch,
        CommandCount
    };

    explicit VumoMainWidget(QWidget* parent = nullptr);
    ~VumoMainWidget() override;

    bool IsFirstLoadDone() const { return m_firstLoadDone; }

    // Class of the tree's current node; the last known one while no class node is current.
    int CurrentClass() const { return m_currentClass; }

    QToolButton* CommandButton(Command command) const;
    // The drop-down menu of a tool-bar button; null for buttons without one.
    QMenu* CommandMenu(Command command) const;
    VumoTableView* TableView() const { return m_vumoTableView; }
    VumoClassification* Classification() const { return m_vumoTree; }
    QStatusBar* StatusBar() const { return m_statusBar; }
    // The category commands and the category update threads.
    sync::VumoSyncCommands* SyncCommands() const { return m_syncCommands.get(); }
    const QList<VUMO_LIST_STRUCT>& CopyBuffer() const;
    // Every command of the page, with its handler and availability.
    const VumoCommandTable& Commands() const { return m_commandTable; }
    // Columns, tabs and allowed buttons of the current class.
    const VumoClassLayout& Layout() const { return m_layout; }
    // While a command works through many rows, selection changes are not acted on.
    void SetSelectionIgnored(bool ignore) { m_ignoreSelection = ignore; }
    // The stored text of the search-results node.
    QString SearchText() const { return m_searchText; }
    // The editor below the table.
    VumoEditerWidget* EmbeddedEditor() const;
    VumoEditorCommands* EditorCommands() const { return m_editorCommands.get(); }
    // Selects a just-created listing once the tree has switched to its class.
    void SetPendingSelection(int vumoClass, const QString& clientId);
    // The comment synchronisation thread; null until a shop of type 8 or a pair needed it.
    SyncRedCommentThread* RedCommentThread() const { return m_redCommentThread.get(); }

    // The context menu for a point of the table's viewport, or null when it would be empty.
    // The caller owns it.
    QMenu* CreateContextMenu(const QPoint& pos);

signals:
    void FirstLoadFinishedSignal();

public slots:
    // index 0: message label; 1: error label in red; 2 with an empty message: clears both.
    void OnShowStatusMsg(const QString& msg, int index);

    void OnShowNewVumoMenu();
    // The category update by change package / through the listing API.
    void OnPartCatsDownload();
    void OnFullCatsDownload();
    void OnMenuMoreTemplate();
    void OnAdvaceSearchBtnClicked();
    void OnSearchVumo(const QString& where);
    void OnClearSearchVumo();
    void OnSearchRepeatVumo();
    void OnSearchNoShopCategoryVumo();
    void OnDeleteLocalVumo();
    void OnMenuDeleteVumo(bool localOnly);
    void OnMenuRestoreVumo();
    void OnMenuCopyVumo();
    void OnMenuPasteVumo();
    void OnMenuCopyVumoIdToClipboard();
    void OnMenuOpenVumoUrl();
    void OnViewDoubleClicked(const QModelIndex& index);
    void OnViewContextMenu(const QPoint& pos);
    void OnVumoClassificationSwitch();
    void OnTabarCurrentChanged(int index);
    void OnSelectVumoChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnSettingsBtnClicked();
    void OnShowAdvancedSearchClicked();
    void OnDownloadVumo();
    // One listing was downloaded: its count moves from its old class to the new one and its
    // row is refreshed or added when the current node shows it. Takes `entity` over.
    void OnOneVumoDownloadFinished(Quorvia::vumo::entity::VumoDataEntity* entity,
                                   Quorvia::vumo::entity::ENUM_VUMO_STATUS srcStatus, const QString& srcSellerCats);
    // A listing was uploaded (state 1) or failed (2): its count moves between the classes; its
    // row leaves a node that no longer shows its class, else its upload status changes in place.
    void OnUploadSucceed(const QString& clientId, qint16 state, VUMO_CLASS srcType, VUMO_CLASS dstType,
                         int succeeded, const QString& sellerCats);
    void OnVumoSellerCatChanged(qint64 vumoId, const QString& clientId, const QString& srcSellerCats,
                                const QString& dstSellerCats);
    // A listing was saved in an editor: its row is refreshed.
    void OnRefreshVumoShowMsg(const VUMO_LIST_STRUCT& vumoStruct);
    void OnNewVumoBtnClk();
    void OnMenuNewVumoTemplate();
    void OnTemplateToNewVumo(const QVariant& clientId);
    // A new SKU copied from a source SKU: its comments are to be carried over.
    void OnAddNewSyncRedPair(qint64 newSkuid, qint64 oriSkuid);

private slots:
    void OnFirstInitData();

private:
    struct ToolButtonEntry
    {
        QToolButton* button = nullptr;
        QMenu* menu = nullptr;
        VumoCommand command = VumoCommand::None;
        QVariant data; // the click's
    };

    void declareCommands();
    void buildFrame();
    QWidget* buildToolBarRow();
    void buildMenus();
    void buildStatusBar();
    void fillMenu(QMenu* menu, const VumoMenu& entries);
    // Enables a menu's entries by the table when it opens (rules change with the class).
    void refreshMenu(QMenu* menu);
    // Queued: commands open modal boxes and dialogs, whose event loops must not run inside a
    // menu's or button's own handler, where the sender can be destroyed under them.
    void queueCommand(VumoCommand command, const QVariant& entryData);
    void runCommand(VumoCommand command, const QVariant& entryData);
    void rebuildTabs(const QList<VumoTab>& tabs);
    void applyCommandStates();
    void loadTable();
    // Shows the advanced-search panel (and hides the quick bar) or the other way round.
    void setAdvancedSearchShown(bool show);
    int currentTab() const;
    // Creates and starts the comment synchronisation thread once.
    void startCommentSync();

    VumoCommandTable m_commandTable;
    std::unique_ptr<VumoRowCommands> m_rowCommands;
    std::unique_ptr<sync::VumoSyncCommands> m_syncCommands;
    std::unique_ptr<VumoDownloadCommands> m_downloadCommands;
    std::unique_ptr<VumoEditorCommands> m_editorCommands;
    std::unique_ptr<VumoUploadCommands> m_uploadCommands;
    std::array<ToolButtonEntry, CommandCount> m_buttons;
    // Stopped and waited for by its destructor when the page goes.
    std::unique_ptr<SyncRedCommentThread> m_redCommentThread;

    VumoClassification* m_vumoTree = nullptr;
    QTabBar* m_tabBar = nullptr;
    VumoSearch* m_searchBar = nullptr;
    AdvanceSearchWidget* m_advanceSearch = nullptr;
    VumoTableView* m_vumoTableView = nullptr;
    VumoEditerWidget* m_editor = nullptr;
    QSplitter* m_hSplitter = nullptr;
    QSplitter* m_vSplitter = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_errorLabel = nullptr;
    Quorvia::core::ui::BaseDialog<SettingsFrame>* m_settingsDlg = nullptr;

    QString m_searchText;
    int m_pendingClass = -1;
    QString m_pendingClientId;

    int m_currentClass = -1;
    int m_stockMode = -1;
    // Columns, tabs and allowed commands of the current class.
    VumoClassLayout m_layout;
    bool m_firstLoadDone = false;
    bool m_switchingToSearch = false;
    bool m_ignoreSelection = false;
};

} // namespace Quorvia::vumo
