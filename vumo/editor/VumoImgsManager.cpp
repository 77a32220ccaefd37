#include "editor/VumoImgsManager.h"

#include "editor/ImagePageRules.h"
#include "sync/VumoImageFetch.h"
#include "utils/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QUrl>

namespace Quorvia::vumo {

namespace {

constexpr int kTipMsec = 3000;

// Connects a signal the strip declares in QML to a slot of ours by signature.
void ConnectStrip(QObject* strip, const char* signal, QObject* receiver, const char* slot)
{
    const QMetaObject* from = strip->metaObject();
    const QMetaObject* to = receiver->metaObject();
    const int s = from->indexOfSignal(QMetaObject::normalizedSignature(signal).constData());
    const int r = to->indexOfSlot(QMetaObject::normalizedSignature(slot).constData());
    if (s < 0 || r < 0 || !QObject::connect(strip, from->method(s), receiver, to->method(r)))
        qCWarning(lcVumo).noquote() << QStringLiteral("图片列表信号连接失败") << signal;
}

} // namespace

VumoImgsManager::VumoImgsManager(editor::PictureSets* sets, const QString& folder, QObject* parent)
    : QObject(parent)
    , m_sets(sets)
    , m_folder(folder)
{
}

VumoImgsManager::~VumoImgsManager() = default;

void VumoImgsManager::SetStrip(QObject* root)
{
    m_strip = root;
    if (!root)
        return;
    ConnectStrip(root, "signalSetMainBtnClicked(int)", this, "OnSetMainBtnClicked(int)");
    ConnectStrip(root, "signalDeleteBtnClicked(int)", this, "OnDelBtnClicked(int)");
}

QVariant VumoImgsManager::invoke(const char* method, const QVariant& a, const QVariant& b) const
{
    QVariant result;
    if (!m_strip)
        return result;
    bool ok = false;
    if (!a.isValid())
        ok = QMetaObject::invokeMethod(m_strip, method, Q_RETURN_ARG(QVariant, result));
    else if (!b.isValid())
        ok = QMetaObject::invokeMethod(m_strip, method, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a));
    else
        ok = QMetaObject::invokeMethod(m_strip, method, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a),
                                       Q_ARG(QVariant, b));
    if (!ok)
        qCWarning(lcVumo).noquote() << QStringLiteral("图片列表调用失败") << method;
    return result;
}

void VumoImgsManager::addToStrip(const QString& path, bool isMain)
{
    // A picture without a file keeps its tile (empty), so strip rows and set rows stay aligned.
    const QString url = path.isEmpty() || !QFileInfo::exists(path) ? QString() : QUrl::fromLocalFile(path).toString();
    invoke("addImage", url, isMain);
}

void VumoImgsManager::ShowImages(qint64 colorId)
{
    m_colorId = colorId;
    m_logoShown = false;
    invoke("clearImage");
    const QList<editor::PagePicture> visible = m_sets->Visible(colorId);
    for (const editor::PagePicture& p : visible)
        addToStrip(editor::PictureSets::DisplayPath(p, m_folder), p.isMain);
    if (visible.isEmpty() && colorId == 0) {
        const QString logo = LogoDisplayPath();
        if (!logo.isEmpty()) {
            addToStrip(logo, true);
            m_logoShown = true;
        }
    }
}

void VumoImgsManager::SetLogoPath(const QString& path)
{
    m_logoPath = path;
    if (m_colorId == 0 && m_sets->Count(0) == 0)
        ShowImages(0);
}

QString VumoImgsManager::LogoDisplayPath() const
{
    if (m_logoPath.isEmpty())
        return QString();
    if (m_logoPath.contains(QLatin1String("http"))) {
        const QString name = PictureNameFromUrl(FullSizePictureUrl(m_logoPath));
        return name.isEmpty() || m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(name);
    }
    if (IsPictureFolderName(m_logoPath))
        return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(m_logoPath);
    return m_logoPath;
}

int VumoImgsManager::AddPicked(const QStringList& paths, const QString& uid)
{
    const int before = int(m_sets->Rows(m_colorId).size());
    const int added = m_sets->AddPicked(m_colorId, paths, uid);
    if (added == 0)
        return 0;
    if (m_logoShown) {
        ShowImages(m_colorId);
        return added;
    }
    const QList<editor::PagePicture> rows = m_sets->Rows(m_colorId);
    for (int i = before; i < rows.size(); ++i)
        addToStrip(editor::PictureSets::DisplayPath(rows.at(i), m_folder), rows.at(i).isMain);
    return added;
}

int VumoImgsManager::StripRowCount() const
{
    return invoke("rowCount").toInt();
}

bool VumoImgsManager::validRow(int row) const
{
    return row >= 0 && row < StripRowCount();
}

bool VumoImgsManager::DeleteRow(int row)
{
    if (!validRow(row) || m_logoShown)
        return false;
    QString hint;
    if (!m_sets->Delete(m_colorId, row, &hint)) {
        if (!hint.isEmpty())
            emit TipMessage(hint, kTipMsec);
        return false;
    }
    invoke("deleteImage", row);
    emit DeleteImgSignal();
    return true;
}

void VumoImgsManager::OnDelBtnClicked(int row)
{
    if (!validRow(row))
        return;
    // The main picture (and the basic page's picture standing in for it) cannot go.
    if (m_logoShown || m_sets->MainRow(m_colorId) == row) {
        emit TipMessage(editor::MainNotDeletableHint(), kTipMsec);
        return;
    }
    emit DelBtnClicked(row);
}

void VumoImgsManager::OnSetMainBtnClicked(int row)
{
    if (!validRow(row) || m_logoShown || !m_sets->SetMain(m_colorId, row))
        return;
    invoke("setMainImage", row);
    emit MainImgChangedSignal();
}

} // namespace Quorvia::vumo
