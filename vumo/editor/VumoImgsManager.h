#pragma once
// Drives the declarative picture strip ("VumoImgsList.qml") for one set of a listing's pictures:
// fills it from the page's picture sets and turns its buttons into changes of those sets.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Quorvia::vumo::editor {
class PictureSets;
}

namespace Quorvia::vumo {

class VumoImgsManager final : public QObject
{
    Q_OBJECT
public:
    // `sets` belongs to the caller and outlives the manager; `folder` is the picture folder.
    VumoImgsManager(editor::PictureSets* sets, const QString& folder, QObject* parent = nullptr);
    ~VumoImgsManager() override;

    // The strip's root object; its two button signals are connected here.
    void SetStrip(QObject* root);
    QObject* Strip() const { return m_strip; }

    // Shows set `colorId` (0: the listing's own pictures).
    void ShowImages(qint64 colorId);
    qint64 CurrentColor() const { return m_colorId; }
    // The main picture of the basic page (a path, a folder name or an address): set 0 shows it
    // as its main picture while it has no picture of its own.
    void SetLogoPath(const QString& path);
    QString LogoDisplayPath() const;

    // Adds checked files to the shown set and the strip; gives how many were added.
    int AddPicked(const QStringList& paths, const QString& uid);
    // Deletes strip row `row` of the shown set (after the seller confirmed).
    bool DeleteRow(int row);
    int StripRowCount() const;

signals:
    void TipMessage(QString text, int msec);
    void MainImgChangedSignal();
    void DelBtnClicked(int row);
    void DeleteImgSignal();

public slots:
    void OnSetMainBtnClicked(int row);
    void OnDelBtnClicked(int row);

private:
    QVariant invoke(const char* method, const QVariant& a = QVariant(), const QVariant& b = QVariant()) const;
    void addToStrip(const QString& path, bool isMain);
    bool validRow(int row) const;

    editor::PictureSets* m_sets;
    QString m_folder;
    QPointer<QObject> m_strip;
    qint64 m_colorId = 0;
    QString m_logoPath;
    // The strip shows the basic page's main picture in place of an empty set 0.
    bool m_logoShown = false;
};

} // namespace Quorvia::vumo
