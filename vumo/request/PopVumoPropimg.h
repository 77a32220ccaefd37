#pragma once
// The property images of a listing: add (file sent as multipart), update, delete. A value id
// of 0 (the listing's own pictures) is sent as "0000000000".
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

// Shared setters and answer handling.
class PopVumoPropimgBase : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetVumoId(qint64 vumoId) { m_vumoId = vumoId; }
    void SetAttributeValueId(qint64 valueId) { m_valueId = valueId; }
    void SetIsMainPic(bool isMain) { m_isMain = isMain; }
    void SetImageId(qint64 imageId) { m_imageId = imageId; }

    void OnPreStart() override;

    // The answer member for the caller (the image id of an added picture and so on).
    QVariant GetResponse() const { return m_response; }

protected:
    bool ReadPropimgAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member);

    qint64 m_vumoId = 0;
    qint64 m_valueId = 0;
    bool m_isMain = false;
    qint64 m_imageId = 0;
    QVariant m_response;
};

} // namespace Quorvia::vumo::request
