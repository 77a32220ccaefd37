#pragma once
// The one page the plug-in shows inside the workbench: tool bar, classification tree, tab bar,
// search bar, listing table, embedded editor and status bar. Commands whose dialogs and workers
// are not part of the build yet stay visibly disabled.
#include "plugin/VumoClassLayout.h"

#include <QFrame>
#include <QString>

#include <array>

class QLabel;
class QSplitter;
class QStandardItemModel;
class QStatusBar;
class QTabBar;
class QTableView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace Quorvia::vumo {

class VumoMainWidget : public QFrame
{
    Q_OBJECT
    // The host's --screenshot waits for this (or FirstLoadFinishedSignal).
    Q_PROPERTY(bool vumoFirstLoadDone READ IsFirstLoadDone NOTIFY FirstLoadFinishedSignal)

public:
    // Tool-bar commands in their order on the bar.
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

signals:
    void FirstLoadFinishedSignal();

public slots:
    // index 0: message label; 1: error label in red; 2 with an empty message: clears both.
    void OnShowStatusMsg(const QString& msg, int index);

private slots:
    void OnFirstInitData();
    void OnVumoClassificationSwitch();

private:
    struct CommandEntry
    {
        QToolButton* button = nullptr;
        QString toolTip;
        bool available = false; // its dialog or worker is part of the build
    };

    void buildFrame();
    QWidget* buildToolBarRow();
    void buildTree();
    void buildStatusBar();
    void rebuildTabs(const QList<VumoTab>& tabs);
    void applyClassLayout();
    void applyCommandStates();

    std::array<CommandEntry, CommandCount> m_commands;

    QTreeWidget* m_vumoTree = nullptr;
    QTabBar* m_tabBar = nullptr;
    QWidget* m_searchBar = nullptr;
    QTableView* m_vumoTableView = nullptr;
    QStandardItemModel* m_tableModel = nullptr;
    QWidget* m_editor = nullptr;
    QSplitter* m_hSplitter = nullptr;
    QSplitter* m_vSplitter = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_errorLabel = nullptr;

    int m_currentClass = -1;
    int m_stockMode = -1;
    bool m_uploadAllowed = true;
    bool m_batchEditAllowed = true;
    bool m_deleteAllowed = true;
    bool m_firstLoadDone = false;
};

} // namespace Quorvia::vumo
