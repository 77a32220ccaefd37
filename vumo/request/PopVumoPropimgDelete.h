#pragma once
#include "request/PopVumoPropimg.h"

namespace Quorvia::vumo::request {

class PopVumoPropimgDelete : public PopVumoPropimgBase
{
    Q_OBJECT

public:
    using PopVumoPropimgBase::PopVumoPropimgBase;

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.propimg.delete"); }
    QByteArray GetParamJson() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;
};

} // namespace Quorvia::vumo::request
