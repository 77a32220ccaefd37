#include "sync/VumoDownloadCommands.h"

#include "editor/VumoEditerWidget.h"
#include "editor/VumoEditorCommands.h"
#include "entity/VumoDataEntity.h"

#include "plugin/VumoCommandTable.h"
#include "plugin/VumoMainWidget.h"
#include "sync/VumoDownloadDlg.h"
#include "ui/BaseDialog.h"

#include <QCoreApplication>

namespace Quorvia::vumo {

VumoDownloadCommands::VumoDownloadCommands(VumoMainWidget& page)
    : m_page(page)
{
}

void VumoDownloadCommands::Declare(VumoCommandTable& table)
{
    table.Declare({VumoCommand::DownloadVumo,
                   QStringLiteral("下载商品"),
                   QStringLiteral(":/images/toolbtn_downloadvumo.svg"),
                   QStringLiteral("下载商品"),
                   [this](const QVariant&) { DownloadVumo(); },
                   {}});
}

void VumoDownloadCommands::DownloadVumo()
{
    VumoEditorCommands* editor = m_page.EditorCommands();
    editor->SettleEmbedded();
    Quorvia::core::ui::BaseDialog<VumoDownloadDlg> dialog(&m_page);
    dialog.SetTitle(QStringLiteral("下载商品"));
    VumoDownloadDlg* content = dialog.content();
    QObject::connect(content, &VumoDownloadDlg::OneVumoDownloadFinishedSignal, &m_page,
                     &VumoMainWidget::OnOneVumoDownloadFinished);
    dialog.exec();
    // Listings stored just before a close are still on their way to the page.
    QCoreApplication::sendPostedEvents(content);
    // The listing below the table may have been downloaded again.
    if (VumoEditerWidget* embedded = editor->EmbeddedEditor(); embedded && !embedded->ClientId().isEmpty())
        editor->ShowInEmbedded(embedded->ClientId(), embedded->isEnabled());
}

} // namespace Quorvia::vumo
