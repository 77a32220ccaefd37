#include "SellerStores.h"

#include "CliCommand.h"

#include "database/VumoDBMgr.h"
#include "plugin/UserInfo.h"
#include "quorvia/LoginRecord.h"

namespace Quorvia::cli {

using Quorvia::vumo::database::StoreKind;

bool OpenSellerStores(const char* command, std::initializer_list<StoreKind> kinds, QIODevice& err,
                      Quorvia::login::LoginData& login)
{
    const auto fail = [&](const QString& reason) {
        writeText(err, QStringLiteral("%1：%2\n").arg(QLatin1String(command), reason));
        return false;
    };
    QString error;
    if (!Quorvia::login::ReadLogin(Quorvia::login::LoginFilePath(), login, &error))
        return fail(error);
    // As the host hands it over: requests sign with it, and UserInfo passes the stock rule on
    // to the store manager for the completeness check.
    Quorvia::core::plugin::LoginRecord record;
    record.accessToken = login.accessToken;
    record.appKey = login.appKey;
    record.appSecret = login.appSecret;
    record.firstId = login.venderId;
    record.secondId = login.shopId;
    record.stockMode = login.stockMode;
    record.shopType = login.shopType;
    Quorvia::vumo::UserInfo::instance()->SetLogin(record);

    auto* manager = Quorvia::vumo::database::VumoDBMgr::instance();
    for (const StoreKind kind : kinds) {
        const bool listings = kind == StoreKind::Listings;
        // Built (and its file looked at) before anything touches it.
        if (listings)
            manager->GetVumoDb();
        else
            manager->GetCategoryDb();
        const QString problem = Quorvia::vumo::database::StoreFileMessage(manager->StoreStatus(kind), kind);
        if (!problem.isEmpty())
            return fail(problem);
        if (!(listings ? manager->GetVumoDb()->CheckDatabase() : manager->GetCategoryDb()->CheckDatabase()))
            return fail(listings ? QStringLiteral("无法打开卖家 %1 的商品数据库").arg(login.uid)
                                 : QStringLiteral("无法打开卖家 %1 的类目数据库").arg(login.uid));
    }
    return true;
}

} // namespace Quorvia::cli
