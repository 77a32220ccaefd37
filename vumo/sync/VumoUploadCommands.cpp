#include "sync/VumoUploadCommands.h"

#include "editor/VumoEditerWidget.h"
#include "editor/VumoEditorCommands.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/UploadVumoWidget.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QCoreApplication>

namespace Quorvia::vumo {

namespace {

constexpr int kCommentSyncShop = 8;

} // namespace

VumoUploadCommands::VumoUploadCommands(VumoMainWidget& page)
    : m_page(page)
{
}

void VumoUploadCommands::Declare(VumoCommandTable& table)
{
    table.Declare({VumoCommand::UploadTicked,
                   QStringLiteral("上传商品"),
                   QStringLiteral(":/images/toolbtn_upload.svg"),
                   QStringLiteral("上传商品"),
                   [this](const QVariant&) { UploadTicked(); },
                   [this] { return m_page.Layout().uploadAllowed; }});
    table.Declare(VumoCommand::UploadSelected, QStringLiteral("上传"), [this](const QVariant&) { UploadSelected(); });
}

void VumoUploadCommands::UploadTicked()
{
    m_page.EditorCommands()->SettleEmbedded();
    const QList<VUMO_LIST_STRUCT> ticked = m_page.TableView()->GetCheckedVumos();
    if (ticked.isEmpty()) {
        Quorvia::core::ui::ShowMsgBox(&m_page, QStringLiteral("提示：请勾选要上传的商品！"));
        return;
    }
    upload(ticked);
}

void VumoUploadCommands::UploadSelected()
{
    m_page.EditorCommands()->SettleEmbedded();
    const QList<VUMO_LIST_STRUCT> selected = m_page.TableView()->GetSelectedVumos();
    if (!selected.isEmpty())
        upload(selected);
}

void VumoUploadCommands::upload(const QList<VUMO_LIST_STRUCT>& listings)
{
    Quorvia::core::ui::BaseDialog<UploadVumoWidget> dialog(&m_page, listings);
    dialog.SetTitle(QStringLiteral("上传商品"));
    dialog.resize(760, 480);
    UploadVumoWidget* content = dialog.content();
    QObject::connect(content,
                     QOverload<const QString&, qint16, VUMO_CLASS, VUMO_CLASS, int, const QString&>::of(
                         &UploadVumoWidget::UploadSucceedSignal),
                     &m_page, &VumoMainWidget::OnUploadSucceed);
    if (Quorvia::utils::AppShareHelp::instance()->GetShopType() == kCommentSyncShop)
        QObject::connect(content, &UploadVumoWidget::NeedToSyncCommentSignal, &m_page,
                         &VumoMainWidget::OnAddNewSyncRedPair);
    dialog.exec();
    // Outcomes of a run that ended with the close are still on their way to the page.
    QCoreApplication::sendPostedEvents(content);
    VumoEditorCommands* editor = m_page.EditorCommands();
    if (VumoEditerWidget* embedded = editor->EmbeddedEditor(); embedded && !embedded->ClientId().isEmpty())
        editor->ShowInEmbedded(embedded->ClientId(), embedded->isEnabled());
}

} // namespace Quorvia::vumo
