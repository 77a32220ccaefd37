#include "request/PopVumoPropimgAdd.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoPropimgAdd::GetParamJson()
{
    return ParamText()
        .Add("vumo_id", m_vumoId)
        .Add("attribute_value_id", AttributeValueIdText(m_valueId))
        .AddFlag("is_main_pic", m_isMain)
        .Close();
}

bool PopVumoPropimgAdd::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                   const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    return ReadPropimgAnswer(result, "vumo_propimg_add_response");
}

} // namespace Quorvia::vumo::request
