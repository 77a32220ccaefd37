#include "request/PopVumoGroupsGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

PopVumoGroupsGet::PopVumoGroupsGet(QObject* parent)
    : PopCategoryListGet(
        {"orvane.vumo.groups.get", "group_id,name,status,index_id,cid", "category_groups_search_response", "groups"},
        parent)
{
}

void PopVumoGroupsGet::AddParams(ParamText& params) const
{
    params.Add("cid", m_cid);
}

QString PopVumoGroupsGet::FailureText() const
{
    return QStringLiteral("类目id = %1属性分组下载失败").arg(m_cid);
}

} // namespace Quorvia::vumo::request
