#pragma once
// The picture sets of one listing as the picture page edits them: set 0 holds the listing's own
// pictures, every other set belongs to one colour (its vid). No widgets: the page and its strip
// only show what this model says and call it.
#include "editor/VumoEditSave.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo::editor {

inline constexpr int kMaxPicturesPerSet = 6;

// One picture row of a set. `name` is a file name in the picture folder; a picked picture
// (state 3) has no name yet, only the file on the seller's disk.
struct PagePicture
{
    qint64 imgId = 0;
    QString name;
    QString sourcePath; // state 3 only
    QString imgUrl;
    bool isMain = false;
    int state = 0;
    qint64 indexId = 0;
    int isOnlineMainPic = 0;

    bool Visible() const;
};

// Hints of the page, in the page's own words.
QString SetFullHint();              // "已经6张图片了哈，不能再添加了~~"
QString TooManyHint(int freeCount); // "图片太多了，最多再能添加%1张了"
QString MainNotDeletableHint();     // "主图是不能删除的！~~"
// The hint for a picked file that failed the checks; empty when it passed.
QString PickedFileHint(const QString& path);

// What a choice of files from the disk comes to for one set.
struct PickOutcome
{
    QStringList accepted; // in the order chosen
    QStringList hints;    // each distinct hint once, in order
};

class PictureSets
{
public:
    // Copies the record's rows; the record keeps its own.
    void Load(const entity::VumoDataEntity& record);
    void Clear();

    QList<qint64> SetIds() const { return m_sets.keys(); }
    // The rows the strip shows (state other than 1), in strip order.
    QList<PagePicture> Visible(qint64 colorId) const;
    // Every row of the set, deleted ones included.
    QList<PagePicture> Rows(qint64 colorId) const { return m_sets.value(colorId); }
    int Count(qint64 colorId) const;
    int FreeCount(qint64 colorId) const;
    // Strip row of the main picture; -1 when the set shows none.
    int MainRow(qint64 colorId) const;

    // The salt of the file names of a set: pictures of different sets never share a name, since
    // the store keys a listing's picture rows by name and marketplace id only.
    static QString Salt(const QString& uid, qint64 colorId);

    // Checks files chosen for a set (the count first, then each file); adds nothing.
    PickOutcome CheckPicked(qint64 colorId, const QStringList& paths) const;
    // Appends the files as picked rows (state 3); a file already in the set is left out. The
    // first picture of a set without a main picture becomes the main one. Gives the rows added.
    int AddPicked(qint64 colorId, const QStringList& paths, const QString& uid);
    // Deletes strip row `row`: the main picture stays (false, `hint` set); a row that never
    // reached the marketplace is dropped, any other turns to state 1 and stays for the upload.
    bool Delete(qint64 colorId, int row, QString* hint = nullptr);
    // Makes strip row `row` the main picture; false when invalid or already the main one.
    bool SetMain(qint64 colorId, int row);

    // Colours ticked on the SKU page; a set whose colour was ticked and is no longer counts as
    // removed with its colour (see Store). isInit starts over for a newly loaded listing.
    void SetTickedColors(const QList<qint64>& vids, bool isInit);
    QSet<qint64> RemovedColors() const { return m_removed; }

    // The save: writes every set into the record's Images() and the files to release into
    // `save`, copying picked files into `folder`. Each distinct message once in `errors`.
    // The model itself is left as it is, so a save the editor does not commit can run again.
    // Returns true when nothing failed.
    bool Store(entity::VumoDataEntity& record, const QString& folder, const QString& uid, QStringList& errors,
               VumoEditSave& save) const;

    // Local file of a row: the picked file, or the file in `folder`; empty without a file.
    static QString DisplayPath(const PagePicture& picture, const QString& folder);

    // Rows whose local file is missing but whose marketplace address is known get the file
    // through `fetch` (gives the local name, empty on failure). True when a name changed.
    bool FetchMissing(const QString& folder, const std::function<QString(const QString& url)>& fetch);

private:
    QList<PagePicture>* set(qint64 colorId);
    // Index into the set's rows of visible row `row`; -1 when out of range.
    int rowIndex(qint64 colorId, int row) const;

    QMap<qint64, QList<PagePicture>> m_sets;
    // Folder files of rows dropped since the load (state 2), and picked files dropped (their
    // folder name is only known from the file).
    QStringList m_droppedNames;
    QList<QPair<qint64, QString>> m_droppedPicks;
    QSet<qint64> m_seenColors;
    QSet<qint64> m_removed;
};

} // namespace Quorvia::vumo::editor
