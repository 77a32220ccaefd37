#include "plugin/VumoMainWidget.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "editor/VumoEditerWidget.h"
#include "editor/VumoEditorCommands.h"
#include "entity/VumoDataEntity.h"
#include "plugin/AdvanceSearchWidget.h"
#include "plugin/SettingsFrame.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoListingCommands.h"
#include "plugin/VumoRowCommands.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoSearchStatement.h"
#include "plugin/VumoTableFilterModel.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/SyncRedCommentThread.h"
#include "sync/VumoDownloadCommands.h"
#include "sync/VumoUploadCommands.h"
#include "sync/VumoSyncCommands.h"
#include "ui/BaseDialog.h"
#include "utils/Log.h"

#include <QAction>
#include <QCursor>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The resource file lives in the static vumo_gui library; naming it here keeps it linked.
static void VumoInitResources()
{
    Q_INIT_RESOURCE(vumo);
}

namespace Quorvia::vumo {

namespace {

using Quorvia::core::ui::BaseDialog;

// The bar's buttons in the order of VumoMainWidget::Command; looks and state come from the
// command each one runs.
struct ToolButtonSlot
{
    const char* objectName;
    VumoCommand command;
    bool hasMenu;
    bool settingsBar;
};

const ToolButtonSlot kToolBar[VumoMainWidget::CommandCount] = {
    {"newVumoBtn", VumoCommand::NewVumo, true, false},
    {"catsDownloadBtn", VumoCommand::PartCatsDownload, true, false},
    {"downloadVumoBtn", VumoCommand::DownloadVumo, false, false},
    {"uploadVumoBtn", VumoCommand::UploadTicked, false, false},
    {"batchEditBtn", VumoCommand::BatchEdit, true, false},
    {"advanceSearchBtn", VumoCommand::AdvanceSearch, true, false},
    {"importBtn", VumoCommand::QuickImport, true, false},
    {"exportBtn", VumoCommand::ExportCsv, true, false},
    {"deleteVumoBtn", VumoCommand::DeleteTicked, false, false},
    {"settingsBtn", VumoCommand::Settings, false, true},
    {"toggleSearchBtn", VumoCommand::ToggleSearch, false, true},
};

// What a click hands its command, where the menu's entries differ by data.
QVariant clickData(VumoCommand command)
{
    switch (command) {
    case VumoCommand::BatchEdit:
        return int(BatchPageTitle);
    case VumoCommand::QuickImport:
        return 1; // the plug-in's own CSV layout
    case VumoCommand::ExportCsv:
        return false;
    default:
        return QVariant();
    }
}

const char* const kExpandedIcon = ":/images/toolbtn_arrow_expended.svg";
const char* const kCollapsedIcon = ":/images/toolbtn_arrow_collapsed.svg";
const char* const kCommandProperty = "vumoCommand";
const char* const kEntryEnabledProperty = "vumoEntryEnabled";

std::shared_ptr<database::VumoDbInterface> store()
{
    return database::VumoDBMgr::instance()->GetVumoDb();
}

} // namespace

VumoMainWidget::VumoMainWidget(QWidget* parent)
    : QFrame(parent)
    , m_stockMode(UserInfo::instance()->GetStockMode())
{
    VumoInitResources();
    qRegisterMetaType<VUMO_LIST_STRUCT>("VUMO_LIST_STRUCT");
    // Declared first: the tool bar takes its buttons' looks from the table.
    m_rowCommands = std::make_unique<VumoRowCommands>(*this);
    m_syncCommands = std::make_unique<sync::VumoSyncCommands>(*this);
    m_downloadCommands = std::make_unique<VumoDownloadCommands>(*this);
    m_editorCommands = std::make_unique<VumoEditorCommands>(*this);
    m_uploadCommands = std::make_unique<VumoUploadCommands>(*this);
    declareCommands();
    buildFrame();
    buildMenus();
    buildStatusBar();
    applyCommandStates();
    m_syncCommands->StartAutomaticUpdate();
    if (UserInfo::instance()->GetShopType() == 8)
        startCommentSync();

    m_vSplitter->setSizes({200, 210});

    QTimer::singleShot(0, this, &VumoMainWidget::OnFirstInitData);
}

VumoMainWidget::~VumoMainWidget() = default;

QToolButton* VumoMainWidget::CommandButton(Command command) const
{
    if (command < 0 || command >= CommandCount)
        return nullptr;
    return m_buttons[command].button;
}

QMenu* VumoMainWidget::CommandMenu(Command command) const
{
    if (command < 0 || command >= CommandCount)
        return nullptr;
    return m_buttons[command].menu;
}

const QList<VUMO_LIST_STRUCT>& VumoMainWidget::CopyBuffer() const
{
    return m_rowCommands->CopyBuffer();
}

void VumoMainWidget::declareCommands()
{
    VumoCommandTable& table = m_commandTable;
    m_rowCommands->Declare(table);
    m_syncCommands->Declare(table);
    m_downloadCommands->Declare(table);
    m_editorCommands->Declare(table);
    m_uploadCommands->Declare(table);

    const auto call = [this](void (VumoMainWidget::*slot)()) -> VumoCommandHandler {
        return [this, slot](const QVariant&) { (this->*slot)(); };
    };
    const auto layoutRule = [this](bool VumoClassLayout::*allowed) -> VumoCommandRule {
        return [this, allowed] { return m_layout.*allowed; };
    };

    // The page's own: searches, settings, the search-bar toggle and the template node.
    table.Declare({VumoCommand::AdvanceSearch,
                   QStringLiteral("高级搜索"),
                   QStringLiteral(":/images/toolbtn_search.svg"),
                   QStringLiteral("高级搜索"),
                   call(&VumoMainWidget::OnAdvaceSearchBtnClicked),
                   {}});
    table.Declare(VumoCommand::SearchRepeat, QStringLiteral("重复商品"), call(&VumoMainWidget::OnSearchRepeatVumo));
    table.Declare(VumoCommand::SearchNoShopCategory, QStringLiteral("未分配店内分类的商品"),
                  call(&VumoMainWidget::OnSearchNoShopCategoryVumo));
    table.Declare(VumoCommand::MoreTemplate, QStringLiteral("更多模板"), call(&VumoMainWidget::OnMenuMoreTemplate));
    table.Declare({VumoCommand::Settings,
                   QStringLiteral("设置"),
                   QStringLiteral(":/images/setting_menu.svg"),
                   QStringLiteral("设置"),
                   call(&VumoMainWidget::OnSettingsBtnClicked),
                   {}});
    table.Declare({VumoCommand::ToggleSearch,
                   QStringLiteral("收起搜索栏"),
                   QString::fromLatin1(kExpandedIcon),
                   QStringLiteral("收起搜索栏"),
                   call(&VumoMainWidget::OnShowAdvancedSearchClicked),
                   {}});

    // Not built yet: declared with their looks and rules but no handler, so every button and
    // entry of theirs shows disabled with VumoNotAvailableTip(). Each moves to its subsystem's
    // command object, with its handler, when that subsystem arrives.
    table.Declare({VumoCommand::BatchEdit,
                   QStringLiteral("批量修改"),
                   QStringLiteral(":/images/toolbtn_batchedit.svg"),
                   QStringLiteral("批量修改商品信息"),
                   {},
                   layoutRule(&VumoClassLayout::batchEditAllowed)});
    table.Declare(VumoCommand::ImportCsv, QStringLiteral("导入CSV"));
    table.Declare({VumoCommand::QuickImport,
                   QStringLiteral("商品导入"),
                   QStringLiteral(":/images/toolbtn_vumoimport.svg"),
                   QStringLiteral("把CSV文件中的商品数据保存到Quorvia工作台中"),
                   {},
                   {}});
    table.Declare(VumoCommand::DownloadImportTemplate, QStringLiteral("下载商品导入模板"));
    table.Declare(VumoCommand::DownloadOnlineTemplate, QStringLiteral("图书音像模板下载"));
    table.Declare({VumoCommand::ExportCsv,
                   QStringLiteral("商品导出"),
                   QStringLiteral(":/images/toolbtn_vumoexport.svg"),
                   QStringLiteral("把Quorvia工作台中的商品数据保存到CSV文件中"),
                   {},
                   {}});
    table.Declare(VumoCommand::ExportBookAudioVideo, QStringLiteral("图书商品导出"));

    // A command left out would be disabled without anyone noticing.
    for (VumoCommand missing : table.Undeclared())
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "command not declared:" << int(missing);
}

void VumoMainWidget::buildFrame()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBarRow());

    m_hSplitter = new QSplitter(Qt::Horizontal, this);
    m_hSplitter->setObjectName(QStringLiteral("VumoHSplitter"));
    m_vumoTree = new VumoClassification(m_hSplitter);
    m_vumoTree->setObjectName(QStringLiteral("m_vumoTree"));
    m_hSplitter->addWidget(m_vumoTree);

    m_vSplitter = new QSplitter(Qt::Vertical, m_hSplitter);
    m_vSplitter->setObjectName(QStringLiteral("VumoVSplitter"));
    m_hSplitter->addWidget(m_vSplitter);

    auto* upper = new QWidget(m_vSplitter);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(2);

    m_tabBar = new QTabBar(upper);
    m_tabBar->setObjectName(QStringLiteral("vumo_tabbar"));
    m_tabBar->setExpanding(false);
    m_tabBar->setDrawBase(false);
    upperLayout->addWidget(m_tabBar);

    // The quick bar and the advanced panel share one place: the toggle swaps them, so the
    // panel, which holds every field of the bar, does not sit above a copy of itself.
    m_searchBar = new VumoSearch(upper);
    upperLayout->addWidget(m_searchBar);
    m_advanceSearch = new AdvanceSearchWidget(upper, m_stockMode);
    m_advanceSearch->setObjectName(QStringLiteral("VumoAdvanceSearchPanel"));
    upperLayout->addWidget(m_advanceSearch);
    setAdvancedSearchShown(true);

    m_vumoTableView = new VumoTableView(upper);
    m_vumoTableView->setObjectName(QStringLiteral("m_vumoTableView"));
    upperLayout->addWidget(m_vumoTableView, 1);
    m_vSplitter->addWidget(upper);

    // The editor below the table shows the first selected listing.
    m_editor = m_editorCommands->CreateEmbeddedEditor(m_vSplitter);
    m_vSplitter->addWidget(m_editor);
    // A taller window gives its room to the table; the editor's pages scroll.
    m_vSplitter->setStretchFactor(0, 1);
    m_vSplitter->setCollapsible(0, false);

    layout->addWidget(m_hSplitter, 1);
    m_hSplitter->setStretchFactor(1, 1);
    m_hSplitter->setSizes({200, 800});

    connect(m_vumoTree, &VumoClassification::ClassificationChangedSignal, this,
            &VumoMainWidget::OnVumoClassificationSwitch);
    connect(m_tabBar, &QTabBar::currentChanged, this, &VumoMainWidget::OnTabarCurrentChanged);
    connect(m_vumoTableView, &VumoTableView::selectionChangedSignal, this, &VumoMainWidget::OnSelectVumoChanged);
    connect(m_vumoTableView, &QAbstractItemView::doubleClicked, this, &VumoMainWidget::OnViewDoubleClicked);
    connect(m_vumoTableView, &QWidget::customContextMenuRequested, this, &VumoMainWidget::OnViewContextMenu);
    connect(m_searchBar, &VumoSearch::SearchVumoSignal, this, &VumoMainWidget::OnSearchVumo);
    connect(m_searchBar, &VumoSearch::ClearSearchSignal, this, &VumoMainWidget::OnClearSearchVumo);
    connect(m_advanceSearch, &AdvanceSearchWidget::AdvanceSearchSignal, this, &VumoMainWidget::OnSearchVumo);
    connect(m_advanceSearch, &AdvanceSearchWidget::CloseSignal, this, [this] { setAdvancedSearchShown(false); });
}

QWidget* VumoMainWidget::buildToolBarRow()
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("vumomanage_toolbar"));
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(4, 2, 4, 2);

    auto* commandBar = new QToolBar(row);
    commandBar->setObjectName(QStringLiteral("VumoToolBar"));
    auto* settingsBar = new QToolBar(row);
    settingsBar->setObjectName(QStringLiteral("SettingsToolBar"));
    for (QToolBar* bar : {commandBar, settingsBar}) {
        bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        bar->setIconSize(QSize(32, 32));
        bar->setMovable(false);
        bar->setFloatable(false);
    }
    settingsBar->setIconSize(QSize(24, 24));

    for (int i = 0; i < CommandCount; ++i) {
        const ToolButtonSlot& slot = kToolBar[i];
        const VumoCommandEntry* declared = m_commandTable.Find(slot.command);
        QToolBar* bar = slot.settingsBar ? settingsBar : commandBar;
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(slot.objectName));
        if (declared) {
            button->setIcon(QIcon(declared->icon));
            button->setText(declared->text);
        }
        button->setToolTip(m_commandTable.ToolTip(slot.command));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        ToolButtonEntry& entry = m_buttons[i];
        if (slot.hasMenu) {
            button->setPopupMode(QToolButton::MenuButtonPopup);
            entry.menu = new QMenu(button);
            entry.menu->setToolTipsVisible(true);
            button->setMenu(entry.menu);
        }
        bar->addWidget(button);
        entry.button = button;
        entry.command = slot.command;
        entry.data = clickData(slot.command);
        connect(button, &QToolButton::clicked, this,
                [this, i] { runCommand(m_buttons[i].command, m_buttons[i].data); });
    }

    rowLayout->addWidget(commandBar);
    rowLayout->addStretch(1);
    rowLayout->addWidget(settingsBar);
    return row;
}

void VumoMainWidget::buildMenus()
{
    connect(m_buttons[CommandNewVumo].menu, &QMenu::aboutToShow, this, &VumoMainWidget::OnShowNewVumoMenu);
    fillMenu(m_buttons[CommandCatsDownload].menu, VumoCatsMenu());
    fillMenu(m_buttons[CommandBatchEdit].menu, VumoBatchEditMenu(m_stockMode));
    fillMenu(m_buttons[CommandAdvanceSearch].menu, VumoAdvanceSearchMenu());
    fillMenu(m_buttons[CommandImport].menu, VumoImportMenu());
    fillMenu(m_buttons[CommandExport].menu, VumoExportMenu());
    for (const ToolButtonEntry& entry : m_buttons) {
        if (entry.menu && entry.command != VumoCommand::NewVumo) // that one is refilled on show
            connect(entry.menu, &QMenu::aboutToShow, this, [this, menu = entry.menu] { refreshMenu(menu); });
    }
}

void VumoMainWidget::fillMenu(QMenu* menu, const VumoMenu& entries)
{
    menu->clear();
    for (const VumoMenuEntry& entry : entries) {
        if (entry.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        if (!entry.children.isEmpty()) {
            QMenu* sub = menu->addMenu(entry.text);
            sub->setToolTipsVisible(true);
            fillMenu(sub, entry.children);
            continue;
        }
        QAction* action = menu->addAction(entry.text);
        action->setProperty(kCommandProperty, int(entry.command));
        action->setProperty(kEntryEnabledProperty, entry.enabled);
        if (!m_commandTable.IsBuilt(entry.command))
            action->setToolTip(VumoNotAvailableTip());
        connect(action, &QAction::triggered, this,
                [this, command = entry.command, data = entry.data] { queueCommand(command, data); });
    }
    refreshMenu(menu);
}

void VumoMainWidget::refreshMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            refreshMenu(sub);
            continue;
        }
        const QVariant command = action->property(kCommandProperty);
        if (command.isValid())
            action->setEnabled(action->property(kEntryEnabledProperty).toBool()
                               && m_commandTable.IsEnabled(VumoCommand(command.toInt())));
    }
}

void VumoMainWidget::queueCommand(VumoCommand command, const QVariant& entryData)
{
    QMetaObject::invokeMethod(
        this, [this, command, entryData] { runCommand(command, entryData); }, Qt::QueuedConnection);
}

void VumoMainWidget::runCommand(VumoCommand command, const QVariant& entryData)
{
    if (m_commandTable.Run(command, entryData))
        return;
    // Only a stale entry gets here (entries of unbuilt commands are disabled); say why.
    if (!m_commandTable.IsBuilt(command))
        OnShowStatusMsg(VumoNotAvailableTip(), 0);
}

void VumoMainWidget::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("VumoStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(m_statusBar);
    m_statusLabel->setObjectName(QStringLiteral("VumoStatusLabel"));
    m_errorLabel = new QLabel(m_statusBar);
    m_errorLabel->setObjectName(QStringLiteral("VumoErrorLabel"));
    m_errorLabel->setTextFormat(Qt::RichText);
    m_statusBar->addWidget(m_statusLabel, 1);
    m_statusBar->addWidget(m_errorLabel, 1);
    layout()->addWidget(m_statusBar);
}

void VumoMainWidget::OnShowStatusMsg(const QString& msg, int index)
{
    switch (index) {
    case 0:
        m_statusLabel->setText(msg);
        break;
    case 1:
        m_errorLabel->setText(QStringLiteral("<font color=#FF0000>%1</font>").arg(msg.toHtmlEscaped()));
        break;
    case 2:
        if (msg.isEmpty()) {
            m_statusLabel->clear();
            m_errorLabel->clear();
        }
        break;
    default:
        break;
    }
}

void VumoMainWidget::startCommentSync()
{
    if (!m_redCommentThread)
        m_redCommentThread = std::make_unique<SyncRedCommentThread>();
    if (!m_redCommentThread->isRunning())
        m_redCommentThread->Start();
}

void VumoMainWidget::OnAddNewSyncRedPair(qint64 newSkuid, qint64 oriSkuid)
{
    startCommentSync();
    m_redCommentThread->AddPair(newSkuid, oriSkuid);
}

void VumoMainWidget::OnFirstInitData()
{
    // The page counts as loaded (for the host's screenshot too) once the tree shows its counts;
    // Refill always starts a count run.
    connect(
        m_vumoTree, &VumoClassification::CountFinishedSignal, this,
        [this] {
            m_firstLoadDone = true;
            emit FirstLoadFinishedSignal();
        },
        Qt::SingleShotConnection);
    m_vumoTree->Refill();
    OnVumoClassificationSwitch();
    update();
}

// ---- class switch and table loading ----

void VumoMainWidget::OnVumoClassificationSwitch()
{
    if (m_switchingToSearch)
        return;
    m_editorCommands->SettleEmbedded();
    m_editorCommands->ShowInEmbedded(QString(), false);
    const int vumoClass = m_vumoTree->CurrentClass();
    if (vumoClass > 0)
        m_currentClass = vumoClass;
    m_layout = VumoLayoutForClass(m_currentClass, m_stockMode);
    m_vumoTableView->SetClassHiddenColumns(m_layout.hiddenColumns);
    rebuildTabs(m_layout.tabs);
    applyCommandStates();
    loadTable();
}

void VumoMainWidget::OnTabarCurrentChanged(int /*index*/)
{
    loadTable();
}

int VumoMainWidget::currentTab() const
{
    const int index = m_tabBar->currentIndex();
    return index >= 0 ? m_tabBar->tabData(index).toInt() : 1;
}

void VumoMainWidget::loadTable()
{
    QString sql;
    if (m_currentClass == VumoClassSearch) {
        if (!m_searchText.isEmpty())
            sql = SearchResultsStatement(m_searchText, VumoClassStatusPart(VumoClassSearch));
    } else {
        const QString condition = m_vumoTree->ConditionOfNode();
        if (!condition.isEmpty())
            sql = VumoTableQuery() + QStringLiteral("WHERE ") + condition + VumoTabCondition(currentTab());
    }
    QList<VUMO_LIST_STRUCT> rows;
    if (!sql.isEmpty() && !store()->QueryVumoRows(sql, rows)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << QStringLiteral("加载商品列表失败");
        rows.clear(); // a failing statement leaves the table empty
    }
    m_vumoTableView->SetVumoList(rows);
    if (m_currentClass == VumoClassSearch)
        m_vumoTree->SetClassCount(VumoClassSearch, int(rows.size()));

    if (m_pendingClass == m_currentClass && !m_pendingClientId.isEmpty()) {
        m_vumoTableView->SelectClientId(m_pendingClientId);
        m_pendingClass = -1;
        m_pendingClientId.clear();
    }
}

void VumoMainWidget::rebuildTabs(const QList<VumoTab>& tabs)
{
    const int previous = m_tabBar->currentIndex() >= 0 ? m_tabBar->tabData(m_tabBar->currentIndex()).toInt() : 0;
    const QSignalBlocker blocker(m_tabBar);
    while (m_tabBar->count() > 0)
        m_tabBar->removeTab(0);
    int keep = 0;
    for (const VumoTab& tab : tabs) {
        const int index = m_tabBar->addTab(tab.title);
        m_tabBar->setTabData(index, tab.data);
        if (tab.data == previous)
            keep = index;
    }
    if (m_tabBar->count() > 0)
        m_tabBar->setCurrentIndex(keep);
    m_tabBar->setVisible(m_tabBar->count() > 0);
}

void VumoMainWidget::applyCommandStates()
{
    for (const ToolButtonEntry& entry : m_buttons)
        entry.button->setEnabled(m_commandTable.IsEnabled(entry.command));
}

void VumoMainWidget::OnSelectVumoChanged(const QItemSelection&, const QItemSelection&)
{
    if (m_ignoreSelection)
        return;
    OnShowStatusMsg(QString(), 2);
    // A failed save the seller asked for keeps the edits on show instead of dropping them.
    if (!m_editorCommands->SettleEmbedded())
        return;
    const QList<VUMO_LIST_STRUCT> selected = m_vumoTableView->GetSelectedVumos();
    m_editorCommands->ShowInEmbedded(selected.isEmpty() ? QString() : selected.first().client_id,
                                     m_currentClass != VumoClassRecycle);
}

// ---- search ----

void VumoMainWidget::OnSearchVumo(const QString& where)
{
    m_searchText = where;
    // Select the search-results node without its own reload, then load once.
    m_switchingToSearch = true;
    m_vumoTree->SetCurrentClass(VumoClassSearch);
    m_switchingToSearch = false;
    OnVumoClassificationSwitch();
}

void VumoMainWidget::OnClearSearchVumo()
{
    m_searchText.clear();
    OnVumoClassificationSwitch();
}

void VumoMainWidget::OnSearchRepeatVumo()
{
    const QString part = VumoClassStatusPart(m_currentClass);
    if (!part.isEmpty())
        OnSearchVumo(RepeatVumoStatement(part));
}

void VumoMainWidget::OnSearchNoShopCategoryVumo()
{
    const QString part = VumoClassStatusPart(m_currentClass);
    if (!part.isEmpty())
        OnSearchVumo(NoShopCategoryStatement(part));
}

void VumoMainWidget::OnAdvaceSearchBtnClicked()
{
    BaseDialog<AdvanceSearchWidget> dialog(this, m_stockMode);
    dialog.SetTitle(QStringLiteral("高级搜索"));
    connect(dialog.content(), &AdvanceSearchWidget::AdvanceSearchSignal, this, &VumoMainWidget::OnSearchVumo);
    dialog.exec();
}

void VumoMainWidget::OnShowAdvancedSearchClicked()
{
    setAdvancedSearchShown(!m_advanceSearch->isVisibleTo(this));
}

void VumoMainWidget::setAdvancedSearchShown(bool show)
{
    m_advanceSearch->setVisible(show);
    m_searchBar->setVisible(!show);
    const QString text = show ? QStringLiteral("收起搜索栏") : QStringLiteral("展开搜索栏");
    if (QToolButton* button = m_buttons[CommandToggleSearch].button) {
        button->setIcon(QIcon(QString::fromLatin1(show ? kExpandedIcon : kCollapsedIcon)));
        button->setText(text);
        button->setToolTip(text);
    }
}

// ---- menus ----

void VumoMainWidget::OnShowNewVumoMenu()
{
    auto& templates = Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo();
    FillTemplateList(*store(), templates);
    fillMenu(m_buttons[CommandNewVumo].menu, VumoNewVumoMenu(templates));
}

void VumoMainWidget::OnMenuMoreTemplate()
{
    if (m_vumoTree->CurrentClass() != VumoClassTemplate)
        m_vumoTree->SetCurrentClass(VumoClassTemplate);
}

QMenu* VumoMainWidget::CreateContextMenu(const QPoint& pos)
{
    const QModelIndex index = m_vumoTableView->indexAt(pos);
    const VumoMenu entries = VumoContextMenu(m_currentClass, index.isValid(), CopyBuffer().isEmpty());
    if (entries.isEmpty())
        return nullptr;
    auto* menu = new QMenu(this);
    menu->setToolTipsVisible(true);
    fillMenu(menu, entries);
    menu->addSeparator();
    return menu;
}

void VumoMainWidget::OnViewContextMenu(const QPoint& pos)
{
    // Run here and deleted here, once it has returned: a menu deleted later could go while a
    // nested event loop still runs inside its handler. (Guarded: the page may close meanwhile.)
    const QPointer<QMenu> menu = CreateContextMenu(pos);
    if (!menu)
        return;
    menu->exec(QCursor::pos());
    delete menu.data();
}

void VumoMainWidget::OnViewDoubleClicked(const QModelIndex& index)
{
    if (m_currentClass == VumoClassRecycle || !index.isValid())
        return;
    m_editorCommands->SettleEmbedded();
    VUMO_LIST_STRUCT row;
    if (m_vumoTableView->VumoModel()->GetVumo(m_vumoTableView->FilterModel()->SourceRow(index.row()), row))
        m_editorCommands->EditInDialog(row);
}

void VumoMainWidget::OnRefreshVumoShowMsg(const VUMO_LIST_STRUCT& vumoStruct)
{
    const int row = m_vumoTableView->VumoModel()->RowOfClientId(vumoStruct.client_id);
    if (row >= 0)
        m_vumoTableView->VumoModel()->UpdateOrInsertVumo(vumoStruct);
}

void VumoMainWidget::OnNewVumoBtnClk()
{
    m_commandTable.Run(VumoCommand::NewVumo);
}

void VumoMainWidget::OnMenuNewVumoTemplate()
{
    m_commandTable.Run(VumoCommand::NewTemplate);
}

void VumoMainWidget::OnTemplateToNewVumo(const QVariant& clientId)
{
    m_commandTable.Run(VumoCommand::TemplateToNewVumo, clientId);
}

VumoEditerWidget* VumoMainWidget::EmbeddedEditor() const
{
    return m_editor;
}

void VumoMainWidget::SetPendingSelection(int vumoClass, const QString& clientId)
{
    m_pendingClass = vumoClass;
    m_pendingClientId = clientId;
}

// ---- row commands: the slots call the command object directly (the table's rules govern
// the buttons and entries, not callers) ----

void VumoMainWidget::OnDeleteLocalVumo()
{
    m_rowCommands->DeleteVumos(m_vumoTableView->GetCheckedVumos(), true);
}

void VumoMainWidget::OnMenuDeleteVumo(bool localOnly)
{
    m_rowCommands->DeleteVumos(m_vumoTableView->GetSelectedVumos(), localOnly);
}

void VumoMainWidget::OnMenuRestoreVumo()
{
    m_rowCommands->RestoreSelected();
}

void VumoMainWidget::OnMenuCopyVumo()
{
    m_rowCommands->CopySelected();
}

void VumoMainWidget::OnMenuPasteVumo()
{
    m_rowCommands->PasteIntoCurrentClass();
}

void VumoMainWidget::OnMenuCopyVumoIdToClipboard()
{
    m_rowCommands->CopyIdsToClipboard();
}

void VumoMainWidget::OnMenuOpenVumoUrl()
{
    m_rowCommands->OpenListingPages();
}

void VumoMainWidget::OnPartCatsDownload()
{
    m_syncCommands->OnCategoryDownload(false);
}

void VumoMainWidget::OnFullCatsDownload()
{
    m_syncCommands->OnCatsDownloadByQBR();
}

void VumoMainWidget::OnVumoSellerCatChanged(qint64 vumoId, const QString& clientId, const QString& srcSellerCats,
                                            const QString& dstSellerCats)
{
    if (srcSellerCats == dstSellerCats)
        return;
    // The listing's own class, not the node on show (search results show several classes).
    const int vumoClass = StoredClassOf(*store(), clientId, vumoId);
    if (vumoClass == VumoClassNone) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << QStringLiteral("店内分类计数未更新：找不到商品") << clientId;
        return;
    }
    // Same class, other shop categories: the class total stays, the category nodes move.
    m_vumoTree->MoveCount(vumoClass, vumoClass, srcSellerCats, dstSellerCats);
}

void VumoMainWidget::OnDownloadVumo()
{
    m_downloadCommands->DownloadVumo();
}

void VumoMainWidget::OnOneVumoDownloadFinished(entity::VumoDataEntity* entity, entity::ENUM_VUMO_STATUS srcStatus,
                                               const QString& srcSellerCats)
{
    std::unique_ptr<entity::VumoDataEntity> record(entity);
    if (!record)
        return;
    const int toClass = m_vumoTree->ClassOfStatus(record->vumo_status());
    const int fromClass = srcStatus == entity::VUMO_STATUS_UNKNOWN ? -1 : m_vumoTree->ClassOfStatus(srcStatus);
    m_vumoTree->MoveCount(fromClass, toClass, srcSellerCats, record->shop_categorys());
    if (m_vumoTree->NodeShowsClass(toClass, record->shop_categorys()))
        m_vumoTableView->VumoModel()->UpdateOrInsertVumo(*record);
}

void VumoMainWidget::OnUploadSucceed(const QString& clientId, qint16 state, VUMO_CLASS srcType, VUMO_CLASS dstType,
                                     int succeeded, const QString& sellerCats)
{
    Q_UNUSED(succeeded)
    m_vumoTree->MoveCount(srcType.classType, dstType.classType, sellerCats, sellerCats);
    VumoTableViewModel* model = m_vumoTableView->VumoModel();
    if (srcType.classType != dstType.classType && !m_vumoTree->NodeShowsClass(dstType.classType, sellerCats))
        model->RemoveVumo(clientId);
    else
        model->SetUploadStatus(clientId, state == 1 ? 1 : 2);
}

// ---- settings ----

void VumoMainWidget::OnSettingsBtnClicked()
{
    if (!m_settingsDlg) {
        m_settingsDlg = new BaseDialog<SettingsFrame>(this);
        m_settingsDlg->SetTitle(QStringLiteral("设置"));
        connect(m_settingsDlg->content(), &SettingsFrame::AcceptedSignal, m_settingsDlg, &QDialog::accept);
        connect(m_settingsDlg->content(), &SettingsFrame::RejectedSignal, m_settingsDlg, &QDialog::reject);
    }
    // The page reads the saved layout: save the seller's moves and widths since the start
    // first, or "确定" would put the old ones back. A failure shows in the page when it saves.
    m_vumoTableView->SaveColumnLayout(true);
    m_settingsDlg->content()->Reload();
    m_settingsDlg->exec();
}

} // namespace Quorvia::vumo
