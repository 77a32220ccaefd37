#include "plugin/VumoRowCommands.h"

#include "editor/VumoEditorCommands.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "network/config/NetworkConfig.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoDeleteThread.h"
#include "plugin/VumoListingCommands.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/MsgBox.h"
#include "ui/WorkerProgress.h"
#include "utils/Log.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>
#include <QUuid>

namespace Quorvia::vumo {

namespace {

using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::RunWorkerWithProgress;
using Quorvia::core::ui::ShowMsgBox;
using Quorvia::core::ui::WorkerProgressTexts;

std::shared_ptr<database::VumoDbInterface> store()
{
    return database::VumoDBMgr::instance()->GetVumoDb();
}

} // namespace

VumoRowCommands::VumoRowCommands(VumoMainWidget& page)
    : m_page(page)
{
}

void VumoRowCommands::Declare(VumoCommandTable& table)
{
    // The view is built after the table: handlers look it up when they run.
    const auto view = [this] { return m_page.TableView(); };
    const auto call = [this](void (VumoRowCommands::*command)()) -> VumoCommandHandler {
        return [this, command](const QVariant&) { (this->*command)(); };
    };
    table.Declare(VumoCommand::CheckRows, QStringLiteral("勾选"), [view](const QVariant&) { view()->onMenuChecked(); });
    table.Declare(VumoCommand::UnCheckRows, QStringLiteral("取消勾选"),
                  [view](const QVariant&) { view()->onMenuUnChecked(); });
    table.Declare(VumoCommand::SelectAllRows, QStringLiteral("全选"), [view](const QVariant&) { view()->selectAll(); });
    // The menu's delete: local-only unless the entry says otherwise.
    table.Declare(VumoCommand::DeleteVumo, QStringLiteral("本地删除"), [this, view](const QVariant& data) {
        DeleteVumos(view()->GetSelectedVumos(), data.isValid() ? data.toBool() : true);
    });
    table.Declare({VumoCommand::DeleteTicked, QStringLiteral("删除商品"),
                   QStringLiteral(":/images/toolbtn_vumodel.svg"), QStringLiteral("删除商品本地数据"),
                   [this, view](const QVariant&) { DeleteVumos(view()->GetCheckedVumos(), true); },
                   [this] { return m_page.Layout().deleteAllowed; }});
    table.Declare(VumoCommand::RestoreVumo, QStringLiteral("还原至本地仓库"), call(&VumoRowCommands::RestoreSelected));
    table.Declare(VumoCommand::CopyVumo, QStringLiteral("复制商品"), call(&VumoRowCommands::CopySelected));
    table.Declare(VumoCommand::PasteVumo, QStringLiteral("粘贴商品"), call(&VumoRowCommands::PasteIntoCurrentClass));
    table.Declare(VumoCommand::CopyVumoId, QStringLiteral("复制商品编号"), call(&VumoRowCommands::CopyIdsToClipboard));
    table.Declare(VumoCommand::OpenVumoUrl, QStringLiteral("浏览商品"), call(&VumoRowCommands::OpenListingPages));
}

// ---- delete ----

void VumoRowCommands::DeleteVumos(const QList<VUMO_LIST_STRUCT>& rows, bool localOnly)
{
    m_page.EditorCommands()->SettleEmbedded();
    if (rows.isEmpty())
        return;
    // The embedded editor would settle its unsaved changes here; it is not built yet.
    const int vumoClass = m_page.CurrentClass();
    const VumoDeletePlan plan = VumoDeletePlanFor(vumoClass, localOnly);
    if (ShowMsgBox(&m_page, plan.question, MsgBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes
        || !plan.Deletes())
        return;

    VumoTableView* view = m_page.TableView();
    VumoClassification* tree = m_page.Classification();
    m_page.SetSelectionIgnored(true);
    VumoDeleteThread thread(plan, rows);
    QObject::connect(
        &thread, &VumoDeleteThread::OneVumoDeletedSignal, view,
        [view, tree, plan, vumoClass](const VUMO_LIST_STRUCT& row) {
            view->VumoModel()->RemoveVumo(row.client_id);
            tree->MoveCount(vumoClass, plan.TargetClass(), row.shop_categorys, row.shop_categorys);
        },
        Qt::QueuedConnection);
    WorkerProgressTexts texts;
    texts.title = plan.progressTitle;
    texts.format = plan.progressFormat;
    texts.labelText = [plan](int done, int total) {
        QString text = plan.countFormat;
        return text.replace(QLatin1String("%v"), QString::number(done))
            .replace(QLatin1String("%m"), QString::number(total));
    };
    texts.summaryText = [plan](const Quorvia::utils::VumoWorkerOutcome& outcome) {
        return VumoDeleteSummary(plan.noun, outcome.cancelled, outcome.done, outcome.succeeded, outcome.failed);
    };
    // Every deleted row has left the table when this returns.
    RunWorkerWithProgress(&m_page, thread, texts);

    if (plan.Permanent() && vumoClass == VumoClassTemplate)
        Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear(); // reloaded on next use
    m_page.SetSelectionIgnored(false);
}

// ---- restore, copy, paste ----

void VumoRowCommands::RestoreSelected()
{
    if (m_page.CurrentClass() != VumoClassRecycle)
        return;
    int restored = 0;
    for (const VUMO_LIST_STRUCT& row : m_page.TableView()->GetSelectedVumos()) {
        if (!RestoreVumoFromRecycleBin(*store(), row.client_id)) {
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << QStringLiteral("还原商品失败") << row.client_id;
            continue;
        }
        m_page.TableView()->VumoModel()->RemoveVumo(row.client_id);
        ++restored;
    }
    if (restored > 0)
        m_page.Classification()->AddCount(VumoClassRecycle, VumoClassLocal, restored);
}

void VumoRowCommands::CopySelected()
{
    const QList<VUMO_LIST_STRUCT> rows = m_page.TableView()->GetSelectedVumos();
    if (!rows.isEmpty())
        m_copyBuffer = rows;
}

void VumoRowCommands::PasteIntoCurrentClass()
{
    const int vumoClass = m_page.CurrentClass();
    if (!VumoPasteAllowed(vumoClass)) {
        ShowMsgBox(&m_page, VumoPasteRefusedText(), MsgBox::Information, QMessageBox::Ok);
        return;
    }
    const QDateTime now = Quorvia::utils::AppShareHelp::instance()->GetServerTime();
    int pasted = 0;
    for (const VUMO_LIST_STRUCT& source : m_copyBuffer) {
        entity::VumoDataEntity copy;
        QString message;
        if (!PasteVumoCopy(*store(), source.client_id, vumoClass, now, QUuid::createUuid().toString(), copy, message)) {
            ShowMsgBox(&m_page, message, MsgBox::Information, QMessageBox::Ok);
            break;
        }
        m_page.TableView()->VumoModel()->UpdateOrInsertVumo(copy);
        ++pasted;
    }
    if (pasted > 0) {
        m_page.Classification()->AddCount(-1, vumoClass, pasted);
        if (vumoClass == VumoClassTemplate)
            Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear(); // reloaded with the copies
    }
}

void VumoRowCommands::CopyIdsToClipboard()
{
    QList<qint64> ids;
    for (const VUMO_LIST_STRUCT& row : m_page.TableView()->GetSelectedVumos())
        ids << row.vumo_id;
    const QString text = VumoIdsClipboardText(ids);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void VumoRowCommands::OpenListingPages()
{
    const QString address = Quorvia::network::config::NetworkConfig::Instance()->GetVumoItemUrl();
    for (const VUMO_LIST_STRUCT& row : m_page.TableView()->GetSelectedVumos()) {
        const QString url = VumoListingPageUrl(address, FirstSkuIdOf(*store(), row.client_id));
        if (url.isEmpty()) {
            m_page.OnShowStatusMsg(QStringLiteral("商品%1没有SKU编号，无法打开商品页面").arg(row.vumo_id), 1);
            continue;
        }
        QDesktopServices::openUrl(QUrl(url));
    }
}

} // namespace Quorvia::vumo
