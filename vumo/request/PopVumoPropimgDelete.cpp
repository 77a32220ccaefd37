#include "request/PopVumoPropimgDelete.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoPropimgDelete::GetParamJson()
{
    return ParamText()
        .Add("vumo_id", m_vumoId)
        .Add("attribute_value_id", AttributeValueIdText(m_valueId))
        .Add("image_id", m_imageId)
        .Close();
}

bool PopVumoPropimgDelete::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                      const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    // errorCode stays for the caller, which decides about images already gone.
    return ReadPropimgAnswer(result, "vumo_propimg_delete_response");
}

} // namespace Quorvia::vumo::request
