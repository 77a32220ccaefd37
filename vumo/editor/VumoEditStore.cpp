#include "editor/VumoEditStore.h"

#include "database/VumoDbInterface.h"
#include "editor/VumoBasisRules.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "sync/VumoImageFetch.h"
#include "utils/Log.h"

#include <QDir>
#include <QFile>

namespace Quorvia::vumo::editor {

int RemoveUnusedPictureFiles(database::VumoDbInterface& store, const QString& pictureFolder, const QStringList& names)
{
    if (pictureFolder.isEmpty())
        return 0;
    const QDir folder(pictureFolder);
    int removed = 0;
    QStringList seen;
    for (const QString& name : names) {
        if (name.isEmpty() || seen.contains(name) || !IsPictureFolderName(name) || name.contains(QLatin1Char('/'))
            || name.contains(QLatin1Char('\\')) || name == QLatin1String("..") || name == QLatin1String("."))
            continue;
        seen << name;
        qint64 uses = 0;
        // A failed count keeps the file: better an unused file than a listing without its picture.
        if (!store.CountPictureUses(name, uses) || uses > 0 || !folder.exists(name))
            continue;
        if (QFile::remove(folder.filePath(name)))
            ++removed;
        else
            qCWarning(lcVumo).noquote() << QStringLiteral("图片删除失败") << folder.filePath(name);
    }
    return removed;
}

bool SaveEditedVumo(database::VumoDbInterface& store, entity::VumoDataEntity& record, const VumoEditSave& save,
                    const QString& pictureFolder, QString* checkMessage)
{
    if (!store.SaveVumo(record, checkMessage, save.removedSkuIds)) {
        RemoveUnusedPictureFiles(store, pictureFolder, save.copiedFiles);
        return false;
    }
    RemoveUnusedPictureFiles(store, pictureFolder, save.releasedFiles);
    return true;
}

void MakeVumoCopy(entity::VumoDataEntity& record, const QString& newClientId)
{
    record.set_client_id(newClientId);
    record.set_vumo_id(0);
    record.set_spu_id(0);
    record.set_error_msg(QString());
    // The copy's main picture is the local copy of the source's online one.
    if (IsAddress(record.logo()))
        record.set_logo(PictureNameFromUrl(FullSizePictureUrl(record.logo())));
    for (entity::VumoSkuEntity* sku : record.Skus()) {
        if (!sku)
            continue;
        sku->set_sku_id(0);
        sku->set_vumo_id(0);
        sku->set_client_id(newClientId);
    }
    for (auto& set : record.Images()) {
        QList<entity::VumoImgEntity*> kept;
        for (entity::VumoImgEntity* image : std::as_const(set)) {
            // Deleted pictures exist only for the source's upload; pictures never fetched have
            // no file to copy.
            if (!image || image->state() == entity::ImgStateDeleted || image->name().isEmpty()) {
                delete image;
                continue;
            }
            image->set_client_id(newClientId);
            image->set_state(entity::ImgStateNew);
            image->set_img_id(0);
            image->set_img_url(QString());
            image->set_is_online_mainPic(0);
            kept << image;
        }
        set = kept;
    }
}

} // namespace Quorvia::vumo::editor
