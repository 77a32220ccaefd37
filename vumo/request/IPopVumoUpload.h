#pragma once
// The listing text shared by adding and updating a listing: the record's own fields, the
// optional members, the SKU lists, the flags and (add only) the main picture.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo::request {

class IPopVumoUpload : public PopRequestBase
{
    Q_OBJECT

public:
    // 0 upload only, 1 upload and put on sale, 2 upload and take off sale.
    enum UploadMode { UploadOnly = 0, UploadOnSale = 1, UploadOffSale = 2 };

    using PopRequestBase::PopRequestBase;

    // The record is read when the parameter text is built; it stays the caller's.
    void SetVumo(const Quorvia::vumo::entity::VumoDataEntity* vumo) { m_vumo = vumo; }
    void SetUploadMode(int mode) { m_mode = mode; }

    QByteArray GetParamJson() override;
    void OnPreStart() override;
    // The main-picture piece ("\"vumo_image\":\"...\",") or nothing.
    virtual QString GetMainImage() const;

    // The answer member (the new or updated listing's numbers and SKUs) for the caller.
    QVariant GetResponse() const { return m_response; }

protected:
    // "cid" for a new listing, "vumo_id" for an update.
    virtual const char* IdentifierField() const = 0;
    bool ReadUploadAnswer(const Quorvia::network::http::HTTP_RETURN_RESULT& result, const char* member);

    const Quorvia::vumo::entity::VumoDataEntity* m_vumo = nullptr;
    int m_mode = UploadOnly;
    QVariant m_response;
};

} // namespace Quorvia::vumo::request
