#pragma once
// Brings the marketplace's pictures of one listing in line with its local picture rows during an
// upload. Runs on the upload thread with synchronous requests and that thread's store connection.
#include <QDateTime>
#include <QString>

namespace Quorvia::vumo {

class VumoImgSync final {
public:
    explicit VumoImgSync(const QString& uid); // created and used on the upload thread
    void SetRequestTimeLimits(int uploadMs, int otherMs); // defaults 300000 / 60000
    // Brings the marketplace's pictures of listing `vumoId` in line with the local picture rows
    // of `clientId`. isNew: the listing was just added (its main picture went with the add).
    bool Sync(const QString& clientId, qint64 vumoId, bool isNew, QString& reason);
    // The marketplace "modified" of the listing after the last request that changed it;
    // invalid when none did.
    QDateTime OnlineModified() const;

private:
    QString m_uid;
    int m_uploadMs = 300000;
    int m_otherMs = 60000;
    QDateTime m_onlineModified;
};

} // namespace Quorvia::vumo
