// vumo-cli fill-demo-store: fills the logged-in seller's listing store with the demo listings,
// through the same store the plug-in opens (the workbench's database service).
#include "CliCommand.h"
#include "SellerStores.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDemoStore.h"
#include "entity/VumoStatus.h"

namespace Quorvia::cli {

namespace {
constexpr int kDefaultCount = 200;
constexpr int kMaxCount = 1000000;
} // namespace

int runFillDemoStore(const QStringList& args, QIODevice& out, QIODevice& err)
{
    if (args.size() > 1) {
        writeText(err, QStringLiteral("fill-demo-store：参数过多\n"));
        return ExitUsage;
    }
    int count = kDefaultCount;
    if (!args.isEmpty()) {
        bool ok = false;
        count = args.first().toInt(&ok);
        if (!ok || count < 0 || count > kMaxCount) {
            writeText(err, QStringLiteral("fill-demo-store：商品数量必须是0到%1之间的整数\n").arg(kMaxCount));
            return ExitUsage;
        }
    }

    Quorvia::login::LoginData login;
    if (!OpenSellerStores("fill-demo-store", {Quorvia::vumo::database::StoreKind::Listings}, err, login))
        return ExitFailed;
    auto store = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();
    QString error;
    Quorvia::vumo::database::VumoDemoSummary summary;
    if (!Quorvia::vumo::database::FillDemoStore(*store, count, &error, &summary)) {
        writeText(err, QStringLiteral("fill-demo-store：%1\n").arg(error));
        return ExitFailed;
    }
    QString text = QStringLiteral("已为卖家 %1 写入演示商品 %2 个，店内分类 %3 个\n")
                       .arg(login.uid, QString::number(summary.listings), QString::number(summary.sellerCategories));
    for (auto it = summary.byStatus.cbegin(); it != summary.byStatus.cend(); ++it)
        text += QStringLiteral("  %1（%2）：%3\n")
                    .arg(Quorvia::vumo::entity::VumoStatusText(it.key()), QString::number(it.key()),
                         QString::number(it.value()));
    writeText(out, text);
    return ExitOk;
}

} // namespace Quorvia::cli
