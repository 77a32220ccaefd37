#pragma once
// One page of a listing's property images, read into image records. Paging starts again
// whenever page 1 is set.
#include "request/ParamText.h"
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::entity {
class VumoImgEntity;
}

namespace Quorvia::vumo::request {

class PopVumoPropimgsSearch : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;
    ~PopVumoPropimgsSearch() override;

    void SetVumoId(qint64 vumoId) { m_vumoId = vumoId; }
    void SetPage(int page);
    void SetPageSize(int pageSize) { m_pageSize = pageSize; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumo.propimgs.search"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The images of the last page; the caller takes them over (the rest go with the request).
    const QList<Quorvia::vumo::entity::VumoImgEntity*>& GetImages() const { return m_images; }
    QList<Quorvia::vumo::entity::VumoImgEntity*> TakeImages();

    qint64 GetTotal() const { return m_pages.Total(); }
    bool IsFinished() const { return m_pages.Finished(); }

private:
    void ClearImages();

    qint64 m_vumoId = 0;
    int m_page = 1;
    int m_pageSize = 40;
    QList<Quorvia::vumo::entity::VumoImgEntity*> m_images;
    PageCounter m_pages;
};

} // namespace Quorvia::vumo::request
