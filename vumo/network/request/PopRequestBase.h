#pragma once
// Requests that sign with the workbench's own application credentials (AppShare), read once
// at construction.
#include "network/request/PopRequestImpl.h"

namespace Quorvia::network::request {

class PopRequestBase : public PopRequestImpl
{
    Q_OBJECT

public:
    explicit PopRequestBase(QObject* parent = nullptr);
    ~PopRequestBase() override;

    QByteArray Sign(const ParamMap& params) const override;

protected:
    QByteArray m_appSecret;
};

} // namespace Quorvia::network::request
