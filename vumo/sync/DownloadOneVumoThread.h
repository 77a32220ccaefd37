#pragma once
// Worker of the listing download: fetches one listing with its property pictures and their
// files, then stores it in one transaction and hands the record on.
#include "entity/VumoStatus.h"
#include "network/http/DownloadThreadBase.h"

#include <QString>

#include <atomic>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class DownloadOneVumoThread : public Quorvia::network::http::DownloadThreadBase
{
    Q_OBJECT

public:
    // `uid`: the seller whose picture folder receives the pictures.
    explicit DownloadOneVumoThread(const QString& uid, QObject* parent = nullptr);
    ~DownloadOneVumoThread() override;

    // Time limit of the listing and picture-list requests (60000 and 180000 ms by default).
    void SetRequestTimeLimit(int ms);

signals:
    // A stored listing; the receiver owns `record`. `srcStatus` and `srcSellerCats` are those of
    // the row it replaced (-1 and empty for a new one).
    void AddVumo(Quorvia::vumo::entity::VumoDataEntity* record, Quorvia::vumo::entity::ENUM_VUMO_STATUS srcStatus,
                 QString srcSellerCats);
    // The replaced row held local changes that were not uploaded (upload state 0 or 2).
    void OverwroteLocalChangeSignal(qint64 vumoId);

protected:
    void run() override;

private:
    // "下载成功" or the reason; on success `record` is stored.
    QString downloadOne(qint64 vumoId, entity::VumoDataEntity& record);
    bool fetchPictures(qint64 vumoId, entity::VumoDataEntity& record, QString& error);

    const QString m_uid;
    std::atomic<int> m_getTimeoutMs{60000};
    std::atomic<int> m_imagesTimeoutMs{180000};
};

} // namespace Quorvia::vumo
