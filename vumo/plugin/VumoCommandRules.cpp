#include "plugin/VumoCommandRules.h"

#include "plugin/VumoClassLayout.h"

#include <QStringList>

namespace Quorvia::vumo {

namespace {

VumoMenuEntry entry(const QString& text, VumoCommand command, const QVariant& data = QVariant())
{
    VumoMenuEntry e;
    e.text = text;
    e.command = command;
    e.data = data;
    return e;
}

VumoMenuEntry separator()
{
    return VumoMenuEntry();
}

VumoMenuEntry deleteEntry(const QString& text, bool localOnly)
{
    return entry(text, VumoCommand::DeleteVumo, localOnly);
}

} // namespace

QString VumoNotAvailableTip()
{
    return QStringLiteral("此功能尚未开放");
}

VumoMenu VumoContextMenu(int vumoClass, bool onRow, bool copyBufferEmpty)
{
    VumoMenuEntry paste = entry(QStringLiteral("粘贴商品"), VumoCommand::PasteVumo);
    paste.enabled = !copyBufferEmpty;
    const VumoMenuEntry copy = entry(QStringLiteral("复制商品"), VumoCommand::CopyVumo);
    const VumoMenuEntry copyId = entry(QStringLiteral("复制商品编号"), VumoCommand::CopyVumoId);
    const VumoMenuEntry upload = entry(QStringLiteral("上传"), VumoCommand::UploadSelected);
    const VumoMenuEntry browse = entry(QStringLiteral("浏览商品"), VumoCommand::OpenVumoUrl);

    VumoMenu menu;
    if (!onRow) {
        if (vumoClass == VumoClassTemplate)
            menu << entry(QStringLiteral("新建模板"), VumoCommand::NewTemplate) << paste;
        else if (vumoClass == VumoClassLocal)
            menu << entry(QStringLiteral("新建商品"), VumoCommand::NewVumo) << paste;
        return menu;
    }

    menu << entry(QStringLiteral("勾选"), VumoCommand::CheckRows)
         << entry(QStringLiteral("取消勾选"), VumoCommand::UnCheckRows)
         << entry(QStringLiteral("全选"), VumoCommand::SelectAllRows) << separator()
         << deleteEntry(QStringLiteral("本地删除"), true);
    switch (vumoClass) {
    case VumoClassTemplate:
        menu << entry(QStringLiteral("创建新品"), VumoCommand::TemplateToNewVumo) << copy << paste;
        break;
    case VumoClassOnSale:
        menu << upload << separator() << browse << copy << copyId;
        break;
    case VumoClassForSale:
        menu << deleteEntry(QStringLiteral("删除待售商品"), false) << upload << separator() << browse << copy << copyId;
        break;
    case VumoClassLocal:
        menu << upload << separator() << copy << paste;
        break;
    case VumoClassRecycle:
        menu << entry(QStringLiteral("还原至本地仓库"), VumoCommand::RestoreVumo);
        break;
    case VumoClassSearch:
        menu << upload << separator() << copy << copyId;
        break;
    default:
        break;
    }
    return menu;
}

VumoMenu VumoNewVumoMenu(const QList<QPair<QString, QString>>& templates)
{
    VumoMenu menu;
    menu << entry(QStringLiteral("新建新品"), VumoCommand::NewVumo)
         << entry(QStringLiteral("新建模板"), VumoCommand::NewTemplate) << separator();
    for (int i = 0; i < templates.size() && i < VumoTemplateMenuLimit; ++i)
        menu << entry(templates.at(i).first, VumoCommand::TemplateToNewVumo, templates.at(i).second);
    if (templates.size() > VumoTemplateMenuLimit)
        menu << separator() << entry(QStringLiteral("更多模板"), VumoCommand::MoreTemplate);
    return menu;
}

QString VumoTemplateListSql()
{
    return QStringLiteral(
               "SELECT template_name,client_id FROM vumo_data WHERE (vumo_status=%1) ORDER BY modified DESC, "
               "client_id DESC LIMIT %2")
        .arg(2013)
        .arg(VumoTemplateMenuLimit + 1);
}

VumoMenu VumoCatsMenu()
{
    return {entry(QStringLiteral("默认下载方式（速度快，但失败率高）"), VumoCommand::PartCatsDownload),
            entry(QStringLiteral("保守下载方式（速度很慢）"), VumoCommand::FullCatsDownload)};
}

VumoMenu VumoBatchEditMenu(int stockMode)
{
    VumoMenu menu;
    menu << entry(QStringLiteral("商品名称"), VumoCommand::BatchEdit, int(BatchPageTitle))
         << entry(QStringLiteral("广告语"), VumoCommand::BatchEdit, int(BatchPageAd))
         << entry(QStringLiteral("包装清单"), VumoCommand::BatchEdit, int(BatchPagePackingList))
         << entry(QStringLiteral("售后服务"), VumoCommand::BatchEdit, int(BatchPageService))
         << entry(QStringLiteral("商品描述"), VumoCommand::BatchEdit, int(BatchPageDescription))
         << entry(QStringLiteral("店内分类"), VumoCommand::BatchEdit, int(BatchPageShopCategory)) << separator()
         << entry(QStringLiteral("Yv价"), VumoCommand::BatchEdit, int(BatchPageYvPrice))
         << entry(QStringLiteral("导入Yv价"), VumoCommand::ImportCsv, 8)
         << entry(QStringLiteral("市场价"), VumoCommand::BatchEdit, int(BatchPageMarketPrice))
         << entry(QStringLiteral("成本价"), VumoCommand::BatchEdit, int(BatchPageCostPrice))
         << entry(QStringLiteral("尺寸及重量"), VumoCommand::BatchEdit, int(BatchPageSize));
    if (stockMode != 1) {
        menu << separator() << entry(QStringLiteral("库存"), VumoCommand::BatchEdit, int(BatchPageStock))
             << entry(QStringLiteral("导入库存"), VumoCommand::ImportCsv, 7);
    }
    menu << entry(QStringLiteral("导入图书规格参数"), VumoCommand::ImportCsv, 9)
         << entry(QStringLiteral("导入音像规格参数"), VumoCommand::ImportCsv, 10)
         << entry(QStringLiteral("导入商品货号"), VumoCommand::ImportCsv, 6);
    return menu;
}

VumoMenu VumoAdvanceSearchMenu()
{
    return {entry(QStringLiteral("高级搜索"), VumoCommand::AdvanceSearch),
            entry(QStringLiteral("重复商品"), VumoCommand::SearchRepeat),
            entry(QStringLiteral("未分配店内分类的商品"), VumoCommand::SearchNoShopCategory)};
}

VumoMenu VumoImportMenu()
{
    VumoMenuEntry templates;
    templates.text = QStringLiteral("图书音像模板下载");
    templates.children = {entry(QStringLiteral("分类查询表"), VumoCommand::DownloadOnlineTemplate, 11),
                          entry(QStringLiteral("详描字段格式模板"), VumoCommand::DownloadOnlineTemplate, 12),
                          entry(QStringLiteral("图书导入模板"), VumoCommand::DownloadOnlineTemplate, 4),
                          entry(QStringLiteral("音像导入模板"), VumoCommand::DownloadOnlineTemplate, 5)};
    return {entry(QStringLiteral("下载商品导入模板"), VumoCommand::DownloadImportTemplate, 1),
            entry(QStringLiteral("导入平台格式CSV"), VumoCommand::QuickImport, 1),
            separator(),
            entry(QStringLiteral("导入淘宝CSV"), VumoCommand::QuickImport, 3),
            separator(),
            templates,
            entry(QStringLiteral("导入图书CSV"), VumoCommand::ImportCsv, 4),
            entry(QStringLiteral("导入音像影视CSV"), VumoCommand::ImportCsv, 5)};
}

VumoMenu VumoExportMenu()
{
    return {entry(QStringLiteral("工作台商品导出"), VumoCommand::ExportCsv, false),
            entry(QStringLiteral("图书商品导出"), VumoCommand::ExportBookAudioVideo, 3),
            entry(QStringLiteral("音像影音商品导出"), VumoCommand::ExportBookAudioVideo, 4)};
}

QString VumoImportCsvTitle(int kind)
{
    QString name;
    switch (kind) {
    case 4:
        name = QStringLiteral("图书");
        break;
    case 5:
        name = QStringLiteral("音像影视");
        break;
    case 6:
        name = QStringLiteral("货号");
        break;
    case 7:
        name = QStringLiteral("库存");
        break;
    case 8:
        name = QStringLiteral("SKUYv价");
        break;
    case 9:
        name = QStringLiteral("图书规格参数");
        break;
    case 10:
        name = QStringLiteral("音像规格参数");
        break;
    default:
        return QString();
    }
    return QStringLiteral("导入%1CSV").arg(name);
}

QString VumoTabCondition(int tabData)
{
    if (tabData == 2)
        return QStringLiteral(" AND (upload_status=0)");
    if (tabData == 3)
        return QStringLiteral(" AND (upload_status=2)");
    return QString();
}

int VumoDeletePlan::TargetClass() const
{
    return (kind == VumoDeleteKind::RecycleBin || kind == VumoDeleteKind::OnlineAndRecycle) ? int(VumoClassRecycle)
                                                                                            : -1;
}

VumoDeletePlan VumoDeletePlanFor(int vumoClass, bool localOnly)
{
    VumoDeletePlan plan;
    plan.noun = vumoClass == VumoClassTemplate ? QStringLiteral("模板") : QStringLiteral("商品");
    QString note;
    switch (vumoClass) {
    case VumoClassTemplate:
        plan.kind = VumoDeleteKind::Permanent;
        note = QStringLiteral("\n注意：选中的模板将彻底删除！");
        break;
    case VumoClassOnSale:
        plan.kind = VumoDeleteKind::RecycleBin;
        note = QStringLiteral("\n注意：选中的商品Quorvia工作台仅将其放入本地回收站，后台商品不受影响！");
        break;
    case VumoClassForSale:
        if (localOnly) {
            plan.kind = VumoDeleteKind::RecycleBin;
            note = QStringLiteral("\n注意：选中的商品Quorvia工作台将其放入本地回收站！");
        } else {
            plan.kind = VumoDeleteKind::OnlineAndRecycle;
            note = QStringLiteral("\n注意：选中的待售商品将从商家后台删除，同时Quorvia工作台将其放入本地回收站！");
        }
        break;
    case VumoClassLocal:
        plan.kind = VumoDeleteKind::RecycleBin;
        note = QStringLiteral("\n注意：选中的商品Quorvia工作台将其放入本地回收站！");
        break;
    case VumoClassRecycle:
        plan.kind = VumoDeleteKind::Permanent;
        note = QStringLiteral("\n注意：选中的商品将彻底删除！");
        break;
    default:
        // Search results mix classes: the seller is asked, but nothing is deleted.
        plan.kind = VumoDeleteKind::None;
        break;
    }
    plan.question = QStringLiteral("您确认要删除选中的%1吗？").arg(plan.noun) + note;
    plan.progressTitle = QStringLiteral("正在删除%1……").arg(plan.noun);
    plan.progressFormat = QStringLiteral("已完成删除%1%p%").arg(plan.noun);
    plan.countFormat = QStringLiteral("完成删除第%v个%1，共%m个%1").arg(plan.noun);
    return plan;
}

QString VumoDeleteSummary(const QString& noun, bool cancelled, int done, int succeeded, int failed)
{
    const QString head = cancelled ? QStringLiteral("删除%1已取消，").arg(noun)
                                   : QStringLiteral("已完成删除%1，").arg(noun);
    return head + QStringLiteral("共完成%1个，其中成功%2个，失败%3个").arg(done).arg(succeeded).arg(failed);
}

bool VumoPasteAllowed(int vumoClass)
{
    return vumoClass == VumoClassTemplate || vumoClass == VumoClassLocal;
}

QString VumoPasteRefusedText()
{
    return QStringLiteral("粘贴：当前分类不能进行粘贴操作！");
}

int VumoPasteStatus(int vumoClass)
{
    if (vumoClass == VumoClassTemplate)
        return 2013;
    if (vumoClass == VumoClassLocal)
        return 2014;
    return -1;
}

QString VumoPasteTemplateName(const QDateTime& serverTime)
{
    return QStringLiteral("模板%1").arg(serverTime.toString(QStringLiteral("yyMMddhhmm")));
}

QString VumoIdsClipboardText(const QList<qint64>& vumoIds)
{
    QStringList lines;
    for (qint64 id : vumoIds) {
        if (id > 0)
            lines << QString::number(id);
    }
    return lines.join(QLatin1Char('\n'));
}

QString VumoListingPageUrl(const QString& addressTemplate, qint64 skuId)
{
    if (skuId <= 0 || !addressTemplate.contains(QLatin1String("%1")))
        return QString();
    return addressTemplate.arg(skuId);
}

} // namespace Quorvia::vumo
