#include "sync/VumoUploadThread.h"

#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "editor/HtmlConverter.h"
#include "editor/SkuRules.h"
#include "entity/PropertyValue.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "request/PopVumoAdd.h"
#include "request/PopVumoGet.h"
#include "request/PopVumoImgUpload.h"
#include "request/PopVumoSkuDelete.h"
#include "request/PopVumoUpdate.h"
#include "sync/VumoImgSync.h"
#include "sync/VumoUploadStore.h"
#include "utils/Log.h"

#include <QHash>
#include <QMutexLocker>

namespace Quorvia::vumo {

using database::VumoDbInterface;
using editor::SkuKey;
using entity::VumoDataEntity;

namespace {

constexpr int kCommentSyncShop = 8;

// Only the listing's marketplace time, to tell an online change from our own last upload.
class PopVumoGetModified : public request::PopVumoGet
{
public:
    using PopVumoGet::PopVumoGet;
    QStringList GetFields() const override { return {QStringLiteral("modified")}; }
};

VUMO_CLASS ClassNodeOfStatus(int status)
{
    return VumoClassNode(ClassOfStatus(status));
}

} // namespace

VumoUploadThread::VumoUploadThread(const QString& uid, QObject* parent)
    : VumoWorker(parent)
    , m_uid(uid)
{
    RegisterVumoClassMetaType();
}

VumoUploadThread::~VumoUploadThread()
{
    Stop();
    wait();
}

void VumoUploadThread::SetRequestTimeLimits(int uploadMs, int pictureMs, int otherMs)
{
    m_uploadMs = uploadMs;
    m_pictureMs = pictureMs;
    m_otherMs = otherMs;
}

QMap<QString, QString> VumoUploadThread::Outcomes() const
{
    QMutexLocker locker(&m_mutex);
    return m_outcomes;
}

QStringList VumoUploadThread::Conflicts() const
{
    QMutexLocker locker(&m_mutex);
    return m_conflicts;
}

void VumoUploadThread::record(const QString& clientId, const Outcome& outcome)
{
    QMutexLocker locker(&m_mutex);
    m_outcomes.insert(clientId, outcome.text);
    if (outcome.conflict)
        m_conflicts << clientId;
}

void VumoUploadThread::run()
{
    {
        QMutexLocker locker(&m_mutex);
        m_outcomes.clear();
        m_conflicts.clear();
    }
    SetTotal(int(m_clientIds.size()));
    if (LeaveIfStopped()) {
        emit UploadFinishedSignal(0, 0);
        return;
    }
    auto store = database::VumoDBMgr::instance()->GetVumoDb();
    for (int index = 0; index < m_clientIds.size(); ++index) {
        if (LeaveIfStopped())
            break;
        const QString clientId = m_clientIds.at(index);
        const VUMO_CLASS none;
        emit UploadSignal(index, UploadRunning, none, none, QStringLiteral("正在上传..."), QString());
        emit UploadSignal(index, UploadRunning, none, none, QStringLiteral("正在上传..."));

        VumoDataEntity listing;
        Outcome outcome;
        int oldStatus = -1;
        if (!store || !store->GetVumo(clientId, listing) || listing.client_id().isEmpty()) {
            outcome.text = QStringLiteral("获取商品信息失败");
        } else {
            oldStatus = listing.vumo_status();
            outcome = uploadOne(*store, clientId, listing);
        }
        const qint16 state = outcome.succeeded ? UploadSucceeded : UploadFailed;
        if (store && !StoreUploadOutcome(*store, clientId, state, outcome.text))
            qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "upload outcome not stored" << clientId;
        record(clientId, outcome);
        const int newStatus = outcome.succeeded ? outcome.newStatus : oldStatus;
        const VUMO_CLASS newClass = ClassNodeOfStatus(newStatus);
        const VUMO_CLASS oldClass = ClassNodeOfStatus(oldStatus);
        emit UploadSignal(index, state, newClass, oldClass, outcome.text, listing.shop_categorys());
        emit UploadSignal(index, state, newClass, oldClass, outcome.text);
        if (outcome.succeeded)
            ItemSucceeded();
        else
            ItemFailed(outcome.text);
    }
    emit UploadFinishedSignal(Succeeded(), Failed());
}

VumoUploadThread::Outcome VumoUploadThread::uploadOne(VumoDbInterface& store, const QString& clientId,
                                                      VumoDataEntity& listing)
{
    Q_UNUSED(clientId)
    if (!convertDescription(store, listing)) {
        Outcome outcome;
        outcome.text = QStringLiteral("商品描述中本地图片上传服务器失败！");
        return outcome;
    }
    return listing.vumo_id() < 1 ? add(store, listing) : update(store, listing);
}

bool VumoUploadThread::convertDescription(VumoDbInterface& store, VumoDataEntity& listing)
{
    if (listing.desc().isEmpty())
        return true;
    // Description pictures go one by one within the time limit of a listing upload.
    const int timeLimit = qMin(m_pictureMs, m_uploadMs);
    HtmlConverter converter([timeLimit](const QString& path, QString& address, QString& error) {
        request::PopVumoImgUpload upload;
        if (!upload.SetImagePath(path) || !upload.SyncRequest(timeLimit)) {
            error = upload.errorMessage;
            return false;
        }
        address = upload.GetImageUrl();
        return true;
    });
    converter.SetHtml(listing.desc());
    if (!converter.Convert()) {
        qCWarning(lcTrade).noquote() << VUMO_SRC_POS << listing.client_id() << converter.Error();
        return false;
    }
    if (converter.GetHtml() == listing.desc())
        return true;
    // Stored before sending: the pictures are on the server now, whatever the upload does.
    listing.set_desc(converter.GetHtml());
    return store.SetDescription(listing.client_id(), listing.desc());
}

bool VumoUploadThread::send(request::IPopVumoUpload& request, VumoDataEntity& listing, Outcome& outcome)
{
    request.SetUploadMode(m_mode);
    request.SetVumo(&listing);
    if (request.SyncRequest(m_uploadMs))
        return true;
    outcome.text = UploadOutcomeText(request.errorCode, request.errorMessage, QStringLiteral("上传失败"));
    return false;
}

VumoUploadThread::Outcome VumoUploadThread::add(VumoDbInterface& store, VumoDataEntity& listing)
{
    Outcome outcome;
    request::PopVumoAdd request;
    if (!send(request, listing, outcome))
        return outcome;
    const UploadAnswer answer = ReadUploadAnswer(request.GetResponse());
    if (answer.vumoId < 1) {
        outcome.text = QStringLiteral("更新本地数据库失败");
        return outcome;
    }
    // The marketplace holds the listing now: its number is kept whatever fails below.
    if (!StoreNewVumoId(store, listing.client_id(), answer.vumoId))
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "new listing number not stored" << listing.client_id()
                                    << answer.vumoId;

    if (utils::AppShareHelp::instance()->GetShopType() == kCommentSyncShop) {
        QHash<QString, qint64> oldIds;
        for (const entity::VumoSkuEntity* sku : listing.Skus()) {
            if (sku && sku->sku_id() > 0)
                oldIds.insert(SkuKey(sku->attributes()), sku->sku_id());
        }
        for (const UploadAnswerSku& sku : answer.skus) {
            const qint64 oldId = oldIds.value(SkuKey(sku.attributes), 0);
            if (oldId > 0 && oldId != sku.skuId)
                emit NeedToSyncCommentSignal(sku.skuId, oldId);
        }
    }
    return finish(store, listing, request.GetResponse(), true);
}

VumoUploadThread::Outcome VumoUploadThread::update(VumoDbInterface& store, VumoDataEntity& listing)
{
    Outcome outcome;
    const QString clientId = listing.client_id();
    if (!m_overwrite) {
        const QDateTime stored = StoredOnlineModified(store, clientId);
        if (!stored.isValid()) {
            // Downloaded before the times were kept: nothing to compare with, sent as always.
            qCInfo(lcVumo).noquote() << VUMO_SRC_POS << "no online time kept, not checked" << clientId;
        } else {
            PopVumoGetModified get;
            get.SetVumoId(listing.vumo_id());
            if (!get.SyncRequest(m_otherMs)) {
                outcome.text = UploadOutcomeText(get.errorCode, get.errorMessage, QStringLiteral("上传失败"));
                return outcome;
            }
            const QDateTime online = entity::ParseDateTime(get.GetVumo().value(QStringLiteral("modified")));
            if (online.isValid() && online.toSecsSinceEpoch() > stored.toSecsSinceEpoch()) {
                outcome.conflict = true;
                outcome.text = OnlineConflictText(stored, online);
                return outcome;
            }
        }
    }

    // SKUs the seller deleted go first; a failure stops before the listing is sent.
    QList<qint64> deleted;
    if (!store.GetDeletedSkuIds(clientId, deleted)) {
        outcome.text = QStringLiteral("删除sku信息失败");
        return outcome;
    }
    QList<qint64> removed;
    request::PopVumoSkuDelete remove;
    for (const qint64 skuId : deleted) {
        if (skuId == 0)
            continue;
        remove.SetSkuId(skuId);
        if (!remove.SyncRequest(m_uploadMs)) {
            DropRemovedSkuRows(store, clientId, removed);
            outcome.text = UploadOutcomeText(remove.errorCode, remove.errorMessage, QStringLiteral("删除sku信息失败"));
            return outcome;
        }
        removed << skuId;
    }
    if (!DropRemovedSkuRows(store, clientId, removed)) {
        outcome.text = QStringLiteral("删除sku信息失败");
        return outcome;
    }

    request::PopVumoUpdate request;
    if (!send(request, listing, outcome))
        return outcome;
    return finish(store, listing, request.GetResponse(), false);
}

VumoUploadThread::Outcome VumoUploadThread::finish(VumoDbInterface& store, VumoDataEntity& listing,
                                                   const QVariant& response, bool isNew)
{
    Outcome outcome;
    const UploadAnswer answer = ReadUploadAnswer(response);
    if (!WriteUploadBack(store, listing, m_mode, answer)) {
        outcome.text = QStringLiteral("更新本地数据库失败");
        return outcome;
    }
    QDateTime online = answer.modified;
    QString reason;
    QDateTime picturesModified;
    bool synced = false;
    if (m_pictureSync) {
        synced = m_pictureSync(listing.client_id(), answer.vumoId, isNew, reason, picturesModified);
    } else {
        // One per listing: its time is that of this listing's last picture change only.
        VumoImgSync pictures(m_uid);
        pictures.SetRequestTimeLimits(m_pictureMs, m_otherMs);
        synced = pictures.Sync(listing.client_id(), answer.vumoId, isNew, reason);
        picturesModified = pictures.OnlineModified();
    }
    if (picturesModified.isValid() && (!online.isValid() || picturesModified > online))
        online = picturesModified;
    if (!synced) {
        // The listing itself went through; the pictures did not.
        StoreOnlineModified(store, listing.client_id(), online);
        outcome.text = isNew ? QStringLiteral("主图管理中图片上传失败：") + reason
                             : QStringLiteral("图片更新失败:") + reason;
        return outcome;
    }
    // Our own upload is the marketplace's latest change: the next update is not a conflict.
    if (!StoreOnlineModified(store, listing.client_id(), online))
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "online time not stored" << listing.client_id();
    outcome.succeeded = true;
    outcome.newStatus = UploadedVumoStatus(m_mode, listing.vumo_status());
    outcome.text = UploadSuccessText();
    return outcome;
}

} // namespace Quorvia::vumo
