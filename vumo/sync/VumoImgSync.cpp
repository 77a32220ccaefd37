#include "sync/VumoImgSync.h"

#include "database/VumoDBMgr.h"
#include "entity/PropertyValue.h"
#include "entity/VumoImgEntity.h"
#include "request/PopVumoPropimgAdd.h"
#include "request/PopVumoPropimgDelete.h"
#include "request/PopVumoPropimgUpdate.h"
#include "request/PopVumoPropimgsSearch.h"
#include "sync/VumoImageFetch.h"
#include "utils/Log.h"
#include "utils/SellerPaths.h"
#include "utils/SqlText.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <memory>

namespace Quorvia::vumo {

using entity::ImgStateDeleted;
using entity::ImgStateNew;
using entity::ImgStatePicked;
using entity::ImgStateUnchanged;
using utils::SqlText;

namespace {

std::shared_ptr<database::VumoDbInterface> Store()
{
    return database::VumoDBMgr::instance()->GetVumoDb();
}

QString ReasonOf(const QString& errorMessage, const QString& fallback)
{
    return errorMessage.isEmpty() ? fallback : errorMessage;
}

// A row whose flags say the seller changed the main picture since the last upload.
bool MainChangedHere(const entity::VumoImgEntity& row)
{
    return row.state() == ImgStateUnchanged && row.is_main() != (row.is_online_mainPic() == 1);
}

} // namespace

VumoImgSync::VumoImgSync(const QString& uid)
    : m_folder(utils::SellerImageFolder(uid))
{
}

void VumoImgSync::SetRequestTimeLimits(int uploadMs, int otherMs)
{
    m_uploadMs = uploadMs;
    m_otherMs = otherMs;
}

QDateTime VumoImgSync::OnlineModified() const
{
    return m_onlineModified;
}

bool VumoImgSync::Sync(const QString& clientId, qint64 vumoId, bool isNew, QString& reason)
{
    reason.clear();
    m_onlineModified = QDateTime();
    m_clientId = clientId;
    if (vumoId < 1) {
        reason = QStringLiteral("商品编号无效");
        return false;
    }
    auto store = Store();
    QList<Row*> rows;
    const QString sql = QStringLiteral("select img_id,name,img_url,is_main, state,index_id,color_id,client_id,"
                                       "is_online_mainPic from vumo_image where client_id='%1' order by color_id "
                                       "asc,index_id asc")
                            .arg(SqlText(clientId));
    if (!store->QueryImages(sql, rows)) {
        qDeleteAll(rows);
        reason = QStringLiteral("读取本地图片数据库失败");
        return false;
    }
    const bool work = isNew || std::any_of(rows.cbegin(), rows.cend(), [](const Row* row) {
                          return row->state() == ImgStateDeleted || row->state() == ImgStateNew
                              || MainChangedHere(*row);
                      });
    if (!work) {
        qDeleteAll(rows);
        return true;
    }

    QList<Online> online;
    bool ok = readOnline(vumoId, online, reason);

    if (ok && isNew) {
        // The add carried the listing's logo as the main picture of the listing's own set: the
        // row of that file takes the id the marketplace gave it instead of going up again.
        QVariant logo;
        const QString logoName = store->GetVumoField(clientId, QStringLiteral("logo"), logo)
            ? QFileInfo(logo.toString()).fileName()
            : QString();
        QSet<qint64> known;
        for (const Row* row : std::as_const(rows))
            known.insert(row->img_id());
        const auto onlineMain = std::find_if(online.cbegin(), online.cend(), [&known](const Online& o) {
            return o.colorId == 0 && o.isMain && !known.contains(o.imgId);
        });
        const auto logoRow = std::find_if(rows.cbegin(), rows.cend(), [&logoName](const Row* row) {
            return row->color_id() == 0 && row->state() == ImgStateNew && !logoName.isEmpty()
                && row->name() == logoName;
        });
        if (onlineMain != online.cend() && logoRow != rows.cend()) {
            Row& row = **logoRow;
            ok = writeSynced(row, onlineMain->imgId, row.is_main(), true, reason);
        }
    }

    QMap<qint64, QList<Row*>> sets;
    for (Row* row : std::as_const(rows))
        sets[row->color_id()].append(row);
    for (auto it = sets.cbegin(); ok && it != sets.cend(); ++it)
        ok = syncSet(vumoId, it.value(), online, reason);
    qDeleteAll(rows);
    return ok;
}

bool VumoImgSync::readOnline(qint64 vumoId, QList<Online>& online, QString& reason)
{
    request::PopVumoPropimgsSearch search;
    search.SetVumoId(vumoId);
    for (int page = 1;; ++page) {
        search.SetPage(page);
        if (!search.SyncRequest(m_otherMs)) {
            reason = ReasonOf(search.errorMessage, QStringLiteral("获取线上图片失败"));
            return false;
        }
        const QList<Row*> images = search.TakeImages();
        for (const Row* image : images)
            online.append({image->img_id(), image->color_id(), image->is_main()});
        qDeleteAll(images);
        if (search.IsFinished() || images.isEmpty())
            return true;
    }
}

bool VumoImgSync::syncSet(qint64 vumoId, const QList<Row*>& rows, const QList<Online>& online, QString& reason)
{
    const qint64 colorId = rows.first()->color_id();
    QHash<qint64, Online> onlineById;
    qint64 onlineMainId = 0;
    for (const Online& o : online) {
        onlineById.insert(o.imgId, o);
        if (o.colorId == colorId && o.isMain)
            onlineMainId = o.imgId;
    }
    const auto isOnline = [&](const Row* row) {
        return row->img_id() != 0 && onlineById.contains(row->img_id())
            && onlineById.value(row->img_id()).colorId == colorId;
    };

    QList<Row*> deleted;
    QList<Row*> sendable;
    for (Row* row : rows) {
        switch (row->state()) {
        case ImgStateDeleted:
            // Gone online already (or never there): only the row is left to remove.
            if (!isOnline(row)) {
                if (!dropRow(*row, false)) {
                    reason = QStringLiteral("图片删除失败");
                    return false;
                }
                continue;
            }
            deleted.append(row);
            break;
        case ImgStateNew:
            sendable.append(row);
            break;
        case ImgStateUnchanged:
            if (!isOnline(row)) {
                // Removed online behind our back: the seller's copy goes up again when there is
                // one; a row without its file cannot be shown or sent and goes.
                if (QFileInfo::exists(localFile(*row))) {
                    row->set_state(ImgStateNew);
                    sendable.append(row);
                } else {
                    qCWarning(lcVumo).noquote() << VUMO_SRC_POS
                            + QStringLiteral("client_Id=%1,color_id=%2,img_id=%3 picture gone online and locally")
                                  .arg(m_clientId)
                                  .arg(colorId)
                                  .arg(row->img_id());
                    if (!dropRow(*row, false)) {
                        reason = QStringLiteral("图片删除失败");
                        return false;
                    }
                }
                continue;
            }
            sendable.append(row);
            break;
        case ImgStatePicked:
        default:
            // Picked rows name a file outside the picture folder that the editor never copied:
            // nothing the marketplace could be given. They stay for the editor to settle.
            qCInfo(lcVumo).noquote() << VUMO_SRC_POS
                    + QStringLiteral("client_Id=%1,color_id=%2 picture %3 in state %4 not sent")
                          .arg(m_clientId)
                          .arg(colorId)
                          .arg(row->name())
                          .arg(row->state());
            break;
        }
    }

    Row* main = nullptr;
    for (Row* row : std::as_const(sendable)) {
        if (row->is_main()) {
            main = row;
            break;
        }
    }
    if (!main) {
        for (Row* row : std::as_const(sendable)) {
            if (row->state() == ImgStateUnchanged) {
                main = row;
                break;
            }
        }
    }
    if (!main && !sendable.isEmpty())
        main = sendable.first();

    // Deleting the online main first would leave the set without one; it goes last.
    for (const Row* row : std::as_const(deleted)) {
        if (row->img_id() != onlineMainId && !remove(vumoId, *row, false, reason))
            return false;
    }
    if (main) {
        if (main->state() == ImgStateNew) {
            if (!upload(vumoId, *main, true, reason))
                return false;
        } else if (main->img_id() != onlineMainId) {
            if (!setMain(vumoId, *main, reason))
                return false;
        }
    }
    for (Row* row : std::as_const(sendable)) {
        if (row != main && row->state() == ImgStateNew && !upload(vumoId, *row, false, reason))
            return false;
    }
    for (const Row* row : std::as_const(deleted)) {
        if (row->img_id() == onlineMainId && !remove(vumoId, *row, true, reason))
            return false;
    }
    // The local flags now tell what the marketplace holds.
    for (Row* row : std::as_const(sendable)) {
        const bool isMain = row == main;
        if ((row->is_main() != isMain || (row->is_online_mainPic() == 1) != isMain)
            && !writeSynced(*row, row->img_id(), isMain, isMain, reason))
            return false;
    }
    return true;
}

bool VumoImgSync::upload(qint64 vumoId, Row& row, bool isMain, QString& reason)
{
    const QString file = localFile(row);
    if (!QFileInfo::exists(file)) {
        reason = QStringLiteral("图片文件不存在：%1").arg(row.name());
        return false;
    }
    request::PopVumoPropimgAdd add;
    add.SetVumoId(vumoId);
    add.SetAttributeValueId(row.color_id());
    add.SetIsMainPic(isMain);
    if (!add.SyncPostFile(file, m_uploadMs)) {
        reason = ReasonOf(add.errorMessage, QStringLiteral("图片上传失败"));
        return false;
    }
    const QVariantMap answer = add.GetResponse().toMap();
    qint64 imgId = answer.value(QStringLiteral("image_id")).toLongLong();
    if (imgId <= 0)
        imgId = answer.value(QStringLiteral("img_id")).toLongLong();
    if (imgId <= 0) {
        reason = QStringLiteral("图片上传失败");
        return false;
    }
    noteModified(answer);
    return writeSynced(row, imgId, isMain, isMain, reason);
}

bool VumoImgSync::setMain(qint64 vumoId, Row& row, QString& reason)
{
    request::PopVumoPropimgUpdate update;
    update.SetVumoId(vumoId);
    update.SetAttributeValueId(row.color_id());
    update.SetIsMainPic(true);
    update.SetImageId(row.img_id());
    if (!update.SyncRequest(m_otherMs)) {
        reason = ReasonOf(update.errorMessage, QStringLiteral("设置主图失败"));
        return false;
    }
    noteModified(update.GetResponse());
    return writeSynced(row, row.img_id(), true, true, reason);
}

bool VumoImgSync::remove(qint64 vumoId, const Row& row, bool wasOnlineMain, QString& reason)
{
    request::PopVumoPropimgDelete del;
    del.SetVumoId(vumoId);
    del.SetAttributeValueId(row.color_id());
    del.SetImageId(row.img_id());
    if (!del.SyncRequest(m_otherMs)) {
        reason = del.errorMessage.isEmpty() ? QStringLiteral("图片删除失败")
                                            : QStringLiteral("图片删除失败：%1").arg(del.errorMessage);
        return false;
    }
    noteModified(del.GetResponse());
    if (!dropRow(row, wasOnlineMain)) {
        reason = QStringLiteral("图片删除失败");
        return false;
    }
    return true;
}

bool VumoImgSync::writeSynced(Row& row, qint64 imgId, bool isMain, bool onlineMain, QString& reason)
{
    // Keyed by the table's primary key (client, name, old id): file names and addresses are
    // outside text and may repeat across sets.
    const QString sql = QStringLiteral("update vumo_image set img_id=%1, state=0, is_main=%2, is_online_mainPic=%3 "
                                       "where client_id='%4' and name='%5' and img_id=%6 and color_id=%7")
                            // One call: a name holding "%6" must not take a later value.
                            .arg(QString::number(imgId), QString::number(isMain ? 1 : 0),
                                 QString::number(onlineMain ? 1 : 0), SqlText(m_clientId), SqlText(row.name()),
                                 QString::number(row.img_id()), QString::number(row.color_id()));
    if (!Store()->ExecSql(sql)) {
        reason = QStringLiteral("更新本地图片数据库失败");
        return false;
    }
    row.set_img_id(imgId);
    row.set_state(ImgStateUnchanged);
    row.set_is_main(isMain);
    row.set_is_online_mainPic(onlineMain ? 1 : 0);
    return true;
}

bool VumoImgSync::dropRow(const Row& row, bool wasOnlineMain)
{
    const QString sql = QStringLiteral(
                            "DELETE FROM vumo_image WHERE img_id=%1 and client_id='%2' and color_id=%3 and name='%4'")
                            .arg(QString::number(row.img_id()), SqlText(m_clientId),
                                 QString::number(row.color_id()), SqlText(row.name()));
    if (Store()->ExecSql(sql))
        return true;
    const QString text = wasOnlineMain ? QStringLiteral("client_Id=%1,color_id=%2,img_id=%3图片数据库删除主图失败")
                                       : QStringLiteral("client_Id=%1,color_id=%2,img_id=%3图片数据库删除失败");
    qCWarning(lcVumo).noquote() << text.arg(m_clientId).arg(row.color_id()).arg(row.img_id());
    return false;
}

void VumoImgSync::noteModified(const QVariant& answer)
{
    const QDateTime modified = entity::ParseDateTime(answer.toMap().value(QStringLiteral("modified")));
    if (modified.isValid())
        m_onlineModified = modified;
}

QString VumoImgSync::localFile(const Row& row) const
{
    if (row.name().isEmpty())
        return QString();
    return IsPictureFolderName(row.name()) ? QDir(m_folder).filePath(row.name()) : row.name();
}

} // namespace Quorvia::vumo
