#include "request/PopVumoAttributeGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

QByteArray PopVumoAttributeGet::GetParamJson()
{
    return ParamText()
        .Add("fields", QStringLiteral("aid,name,is_key_prop,is_sale_prop,index_id,status,att_type,input_type,is_req,is_fet,is_nav,cid,group_id"))
        .Add("cid", m_cid)
        .Close();
}

void PopVumoAttributeGet::OnPreStart()
{
    m_items.clear();
}

bool PopVumoAttributeGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                     const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, "category_attribute_search_response", answer, QStringLiteral("类目id = %1属性下载失败").arg(m_cid)))
        return false;
    m_items = MapsOf(answer.value(QStringLiteral("attributes")));
    return true;
}

} // namespace Quorvia::vumo::request
