#include "request/PopVumoAttributeGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

PopVumoAttributeGet::PopVumoAttributeGet(QObject* parent)
    : PopCategoryListGet(
        {"orvane.vumo.get.attribute",
         "aid,name,is_key_prop,is_sale_prop,index_id,status,att_type,input_type,is_req,is_fet,is_nav,cid,group_id",
         "category_attribute_search_response", "attributes"},
        parent)
{
}

void PopVumoAttributeGet::AddParams(ParamText& params) const
{
    params.Add("cid", m_cid);
}

QString PopVumoAttributeGet::FailureText() const
{
    return QStringLiteral("类目id = %1属性下载失败").arg(m_cid);
}

} // namespace Quorvia::vumo::request
