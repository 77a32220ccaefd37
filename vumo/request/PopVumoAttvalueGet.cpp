#include "request/PopVumoAttvalueGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

void PopVumoAttvalueGet::SetAids(const QList<qint64>& aids)
{
    QStringList texts;
    for (const qint64 aid : aids)
        texts << QString::number(aid);
    m_aids = texts.join(QLatin1Char(','));
}

QByteArray PopVumoAttvalueGet::GetParamJson()
{
    return ParamText()
        .Add("fields", QStringLiteral("aid,vid,name,status,index_id,features"))
        .Add("avs", m_aids)
        .Close();
}

void PopVumoAttvalueGet::OnPreStart()
{
    m_items.clear();
}

bool PopVumoAttvalueGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                    const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, "category_attribute_value_response", answer, QStringLiteral("属性aid=%1 属性值下载失败").arg(m_aids)))
        return false;
    m_items = MapsOf(answer.value(QStringLiteral("att_values")));
    return true;
}

} // namespace Quorvia::vumo::request
