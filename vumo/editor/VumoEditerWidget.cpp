#include "editor/VumoEditerWidget.h"

#include "database/VumoDBMgr.h"
#include "editor/PreviewFill.h"
#include "editor/PreviewWidget.h"
#include "editor/VumoBasisInfo.h"
#include "editor/VumoEditStore.h"
#include "editor/VumoHtmlEditor.h"
#include "editor/VumoImgsPage.h"
#include "editor/VumoSkuPage.h"
#include "entity/VumoDataEntity.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "utils/Log.h"

#include <QDateTime>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QUuid>
#include <QVBoxLayout>

namespace Quorvia::vumo {

using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::ShowMsgBox;

namespace {

const char* const kSaveHint =
    "提示:<br>当您修改商品信息时，需要保证“<font color=#1f497d>基本信息</font>”、“<font "
    "color=#1f497d>销售属性</font>”<br>“<font color=#1f497d>商品描述</font>”中，凡是带有<font "
    "color=#ff0000>*</font>的内容都正确填写。";
constexpr int kPageMinimumHeight = 90;

std::shared_ptr<database::VumoDbInterface> storeOf(const editor::VumoEditContext& context)
{
    return context.store ? context.store : database::VumoDBMgr::instance()->GetVumoDb();
}

QString NewClientId()
{
    return QUuid::createUuid().toString();
}

} // namespace

VumoEditerWidget::VumoEditerWidget(QWidget* parent, const editor::VumoEditContext& context)
    : QWidget(parent)
    , m_context(context)
    , m_vumo(std::make_unique<entity::VumoDataEntity>())
{
    setObjectName(QStringLiteral("VumoEditerWidget"));
    setWindowTitle(QStringLiteral("编辑商品"));
    qRegisterMetaType<VUMO_LIST_STRUCT>("VUMO_LIST_STRUCT");
    qRegisterMetaType<QList<SKU_ATT_VALUE_TYPE>>("QList<SKU_ATT_VALUE_TYPE>");

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("VumoEditTabs"));
    m_basis = new VumoBasisInfo(m_context, m_tabs);
    m_skuPage = new VumoSkuPage(m_context, m_tabs);
    m_imgsPage = new VumoImgsPage(m_context, m_tabs);
    m_descriptionPage = new VumoHtmlEditor(m_tabs);
    // Below the table the editor may be short: every page scrolls or shrinks its lists, so
    // none may ask for more height than a tab bar and a few rows.
    for (QWidget* page : {static_cast<QWidget*>(m_basis), static_cast<QWidget*>(m_skuPage),
                          static_cast<QWidget*>(m_imgsPage), static_cast<QWidget*>(m_descriptionPage)})
        page->setMinimumHeight(kPageMinimumHeight);
    m_tabs->addTab(m_basis, QStringLiteral("基本信息"));
    m_tabs->addTab(m_skuPage, QStringLiteral("销售属性"));
    m_tabs->addTab(m_imgsPage, QStringLiteral("主图管理"));
    m_tabs->addTab(m_descriptionPage, QStringLiteral("商品描述"));

    m_templateRow = new QWidget(this);
    auto* templateLayout = new QHBoxLayout(m_templateRow);
    templateLayout->setContentsMargins(0, 0, 0, 0);
    templateLayout->addWidget(new QLabel(QStringLiteral("模板名称："), m_templateRow));
    m_templateNameEdit = new QLineEdit(m_templateRow);
    m_templateNameEdit->setObjectName(QStringLiteral("m_pTemplateNameEdit"));
    m_templateNameEdit->setMaxLength(45);
    templateLayout->addWidget(m_templateNameEdit, 1);
    m_templateRow->hide();

    auto* saveWidget = new QWidget(this);
    saveWidget->setObjectName(QStringLiteral("saveWidget"));
    auto* saveLayout = new QHBoxLayout(saveWidget);
    saveLayout->setContentsMargins(0, 0, 0, 0);
    saveLayout->addWidget(m_templateRow, 1);
    saveLayout->addStretch();
    m_previewBtn = new QPushButton(QStringLiteral("预览"), saveWidget);
    m_previewBtn->setObjectName(QStringLiteral("m_pPreviewBtn"));
    m_previewBtn->setEnabled(false);
    m_saveBtn = new QPushButton(QStringLiteral("保存"), saveWidget);
    m_saveBtn->setObjectName(QStringLiteral("m_pSaveBtn"));
    m_saveBtn->setEnabled(false);
    saveLayout->addWidget(m_previewBtn);
    saveLayout->addWidget(m_saveBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(saveWidget);

    for (VumoEditInterface* page :
         {static_cast<VumoEditInterface*>(m_basis), static_cast<VumoEditInterface*>(m_skuPage),
          static_cast<VumoEditInterface*>(m_imgsPage), static_cast<VumoEditInterface*>(m_descriptionPage)})
        connect(page, &VumoEditInterface::VumoChangedSignal, this, &VumoEditerWidget::OnVumoChanged);
    connect(m_templateNameEdit, &QLineEdit::textEdited, this, &VumoEditerWidget::OnVumoChanged);
    connect(m_basis, &VumoBasisInfo::YvCatsChangedSignal, this, &VumoEditerWidget::OnYvCatsChanged);
    connect(m_basis, &VumoBasisInfo::VumoImageChange, this, &VumoEditerWidget::OnLogoPathChanged);
    // The page reports a change of shop categories while it checks; the tree hears of it only
    // once the listing is stored.
    connect(m_basis, &VumoBasisInfo::sigVumoSellerCatChanged, this,
            [this](qint64 vumoId, const QString& clientId, const QString& src, const QString& dst) {
                m_pendingSellerCats = {vumoId, clientId, src, dst};
            });
    connect(m_skuPage, &VumoSkuPage::ColorAttributeChangedSignal, this, &VumoEditerWidget::OnSkuColorChanged);
    connect(m_saveBtn, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(m_previewBtn, &QPushButton::clicked, this, &VumoEditerWidget::onPreview);
    connect(m_tabs, &QTabWidget::currentChanged, this, &VumoEditerWidget::OnTabChanged);
}

VumoEditerWidget::~VumoEditerWidget() = default;

bool VumoEditerWidget::open(const QString& clientId, int mode, bool closeAfterSave)
{
    m_closeAfterSave = closeAfterSave;
    m_created = false;
    auto record = std::make_unique<entity::VumoDataEntity>();
    const QDateTime now = QDateTime::currentDateTime();
    if (mode == EditMode || mode == CopyMode) {
        if (clientId.isEmpty() || !storeOf(m_context)->GetVumo(clientId, *record)) {
            const QString text = QStringLiteral("获取商品信息失败");
            qCWarning(lcVumo).noquote() << text << clientId;
            Clear();
            emit VumoStatusChanged(text, 0);
            return false;
        }
        if (mode == CopyMode) {
            editor::MakeVumoCopy(*record, NewClientId());
            record->set_vumo_status(2014);
            record->set_template_name(QString());
            record->set_upload_status(-1);
            record->set_created(now);
        }
    } else if (mode == NewVumoMode || mode == NewTemplateMode) {
        record->set_client_id(NewClientId());
        record->set_vumo_status(mode == NewVumoMode ? 2014 : 2013);
        record->set_created(now);
        if (mode == NewTemplateMode)
            record->set_template_name(QStringLiteral("模板%1").arg(now.toString(QStringLiteral("yyMMddhhmm"))));
    } else {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "unknown editor mode" << mode;
        return false;
    }
    m_vumo = std::move(record);
    m_mode = mode;
    m_clientId = m_vumo->client_id();

    const bool isTemplate = m_vumo->vumo_status() == 2013;
    m_templateRow->setVisible(isTemplate);
    m_templateNameEdit->setText(m_vumo->template_name());
    m_saveBtn->setText(mode == EditMode
                           ? (isTemplate ? QStringLiteral("保存该模板") : QStringLiteral("保存"))
                           : (mode == NewTemplateMode ? QStringLiteral("保存该模板") : QStringLiteral("保存本地仓库")));
    loadPages();
    SetEditable(true);
    setChanged(false);
    if (m_tabs->currentIndex() == TabDescription)
        m_descriptionPage->SetFocus();
    return true;
}

void VumoEditerWidget::Clear()
{
    m_vumo = std::make_unique<entity::VumoDataEntity>();
    m_mode = EditMode;
    m_clientId.clear();
    m_created = false;
    m_templateRow->hide();
    m_saveBtn->setText(QStringLiteral("保存"));
    loadPages();
    setChanged(false);
    SetEditable(false);
}

void VumoEditerWidget::loadPages()
{
    // Loading fills fields; what the pages report meanwhile is not a change by the seller.
    m_loading = true;
    m_basis->LoadVumo(m_vumo.get());
    m_skuPage->LoadVumo(m_vumo.get());
    m_imgsPage->LoadVumo(m_vumo.get());
    m_descriptionPage->LoadVumo(m_vumo.get());
    m_loading = false;
}

void VumoEditerWidget::SetEditable(bool editable)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->widget(i)->setEnabled(editable);
    m_templateRow->setEnabled(editable);
    m_saveBtn->setEnabled(editable && m_changed);
    // The preview shows the listing as edited, changed or not.
    m_previewBtn->setEnabled(editable && !m_clientId.isEmpty());
}

void VumoEditerWidget::setChanged(bool changed)
{
    m_changed = changed;
    m_saveBtn->setEnabled(changed && m_tabs->widget(TabBasis)->isEnabled());
}

void VumoEditerWidget::OnVumoChanged()
{
    if (m_loading || m_clientId.isEmpty())
        return;
    setChanged(true);
}

void VumoEditerWidget::OnTabChanged(int index)
{
    if (index == TabDescription && m_descriptionPage->isEnabled())
        m_descriptionPage->SetFocus();
}

void VumoEditerWidget::OnYvCatsChanged(qint64 cid)
{
    m_skuPage->OnYvCatsChanged(cid);
}

void VumoEditerWidget::OnSkuColorChanged(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit)
{
    m_imgsPage->SetColors(colorValue, isInit);
}

void VumoEditerWidget::OnLogoPathChanged(QString logoPath)
{
    m_imgsPage->SetLogoPath(logoPath);
}

bool VumoEditerWidget::OnSave()
{
    if (m_clientId.isEmpty())
        return false;
    QStringList errors;
    editor::VumoEditSave save;
    m_pendingSellerCats.reset();
    const QList<QPair<VumoEditInterface*, int>> pages = {
        {m_basis, TabBasis}, {m_skuPage, TabSku}, {m_imgsPage, TabImages}};
    int failedTab = -1;
    for (const auto& page : pages) {
        if (!page.first->CheckAndSave(errors, save))
            failedTab = page.second; // the last failing page stays current
    }
    // The description page reports its failure but never takes the seller to its tab.
    const bool descriptionOk = m_descriptionPage->CheckAndSave(errors, save);
    const QString pictureFolder = m_context.ImageFolder();
    auto store = storeOf(m_context);
    if (failedTab >= 0 || !descriptionOk || !errors.isEmpty()) {
        // Nothing was written; files copied for this save go again unless something uses them.
        editor::RemoveUnusedPictureFiles(*store, pictureFolder, save.copiedFiles);
        if (failedTab >= 0)
            m_tabs->setCurrentIndex(failedTab);
        showCheckFailures(errors);
        return false;
    }
    if (m_vumo->vumo_status() == 2013) {
        const QString name = m_templateNameEdit->text().trimmed();
        if (name.isEmpty()) {
            editor::RemoveUnusedPictureFiles(*store, pictureFolder, save.copiedFiles);
            ShowMsgBox(this, QStringLiteral("提示：模板名称不能为空！"));
            m_templateNameEdit->setFocus();
            return false;
        }
        m_vumo->set_template_name(name);
    }

    m_vumo->set_modified(QDateTime::currentDateTime());
    if (m_vumo->upload_status() != 2)
        m_vumo->set_upload_status(0);
    if (!editor::SaveEditedVumo(*store, *m_vumo, save, pictureFolder)) {
        qCWarning(lcVumo).noquote() << QStringLiteral("保存数据库失败！") << m_clientId;
        emit VumoStatusChanged(QStringLiteral("保存失败 "), 0);
        return false;
    }
    if (m_pendingSellerCats) {
        const PendingSellerCats moved = *m_pendingSellerCats;
        m_pendingSellerCats.reset();
        emit sigVumoSellerCatChanged(moved.vumoId, moved.clientId, moved.src, moved.dst);
    }
    if (m_mode == EditMode)
        emit SaveChangeSuccess(VumoListStructFromEntity(*m_vumo));
    else
        m_created = true;
    // The stored listing is what a further save in this window updates.
    m_mode = EditMode;
    emit VumoStatusChanged(QStringLiteral("保存成功 "), 1);
    // Reload: the pages show what was stored (picture states, SKU rows) and forget what the
    // save consumed, such as released pictures.
    auto reread = std::make_unique<entity::VumoDataEntity>();
    if (store->GetVumo(m_clientId, *reread)) {
        m_vumo = std::move(reread);
        loadPages();
    }
    setChanged(false);
    if (m_closeAfterSave) {
        if (auto* dialog = qobject_cast<QDialog*>(window()); dialog && dialog != static_cast<QWidget*>(this))
            dialog->accept();
    }
    return true;
}

bool VumoEditerWidget::askToSave()
{
    return ShowMsgBox(this, QStringLiteral("提示：商品有修改是否保存？"), MsgBox::Question,
                      QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

bool VumoEditerWidget::SettleChanges()
{
    if (!m_changed)
        return true;
    const bool saved = !askToSave() || OnSave();
    setChanged(false);
    return saved;
}

bool VumoEditerWidget::CanClose()
{
    if (!m_changed)
        return true;
    if (askToSave())
        return OnSave();
    setChanged(false);
    return true;
}

bool VumoEditerWidget::CreatedRow(VUMO_LIST_STRUCT& row) const
{
    if (!m_created)
        return false;
    row = VumoListStructFromEntity(*m_vumo);
    return true;
}

void VumoEditerWidget::showCheckFailures(const QStringList& errors)
{
    QStringList numbered;
    for (int i = 0; i < errors.size(); ++i)
        numbered << QStringLiteral("%1. ").arg(i + 1) + errors.at(i).toHtmlEscaped();
    ShowMsgBox(this, QString::fromUtf8(kSaveHint) + QStringLiteral("<br>") + numbered.join(QStringLiteral("<br>")));
}

void VumoEditerWidget::onPreview()
{
    if (m_clientId.isEmpty())
        return;
    // The pages write what the seller sees into a copy; nothing is stored and no file copied.
    entity::VumoDataEntity copy;
    copy.CopyPropertiesFrom(*m_vumo);
    QStringList errors;
    const QList<QPair<VumoEditInterface*, int>> pages = {
        {m_basis, TabBasis}, {m_skuPage, TabSku}, {m_descriptionPage, TabDescription}};
    int failedTab = -1;
    for (const auto& page : pages) {
        if (!page.first->CheckAndCollect(errors, copy))
            failedTab = page.second;
    }
    if (failedTab >= 0 || !errors.isEmpty()) {
        if (failedTab >= 0)
            m_tabs->setCurrentIndex(failedTab);
        showCheckFailures(errors);
        return;
    }
    auto* dialog = new core::ui::BaseDialog<PreviewWidget>(
        window(), editor::PreviewValuesOf(copy, m_context.shopName, m_context.ImageFolder()));
    dialog->SetTitle(QStringLiteral("商品预览"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    // Without a window manager to maximise it, the page still gets most of the screen.
    if (const QScreen* screen = window()->screen())
        dialog->resize(screen->availableSize() * 0.85);
    dialog->showMaximized();
}

} // namespace Quorvia::vumo
