#include "request/PopSellerCatsGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopSellerCatsGet::GetParamJson()
{
    return ParamText().Close();
}

void PopSellerCatsGet::OnPreStart()
{
    m_items.clear();
}

bool PopSellerCatsGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                  const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, "sellercats_get_response", answer, QString()))
        return false;
    m_items = MapsOf(answer.value(QStringLiteral("shopCats")));
    return true;
}

} // namespace Quorvia::vumo::request
