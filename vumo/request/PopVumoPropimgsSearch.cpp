#include "request/PopVumoPropimgsSearch.h"

#include "entity/VumoImgEntity.h"

namespace Quorvia::vumo::request {

using Quorvia::vumo::entity::VumoImgEntity;

PopVumoPropimgsSearch::~PopVumoPropimgsSearch()
{
    ClearImages();
}

void PopVumoPropimgsSearch::SetPage(int page)
{
    m_page = page;
    if (page <= 1)
        m_pages.Reset();
}

QByteArray PopVumoPropimgsSearch::GetParamJson()
{
    return ParamText().Add("vumo_id", m_vumoId).Add("page", m_page).Add("page_size", m_pageSize).Close();
}

void PopVumoPropimgsSearch::OnPreStart()
{
    ClearImages();
}

void PopVumoPropimgsSearch::ClearImages()
{
    qDeleteAll(m_images);
    m_images.clear();
}

QList<VumoImgEntity*> PopVumoPropimgsSearch::TakeImages()
{
    QList<VumoImgEntity*> images;
    images.swap(m_images);
    return images;
}

bool PopVumoPropimgsSearch::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                       const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    ClearImages();
    QVariantMap answer;
    if (!ReadAnswer(result, "vumo_propimgs_search_response", answer))
        return false;
    const QVariantList items = answer.value(QStringLiteral("propimgs")).toList();
    for (const QVariant& item : items) {
        if (item.metaType().id() != QMetaType::QVariantMap)
            continue;
        auto* image = new VumoImgEntity;
        const QVariantMap members = item.toMap();
        for (auto it = members.cbegin(); it != members.cend(); ++it)
            image->SetApiValue(it.key(), it.value());
        // The listing shows the "/n5" size of property pictures.
        image->set_img_url(image->img_url().replace(QLatin1String("/n2"), QLatin1String("/n5")));
        m_images.append(image);
    }
    m_pages.AddPage(answer.value(QStringLiteral("total")).toLongLong(), items.size());
    return true;
}

} // namespace Quorvia::vumo::request
