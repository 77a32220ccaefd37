#pragma once
// An existing listing, identified by its number.
#include "request/IPopVumoUpload.h"

namespace Quorvia::vumo::request {

class PopVumoUpdate : public IPopVumoUpload
{
    Q_OBJECT

public:
    using IPopVumoUpload::IPopVumoUpload;

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.update"); }
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

protected:
    const char* IdentifierField() const override { return "vumo_id"; }
};

} // namespace Quorvia::vumo::request
