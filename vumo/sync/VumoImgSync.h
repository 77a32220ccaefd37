#pragma once
// Brings the marketplace's pictures of one listing in line with its local picture rows during an
// upload. Runs on the upload thread with synchronous requests and that thread's store connection.
//
// Per set (color_id) the local rows are the seller's intent; the upload only calls this once an
// online change has been ruled out or the seller chose to overwrite it:
//  - the main picture is the local main row (state 0 or 2); without one the first unchanged row,
//    else the first new row. It is set online before any old main picture is deleted, so the
//    set is never without a main picture online;
//  - deleted rows that are not the online main go first, then the main is set, then the other
//    new rows are uploaded, then the deleted former main goes;
//  - a row the marketplace no longer has is uploaded again from the picture folder, or dropped
//    when its file is gone; a deleted row the marketplace no longer has is just dropped;
//  - rows in state 3 (picked in the editor, never copied into the folder) are never sent;
//  - pictures online that no local row knows are left alone (only demoted by a new main).
// Every row is written back as soon as its request succeeded, so a failure leaves the rest in
// their state for the next upload.
#include <QDateTime>
#include <QList>
#include <QString>

namespace Quorvia::vumo::entity {
class VumoImgEntity;
}

namespace Quorvia::vumo {

class VumoImgSync final {
public:
    explicit VumoImgSync(const QString& uid); // created and used on the upload thread
    void SetRequestTimeLimits(int uploadMs, int otherMs); // defaults 300000 / 60000
    // Brings the marketplace's pictures of listing `vumoId` in line with the local picture rows
    // of `clientId`. isNew: the listing was just added (its main picture went with the add).
    // On failure `reason` is the bare cause; the caller puts its own prefix in front.
    bool Sync(const QString& clientId, qint64 vumoId, bool isNew, QString& reason);
    // The marketplace "modified" of the listing after the last request that changed it;
    // invalid when none did.
    QDateTime OnlineModified() const;

private:
    struct Online
    {
        qint64 imgId = 0;
        qint64 colorId = 0;
        bool isMain = false;
    };
    using Row = entity::VumoImgEntity;

    bool readOnline(qint64 vumoId, QList<Online>& online, QString& reason);
    bool syncSet(qint64 vumoId, const QList<Row*>& rows, const QList<Online>& online, QString& reason);
    bool upload(qint64 vumoId, Row& row, bool isMain, QString& reason);
    bool setMain(qint64 vumoId, Row& row, QString& reason);
    bool remove(qint64 vumoId, const Row& row, bool wasOnlineMain, QString& reason);
    // Writes img_id, state 0 and both main flags of the row, found by its old key.
    bool writeSynced(Row& row, qint64 imgId, bool isMain, bool onlineMain, QString& reason);
    bool dropRow(const Row& row, bool wasOnlineMain);
    void noteModified(const QVariant& answer);
    QString localFile(const Row& row) const;

    QString m_folder;
    QString m_clientId;
    int m_uploadMs = 300000;
    int m_otherMs = 60000;
    QDateTime m_onlineModified;
};

} // namespace Quorvia::vumo
