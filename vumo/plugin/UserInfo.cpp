#include "plugin/UserInfo.h"

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
}

} // namespace Quorvia::vumo
