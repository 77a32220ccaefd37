#include "plugin/VumoMainWidget.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "network/config/NetworkConfig.h"
#include "plugin/AdvanceSearchWidget.h"
#include "plugin/SettingsFrame.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoDeleteThread.h"
#include "plugin/VumoListingCommands.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoSearchStatement.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "ui/VaProgressFrame.h"
#include "utils/Log.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
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
#include <QUrl>
#include <QUuid>
#include <QVBoxLayout>

// The resource file lives in the static vumo_gui library; naming it here keeps it linked.
static void VumoInitResources()
{
    Q_INIT_RESOURCE(vumo);
}

namespace Quorvia::vumo {

namespace {

using Quorvia::core::ui::BaseDialog;
using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::ShowMsgBox;
using Quorvia::core::ui::VaProgressFrame;

struct ToolCommand
{
    const char* objectName;
    const char* icon;
    const char* toolTip;
    const char* text;
    bool hasMenu;
    bool available; // flipped when the command's dialog or worker is built
};

// In the order of VumoMainWidget::Command.
const ToolCommand kCommands[VumoMainWidget::CommandCount] = {
    {"newVumoBtn", ":/images/toolbtn_newvumo.svg", "新建新品", "新建新品", true, false},
    {"catsDownloadBtn", ":/images/toolbtn_downloadcats.svg", "更新类目", "更新类目", true, false},
    {"downloadVumoBtn", ":/images/toolbtn_downloadvumo.svg", "下载商品", "下载商品", false, false},
    {"uploadVumoBtn", ":/images/toolbtn_upload.svg", "上传商品", "上传商品", false, false},
    {"batchEditBtn", ":/images/toolbtn_batchedit.svg", "批量修改商品信息", "批量修改", true, false},
    {"advanceSearchBtn", ":/images/toolbtn_search.svg", "高级搜索", "高级搜索", true, true},
    {"importBtn", ":/images/toolbtn_vumoimport.svg", "把CSV文件中的商品数据保存到Quorvia工作台中", "商品导入",
     true, false},
    {"exportBtn", ":/images/toolbtn_vumoexport.svg", "把Quorvia工作台中的商品数据保存到CSV文件中", "商品导出",
     true, false},
    {"deleteVumoBtn", ":/images/toolbtn_vumodel.svg", "删除商品本地数据", "删除商品", false, true},
    {"settingsBtn", ":/images/setting_menu.svg", "设置", "设置", false, true},
    {"toggleSearchBtn", ":/images/toolbtn_arrow_expended.svg", "收起搜索栏", "收起搜索栏", false, true},
};

const char* const kExpandedIcon = ":/images/toolbtn_arrow_expended.svg";
const char* const kCollapsedIcon = ":/images/toolbtn_arrow_collapsed.svg";
const char* const kCommandProperty = "vumoCommand";

void showMessage(QWidget* parent, const QString& text)
{
    ShowMsgBox(parent, text, MsgBox::Information, QMessageBox::Ok);
}

QString newClientId()
{
    return QUuid::createUuid().toString();
}

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
    buildFrame();
    buildMenus();
    buildStatusBar();
    applyCommandStates();

    // The embedded editor is not part of the build: it stays empty and disabled.
    m_editor->setEnabled(false);
    m_vSplitter->setSizes({200, 210});

    QTimer::singleShot(0, this, &VumoMainWidget::OnFirstInitData);
}

VumoMainWidget::~VumoMainWidget() = default;

QToolButton* VumoMainWidget::CommandButton(Command command) const
{
    if (command < 0 || command >= CommandCount)
        return nullptr;
    return m_commands[command].button;
}

QMenu* VumoMainWidget::CommandMenu(Command command) const
{
    if (command < 0 || command >= CommandCount)
        return nullptr;
    return m_commands[command].menu;
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

    // Stand-in for the listing editor until it is built: visibly disabled, with the tip.
    m_editor = new QFrame(m_vSplitter);
    m_editor->setObjectName(QStringLiteral("VumoEditerWidget"));
    m_editor->setToolTip(VumoNotAvailableTip());
    auto* editorLayout = new QVBoxLayout(m_editor);
    auto* editorLabel = new QLabel(QStringLiteral("商品编辑：") + VumoNotAvailableTip(), m_editor);
    editorLabel->setAlignment(Qt::AlignCenter);
    editorLayout->addWidget(editorLabel);
    m_vSplitter->addWidget(m_editor);

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
        const ToolCommand& entry = kCommands[i];
        QToolBar* bar = (i == CommandSettings || i == CommandToggleSearch) ? settingsBar : commandBar;
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(entry.objectName));
        button->setIcon(QIcon(QString::fromLatin1(entry.icon)));
        button->setText(QString::fromUtf8(entry.text));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        if (entry.hasMenu) {
            button->setPopupMode(QToolButton::MenuButtonPopup);
            m_commands[i].menu = new QMenu(button);
            m_commands[i].menu->setToolTipsVisible(true);
            button->setMenu(m_commands[i].menu);
        }
        bar->addWidget(button);
        m_commands[i].button = button;
        m_commands[i].toolTip = QString::fromUtf8(entry.toolTip);
        m_commands[i].available = entry.available;
    }

    connect(m_commands[CommandAdvanceSearch].button, &QToolButton::clicked, this,
            &VumoMainWidget::OnAdvaceSearchBtnClicked);
    connect(m_commands[CommandDeleteVumo].button, &QToolButton::clicked, this, &VumoMainWidget::OnDeleteLocalVumo);
    connect(m_commands[CommandSettings].button, &QToolButton::clicked, this, &VumoMainWidget::OnSettingsBtnClicked);
    connect(m_commands[CommandToggleSearch].button, &QToolButton::clicked, this,
            &VumoMainWidget::OnShowAdvancedSearchClicked);

    rowLayout->addWidget(commandBar);
    rowLayout->addStretch(1);
    rowLayout->addWidget(settingsBar);
    return row;
}

void VumoMainWidget::buildMenus()
{
    connect(m_commands[CommandNewVumo].menu, &QMenu::aboutToShow, this, &VumoMainWidget::OnShowNewVumoMenu);
    fillMenu(m_commands[CommandCatsDownload].menu, VumoCatsMenu());
    fillMenu(m_commands[CommandBatchEdit].menu, VumoBatchEditMenu(m_stockMode));
    fillMenu(m_commands[CommandAdvanceSearch].menu, VumoAdvanceSearchMenu());
    fillMenu(m_commands[CommandImport].menu, VumoImportMenu());
    fillMenu(m_commands[CommandExport].menu, VumoExportMenu());
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
        action->setData(entry.data);
        action->setProperty(kCommandProperty, int(entry.command));
        const bool available = VumoCommandAvailable(entry.command);
        action->setEnabled(entry.enabled && available);
        if (!available)
            action->setToolTip(VumoNotAvailableTip());
        connect(action, &QAction::triggered, this, &VumoMainWidget::OnMenuAction);
    }
}

void VumoMainWidget::OnMenuAction()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    const auto command = VumoCommand(action->property(kCommandProperty).toInt());
    const QVariant entryData = action->data();
    // Commands open modal boxes and dialogs. Their event loops must not run inside the menu's
    // own handler, where the menu can be destroyed under it: the command runs once the menu
    // has returned.
    QMetaObject::invokeMethod(
        this, [this, command, entryData] { runCommand(command, entryData); }, Qt::QueuedConnection);
}

void VumoMainWidget::runCommand(VumoCommand command, const QVariant& entryData)
{
    switch (command) {
    case VumoCommand::CheckRows: m_vumoTableView->onMenuChecked(); break;
    case VumoCommand::UnCheckRows: m_vumoTableView->onMenuUnChecked(); break;
    case VumoCommand::SelectAllRows: m_vumoTableView->selectAll(); break;
    case VumoCommand::DeleteVumo:
        deleteVumos(m_vumoTableView->GetSelectedVumos(), entryData.isValid() ? entryData.toBool() : true);
        break;
    case VumoCommand::CopyVumo: OnMenuCopyVumo(); break;
    case VumoCommand::PasteVumo: OnMenuPasteVumo(); break;
    case VumoCommand::CopyVumoId: OnMenuCopyVumoIdToClipboard(); break;
    case VumoCommand::OpenVumoUrl: OnMenuOpenVumoUrl(); break;
    case VumoCommand::RestoreVumo: OnMenuRestoreVumo(); break;
    case VumoCommand::MoreTemplate: OnMenuMoreTemplate(); break;
    case VumoCommand::AdvanceSearch: OnAdvaceSearchBtnClicked(); break;
    case VumoCommand::SearchRepeat: OnSearchRepeatVumo(); break;
    case VumoCommand::SearchNoShopCategory: OnSearchNoShopCategoryVumo(); break;
    default:
        // Not built yet; its entry is disabled, so only a stale action gets here.
        OnShowStatusMsg(VumoNotAvailableTip(), 0);
        break;
    }
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
    // The embedded editor would settle its unsaved changes here; it is not built yet.
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
    for (int i = 0; i < CommandCount; ++i) {
        CommandEntry& entry = m_commands[i];
        bool allowed = true;
        if (i == CommandUploadVumo)
            allowed = m_layout.uploadAllowed;
        else if (i == CommandBatchEdit)
            allowed = m_layout.batchEditAllowed;
        else if (i == CommandDeleteVumo)
            allowed = m_layout.deleteAllowed;
        entry.button->setEnabled(entry.available && allowed);
        entry.button->setToolTip(entry.available ? entry.toolTip : VumoNotAvailableTip());
    }
}

void VumoMainWidget::OnSelectVumoChanged(const QItemSelection&, const QItemSelection&)
{
    if (m_ignoreSelection)
        return;
    OnShowStatusMsg(QString(), 2);
    // The embedded editor would load the first selected listing here; it is not built yet.
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
    if (QToolButton* button = m_commands[CommandToggleSearch].button) {
        button->setIcon(QIcon(QString::fromLatin1(show ? kExpandedIcon : kCollapsedIcon)));
        button->setText(text);
        button->setToolTip(text);
    }
    m_commands[CommandToggleSearch].toolTip = text;
}

// ---- menus ----

void VumoMainWidget::OnShowNewVumoMenu()
{
    auto& templates = Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo();
    FillTemplateList(*store(), templates);
    fillMenu(m_commands[CommandNewVumo].menu, VumoNewVumoMenu(templates));
}

void VumoMainWidget::OnMenuMoreTemplate()
{
    if (m_vumoTree->CurrentClass() != VumoClassTemplate)
        m_vumoTree->SetCurrentClass(VumoClassTemplate);
}

QMenu* VumoMainWidget::CreateContextMenu(const QPoint& pos)
{
    const QModelIndex index = m_vumoTableView->indexAt(pos);
    const VumoMenu entries = VumoContextMenu(m_currentClass, index.isValid(), m_copyBuffer.isEmpty());
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
    // The listing editor is not built yet; say so instead of doing nothing.
    OnShowStatusMsg(QStringLiteral("商品编辑：") + VumoNotAvailableTip(), 0);
}

// ---- delete ----

void VumoMainWidget::OnDeleteLocalVumo()
{
    deleteVumos(m_vumoTableView->GetCheckedVumos(), true);
}

void VumoMainWidget::OnMenuDeleteVumo()
{
    auto* action = qobject_cast<QAction*>(sender());
    const bool localOnly = action ? action->data().toBool() : true;
    deleteVumos(m_vumoTableView->GetSelectedVumos(), localOnly);
}

void VumoMainWidget::deleteVumos(const QList<VUMO_LIST_STRUCT>& rows, bool localOnly)
{
    if (rows.isEmpty())
        return;
    // The embedded editor would settle its unsaved changes here; it is not built yet.
    const int vumoClass = m_currentClass;
    const VumoDeletePlan plan = VumoDeletePlanFor(vumoClass, localOnly);
    if (ShowMsgBox(this, plan.question, MsgBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes
        || !plan.Deletes())
        return;

    m_ignoreSelection = true;
    BaseDialog<VaProgressFrame> dialog(this);
    VaProgressFrame* frame = dialog.content();
    frame->SetTitle(plan.progressTitle);
    frame->SetRange(0, int(rows.size()));
    frame->SetValue(0);
    frame->SetTextFormat(plan.progressFormat);
    frame->SetCancelText(QStringLiteral("取消"));
    const auto countText = [plan, total = int(rows.size())](int done) {
        QString text = plan.countFormat;
        return text.replace(QLatin1String("%v"), QString::number(done)).replace(QLatin1String("%m"), QString::number(total));
    };
    frame->SetLabelText(countText(0));

    VumoDeleteThread thread(plan, rows);
    thread.SetGatewayUrl(m_gatewayUrl);
    connect(&thread, &VumoDeleteThread::OneVumoDeletedSignal, this, [this, plan, vumoClass](const VUMO_LIST_STRUCT& row) {
        m_vumoTableView->VumoModel()->RemoveVumo(row.client_id);
        m_vumoTree->MoveCount(vumoClass, plan.TargetClass(), row.shop_categorys, row.shop_categorys);
    }, Qt::QueuedConnection);
    connect(&thread, &VumoDeleteThread::DeleteProgressSignal, frame, [frame, countText](int done) {
        frame->SetValue(done);
        frame->SetLabelText(countText(done));
    }, Qt::QueuedConnection);
    connect(frame, &VaProgressFrame::CancelSignal, &thread, [&thread] { thread.Stop(); }, Qt::DirectConnection);
    connect(&thread, &QThread::finished, frame, [&thread, frame, plan] {
        frame->SetLabelText(VumoDeleteSummary(plan.noun, thread.Cancelled(), thread.Done(), thread.Succeeded(),
                                              thread.Failed()));
        frame->Finish();
    }, Qt::QueuedConnection);
    thread.start();
    // Closing the window cancels and keeps it open until the worker has ended (its current
    // online call can take up to its time-out): the dialog's own loop keeps the page painting.
    dialog.exec();
    thread.Stop();
    thread.wait(); // it has ended already (the dialog only closes after Finish)
    QCoreApplication::sendPostedEvents(this);
    QCoreApplication::sendPostedEvents(frame);

    if (plan.Permanent() && vumoClass == VumoClassTemplate)
        Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear(); // reloaded on next use
    m_ignoreSelection = false;
}

// ---- restore, copy, paste ----

void VumoMainWidget::OnMenuRestoreVumo()
{
    if (m_currentClass != VumoClassRecycle)
        return;
    int restored = 0;
    for (const VUMO_LIST_STRUCT& row : m_vumoTableView->GetSelectedVumos()) {
        if (!RestoreVumoFromRecycleBin(*store(), row.client_id)) {
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << QStringLiteral("还原商品失败") << row.client_id;
            continue;
        }
        m_vumoTableView->VumoModel()->RemoveVumo(row.client_id);
        ++restored;
    }
    if (restored > 0)
        m_vumoTree->AddCount(VumoClassRecycle, VumoClassLocal, restored);
}

void VumoMainWidget::OnMenuCopyVumo()
{
    const QList<VUMO_LIST_STRUCT> rows = m_vumoTableView->GetSelectedVumos();
    if (!rows.isEmpty())
        m_copyBuffer = rows;
}

void VumoMainWidget::OnMenuPasteVumo()
{
    const int vumoClass = m_currentClass;
    if (!VumoPasteAllowed(vumoClass)) {
        showMessage(this, VumoPasteRefusedText());
        return;
    }
    const QDateTime now = Quorvia::utils::AppShareHelp::instance()->GetServerTime();
    int pasted = 0;
    for (const VUMO_LIST_STRUCT& source : m_copyBuffer) {
        entity::VumoDataEntity copy;
        QString message;
        if (!PasteVumoCopy(*store(), source.client_id, vumoClass, now, newClientId(), copy, message)) {
            showMessage(this, message);
            break;
        }
        m_vumoTableView->VumoModel()->UpdateOrInsertVumo(copy);
        ++pasted;
    }
    if (pasted > 0) {
        m_vumoTree->AddCount(-1, vumoClass, pasted);
        if (vumoClass == VumoClassTemplate)
            Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear(); // reloaded with the copies
    }
}

void VumoMainWidget::OnMenuCopyVumoIdToClipboard()
{
    QList<qint64> ids;
    for (const VUMO_LIST_STRUCT& row : m_vumoTableView->GetSelectedVumos())
        ids << row.vumo_id;
    const QString text = VumoIdsClipboardText(ids);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void VumoMainWidget::OnMenuOpenVumoUrl()
{
    const QString address = Quorvia::network::config::NetworkConfig::Instance()->GetVumoItemUrl();
    for (const VUMO_LIST_STRUCT& row : m_vumoTableView->GetSelectedVumos()) {
        const QString url = VumoListingPageUrl(address, FirstSkuIdOf(*store(), row.client_id));
        if (url.isEmpty()) {
            OnShowStatusMsg(QStringLiteral("商品%1没有SKU编号，无法打开商品页面").arg(row.vumo_id), 1);
            continue;
        }
        QDesktopServices::openUrl(QUrl(url));
    }
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
