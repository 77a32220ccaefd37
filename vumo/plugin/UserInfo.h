#pragma once
// The logged-in seller as the workbench handed it over in SetUserInfo. Created lazily on first
// access from any thread; written only by SetUserInfo on the GUI thread.
#include "quorvia/LoginRecord.h"
#include "utils/CSingleton.h"

#include <QByteArray>
#include <QObject>

namespace Quorvia::vumo {

class UserInfo : public QObject, public Quorvia::utils::CSingleton<UserInfo>
{
    Q_OBJECT
public:
    QByteArray GetAccessToken() const { return m_record.accessToken; }
    QByteArray GetAppKey() const { return m_record.appKey; }
    QByteArray GetAppSecret() const { return m_record.appSecret; }
    qint64 GetFirstId() const { return m_record.firstId; }
    qint64 GetSecondId() const { return m_record.secondId; }
    // 1: stock is not managed through the plug-in.
    qint32 GetStockMode() const { return m_record.stockMode; }
    // 8: the shop takes part in comment synchronisation.
    qint32 GetShopType() const { return m_record.shopType; }

    // Takes over everything but the workbench-private fourth text.
    void SetLogin(const Quorvia::core::plugin::LoginRecord& record);

private:
    friend class Quorvia::utils::CSingleton<UserInfo>;
    UserInfo() = default;

    Quorvia::core::plugin::LoginRecord m_record;
};

} // namespace Quorvia::vumo
