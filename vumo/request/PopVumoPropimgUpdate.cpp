#include "request/PopVumoPropimgUpdate.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoPropimgUpdate::GetParamJson()
{
    return ParamText()
        .Add("vumo_id", m_vumoId)
        .Add("attribute_value_id", AttributeValueIdText(m_valueId))
        .AddFlag("is_main_pic", m_isMain)
        .Add("image_id", m_imageId)
        .Close();
}

bool PopVumoPropimgUpdate::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                      const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    return ReadPropimgAnswer(result, "vumo_propimg_update_response");
}

} // namespace Quorvia::vumo::request
