#pragma once
// The listing upload: one listing after the other is added (no marketplace number yet) or
// updated, with its description pictures put on the image server first and its SKU removals
// before the update; the outcome goes back into the store and out with UploadSignal. Stop()
// lets the listing under way finish and leaves the rest untouched.
//
// An update is not sent when the marketplace changed the listing after the time stored at its
// download or last upload, unless SetOverwrite(true): the outcome then names both times and
// the local change stays for the seller to decide.
#include "plugin/VumoClassRules.h"
#include "utils/VumoWorker.h"

#include <QDateTime>
#include <QMap>
#include <QMutex>
#include <QStringList>

#include <functional>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
}
namespace Quorvia::vumo::request {
class IPopVumoUpload;
}

namespace Quorvia::vumo {

class VumoUploadThread : public utils::VumoWorker
{
    Q_OBJECT

public:
    // Brings the listing's pictures in line after a successful add or update; false with the
    // reason. `onlineModified` receives the marketplace time after its last change (left
    // invalid when it changed nothing). Called on the upload thread.
    using PictureSync = std::function<bool(const QString& clientId, qint64 vumoId, bool isNew, QString& reason,
                                           QDateTime& onlineModified)>;

    explicit VumoUploadThread(const QString& uid, QObject* parent = nullptr);
    ~VumoUploadThread() override;

    // Set before Start().
    void SetClientIds(const QStringList& clientIds) { m_clientIds = clientIds; }
    // 0 upload only, 1 and put on sale, 2 and take off sale.
    void SetMode(int mode) { m_mode = mode; }
    void SetOverwrite(bool overwrite) { m_overwrite = overwrite; }
    // Add, update and SKU removal; picture files; every other call (tests shorten them).
    void SetRequestTimeLimits(int uploadMs, int pictureMs, int otherMs);
    // Replaces the picture synchronisation of the image manager (tests give a failing one).
    void SetPictureSync(PictureSync sync) { m_pictureSync = std::move(sync); }

    QStringList ClientIds() const { return m_clientIds; }
    int Mode() const { return m_mode; }
    // Of the last run: the outcome text of each listing worked on, and the conflicts among them.
    QMap<QString, QString> Outcomes() const;
    QStringList Conflicts() const;

signals:
    // index counts from 0 over the client ids; state 0 under way, 1 succeeded, 2 failed;
    // newClass/oldClass: the class nodes of the listing's status after and before.
    void UploadSignal(int index, qint16 state, VUMO_CLASS newClass, VUMO_CLASS oldClass, const QString& outcome,
                      const QString& sellerCats);
    void UploadSignal(int index, qint16 state, VUMO_CLASS newClass, VUMO_CLASS oldClass, const QString& outcome);
    void UploadFinishedSignal(int succeeded, int failed);
    // Shops that carry comments over: the new SKU of an added listing and the one it copies.
    void NeedToSyncCommentSignal(qint64 newSkuId, qint64 oldSkuId);

protected:
    void run() override;

private:
    struct Outcome
    {
        bool succeeded = false;
        bool conflict = false;
        QString text;
        int newStatus = -1;
    };

    Outcome uploadOne(database::VumoDbInterface& store, const QString& clientId, entity::VumoDataEntity& record);
    // Puts the description's local pictures on the image server and rewrites their addresses,
    // in the record and the store, before the listing is sent.
    bool convertDescription(database::VumoDbInterface& store, entity::VumoDataEntity& record);
    // Sends the listing as an add or an update; false with the outcome text when refused.
    bool send(request::IPopVumoUpload& request, entity::VumoDataEntity& record, Outcome& outcome);
    Outcome add(database::VumoDbInterface& store, entity::VumoDataEntity& record);
    Outcome update(database::VumoDbInterface& store, entity::VumoDataEntity& record);
    // Write-back and pictures after the marketplace accepted the listing.
    Outcome finish(database::VumoDbInterface& store, entity::VumoDataEntity& record, const QVariant& answer,
                   bool isNew);
    void record(const QString& clientId, const Outcome& outcome);

    QString m_uid;
    QStringList m_clientIds;
    int m_mode = 0;
    bool m_overwrite = false;
    int m_uploadMs = 180000;
    int m_pictureMs = 300000;
    int m_otherMs = 60000;
    PictureSync m_pictureSync;

    mutable QMutex m_mutex; // guards the results below
    QMap<QString, QString> m_outcomes;
    QStringList m_conflicts;
};

} // namespace Quorvia::vumo
