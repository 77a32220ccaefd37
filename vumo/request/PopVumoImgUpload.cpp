#include "request/PopVumoImgUpload.h"

#include "network/config/NetworkConfig.h"
#include "quorvia/LogMask.h"
#include "request/ParamText.h"
#include "utils/Log.h"

#include <QFile>

namespace Quorvia::vumo::request {

bool PopVumoImgUpload::SetImagePath(const QString& path)
{
    m_imageData.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("商品文件打开失败！"));
    m_imageData = file.readAll();
    if (m_imageData.isEmpty())
        return Fail(QStringLiteral("商品文件打开失败！"));
    return true;
}

QByteArray PopVumoImgUpload::GetParamJson()
{
    // Base64 needs no escaping.
    return ParamText().Add("image_data", QString::fromLatin1(m_imageData.toBase64())).Close();
}

void PopVumoImgUpload::OnPreStart()
{
    m_imageUrl.clear();
}

QString PopVumoImgUpload::ImageAddress(const QString& base, const QString& pictureUrl)
{
    QString head = base;
    while (head.endsWith(QLatin1Char('/')))
        head.chop(1);
    QString tail = pictureUrl;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    return head + QStringLiteral("/imgzone/") + tail;
}

bool PopVumoImgUpload::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                  const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_imageUrl.clear();
    QVariant parsed;
    if (!CheckResultError(result, parsed))
        return false;
    // The member is spelled so by the image server.
    const QVariantMap answer = parsed.toMap().value(QStringLiteral("kelvaris_imgzone_picture_upload_responce")).toMap();
    bool ok = false;
    const qint64 code = answer.value(QStringLiteral("code")).toLongLong(&ok);
    if (!ok || code != 0)
        return FailRequest(result);
    const QString pictureUrl = answer.value(QStringLiteral("picture_url")).toString();
    if (pictureUrl.trimmed().isEmpty()) {
        const QString message = QStringLiteral("api[%1] request return url is empty! json:%2")
                                    .arg(QString::fromUtf8(GetMethod()), QString::fromUtf8(result.data));
        qCWarning(lcMain).noquote() << VUMO_SRC_POS + ClipForLog(MaskSecrets(message));
        errorMessage = message;
        return false;
    }
    m_imageUrl = ImageAddress(Quorvia::network::config::NetworkConfig::Instance()->GetImagesUrl(), pictureUrl);
    return true;
}

} // namespace Quorvia::vumo::request
