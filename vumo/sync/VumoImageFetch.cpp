#include "sync/VumoImageFetch.h"

#include "network/http/SyncHttpRequest.h"
#include "utils/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <QWaitCondition>

namespace Quorvia::vumo {

QString PictureNameFromUrl(const QString& url)
{
    static const QRegularExpression sizeFolder(QStringLiteral("/n[0-9]/"));
    QString path = QUrl(url).path();
    // The size folder and what comes before it are the same for every picture of the host.
    const QRegularExpressionMatch match = sizeFolder.match(path);
    if (match.hasMatch())
        path = path.mid(match.capturedEnd());
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || path.endsWith(QLatin1Char('/')))
        return QString();
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('\\')))
            return QString();
    }
    return parts.join(QLatin1Char('_'));
}

QString FullSizePictureUrl(const QString& url)
{
    QString full = url;
    full.replace(QLatin1String("/n2/"), QLatin1String("/n0/"));
    full.replace(QLatin1String("/n5/"), QLatin1String("/n0/"));
    return full;
}

bool IsPictureFolderName(const QString& path)
{
    return !path.isEmpty() && !QFileInfo(path).isAbsolute() && !path.startsWith(QLatin1Char('/'));
}

namespace {

// Names being fetched right now, so two workers never fetch one picture twice.
QMutex g_fetchMutex;
QWaitCondition g_fetchDone;
QSet<QString> g_inFlight;

} // namespace

bool FetchPicture(const QString& url, const QString& folder, int timeoutMs, QString* name)
{
    const QString fileName = PictureNameFromUrl(url);
    if (name)
        *name = fileName;
    if (fileName.isEmpty() || folder.isEmpty()) {
        qCWarning(lcVumo).noquote() << QStringLiteral("无法下载该图片:%1").arg(url);
        return false;
    }
    const QString target = QDir(folder).filePath(fileName);
    {
        QMutexLocker locker(&g_fetchMutex);
        while (g_inFlight.contains(target))
            g_fetchDone.wait(&g_fetchMutex);
        if (QFileInfo::exists(target))
            return true;
        g_inFlight.insert(target);
    }
    // Into a private name first: nobody sees half a picture, and a failure leaves nothing.
    const QString partial = target + QStringLiteral(".part-") + QUuid::createUuid().toString(QUuid::Id128);
    bool done = false;
    if (QDir().mkpath(folder)) {
        network::http::SyncHttpRequest http;
        done = http.SyncDownloadFile(FullSizePictureUrl(url), partial, timeoutMs, true)
            && QFile::rename(partial, target);
    }
    if (!done) {
        QFile::remove(partial);
        qCWarning(lcVumo).noquote() << QStringLiteral("无法下载该图片:%1").arg(url);
    }
    QMutexLocker locker(&g_fetchMutex);
    g_inFlight.remove(target);
    g_fetchDone.wakeAll();
    return done;
}

} // namespace Quorvia::vumo
