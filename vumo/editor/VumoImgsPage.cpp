#include "editor/VumoImgsPage.h"

#include "editor/VumoImgsManager.h"
#include "entity/VumoDataEntity.h"
#include "sync/VumoImageFetch.h"
#include "ui/MsgBox.h"
#include "utils/Log.h"
#include "utils/VumoIni.h"

#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

// The resources live in a static library: make sure the strip's QML is linked in and registered.
static void VumoImgsInitResources()
{
    Q_INIT_RESOURCE(vumo);
}

namespace Quorvia::vumo {

namespace {

constexpr int kTipMsec = 3000;
constexpr int kFetchMsec = 30000;

QString UploadRequirements()
{
    return QStringLiteral("上传要求：<br>1.单张图片大小不超过1.0M<br>2.图片尺寸固定为800*800px <br>"
                          "3.最多可上传6张图片 <br>4.图片质量要清晰，不能虚化，要保证亮度充足 <br>"
                          "建议：<br>1.主图为白色背景正面图 <br>2.排序依次为正面图-&gt;背面图-&gt;侧面图-&gt;细节图 ");
}

} // namespace

VumoImgsPage::VumoImgsPage(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
{
    VumoImgsInitResources();
    m_manager = new VumoImgsManager(&m_sets, m_context.ImageFolder(), this);
    buildUi();
    connect(m_manager, &VumoImgsManager::TipMessage, this, &VumoImgsPage::ShowMessage);
    // Queued: the question runs its own event loop, which must not start inside the strip's
    // click handler (the strip changes under it).
    connect(m_manager, &VumoImgsManager::DelBtnClicked, this, &VumoImgsPage::OnDelImgBtnClicked, Qt::QueuedConnection);
    connect(m_manager, &VumoImgsManager::MainImgChangedSignal, this, [this] {
        markChanged();
        emit MainImgChangedSignal();
    });
    rebuildColorCombo();
}

VumoImgsPage::~VumoImgsPage() = default;

void VumoImgsPage::buildUi()
{
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("选择颜色："), this));
    m_SKUColorCombo = new QComboBox(this);
    m_SKUColorCombo->setObjectName(QStringLiteral("m_SKUColorCombo"));
    m_SKUColorCombo->setMinimumWidth(140);
    top->addWidget(m_SKUColorCombo);
    m_SelectImgBtn = new QPushButton(QStringLiteral("本地选图"), this);
    m_SelectImgBtn->setObjectName(QStringLiteral("m_SelectImgBtn"));
    top->addWidget(m_SelectImgBtn);
    m_TipMessage = new QLabel(this);
    m_TipMessage->setObjectName(QStringLiteral("m_TipMessage"));
    m_TipMessage->setStyleSheet(QStringLiteral("QLabel{color:#FF0000;}"));
    m_TipMessage->setWordWrap(true);
    top->addWidget(m_TipMessage, 1);

    m_pQmlView = new QQuickWidget(this);
    m_pQmlView->setObjectName(QStringLiteral("m_pQmlView"));
    m_pQmlView->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_pQmlView->setMinimumHeight(130);
    m_pQmlView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_pQmlView->setSource(QUrl(QStringLiteral("qrc:/qml/VumoImgsList.qml")));
    if (m_pQmlView->status() != QQuickWidget::Ready)
        qCWarning(lcVumo).noquote() << QStringLiteral("加载VumoImgsList.qml失败") << m_pQmlView->errors();
    m_manager->SetStrip(m_pQmlView->rootObject());

    auto* requirements = new QLabel(this);
    requirements->setTextFormat(Qt::RichText);
    requirements->setText(UploadRequirements());
    requirements->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The requirements sit beside the strip: the embedded editor is short, not narrow.
    auto* body = new QHBoxLayout;
    body->addWidget(m_pQmlView, 1);
    body->addWidget(requirements);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    m_tipTimer = new QTimer(this);
    m_tipTimer->setSingleShot(true);
    connect(m_tipTimer, &QTimer::timeout, this, &VumoImgsPage::ClearMessage);
    connect(m_SelectImgBtn, &QPushButton::clicked, this, &VumoImgsPage::OnSelectImg);
    connect(m_SKUColorCombo, qOverload<int>(&QComboBox::currentIndexChanged), this, &VumoImgsPage::OnCurIndexChanged);
}

void VumoImgsPage::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
    m_changed = false;
    m_sets.Clear();
    ClearMessage();
    if (!vumo) {
        m_manager->SetLogoPath(QString());
        rebuildColorCombo();
        return;
    }
    m_sets.Load(*vumo);
    // Colours may have come from the SKU page before this load.
    QList<qint64> vids;
    for (const SKU_ATT_VALUE_TYPE& c : m_colors)
        vids << c.vid;
    m_sets.SetTickedColors(vids, true);

    const QString folder = m_context.ImageFolder();
    // Pictures the marketplace has but the folder lacks (a download that failed earlier).
    const bool fetched = m_sets.FetchMissing(folder, [&folder](const QString& url) {
        QString name;
        return FetchPicture(url, folder, kFetchMsec, &name) ? name : QString();
    });
    // New names must reach the store with the next save.
    if (fetched)
        m_changed = true;

    const QString logo = vumo->logo();
    m_manager->SetLogoPath(logo);
    const QString logoPath = m_manager->LogoDisplayPath();
    if (!logo.isEmpty() && (logoPath.isEmpty() || !QFileInfo::exists(logoPath)))
        qCInfo(lcVumo).noquote() << QStringLiteral("client_id=%1的商品的logo图片本地不存在").arg(vumo->client_id());
    rebuildColorCombo();
}

bool VumoImgsPage::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    if (!m_vumo || !m_changed)
        return true;
    return m_sets.Store(*m_vumo, m_context.ImageFolder(), m_context.uid, errors, save);
}

void VumoImgsPage::SetColors(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit)
{
    m_colors = colorValue;
    QList<qint64> vids;
    for (const SKU_ATT_VALUE_TYPE& c : colorValue)
        vids << c.vid;
    m_sets.SetTickedColors(vids, isInit);
    // A set left behind by an unticked colour changes what the save writes.
    for (qint64 removed : m_sets.RemovedColors()) {
        if (!m_sets.Rows(removed).isEmpty())
            m_changed = true;
    }
    rebuildColorCombo();
}

void VumoImgsPage::SetLogoPath(QString logoPath)
{
    m_manager->SetLogoPath(logoPath);
}

void VumoImgsPage::rebuildColorCombo()
{
    {
        const QSignalBlocker blocker(m_SKUColorCombo);
        m_SKUColorCombo->clear();
        m_SKUColorCombo->addItem(QStringLiteral("请选择"), QVariant::fromValue<qint64>(0));
        for (const SKU_ATT_VALUE_TYPE& c : m_colors) {
            const QColor colour(c.colour);
            if (!c.colour.isEmpty() && colour.isValid()) {
                QPixmap swatch(14, 14);
                swatch.fill(colour);
                m_SKUColorCombo->addItem(QIcon(swatch), c.DisplayText(), QVariant::fromValue<qint64>(c.vid));
            } else {
                m_SKUColorCombo->addItem(c.DisplayText(), QVariant::fromValue<qint64>(c.vid));
            }
        }
        m_SKUColorCombo->setCurrentIndex(0);
    }
    OnCurIndexChanged(0);
}

void VumoImgsPage::OnCurIndexChanged(int index)
{
    const qint64 colorId = index < 0 ? 0 : m_SKUColorCombo->itemData(index).toLongLong();
    m_manager->ShowImages(colorId);
}

void VumoImgsPage::OnSelectImg()
{
    const qint64 colorId = m_manager->CurrentColor();
    if (m_sets.FreeCount(colorId) == 0) {
        ShowMessage(editor::SetFullHint(), kTipMsec);
        return;
    }
    const QStringList files = QFileDialog::getOpenFileNames(this, QStringLiteral("打开"),
                                                            utils::VumoIni::UserImagePath(m_context.uid),
                                                            QStringLiteral("Image Files(*.jpg *.png)"));
    if (files.isEmpty())
        return;
    utils::VumoIni::SetUserImagePath(m_context.uid, QFileInfo(files.first()).absolutePath());
    AddPickedFiles(files);
}

int VumoImgsPage::AddPickedFiles(const QStringList& paths)
{
    const editor::PickOutcome outcome = m_sets.CheckPicked(m_manager->CurrentColor(), paths);
    if (!outcome.hints.isEmpty())
        ShowMessage(outcome.hints.join(QLatin1Char('\n')), kTipMsec);
    const int added = outcome.accepted.isEmpty() ? 0 : m_manager->AddPicked(outcome.accepted, m_context.uid);
    if (added > 0)
        markChanged();
    return added;
}

void VumoImgsPage::OnDelImgBtnClicked(int row)
{
    const int answer = core::ui::ShowMsgBox(this, QStringLiteral("请确认是否删除？"), core::ui::MsgBox::Question,
                                            QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_manager->DeleteRow(row))
        return;
    markChanged();
    emit DeleteImgSignal();
}

void VumoImgsPage::ShowMessage(const QString& text, int msec)
{
    m_TipMessage->setText(text);
    m_tipTimer->start(msec > 0 ? msec : kTipMsec);
}

void VumoImgsPage::ClearMessage()
{
    m_tipTimer->stop();
    m_TipMessage->clear();
}

void VumoImgsPage::markChanged()
{
    m_changed = true;
    emit VumoChangedSignal();
}

} // namespace Quorvia::vumo
