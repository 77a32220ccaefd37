#include "request/PopVumocatsGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumocatsGet::GetParamJson()
{
    return ParamText().Add("fields", QString()).Close();
}

void PopVumocatsGet::OnPreStart()
{
    m_items.clear();
}

bool PopVumocatsGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, "vumo_category_search_response", answer, QStringLiteral("商家类目下载失败")))
        return false;
    m_items = MapsOf(answer.value(QStringLiteral("item_cats")));
    return true;
}

} // namespace Quorvia::vumo::request
