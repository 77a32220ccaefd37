#include "request/PopVumosSearch.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "utils/Log.h"

namespace Quorvia::vumo::request {

namespace {
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
}

void PopVumosSearch::SetPage(int page)
{
    m_page = page;
    if (page <= 1)
        m_pages.Reset();
}

QByteArray PopVumosSearch::GetParamJson()
{
    ParamText text;
    text.Add("page", m_page).Add("page_size", m_pageSize);
    if (m_startPrice > 0)
        text.Add("start_price", m_startPrice);
    if (m_endPrice > 0)
        text.Add("end_price", m_endPrice);
    if (!m_title.isEmpty())
        text.AddText("title", m_title);
    if (m_cid > 0)
        text.Add("cid", m_cid);
    if (m_vumoStatus > 0)
        text.Add("vumo_status", m_vumoStatus);
    const QDateTime start = m_startTime.isValid() ? m_startTime : QDateTime(QDate(1970, 1, 1), QTime(0, 0));
    const QDateTime end = m_endTime.isValid() ? m_endTime : utils::AppShareHelp::instance()->GetServerTime();
    text.Add("start_time", start.toString(kTimeFormat)).Add("end_time", end.toString(kTimeFormat));
    text.Add("fields", QStringLiteral("vumo_id,status"));
    return text.Close();
}

void PopVumosSearch::OnPreStart()
{
    m_validIds.clear();
    m_deletedIds.clear();
}

bool PopVumosSearch::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    OnPreStart();
    QVariantMap answer;
    if (!ReadAnswer(result, "vumo_info_by_info_search_response", answer, QStringLiteral("查询商品信息失败")))
        return false;

    const QVariantList items = answer.value(QStringLiteral("vumo_infos")).toList();
    for (const QVariant& item : items) {
        const QVariantMap info = item.toMap();
        const qint64 id = info.value(QStringLiteral("vumo_id")).toLongLong();
        if (id < 1) {
            qCDebug(lcVumo).noquote() << QStringLiteral("VumoID ERROR = %1").arg(id);
            continue;
        }
        const QString status = info.value(QStringLiteral("status")).toString();
        if (status == QLatin1String("VALID"))
            m_validIds.append(id);
        else if (status == QLatin1String("DELETE"))
            m_deletedIds.append(id);
        else
            qCDebug(lcVumo).noquote() << QStringLiteral("商品%1状态为%2！").arg(id).arg(status);
    }
    m_pages.AddPage(answer.value(QStringLiteral("total")).toLongLong(), items.size());
    return true;
}

} // namespace Quorvia::vumo::request
