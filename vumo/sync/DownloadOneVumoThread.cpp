#include "sync/DownloadOneVumoThread.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "request/PopVumoGet.h"
#include "request/PopVumoPropimgsSearch.h"
#include "sync/VumoDownloadRules.h"
#include "sync/VumoImageFetch.h"
#include "sync/VumoUploadStore.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"
#include "utils/SqlText.h"

#include <QUuid>

#include <memory>

namespace Quorvia::vumo {

using entity::VumoDataEntity;
using entity::VumoImgEntity;

namespace {

const QString kSuccess = QStringLiteral("下载成功");
constexpr int kPictureTimeoutMs = 30000;

// The brand pair from the category's "品牌" attribute. An extended ("KZSX") brand attribute is
// the same attribute for the pickers (IsBrandFeatures), so it gets the pair as well.
void CompleteBrand(VumoDataEntity& record)
{
    if (record.brand_id() == 0)
        return;
    auto categories = database::VumoDBMgr::instance()->GetCategoryDb();
    qint64 aid = 0;
    QString features;
    if (!categories || !categories->GetAttributeByName(QStringLiteral("品牌"), record.cid(), aid, features) || aid <= 0)
        return;
    record.set_attributes(CompleteBrandPair(record.attributes(), aid, record.brand_id()));
}

} // namespace

DownloadOneVumoThread::DownloadOneVumoThread(const QString& uid, QObject* parent)
    : DownloadThreadBase(parent)
    , m_uid(uid)
{
}

DownloadOneVumoThread::~DownloadOneVumoThread()
{
    wait();
}

void DownloadOneVumoThread::SetRequestTimeLimit(int ms)
{
    m_getTimeoutMs = ms;
    m_imagesTimeoutMs = ms;
}

void DownloadOneVumoThread::run()
{
    const qint64 vumoId = ItemId();
    // A stop before the listing began leaves Stop()'s "下载停止"; one that began finishes.
    if (IsStopRequested()) {
        SetIdle();
        return;
    }
    auto record = std::make_unique<VumoDataEntity>();
    record->set_client_id(QUuid::createUuid().toString());
    record->set_upload_status(1);

    // The row this download replaces: its class and shop categories move the tree counts.
    int srcStatus = entity::VUMO_STATUS_UNKNOWN;
    QString srcCats;
    bool overwrites = false;
    auto store = database::VumoDBMgr::instance()->GetVumoDb();
    QList<database::VumoDbInterface::TextPair> before;
    if (store
        && store->QueryTextPairs(
            QStringLiteral("SELECT vumo_status || ':' || upload_status, shop_categorys FROM vumo_data "
                           "WHERE vumo_id=%1")
                .arg(vumoId),
            before)
        && !before.isEmpty()) {
        srcStatus = before.first().first.section(QLatin1Char(':'), 0, 0).toInt();
        const int uploadState = before.first().first.section(QLatin1Char(':'), 1).toInt();
        overwrites = uploadState == 0 || uploadState == 2;
        srcCats = before.first().second;
    }

    const QString result = downloadOne(vumoId, *record);
    if (result == kSuccess) {
        if (overwrites)
            emit OverwroteLocalChangeSignal(vumoId);
        emit AddVumo(record.release(), entity::ENUM_VUMO_STATUS(srcStatus), srcCats);
    }
    SetResult(result);
    SetIdle();
}

QString DownloadOneVumoThread::downloadOne(qint64 vumoId, VumoDataEntity& record)
{
    request::PopVumoGet get;
    get.SetVumoId(vumoId);
    if (!get.SyncRequest(m_getTimeoutMs))
        return get.errorMessage;
    ReadVumoAnswer(get.GetVumo(), record);
    CompleteBrand(record);
    if (record.vumo_id() != vumoId || record.title().trimmed().isEmpty())
        return get.errorMessage.isEmpty() ? QStringLiteral("商品%1 不存在或已删除").arg(vumoId) : get.errorMessage;
    if (record.vumo_status() < 1)
        return QStringLiteral("商品状态无效");

    // Everything is fetched before anything is stored: a failure stores nothing.
    QString error;
    if (!fetchPictures(vumoId, record, error))
        return error;
    auto store = database::VumoDBMgr::instance()->GetVumoDb();
    // The marketplace time goes with the listing: an upload compares it to tell an online
    // change since this download from its own.
    const bool stored = store && store->Transaction()
        && store->SaveDownloadedVumo(record)
        && StoreOnlineModified(*store, record.client_id(), record.modified()) && store->Commit();
    if (!stored) {
        if (store)
            store->Rollback();
        return QStringLiteral("商品信息添加本地数据库失败");
    }
    return kSuccess;
}

bool DownloadOneVumoThread::fetchPictures(qint64 vumoId, VumoDataEntity& record, QString& error)
{
    request::PopVumoPropimgsSearch search;
    search.SetVumoId(vumoId);
    for (int page = 1;; ++page) {
        search.SetPage(page);
        if (!search.SyncRequest(m_imagesTimeoutMs)) {
            error = search.errorMessage;
            return false;
        }
        const QList<VumoImgEntity*> images = search.TakeImages();
        for (VumoImgEntity* image : images) {
            image->set_state(0);
            record.AddImage(image);
        }
        if (search.IsFinished() || images.isEmpty())
            break;
    }

    // A picture that cannot be fetched keeps an empty name and is skipped by the strip.
    const QString folder = utils::SellerImageFolder(m_uid);
    for (auto& group : record.Images()) {
        for (VumoImgEntity* image : group) {
            QString name;
            image->set_name(FetchPicture(image->img_url(), folder, kPictureTimeoutMs, &name) ? name : QString());
        }
    }
    if (record.logo().contains(QLatin1String("http://")) || record.logo().contains(QLatin1String("https://"))) {
        QString name;
        FetchPicture(record.logo(), folder, kPictureTimeoutMs, &name);
    }
    return true;
}

} // namespace Quorvia::vumo
