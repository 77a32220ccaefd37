#pragma once
// A new listing; the answer carries its number and SKU ids.
#include "request/IPopVumoUpload.h"

namespace Quorvia::vumo::request {

class PopVumoAdd : public IPopVumoUpload
{
    Q_OBJECT

public:
    using IPopVumoUpload::IPopVumoUpload;

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.add"); }
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;
    // The local main picture as Base64, unless the logo is already a marketplace address or
    // its file is missing or empty.
    QString GetMainImage() const override;

protected:
    const char* IdentifierField() const override { return "cid"; }
};

} // namespace Quorvia::vumo::request
