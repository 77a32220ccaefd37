#include "request/PopVumoGroupsGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoGroupsGet::GetParamJson()
{
    return ParamText()
        .Add("fields", QStringLiteral("group_id,name,status,index_id,cid"))
        .Add("cid", m_cid)
        .Close();
}

void PopVumoGroupsGet::OnPreStart()
{
    m_items.clear();
}

bool PopVumoGroupsGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                  const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, "category_groups_search_response", answer, QStringLiteral("类目id = %1属性分组下载失败").arg(m_cid)))
        return false;
    m_items = MapsOf(answer.value(QStringLiteral("groups")));
    return true;
}

} // namespace Quorvia::vumo::request
