#include "request/PopVumoPropimg.h"

namespace Quorvia::vumo::request {

void PopVumoPropimgBase::OnPreStart()
{
    m_response.clear();
}

bool PopVumoPropimgBase::ReadPropimgAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member)
{
    return ReadAnswerValue(result, member, m_response);
}

} // namespace Quorvia::vumo::request
