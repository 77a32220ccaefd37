#include "request/PopVumoAttvalueGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

PopVumoAttvalueGet::PopVumoAttvalueGet(QObject* parent)
    : PopCategoryListGet({"orvane.vumo.get.attvalue", "aid,vid,name,status,index_id,features",
                          "category_attribute_value_response", "att_values"},
                         parent)
{
}

void PopVumoAttvalueGet::SetAids(const QList<qint64>& aids)
{
    QStringList texts;
    for (const qint64 aid : aids)
        texts << QString::number(aid);
    m_aids = texts.join(QLatin1Char(','));
}

void PopVumoAttvalueGet::AddParams(ParamText& params) const
{
    params.Add("avs", m_aids);
}

QString PopVumoAttvalueGet::FailureText() const
{
    return QStringLiteral("属性aid=%1 属性值下载失败").arg(m_aids);
}

} // namespace Quorvia::vumo::request
