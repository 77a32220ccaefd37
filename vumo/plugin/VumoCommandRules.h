#pragma once
// What the listing page offers and says, without widgets: the entries of the drop-down and
// context menus, which commands are built, the delete confirmation and its counting texts,
// the paste rules, the clipboard text of listing numbers and the listing page address.
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace Quorvia::vumo {

// Every command a menu entry or a tool-bar button can trigger.
enum class VumoCommand {
    None,
    // context menu
    CheckRows,
    UnCheckRows,
    SelectAllRows,
    DeleteVumo, // data: local-only (bool)
    CopyVumo,
    PasteVumo,
    CopyVumoId,
    OpenVumoUrl,
    RestoreVumo,
    UploadSelected,
    // new listing and templates
    NewVumo,
    NewTemplate,
    TemplateToNewVumo, // data: the template's client_id
    MoreTemplate,
    // category update
    PartCatsDownload,
    FullCatsDownload,
    // batch edit (data: the batch page) and CSV imports (data: the import kind)
    BatchEdit,
    ImportCsv,
    // searches
    AdvanceSearch,
    SearchRepeat,
    SearchNoShopCategory,
    // import and export
    DownloadImportTemplate,
    QuickImport,
    DownloadOnlineTemplate,
    ExportCsv,
    ExportBookAudioVideo,
    // tool-bar buttons that act on ticked listings, and the page's own buttons
    DownloadVumo,
    UploadTicked,
    DeleteTicked,
    Settings,
    ToggleSearch,
    Count // not a command: one past the last
};

// One menu entry; a separator has no text. `children` makes it a sub-menu.
struct VumoMenuEntry
{
    QString text;
    VumoCommand command = VumoCommand::None;
    QVariant data;
    bool enabled = true;
    QList<VumoMenuEntry> children;

    bool IsSeparator() const { return text.isEmpty() && children.isEmpty(); }
};
using VumoMenu = QList<VumoMenuEntry>;

// Pages of the batch editor.
enum VumoBatchPage {
    BatchPageTitle = 0,
    BatchPageAd = 1,
    BatchPagePackingList = 2,
    BatchPageService = 3,
    BatchPageYvPrice = 4,
    BatchPageCostPrice = 5,
    BatchPageMarketPrice = 6,
    BatchPageShopCategory = 7,
    BatchPageStock = 8,
    BatchPageDescription = 9,
    BatchPageSize = 10,
};

// Tip of the entries and buttons of commands whose dialog or worker is not built yet: they stay
// visible but disabled (see VumoCommandTable).
QString VumoNotAvailableTip(); // "此功能尚未开放"

// The context menu of the table. onRow: the cursor is on a valid row. "粘贴商品" is disabled
// while the copy buffer is empty. An empty result means no menu is shown; otherwise the
// caller appends a separator.
VumoMenu VumoContextMenu(int vumoClass, bool onRow, bool copyBufferEmpty);

// The new-listing menu over the workbench's template list (name, client_id): at most ten
// template entries, "更多模板" when the list holds eleven or more.
VumoMenu VumoNewVumoMenu(const QList<QPair<QString, QString>>& templates);
constexpr int VumoTemplateMenuLimit = 10;
// Fills the template list when it is empty: the newest templates, one more than shown.
QString VumoTemplateListSql();

VumoMenu VumoCatsMenu();
// stockMode 1: no stock entries.
VumoMenu VumoBatchEditMenu(int stockMode);
VumoMenu VumoAdvanceSearchMenu();
VumoMenu VumoImportMenu();
VumoMenu VumoExportMenu();

// Title of the CSV import dialog by import kind: 4 -> "导入图书CSV"; empty for an unknown kind.
QString VumoImportCsvTitle(int kind);

// Extra condition of a tab: 2 " AND (upload_status=0)", 3 " AND (upload_status=2)", else "".
QString VumoTabCondition(int tabData);

// ---- delete ----

enum class VumoDeleteKind {
    None,            // the class allows no delete (search results)
    Permanent,       // templates, recycle bin
    RecycleBin,      // local store, online listings kept on the marketplace
    OnlineAndRecycle // for-sale listings: deleted on the marketplace, then to the recycle bin
};

struct VumoDeletePlan
{
    VumoDeleteKind kind = VumoDeleteKind::None;
    QString noun;           // "模板" or "商品"
    QString question;       // the confirmation, note included
    QString progressTitle;  // "正在删除%1……"
    QString progressFormat; // "已完成删除%1%p%"
    QString countFormat;    // "完成删除第%v个%1，共%m个%1"

    bool Deletes() const { return kind != VumoDeleteKind::None; }
    bool Online() const { return kind == VumoDeleteKind::OnlineAndRecycle; }
    bool Permanent() const { return kind == VumoDeleteKind::Permanent; }
    // Class a deleted listing's count moves to; -1 when it leaves the store.
    int TargetClass() const;
};

VumoDeletePlan VumoDeletePlanFor(int vumoClass, bool localOnly);

// "已完成删除商品，共完成3个，其中成功2个，失败1个" (or "删除商品已取消，..." when cancelled).
QString VumoDeleteSummary(const QString& noun, bool cancelled, int done, int succeeded, int failed);

// ---- paste ----

// Only templates and the local store take pasted listings.
bool VumoPasteAllowed(int vumoClass);
QString VumoPasteRefusedText(); // "粘贴：当前分类不能进行粘贴操作！"
// Status a pasted copy gets: 2013 for templates, 2014 for the local store, -1 otherwise.
int VumoPasteStatus(int vumoClass);
// "模板2403051415" from the workbench's server time.
QString VumoPasteTemplateName(const QDateTime& serverTime);

// ---- clipboard and listing page ----

// Listing numbers one per line, no trailing line break; numbers not above 0 are left out.
QString VumoIdsClipboardText(const QList<qint64>& vumoIds);
// The address template with %1 replaced by the SKU number; empty when the template has no
// %1 or the SKU number is not above 0.
QString VumoListingPageUrl(const QString& addressTemplate, qint64 skuId);

} // namespace Quorvia::vumo
