#pragma once
// Calls to the workbench operator's own plug-in server: the workbench's credentials, the
// extra parameter "platform" = "pc" and a fixed signing key instead of the app secret.
#include "network/request/PopRequestBase.h"

namespace Quorvia::network::request {

class PopServerRequestImpl : public PopRequestBase
{
    Q_OBJECT

public:
    // The key that signs every server request on both sides of the text.
    static const QByteArray kServerSecret;

    explicit PopServerRequestImpl(QObject* parent = nullptr);
    ~PopServerRequestImpl() override;

    QString GetUrl() const override;
    void FillParams(ParamMap& params) override;
    QByteArray Sign(const ParamMap& params) const override;
};

} // namespace Quorvia::network::request
