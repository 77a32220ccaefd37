#include "network/request/PopRequestBase.h"

#include "plugin/hostservices/AppShareHelp.h"

namespace Quorvia::network::request {

PopRequestBase::PopRequestBase(QObject* parent)
    : PopRequestImpl(parent)
{
    auto* appShare = utils::AppShareHelp::instance();
    m_accessToken = appShare->GetAccessToken();
    m_appKey = appShare->GetAppKey();
    m_appSecret = appShare->GetAppSecret();
}

PopRequestBase::~PopRequestBase() = default;

QByteArray PopRequestBase::Sign(const ParamMap& params) const
{
    return SignParams(params, m_appSecret);
}

} // namespace Quorvia::network::request
