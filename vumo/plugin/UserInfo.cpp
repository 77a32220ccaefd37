#include "plugin/UserInfo.h"

#include "database/VumoDBMgr.h"

namespace Quorvia::vumo {

void UserInfo::SetLogin(const Quorvia::core::plugin::LoginRecord& record)
{
    m_record.accessToken = record.accessToken;
    m_record.appKey = record.appKey;
    m_record.appSecret = record.appSecret;
    m_record.firstId = record.firstId;
    m_record.secondId = record.secondId;
    m_record.stockMode = record.stockMode;
    m_record.shopType = record.shopType;
    // The store below does not look up at the login; it is told.
    Quorvia::vumo::database::VumoDBMgr::instance()->SetStockMode(record.stockMode);
}

} // namespace Quorvia::vumo
