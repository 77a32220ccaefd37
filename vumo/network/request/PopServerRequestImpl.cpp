#include "network/request/PopServerRequestImpl.h"

#include "network/config/NetworkConfig.h"

namespace Quorvia::network::request {

const QByteArray PopServerRequestImpl::kServerSecret = QByteArrayLiteral("{5A0C7E92-3D4B-4F16-A8E7-9B21C6D0F354}");

PopServerRequestImpl::PopServerRequestImpl(QObject* parent)
    : PopRequestBase(parent)
{
}

PopServerRequestImpl::~PopServerRequestImpl() = default;

QString PopServerRequestImpl::GetUrl() const
{
    return config::NetworkConfig::Instance()->GetWsServerUrl();
}

void PopServerRequestImpl::FillParams(ParamMap& params)
{
    FillSystemParams(params);
    params.insert(QByteArrayLiteral("v"), QByteArrayLiteral("2.0"));
    params.insert(QByteArrayLiteral("platform"), QByteArrayLiteral("pc"));
    params.remove(QByteArrayLiteral("sign"));
    params.insert(QByteArrayLiteral("sign"), Sign(params));
}

QByteArray PopServerRequestImpl::Sign(const ParamMap& params) const
{
    return SignParams(params, kServerSecret);
}

} // namespace Quorvia::network::request
