#include "request/PopVumoPropimg.h"

namespace Quorvia::vumo::request {

void PopVumoPropimgBase::OnPreStart()
{
    m_response.clear();
}

bool PopVumoPropimgBase::ReadPropimgAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result,
                                           const char* member)
{
    m_response.clear();
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return false;
    const QVariantMap top = parsed.toMap();
    if (!top.contains(QLatin1String(member)))
        return FailRequest(result);
    m_response = top.value(QLatin1String(member));
    return true;
}

} // namespace Quorvia::vumo::request
