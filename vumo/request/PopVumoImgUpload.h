#pragma once
// Puts a local picture on the marketplace's image server and keeps its address there.
#include "request/PopRequestBase.h"

namespace Quorvia::vumo::request {

class PopVumoImgUpload : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    // Reads the file now; false (with the error text) when it cannot be read or is empty.
    bool SetImagePath(const QString& path);
    void SetImageData(const QByteArray& bytes) { m_imageData = bytes; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("kelvaris.imgzone.picture.upload"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // The image server's base address, "/imgzone/" and the answered "picture_url".
    QString GetImageUrl() const { return m_imageUrl; }

    // base + "/imgzone/" + pictureUrl, without doubled slashes at the joints.
    static QString ImageAddress(const QString& base, const QString& pictureUrl);

private:
    QByteArray m_imageData;
    QString m_imageUrl;
};

} // namespace Quorvia::vumo::request
