#include "CliCommand.h"

namespace Quorvia::cli {

const std::vector<Command>& commands()
{
    // New commands (call, download, upload, import, export) are added here.
    static const std::vector<Command> list = {
        {"xls2csv", "FILE [--sheet N|NAME] [--list] [--encoding NAME]",
         "把 .xls 工作簿的一个工作表（默认第0个）按CSV写到标准输出；写到文件或管道时用GB18030编码"
         "（表格软件直接打开），写到终端时用终端区域设置的编码（通常是UTF-8），--encoding 可指定编码",
         &runXls2Csv},
        {"call", "METHOD [JSON] [--timeout MS]", "用卖家的登录发送一次签名的开放平台调用并打印应答", &runCall},
        {"download",
         "(--all | --id N ...) [--status S] [--cid C] [--title T] [--price LOW-HIGH] [--since \"yyyy-MM-dd hh:mm:ss\"] "
         "[--until ...] [--workers N]",
         "从平台下载商品（及其图片）到卖家的商品数据库；全部成功退出码0，有失败1，Ctrl-C取消后130", &runDownload},
        {"upload", "(--changed | --client-id ID ...) [--mode 0|1|2] [--overwrite]",
         "把本地商品上传到平台（--changed：所有修改未上传或上传失败的商品；--mode 0仅上传，1上传且上架，2上传且下架）；"
         "线上在下载后被修改的商品不覆盖，除非给出 --overwrite；全部成功退出码0，有失败或冲突1，Ctrl-C取消后130",
         &runUpload},
        {"fill-demo-store", "[N]", "向已登录卖家的商品数据库写入N个演示商品（默认200个，可重复执行）",
         &runFillDemoStore},
        {"categories", "update [--full] [--by-api]",
         "更新卖家的类目数据（默认按变更包下载，--full 全部重新下载，--by-api 逐个接口下载，速度很慢），"
         "并更新店内分类；成功退出码0，失败退出码1并给出原因",
         &runCategories},
    };
    return list;
}

const Command* findCommand(const QString& name)
{
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void writeText(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

} // namespace Quorvia::cli
