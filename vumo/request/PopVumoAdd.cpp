#include "request/PopVumoAdd.h"

#include "entity/VumoDataEntity.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "utils/SellerPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Quorvia::vumo::request {

bool PopVumoAdd::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                            const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    return ReadUploadAnswer(result, "vumo_add_response");
}

QString PopVumoAdd::GetMainImage() const
{
    if (!m_vumo)
        return QString();
    const QString logo = m_vumo->logo();
    if (logo.isEmpty() || logo.contains(QLatin1String("http://")) || logo.contains(QLatin1String("https://")))
        return QString();
    QString path = logo;
    if (!QFileInfo(logo).isAbsolute()) {
        // A picture only read here: a missing folder just means no picture goes out.
        const QString folder = utils::SellerImageFolder(utils::AppShareHelp::instance()->GetUid());
        if (folder.isEmpty())
            return QString();
        path = QDir(folder).filePath(logo);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return QString();
    return QStringLiteral("\"vumo_image\":\"%1\",").arg(QString::fromLatin1(bytes.toBase64()));
}

} // namespace Quorvia::vumo::request
