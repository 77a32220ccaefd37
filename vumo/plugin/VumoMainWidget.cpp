#include "plugin/VumoMainWidget.h"

#include "plugin/TableInfo.h"
#include "plugin/UserInfo.h"
#include "plugin/hostservices/AppShareHelp.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// The resource file lives in the static vumo_gui library; naming it here keeps it linked.
static void VumoInitResources()
{
    Q_INIT_RESOURCE(vumo);
}

namespace Quorvia::vumo {

namespace {

const char* const kNotAvailableTip = "此功能尚未开放";

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
    {"advanceSearchBtn", ":/images/toolbtn_search.svg", "高级搜索", "高级搜索", true, false},
    {"importBtn", ":/images/toolbtn_vumoimport.svg", "把CSV文件中的商品数据保存到Quorvia工作台中", "商品导入",
     true, false},
    {"exportBtn", ":/images/toolbtn_vumoexport.svg", "把Quorvia工作台中的商品数据保存到CSV文件中", "商品导出",
     true, false},
    {"deleteVumoBtn", ":/images/toolbtn_vumodel.svg", "删除商品本地数据", "删除商品", false, false},
    {"settingsBtn", ":/images/setting_menu.svg", "设置", "设置", false, false},
    {"toggleSearchBtn", ":/images/toolbtn_arrow_expended.svg", "收起搜索栏", "收起搜索栏", false, false},
};

const int kClassRole = Qt::UserRole;

QString shopNodeText()
{
    const QString shop = Quorvia::utils::AppShareHelp::instance()->GetShopName();
    return shop.isEmpty() ? QStringLiteral("Yv商城-【店铺名称】") : shop;
}

} // namespace

VumoMainWidget::VumoMainWidget(QWidget* parent)
    : QFrame(parent)
    , m_stockMode(UserInfo::instance()->GetStockMode())
{
    VumoInitResources();
    buildFrame();
    buildTree();
    buildStatusBar();
    applyCommandStates();

    // The editor stays empty and disabled until a listing is selected.
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

void VumoMainWidget::buildFrame()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBarRow());

    m_hSplitter = new QSplitter(Qt::Horizontal, this);
    m_hSplitter->setObjectName(QStringLiteral("VumoHSplitter"));
    m_vumoTree = new QTreeWidget(m_hSplitter);
    m_vumoTree->setObjectName(QStringLiteral("m_vumoTree"));
    m_vumoTree->setHeaderHidden(true);
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
    upperLayout->addWidget(m_tabBar);

    // The quick search is not part of the build yet: shown, but disabled.
    m_searchBar = new QWidget(upper);
    m_searchBar->setObjectName(QStringLiteral("VumoSearchBar"));
    auto* searchLayout = new QHBoxLayout(m_searchBar);
    searchLayout->setContentsMargins(4, 2, 4, 2);
    auto* searchEdit = new QLineEdit(m_searchBar);
    searchEdit->setToolTip(QString::fromUtf8(kNotAvailableTip));
    searchLayout->addWidget(searchEdit);
    m_searchBar->setEnabled(false);
    upperLayout->addWidget(m_searchBar);

    m_vumoTableView = new QTableView(upper);
    m_vumoTableView->setObjectName(QStringLiteral("m_vumoTableView"));
    m_vumoTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_vumoTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_vumoTableView->verticalHeader()->hide();
    const QMap<int, QString> headers = TableInfo::instance()->GetColumnMap();
    m_tableModel = new QStandardItemModel(0, TableInfo::ColumnCount, this);
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        m_tableModel->setHeaderData(it.key(), Qt::Horizontal, it.value());
    m_vumoTableView->setModel(m_tableModel);
    upperLayout->addWidget(m_vumoTableView, 1);
    m_vSplitter->addWidget(upper);

    m_editor = new QWidget(m_vSplitter);
    m_editor->setObjectName(QStringLiteral("VumoEditerWidget"));
    m_vSplitter->addWidget(m_editor);

    layout->addWidget(m_hSplitter, 1);
    m_hSplitter->setSizes({200, 800});
}

QWidget* VumoMainWidget::buildToolBarRow()
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("vumomanage_toolbar"));
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);

    auto* commandBar = new QToolBar(row);
    commandBar->setObjectName(QStringLiteral("VumoToolBar"));
    auto* settingsBar = new QToolBar(row);
    settingsBar->setObjectName(QStringLiteral("SettingsToolBar"));
    for (QToolBar* bar : {commandBar, settingsBar}) {
        bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        bar->setMovable(false);
        bar->setFloatable(false);
    }

    for (int i = 0; i < CommandCount; ++i) {
        const ToolCommand& entry = kCommands[i];
        QToolBar* bar = (i == CommandSettings || i == CommandToggleSearch) ? settingsBar : commandBar;
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(entry.objectName));
        button->setIcon(QIcon(QString::fromLatin1(entry.icon)));
        button->setText(QString::fromUtf8(entry.text));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        if (entry.hasMenu)
            button->setPopupMode(QToolButton::MenuButtonPopup);
        bar->addWidget(button);
        m_commands[i].button = button;
        m_commands[i].toolTip = QString::fromUtf8(entry.toolTip);
        m_commands[i].available = entry.available;
    }

    rowLayout->addWidget(commandBar);
    rowLayout->addStretch(1);
    rowLayout->addWidget(settingsBar);
    return row;
}

void VumoMainWidget::buildTree()
{
    auto* shop = new QTreeWidgetItem(m_vumoTree, {shopNodeText()});
    QTreeWidgetItem* local = nullptr;
    for (int vumoClass = VumoClassTemplate; vumoClass <= VumoClassSearch; ++vumoClass) {
        auto* item = new QTreeWidgetItem(shop, {VumoClassNodeText(vumoClass)});
        item->setData(0, kClassRole, vumoClass);
        if (vumoClass == VumoClassLocal)
            local = item;
    }
    m_vumoTree->expandAll();
    connect(m_vumoTree, &QTreeWidget::currentItemChanged, this, &VumoMainWidget::OnVumoClassificationSwitch);
    // The local store is where a seller starts. The first load reads it in OnFirstInitData.
    const QSignalBlocker blocker(m_vumoTree);
    m_vumoTree->setCurrentItem(local);
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
    OnVumoClassificationSwitch();
    update();
    m_firstLoadDone = true;
    emit FirstLoadFinishedSignal();
}

void VumoMainWidget::OnVumoClassificationSwitch()
{
    const QTreeWidgetItem* item = m_vumoTree->currentItem();
    const QVariant value = item ? item->data(0, kClassRole) : QVariant();
    if (value.isValid())
        m_currentClass = value.toInt();
    applyClassLayout();
}

void VumoMainWidget::applyClassLayout()
{
    const VumoClassLayout layout = VumoLayoutForClass(m_currentClass, m_stockMode);
    for (int column = 0; column < m_tableModel->columnCount(); ++column)
        m_vumoTableView->setColumnHidden(column, layout.hiddenColumns.contains(column));
    rebuildTabs(layout.tabs);
    m_uploadAllowed = layout.uploadAllowed;
    m_batchEditAllowed = layout.batchEditAllowed;
    m_deleteAllowed = layout.deleteAllowed;
    applyCommandStates();
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
            allowed = m_uploadAllowed;
        else if (i == CommandBatchEdit)
            allowed = m_batchEditAllowed;
        else if (i == CommandDeleteVumo)
            allowed = m_deleteAllowed;
        entry.button->setEnabled(entry.available && allowed);
        entry.button->setToolTip(entry.available ? entry.toolTip : QString::fromUtf8(kNotAvailableTip));
    }
}

} // namespace Quorvia::vumo
