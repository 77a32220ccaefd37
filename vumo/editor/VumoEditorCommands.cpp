#include "editor/VumoEditorCommands.h"

#include "editor/VumoBasisInfo.h"
#include "editor/VumoEditerWidget.h"
#include "network/config/NetworkConfig.h"
#include "network/utils/WSLogStatisticsSingleton.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/BaseDialog.h"
#include "utils/Log.h"

namespace Quorvia::vumo {

namespace {

constexpr qint64 kEditorUsageCategory = 3008;
constexpr qint64 kNewVumoUsageEvent = 3008001;
constexpr qint64 kNewTemplateUsageEvent = 3008002;
constexpr int kTemplateStatus = 2013;

using EditorDialog = Quorvia::core::ui::BaseDialog<VumoEditerWidget>;

// The dialog asks the editor before it closes by any way, so unsaved changes are settled.
void guardClose(EditorDialog& dialog)
{
    VumoEditerWidget* editor = dialog.content();
    dialog.SetCloseGuard([editor] { return editor->CanClose(); });
    dialog.setMinimumSize(1000, 600);
}

} // namespace

VumoEditorCommands::VumoEditorCommands(VumoMainWidget& page)
    : m_page(page)
{
}

editor::VumoEditContext VumoEditorCommands::Context() const
{
    editor::VumoEditContext context;
    context.uid = Quorvia::utils::AppShareHelp::instance()->GetUid();
    context.stockMode = UserInfo::instance()->GetStockMode();
    context.backOfficeLink = Quorvia::network::config::NetworkConfig::Instance()->GetShopInfoUrl();
    context.shopName = Quorvia::utils::AppShareHelp::instance()->GetShopName();
    return context;
}

// A success goes to the plain status label, a failure to the red one.
void VumoEditorCommands::showStatusOf(VumoEditerWidget* editor)
{
    QObject::connect(editor, &VumoEditerWidget::VumoStatusChanged, &m_page,
                     [this](const QString& msg, int isTrue) { m_page.OnShowStatusMsg(msg, isTrue ? 0 : 1); });
}

void VumoEditorCommands::Declare(VumoCommandTable& table)
{
    table.Declare({VumoCommand::NewVumo,
                   QStringLiteral("新建新品"),
                   QStringLiteral(":/images/toolbtn_newvumo.svg"),
                   QStringLiteral("新建新品"),
                   [this](const QVariant&) { NewVumo(); },
                   {}});
    table.Declare(VumoCommand::NewTemplate, QStringLiteral("新建模板"), [this](const QVariant&) { NewTemplate(); });
    table.Declare(VumoCommand::TemplateToNewVumo, QStringLiteral("创建新品"),
                  [this](const QVariant& data) { TemplateToNewVumo(data); });
}

VumoEditerWidget* VumoEditorCommands::CreateEmbeddedEditor(QWidget* parent)
{
    m_embedded = new VumoEditerWidget(parent, Context());
    m_embedded->Clear();
    showStatusOf(m_embedded);
    QObject::connect(m_embedded, &VumoEditerWidget::sigVumoSellerCatChanged, &m_page,
                     &VumoMainWidget::OnVumoSellerCatChanged);
    QObject::connect(m_embedded, &VumoEditerWidget::SaveChangeSuccess, &m_page, &VumoMainWidget::OnRefreshVumoShowMsg);
    return m_embedded;
}

bool VumoEditorCommands::SettleEmbedded()
{
    return !m_embedded || m_embedded->SettleChanges();
}

void VumoEditorCommands::ShowInEmbedded(const QString& clientId, bool editable)
{
    if (!m_embedded)
        return;
    if (clientId.isEmpty() || !m_embedded->open(clientId, VumoEditerWidget::EditMode)) {
        m_embedded->Clear();
        return;
    }
    m_embedded->SetEditable(editable);
}

void VumoEditorCommands::NewVumo()
{
    Quorvia::utils::WSLogStatisticsSingleton::instance()->AddStatistics(kEditorUsageCategory, kNewVumoUsageEvent);
    createInDialog(QString(), VumoEditerWidget::NewVumoMode, QStringLiteral("添加新品"));
}

void VumoEditorCommands::NewTemplate()
{
    Quorvia::utils::WSLogStatisticsSingleton::instance()->AddStatistics(kEditorUsageCategory, kNewTemplateUsageEvent);
    createInDialog(QString(), VumoEditerWidget::NewTemplateMode, QStringLiteral("新建模板"));
}

void VumoEditorCommands::TemplateToNewVumo(const QVariant& data)
{
    QString clientId = data.toString();
    if (clientId.isEmpty() && m_page.CurrentClass() == VumoClassTemplate) {
        const QList<VUMO_LIST_STRUCT> rows = m_page.TableView()->GetSelectedVumos();
        if (!rows.isEmpty())
            clientId = rows.first().client_id;
    }
    if (clientId.isEmpty()) {
        qCWarning(lcVumo).noquote() << QStringLiteral("从模板创建新品信息有误，Client_id为空！");
        return;
    }
    createInDialog(clientId, VumoEditerWidget::CopyMode, QStringLiteral("添加新品"));
}

void VumoEditorCommands::createInDialog(const QString& clientId, int mode, const QString& title)
{
    EditorDialog dialog(&m_page, Context());
    dialog.SetTitle(title);
    guardClose(dialog);
    VumoEditerWidget* editor = dialog.content();
    showStatusOf(editor);
    if (!editor->open(clientId, mode, true))
        return;
    dialog.exec();
    VUMO_LIST_STRUCT row;
    if (editor->CreatedRow(row))
        addCreated(row);
}

void VumoEditorCommands::addCreated(const VUMO_LIST_STRUCT& row)
{
    VumoClassification* tree = m_page.Classification();
    const int vumoClass = tree->ClassOfStatus(row.vumo_status);
    if (row.vumo_status == kTemplateStatus) {
        // The new-listing menu's list: one more entry while it is short, else read afresh.
        auto& templates = Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo();
        if (!templates.isEmpty() && templates.size() <= 10)
            templates.prepend({row.template_name, row.client_id});
        else
            templates.clear();
    }
    tree->MoveCount(-1, vumoClass, QString(), row.shop_categorys);
    if (tree->NodeShowsClass(vumoClass, row.shop_categorys) && m_page.CurrentClass() == vumoClass) {
        m_page.TableView()->VumoModel()->UpdateOrInsertVumo(row);
        m_page.TableView()->SelectClientId(row.client_id);
    } else {
        m_page.SetPendingSelection(vumoClass, row.client_id);
        tree->SetCurrentClass(vumoClass);
    }
}

void VumoEditorCommands::EditInDialog(const VUMO_LIST_STRUCT& row)
{
    EditorDialog dialog(&m_page, Context());
    dialog.SetTitle(row.vumo_status == kTemplateStatus ? QStringLiteral("编辑模板") : QStringLiteral("编辑商品"));
    guardClose(dialog);
    VumoEditerWidget* editor = dialog.content();
    showStatusOf(editor);
    QObject::connect(editor, &VumoEditerWidget::SaveChangeSuccess, &m_page, &VumoMainWidget::OnRefreshVumoShowMsg);
    QObject::connect(editor, &VumoEditerWidget::sigVumoSellerCatChanged, &m_page,
                     &VumoMainWidget::OnVumoSellerCatChanged);
    if (!editor->open(row.client_id, VumoEditerWidget::EditMode))
        return;
    dialog.exec();
    // The embedded editor may show the same listing: show what is stored now.
    if (m_embedded && m_embedded->ClientId() == row.client_id && !m_embedded->IsChanged())
        ShowInEmbedded(row.client_id, m_embedded->BasisPage()->isEnabled());
}

} // namespace Quorvia::vumo
