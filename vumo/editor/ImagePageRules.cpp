#include "editor/ImagePageRules.h"

#include "editor/PictureFiles.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "sync/VumoImageFetch.h"
#include "utils/Log.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace Quorvia::vumo::editor {

using entity::ImgStateDeleted;
using entity::ImgStateNew;
using entity::ImgStatePicked;
using entity::ImgStateUnchanged;

bool PagePicture::Visible() const
{
    return state != ImgStateDeleted;
}

QString SetFullHint()
{
    return QStringLiteral("已经%1张图片了哈，不能再添加了~~").arg(kMaxPicturesPerSet);
}

QString TooManyHint(int freeCount)
{
    return QStringLiteral("图片太多了，最多再能添加%1张了").arg(freeCount);
}

QString MainNotDeletableHint()
{
    return QStringLiteral("主图是不能删除的！~~");
}

QString PickedFileHint(const QString& path)
{
    switch (CheckPictureFile(path, true)) {
    case PictureCheck::Ok:
        return QString();
    case PictureCheck::TooLarge:
        return QStringLiteral("有一张图片太大了哈,请选择大小不超过%1M的图片！~~").arg(kPictureMaxBytes / 1048576);
    case PictureCheck::WrongSize:
        return QStringLiteral("图片不是800px*800px的，请选择尺寸为800px*800px的图片！~~");
    case PictureCheck::Missing:
        // Gone between the dialog and the check: as unusable as a broken file.
        qCWarning(lcVumo).noquote() << path
                                    << QStringLiteral(" \n该目录下没有相应文件,请检查该文件是否已经被移动或删除！\n");
        return QStringLiteral("图片文件不合法，请重新选择图片！");
    case PictureCheck::NotImage:
        break;
    }
    return QStringLiteral("图片文件不合法，请重新选择图片！");
}

void PictureSets::Load(const entity::VumoDataEntity& record)
{
    Clear();
    const auto& groups = record.Images();
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        QList<PagePicture>& rows = m_sets[it.key()];
        for (const entity::VumoImgEntity* image : it.value()) {
            if (!image)
                continue;
            PagePicture p;
            p.imgId = image->img_id();
            p.name = image->name();
            p.imgUrl = image->img_url();
            p.isMain = image->is_main();
            p.state = image->state();
            p.indexId = image->index_id();
            p.isOnlineMainPic = image->is_online_mainPic();
            // A picked row handed in names either a file on the disk (still to be copied) or one
            // already in the folder (then it is simply new).
            if (p.state == ImgStatePicked) {
                if (IsPictureFolderName(p.name))
                    p.state = ImgStateNew;
                else
                    std::swap(p.sourcePath, p.name);
            }
            rows.append(p);
        }
        // The store hands sets in index order; keep deleted rows where they were.
        std::stable_sort(rows.begin(), rows.end(),
                         [](const PagePicture& a, const PagePicture& b) { return a.indexId < b.indexId; });
    }
}

void PictureSets::Clear()
{
    m_sets.clear();
    m_droppedNames.clear();
    m_droppedPicks.clear();
    m_removed.clear();
}

QList<PagePicture> PictureSets::Visible(qint64 colorId) const
{
    QList<PagePicture> visible;
    for (const PagePicture& p : m_sets.value(colorId)) {
        if (p.Visible())
            visible.append(p);
    }
    return visible;
}

int PictureSets::Count(qint64 colorId) const
{
    return int(Visible(colorId).size());
}

int PictureSets::FreeCount(qint64 colorId) const
{
    return qMax(0, kMaxPicturesPerSet - Count(colorId));
}

int PictureSets::MainRow(qint64 colorId) const
{
    const QList<PagePicture> visible = Visible(colorId);
    for (int i = 0; i < visible.size(); ++i) {
        if (visible.at(i).isMain)
            return i;
    }
    return -1;
}

QString PictureSets::Salt(const QString& uid, qint64 colorId)
{
    return colorId == 0 ? uid : QStringLiteral("%1_%2").arg(uid).arg(colorId);
}

PickOutcome PictureSets::CheckPicked(qint64 colorId, const QStringList& paths) const
{
    PickOutcome outcome;
    const int free = FreeCount(colorId);
    if (free == 0) {
        outcome.hints << SetFullHint();
        return outcome;
    }
    if (paths.size() > free) {
        outcome.hints << TooManyHint(free);
        return outcome;
    }
    for (const QString& path : paths) {
        const QString hint = PickedFileHint(path);
        if (hint.isEmpty())
            outcome.accepted << path;
        else if (!outcome.hints.contains(hint))
            outcome.hints << hint;
    }
    return outcome;
}

QList<PagePicture>* PictureSets::set(qint64 colorId)
{
    return &m_sets[colorId];
}

int PictureSets::rowIndex(qint64 colorId, int row) const
{
    if (row < 0)
        return -1;
    const QList<PagePicture> rows = m_sets.value(colorId);
    int seen = 0;
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows.at(i).Visible())
            continue;
        if (seen == row)
            return i;
        ++seen;
    }
    return -1;
}

int PictureSets::AddPicked(qint64 colorId, const QStringList& paths, const QString& uid)
{
    const QString salt = Salt(uid, colorId);
    // Names of the set's pictures: the same file twice in one set would be one row in the store.
    QSet<QString> names;
    for (const PagePicture& p : Visible(colorId))
        names.insert(p.state == ImgStatePicked ? PictureFolderName(p.sourcePath, salt) : p.name);
    QList<PagePicture>& rows = *set(colorId);
    bool hasMain = MainRow(colorId) >= 0;
    int added = 0;
    for (const QString& path : paths) {
        if (Count(colorId) >= kMaxPicturesPerSet)
            break;
        const QString name = PictureFolderName(path, salt);
        if (name.isEmpty() || names.contains(name)) {
            qCInfo(lcVumo).noquote() << QStringLiteral("图片已在当前图片组中") << path;
            continue;
        }
        names.insert(name);
        PagePicture p;
        p.sourcePath = QFileInfo(path).absoluteFilePath();
        p.state = ImgStatePicked;
        p.isMain = !hasMain;
        hasMain = true;
        rows.append(p);
        ++added;
    }
    return added;
}

bool PictureSets::Delete(qint64 colorId, int row, QString* hint)
{
    const int i = rowIndex(colorId, row);
    if (i < 0)
        return false;
    QList<PagePicture>& rows = *set(colorId);
    PagePicture& p = rows[i];
    if (p.isMain) {
        if (hint)
            *hint = MainNotDeletableHint();
        return false;
    }
    if (p.state == ImgStatePicked) {
        // Never in the folder unless an earlier save copied it: only that copy may go.
        m_droppedPicks.append({colorId, p.sourcePath});
        rows.removeAt(i);
    } else if (p.state == ImgStateNew) {
        if (!p.name.isEmpty())
            m_droppedNames.append(p.name);
        rows.removeAt(i);
    } else {
        p.state = ImgStateDeleted;
    }
    return true;
}

bool PictureSets::SetMain(qint64 colorId, int row)
{
    const int i = rowIndex(colorId, row);
    if (i < 0 || m_sets[colorId].at(i).isMain)
        return false;
    QList<PagePicture>& rows = *set(colorId);
    for (PagePicture& p : rows) {
        // A deleted row keeps its flag: the upload needs to know it was the main one.
        if (p.Visible())
            p.isMain = false;
    }
    rows[i].isMain = true;
    return true;
}

void PictureSets::SetTickedColors(const QList<qint64>& vids, bool isInit)
{
    const QSet<qint64> ticked(vids.cbegin(), vids.cend());
    if (isInit)
        m_seenColors = ticked;
    else
        m_seenColors.unite(ticked);
    m_removed = m_seenColors - ticked;
    m_removed.remove(0);
}

QString PictureSets::DisplayPath(const PagePicture& picture, const QString& folder)
{
    if (picture.state == ImgStatePicked)
        return picture.sourcePath;
    if (picture.name.isEmpty() || folder.isEmpty())
        return QString();
    return IsPictureFolderName(picture.name) ? QDir(folder).filePath(picture.name) : picture.name;
}

bool PictureSets::FetchMissing(const QString& folder, const std::function<QString(const QString&)>& fetch)
{
    if (!fetch || folder.isEmpty())
        return false;
    bool changed = false;
    for (QList<PagePicture>& rows : m_sets) {
        for (PagePicture& p : rows) {
            if (!p.Visible() || p.state == ImgStatePicked || !p.imgUrl.contains(QLatin1String("http")))
                continue;
            if (!p.name.isEmpty() && QFileInfo::exists(DisplayPath(p, folder)))
                continue;
            const QString name = fetch(p.imgUrl);
            if (!name.isEmpty() && name != p.name) {
                p.name = name;
                changed = true;
            }
        }
    }
    return changed;
}

namespace {

void AddOnce(QStringList& list, const QString& text)
{
    if (!text.isEmpty() && !list.contains(text))
        list.append(text);
}

// Only names inside the picture folder are ever released, never a file elsewhere.
void Release(VumoEditSave& save, const QString& name)
{
    if (IsPictureFolderName(name))
        AddOnce(save.releasedFiles, name);
}

entity::VumoImgEntity* ToEntity(const PagePicture& p, const QString& clientId, qint64 colorId)
{
    auto* image = new entity::VumoImgEntity;
    image->set_img_id(p.imgId);
    image->set_name(p.name);
    image->set_img_url(p.imgUrl);
    image->set_is_main(p.isMain);
    image->set_state(p.state);
    image->set_index_id(p.indexId);
    image->set_client_id(clientId);
    image->set_color_id(colorId);
    image->set_is_online_mainPic(p.isOnlineMainPic);
    return image;
}

} // namespace

bool PictureSets::Store(entity::VumoDataEntity& record, const QString& folder, const QString& uid, QStringList& errors,
                        VumoEditSave& save) const
{
    bool ok = true;
    for (const QString& name : m_droppedNames)
        Release(save, name);
    for (const auto& [colorId, path] : m_droppedPicks) {
        const QString name = PictureFolderName(path, Salt(uid, colorId));
        if (!folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(name)))
            Release(save, name);
    }

    auto& groups = record.Images();
    for (auto it = m_sets.cbegin(); it != m_sets.cend(); ++it) {
        const qint64 colorId = it.key();
        const bool colourGone = m_removed.contains(colorId);
        QList<PagePicture> kept;
        qint64 index = 0;
        for (PagePicture p : it.value()) {
            if (colourGone && p.state != ImgStateDeleted) {
                // The colour left the listing: its pictures go as if deleted one by one.
                if (p.state == ImgStateUnchanged) {
                    p.state = ImgStateDeleted;
                } else {
                    if (p.state == ImgStateNew)
                        Release(save, p.name);
                    continue;
                }
            }
            switch (p.state) {
            case ImgStateDeleted:
                Release(save, p.name);
                if (p.imgId == 0)
                    continue;
                break;
            case ImgStatePicked: {
                bool copied = false;
                const QString name = CopyIntoPictureFolder(p.sourcePath, folder, Salt(uid, colorId), &copied);
                if (name.isEmpty()) {
                    AddOnce(errors, QStringLiteral("部分图片保存失败"));
                    ok = false;
                    continue;
                }
                if (copied)
                    AddOnce(save.copiedFiles, name);
                p.name = name;
                p.sourcePath.clear();
                p.state = ImgStateNew;
                p.indexId = index++;
                break;
            }
            default:
                p.indexId = index++;
                break;
            }
            kept.append(p);
        }
        // A set that lost its main picture to a failed copy takes its first picture instead.
        const bool hasMain = std::any_of(kept.cbegin(), kept.cend(),
                                         [](const PagePicture& p) { return p.Visible() && p.isMain; });
        if (!hasMain) {
            for (PagePicture& p : kept) {
                if (p.Visible()) {
                    p.isMain = true;
                    break;
                }
            }
        }
        QList<entity::VumoImgEntity*>& group = groups[colorId];
        qDeleteAll(group);
        group.clear();
        for (const PagePicture& p : kept)
            group.append(ToEntity(p, record.client_id(), colorId));
    }
    return ok;
}

} // namespace Quorvia::vumo::editor
