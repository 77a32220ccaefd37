#include "editor/VumoBasisInfo.h"

#include "editor/CategoryAttributeBrowser.h"
#include "editor/CatsBrowserDlg.h"
#include "editor/PictureFiles.h"
#include "editor/SellerCategoryDlg.h"
#include "editor/SpecialAttrWidget.h"
#include "entity/VumoDataEntity.h"
#include "sync/CatsLoader.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "utils/Log.h"
#include "utils/VumoIni.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QQmlContext>
#include <QQuickWidget>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

namespace Quorvia::vumo {

namespace {

const QString kRedBorder = QStringLiteral("border-color: #FF0000");
const QString kNormalBorder = QStringLiteral("border-color:#CBCBCB");

// A label, with the required star in front when the field must be filled.
QLabel* FieldLabel(QWidget* parent, const QString& text, bool required = false)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(required ? QStringLiteral("<img src=\":/images/xinghao.png\"/>") + text.toHtmlEscaped()
                            : text.toHtmlEscaped());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A field with its unit behind it.
QWidget* WithUnit(QWidget* parent, QWidget* field, const QString& unit)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(field, 1);
    row->addWidget(new QLabel(unit, box));
    return box;
}

// A stored text longer than the field's limit is shown whole: the limit grows to it, so loading
// and saving never cut what the store holds.
void SetLimitedText(QLineEdit* edit, const QString& text, int limit)
{
    edit->setMaxLength(qMax(limit, int(text.size())));
    edit->setText(text);
}

// A long text's limit while typing: its length before the change when that was already over.
constexpr char kLastLength[] = "lastLength";

QString ImageUrl(const QString& path)
{
    if (path.isEmpty())
        return QString();
    if (editor::IsAddress(path))
        return path;
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}

} // namespace

VumoBasisInfo::VumoBasisInfo(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
{
    buildForm();
}

VumoBasisInfo::~VumoBasisInfo() = default;

QLineEdit* VumoBasisInfo::lineEdit(const char* objectName, const char* rule)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setProperty("basisField", true);
    if (rule)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(rule)), edit));
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        restoreBorder(edit);
        changed();
    });
    return edit;
}

void VumoBasisInfo::buildForm()
{
    using namespace editor;
    m_ptitleEdit = lineEdit("m_ptitleEdit");
    m_ptitleEdit->setMaxLength(kTitleMaxLength);
    m_ptitleEdit->setPlaceholderText(QStringLiteral("商品名称，45个字符内"));
    m_pAdContentEdit = lineEdit("m_pAdContentEdit");
    m_pAdContentEdit->setMaxLength(kAdContentMaxLength);
    m_pAdContentEdit->setPlaceholderText(QStringLiteral("广告语，45个字符内"));
    m_pcostPriceEdit = lineEdit("m_pcostPriceEdit", kPriceRule);
    m_pYVPriceEdit = lineEdit("m_pYVPriceEdit", kPriceRule);
    m_pmarketPriceEdit = lineEdit("m_pmarketPriceEdit", kPriceRule);
    m_pdiscountEdit = lineEdit("m_pdiscountEdit");
    m_pdiscountEdit->setReadOnly(true);
    m_pweightEdit = lineEdit("m_pweightEdit", kWeightRule);
    m_plengthEdit = lineEdit("m_plengthEdit", kSizeRule);
    m_pwideEdit = lineEdit("m_pwideEdit", kSizeRule);
    m_phighEdit = lineEdit("m_phighEdit", kSizeRule);
    m_pstockNumEdit = lineEdit("m_pstockNumEdit", kStockRule);
    m_pitemNumEdit = lineEdit("m_pitemNumEdit");
    m_pitemNumEdit->setMaxLength(kItemNumMaxLength);
    m_pUPCEdit = lineEdit("m_pUPCEdit");
    m_pYVCategoryEdit = lineEdit("m_pYVCategoryEdit");
    m_pYVCategoryEdit->setReadOnly(true);
    m_pSellerCatsEdit = lineEdit("m_pSellerCatsEdit");
    m_pSellerCatsEdit->setReadOnly(true);
    m_pYVCategoryBtn = new QPushButton(QStringLiteral("选择"), this);
    m_pYVCategoryBtn->setObjectName(QStringLiteral("m_pYVCategoryBtn"));
    m_pSellerCatsBtn = new QPushButton(QStringLiteral("选择"), this);
    m_pSellerCatsBtn->setObjectName(QStringLiteral("m_pSellerCatsBtn"));
    m_pAttr = new CategoryAttributeBrowser(this, m_context.categories);
    m_pAttr->setObjectName(QStringLiteral("m_pAttr"));
    m_pAttr->setMinimumHeight(160);
    m_pSpecialAttr = new SpecialAttrWidget(m_context.stockMode, this);
    for (QPlainTextEdit** edit : {&m_pPackListingEdit, &m_pServiceEdit}) {
        *edit = new QPlainTextEdit(this);
        (*edit)->setFixedHeight(60);
        (*edit)->setTabChangesFocus(true);
        connect(*edit, &QPlainTextEdit::textChanged, this, [this, e = *edit] { cutLongText(e); });
    }
    m_pPackListingEdit->setObjectName(QStringLiteral("m_pPackListingEdit"));
    m_pServiceEdit->setObjectName(QStringLiteral("m_pServiceEdit"));

    m_imgView = new QQuickWidget(this);
    m_imgView->setObjectName(QStringLiteral("ImgView"));
    m_imgView->setResizeMode(QQuickWidget::SizeRootObjectToView);
    m_imgView->setFixedSize(160, 160);
    m_imgView->rootContext()->setContextProperty(QStringLiteral("ImgShow"), false);
    m_imgView->rootContext()->setContextProperty(QStringLiteral("TextShow"), true);
    m_imgView->rootContext()->setContextProperty(QStringLiteral("ImgPath"), QString());
    m_imgView->setSource(QUrl(QStringLiteral("qrc:/qml/basicImg.qml")));
    m_pImgSelectBtn = new QPushButton(QStringLiteral("选择"), this);
    m_pImgSelectBtn->setObjectName(QStringLiteral("m_pImgSelectBtn"));

    // The form scrolls: embedded in the main window it may have only a few hundred pixels.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("basisContent"));
    // The page's own fields only: the attribute grid keeps its look.
    content->setStyleSheet(
        QStringLiteral("QLineEdit[basisField=\"true\"], QPlainTextEdit { border: 1px solid #CBCBCB; }"));

    auto* info = new QGroupBox(QStringLiteral("商品信息"), content);
    auto* g1 = new QGridLayout(info);
    g1->addWidget(FieldLabel(info, QStringLiteral("商品名称："), true), 0, 0);
    g1->addWidget(m_ptitleEdit, 0, 1, 1, 5);
    g1->addWidget(FieldLabel(info, QStringLiteral("商品广告词：")), 1, 0);
    g1->addWidget(m_pAdContentEdit, 1, 1, 1, 5);
    g1->addWidget(FieldLabel(info, QStringLiteral("成本价：")), 2, 0);
    g1->addWidget(WithUnit(info, m_pcostPriceEdit, QStringLiteral("元")), 2, 1);
    g1->addWidget(FieldLabel(info, QStringLiteral("Yv价："), true), 2, 2);
    g1->addWidget(WithUnit(info, m_pYVPriceEdit, QStringLiteral("元")), 2, 3);
    g1->addWidget(FieldLabel(info, QStringLiteral("市场价："), true), 2, 4);
    g1->addWidget(WithUnit(info, m_pmarketPriceEdit, QStringLiteral("元")), 2, 5);
    g1->addWidget(FieldLabel(info, QStringLiteral(" 折扣：")), 3, 0);
    g1->addWidget(m_pdiscountEdit, 3, 1);
    g1->addWidget(FieldLabel(info, QStringLiteral("商品毛重："), true), 3, 2);
    g1->addWidget(WithUnit(info, m_pweightEdit, QStringLiteral("公斤")), 3, 3);
    m_pstockNumLabel = FieldLabel(info, QStringLiteral("库存量："), true);
    g1->addWidget(m_pstockNumLabel, 3, 4);
    g1->addWidget(m_pstockNumEdit, 3, 5);
    g1->addWidget(FieldLabel(info, QStringLiteral("【包装】长："), true), 4, 0);
    g1->addWidget(m_plengthEdit, 4, 1);
    g1->addWidget(FieldLabel(info, QStringLiteral("【包装】宽："), true), 4, 2);
    g1->addWidget(m_pwideEdit, 4, 3);
    g1->addWidget(FieldLabel(info, QStringLiteral("【包装】高："), true), 4, 4);
    g1->addWidget(m_phighEdit, 4, 5);
    g1->addWidget(FieldLabel(info, QStringLiteral("货号：")), 5, 0);
    g1->addWidget(m_pitemNumEdit, 5, 1, 1, 3);
    g1->addWidget(FieldLabel(info, QStringLiteral("UPC 编码：")), 5, 4);
    g1->addWidget(m_pUPCEdit, 5, 5);
    for (int column : {1, 3, 5})
        g1->setColumnStretch(column, 1);

    auto* cats = new QGroupBox(QStringLiteral("分类信息"), content);
    auto* g2 = new QGridLayout(cats);
    g2->addWidget(FieldLabel(cats, QStringLiteral("Yv分类："), true), 0, 0);
    g2->addWidget(m_pYVCategoryEdit, 0, 1);
    g2->addWidget(m_pYVCategoryBtn, 0, 2);
    g2->addWidget(FieldLabel(cats, QStringLiteral("店内分类：")), 1, 0);
    g2->addWidget(m_pSellerCatsEdit, 1, 1);
    g2->addWidget(m_pSellerCatsBtn, 1, 2);
    auto* attrLabel = FieldLabel(cats, QStringLiteral("  商品属性："));
    attrLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    g2->addWidget(attrLabel, 2, 0);
    g2->addWidget(m_pAttr, 2, 1, 1, 2);
    g2->setColumnStretch(1, 1);

    auto* other = new QGroupBox(QStringLiteral("其它商品信息"), content);
    auto* g3 = new QGridLayout(other);
    auto* imgLabel = FieldLabel(other, QStringLiteral("商品主图："), true);
    imgLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    g3->addWidget(imgLabel, 0, 0);
    auto* imgColumn = new QVBoxLayout;
    imgColumn->addWidget(m_imgView);
    imgColumn->addWidget(m_pImgSelectBtn, 0, Qt::AlignLeft);
    imgColumn->addStretch();
    g3->addLayout(imgColumn, 0, 1);
    g3->addWidget(m_pSpecialAttr, 0, 2, Qt::AlignTop);
    g3->addWidget(FieldLabel(other, QStringLiteral("包装清单：")), 1, 0);
    g3->addWidget(m_pPackListingEdit, 1, 1, 1, 2);
    g3->addWidget(FieldLabel(other, QStringLiteral("售后服务：")), 2, 0);
    g3->addWidget(m_pServiceEdit, 2, 1, 1, 2);
    g3->setColumnStretch(2, 1);

    auto* column = new QVBoxLayout(content);
    column->addWidget(info);
    column->addWidget(cats);
    column->addWidget(other);
    column->addStretch();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("basisScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidget(content);
    // Wide windows get no stretched fields: the form keeps to the left.
    content->setMaximumWidth(1100);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(m_scroll);

    const bool stockShown = m_context.stockMode != 1;
    m_pstockNumLabel->setVisible(stockShown);
    m_pstockNumEdit->setVisible(stockShown);

    connect(m_ptitleEdit, &QLineEdit::textEdited, this, &VumoBasisInfo::OnVumoTitleEditChanged);
    connect(m_pAdContentEdit, &QLineEdit::textEdited, this, &VumoBasisInfo::OnVumoAdContentEditChanged);
    connect(m_pYVPriceEdit, &QLineEdit::textEdited, this, &VumoBasisInfo::OnDiscountChanged);
    connect(m_pmarketPriceEdit, &QLineEdit::textEdited, this, &VumoBasisInfo::OnDiscountChanged);
    connect(m_pYVCategoryBtn, &QPushButton::clicked, this, &VumoBasisInfo::OnYVCatsBtnClicked);
    connect(m_pSellerCatsBtn, &QPushButton::clicked, this, &VumoBasisInfo::OnSellerCatsBtnClicked);
    connect(m_pImgSelectBtn, &QPushButton::clicked, this, &VumoBasisInfo::OnImgSelectBtnClicked);
    connect(m_pAttr, &CategoryAttributeBrowser::ValueChangedSignal, this, &VumoBasisInfo::changed);
    connect(m_pSpecialAttr, &SpecialAttrWidget::ChangedSignal, this, &VumoBasisInfo::changed);
}

void VumoBasisInfo::changed()
{
    if (!m_loading)
        emit VumoChangedSignal();
}

void VumoBasisInfo::LoadVumo(entity::VumoDataEntity* vumo)
{
    using namespace editor;
    m_vumo = vumo;
    if (!vumo)
        return;
    m_loading = true;
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit->property("basisField").toBool())
            edit->setStyleSheet(QString());
    }
    m_pImgSelectBtn->setStyleSheet(QString());

    SetLimitedText(m_ptitleEdit, CleanTitleText(vumo->title()), kTitleMaxLength);
    SetLimitedText(m_pAdContentEdit, CleanTitleText(vumo->ad_content()), kAdContentMaxLength);
    m_pcostPriceEdit->setText(PriceText(vumo->cost_price()));
    m_pYVPriceEdit->setText(PriceText(vumo->yv_price()));
    m_pmarketPriceEdit->setText(PriceText(vumo->market_price()));
    m_pdiscountEdit->setText(DiscountText(vumo->yv_price(), vumo->market_price()));
    m_pweightEdit->setText(WeightText(vumo->weight()));
    m_plengthEdit->setText(SizeText(vumo->length()));
    m_pwideEdit->setText(SizeText(vumo->wide()));
    m_phighEdit->setText(SizeText(vumo->high()));
    InitStockNum();
    SetLimitedText(m_pitemNumEdit, vumo->item_num(), kItemNumMaxLength);
    m_pUPCEdit->setText(vumo->upc_code());
    for (QPlainTextEdit* edit : {m_pPackListingEdit, m_pServiceEdit}) {
        edit->setPlainText(edit == m_pPackListingEdit ? vumo->pack_listing() : vumo->service());
        edit->setProperty(kLastLength, int(edit->toPlainText().size()));
    }
    for (QLineEdit* edit : {m_ptitleEdit, m_pAdContentEdit, m_pitemNumEdit, m_pUPCEdit})
        edit->setCursorPosition(0);

    m_cid = vumo->cid();
    showCategory();

    m_shopCategorys = vumo->shop_categorys();
    m_pSellerCatsEdit->setText(ShopCategoryNames(m_shopCategorys));
    m_pSellerCatsEdit->setCursorPosition(0);
    m_pSellerCatsEdit->setToolTip(m_pSellerCatsEdit->text());

    m_logo = vumo->logo();
    m_logoPicked = false;
    showMainImage();
    m_pSpecialAttr->LoadVumo(*vumo);
    m_loading = false;
}

void VumoBasisInfo::showCategory()
{
    m_categoryKnown = false;
    m_pYVCategoryEdit->clear();
    if (m_cid <= 0) {
        m_pAttr->load(0, QString(), QString(), QString());
        return;
    }
    CatsLoader loader(nullptr, m_context.categories);
    loader.LoadYVCats();
    const editor::CategoryTree& tree = loader.YVCats();
    if (tree.isEmpty()) {
        qCInfo(lcVumo).noquote() << QStringLiteral("类目数据暂时为空");
        m_pAttr->load(0, QString(), QString(), QString());
        return;
    }
    const int node = tree.indexOf(m_cid);
    m_categoryKnown = node >= 0;
    if (m_categoryKnown) {
        m_pYVCategoryEdit->setText(tree.path(node));
        m_pYVCategoryEdit->setCursorPosition(0);
    }
    m_pAttr->load(m_cid, m_vumo ? m_vumo->attributes() : QString(), m_vumo ? m_vumo->input_pids() : QString(),
                  m_vumo ? m_vumo->input_strs() : QString());
}

QString VumoBasisInfo::MainImageShown() const
{
    return editor::MainImageShowPath(m_logo, m_context.ImageFolder());
}

void VumoBasisInfo::showMainImage()
{
    const QString shown = MainImageShown();
    QQmlContext* context = m_imgView->rootContext();
    context->setContextProperty(QStringLiteral("ImgShow"), !shown.isEmpty());
    context->setContextProperty(QStringLiteral("TextShow"), shown.isEmpty());
    context->setContextProperty(QStringLiteral("ImgPath"), ImageUrl(shown));
}

void VumoBasisInfo::InitStockNum()
{
    if (m_context.stockMode == 1 || !m_vumo)
        return;
    const editor::StockField field = editor::StockFieldFor(m_vumo->stock_num(), m_vumo->Skus());
    m_pstockNumEdit->setText(field.text);
    m_pstockNumEdit->setEnabled(field.editable);
}

double VumoBasisInfo::CalculateDiscount(qint64 yvPrice, qint64 marketPrice)
{
    return editor::CalculateDiscount(yvPrice, marketPrice);
}

void VumoBasisInfo::OnDiscountChanged()
{
    m_pdiscountEdit->setText(editor::TypedDiscountText(m_pYVPriceEdit->text(), m_pmarketPriceEdit->text()));
}

void VumoBasisInfo::cleanLine(QLineEdit* edit, const QString& text)
{
    const QString cleaned = editor::CleanTitleText(text);
    if (cleaned != text) {
        // The cursor stays behind what was typed, less the characters taken out before it.
        const int cursor = edit->cursorPosition();
        const int before = int(text.left(cursor).size() - editor::CleanTitleText(text.left(cursor)).size());
        edit->setText(cleaned);
        edit->setCursorPosition(cursor - before);
    }
    changed();
}

void VumoBasisInfo::OnVumoTitleEditChanged(QString text)
{
    cleanLine(m_ptitleEdit, text);
}

void VumoBasisInfo::OnVumoAdContentEditChanged(QString text)
{
    cleanLine(m_pAdContentEdit, text);
}

void VumoBasisInfo::cutLongText(QPlainTextEdit* edit)
{
    if (m_cutting || m_loading)
        return;
    QTextCursor cursor = edit->textCursor();
    // Only what was typed goes: a stored text already over the limit keeps its own length.
    const int limit = qMax(editor::kLongTextMaxLength, edit->property(kLastLength).toInt());
    const editor::TextCut cut = editor::CutTypedText(edit->toPlainText(), cursor.position(), limit);
    if (cut.changed) {
        m_cutting = true;
        edit->setPlainText(cut.text);
        cursor = edit->textCursor();
        cursor.setPosition(cut.cursor);
        edit->setTextCursor(cursor);
        m_cutting = false;
    }
    edit->setProperty(kLastLength, int(edit->toPlainText().size()));
    restoreBorder(edit);
    changed();
}

void VumoBasisInfo::OnTextEditChanged()
{
    if (auto* edit = qobject_cast<QPlainTextEdit*>(sender()))
        cutLongText(edit);
}

void VumoBasisInfo::restoreBorder(QWidget* field)
{
    QString text;
    if (auto* line = qobject_cast<QLineEdit*>(field))
        text = line->text();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        text = plain->toPlainText();
    if (!text.trimmed().isEmpty() && !field->styleSheet().isEmpty())
        field->setStyleSheet(kNormalBorder);
}

void VumoBasisInfo::OnTextEdited()
{
    if (auto* field = qobject_cast<QWidget*>(sender()))
        restoreBorder(field);
}

void VumoBasisInfo::OnYVCatsBtnClicked()
{
    core::ui::BaseDialog<CatsBrowserDlg> dialog(this, m_cid, m_context.categories);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const qint64 cid = dialog.content()->SelectedCid();
    if (cid <= 0 || cid == m_cid)
        return;
    m_cid = cid;
    showCategory();
    m_pYVCategoryEdit->setStyleSheet(m_categoryKnown ? kNormalBorder : QString());
    emit YvCatsChangedSignal(cid);
    changed();
}

void VumoBasisInfo::OnSellerCatsBtnClicked()
{
    core::ui::BaseDialog<SellerCategoryDlg> dialog(this, m_shopCategorys, m_context.store);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString chosen = dialog.content()->ShopCategorys();
    if (chosen == m_shopCategorys)
        return;
    m_shopCategorys = chosen;
    m_pSellerCatsEdit->setText(editor::ShopCategoryNames(chosen));
    m_pSellerCatsEdit->setCursorPosition(0);
    m_pSellerCatsEdit->setToolTip(m_pSellerCatsEdit->text());
    changed();
}

void VumoBasisInfo::OnImgSelectBtnClicked()
{
    QString folder = utils::VumoIni::UserImagePath(m_context.uid);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString path = QFileDialog::getOpenFileName(this, QString(), folder, QStringLiteral("Images(*.png *.jpg)"));
    if (!path.isEmpty())
        ChooseMainImage(path);
}

bool VumoBasisInfo::ChooseMainImage(const QString& path)
{
    using editor::PictureCheck;
    switch (editor::CheckPictureFile(path, true)) {
    case PictureCheck::Missing:
        qCWarning(lcVumo).noquote() << path
                + QStringLiteral(" \n该目录下没有相应文件,请检查该文件是否已经被移动或删除！\n");
        return false;
    case PictureCheck::TooLarge:
        core::ui::ShowMsgBox(this, QStringLiteral("请选择图片大小小于 1M 的图片"));
        return false;
    case PictureCheck::NotImage:
        core::ui::ShowMsgBox(this, QStringLiteral("图片加载失败，请检查图片格式是否正确！"));
        return false;
    case PictureCheck::WrongSize:
        core::ui::ShowMsgBox(this,
                             QStringLiteral("图片不是%1px*%2px的，请选择尺寸为%1px*%2px的图片！")
                                 .arg(editor::kPictureSide)
                                 .arg(editor::kPictureSide));
        return false;
    case PictureCheck::Ok:
        break;
    }
    utils::VumoIni::SetUserImagePath(m_context.uid, QFileInfo(path).absolutePath());
    m_logo = path;
    m_logoPicked = true;
    m_pImgSelectBtn->setStyleSheet(QString());
    showMainImage();
    emit VumoImageChange(path);
    emit VumoChangedSignal();
    return true;
}

editor::BasisForm VumoBasisInfo::collect()
{
    editor::BasisForm form;
    form.title = m_ptitleEdit->text();
    form.adContent = m_pAdContentEdit->text();
    form.costPrice = m_pcostPriceEdit->text();
    form.yvPrice = m_pYVPriceEdit->text();
    form.marketPrice = m_pmarketPriceEdit->text();
    form.weight = m_pweightEdit->text();
    form.length = m_plengthEdit->text();
    form.wide = m_pwideEdit->text();
    form.high = m_phighEdit->text();
    form.stock = m_pstockNumEdit->text();
    form.itemNum = m_pitemNumEdit->text();
    form.upc = m_pUPCEdit->text();
    form.packListing = m_pPackListingEdit->toPlainText();
    form.service = m_pServiceEdit->toPlainText();
    form.cid = m_cid;
    form.categoryKnown = m_categoryKnown;
    form.logo = m_logo;
    form.logoPicked = m_logoPicked;
    form.attributesComplete = m_pAttr->check();
    m_pAttr->get(form.attributes.attributes, form.attributes.inputPids, form.attributes.inputStrs,
                 form.attributes.brandVid, form.attributes.brandAid);
    form.special = m_pSpecialAttr->Form();
    form.shopCategorys = m_shopCategorys;
    return form;
}

editor::BasisStoreOptions VumoBasisInfo::options(bool preview) const
{
    editor::BasisStoreOptions options;
    options.stockMode = m_context.stockMode;
    options.pictureFolder = m_context.ImageFolder();
    options.salt = m_context.uid;
    options.preview = preview;
    return options;
}

QWidget* VumoBasisInfo::fieldOf(editor::BasisField field) const
{
    using editor::BasisField;
    switch (field) {
    case BasisField::CostPrice:
        return m_pcostPriceEdit;
    case BasisField::YvPrice:
        return m_pYVPriceEdit;
    case BasisField::MarketPrice:
        return m_pmarketPriceEdit;
    case BasisField::Weight:
        return m_pweightEdit;
    case BasisField::Length:
        return m_plengthEdit;
    case BasisField::Wide:
        return m_pwideEdit;
    case BasisField::High:
        return m_phighEdit;
    case BasisField::Stock:
        return m_pstockNumEdit;
    case BasisField::Title:
        return m_ptitleEdit;
    case BasisField::Category:
        return m_pYVCategoryEdit;
    case BasisField::MainImage:
        return m_pImgSelectBtn;
    case BasisField::Attributes:
        return m_pAttr;
    case BasisField::ShelfLifeDays:
        return m_pSpecialAttr->ShelfLifeDaysEdit();
    case BasisField::PackType:
        return m_pSpecialAttr->PackTypeCombo();
    }
    return nullptr;
}

void VumoBasisInfo::markFailures(const QList<editor::BasisField>& failed)
{
    QWidget* first = nullptr;
    for (editor::BasisField field : failed) {
        QWidget* widget = fieldOf(field);
        if (!widget)
            continue;
        // The attribute browser frames its own rows.
        if (field != editor::BasisField::Attributes)
            widget->setStyleSheet(qobject_cast<QLineEdit*>(widget)
                                      ? kRedBorder
                                      : QStringLiteral("border: 1px solid #FF0000; padding: 2px 8px"));
        if (!first)
            first = widget;
    }
    if (first) {
        first->setFocus(Qt::OtherFocusReason);
        m_scroll->ensureWidgetVisible(first);
    }
}

bool VumoBasisInfo::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    if (!m_vumo)
        return false;
    const editor::BasisForm form = collect();
    editor::BasisOutcome outcome;
    const bool ok = editor::CheckAndStoreBasis(form, options(false), *m_vumo, &save, outcome);
    errors << outcome.messages;
    markFailures(outcome.failed);
    if (ok && outcome.shopCategorysChanged)
        emit sigVumoSellerCatChanged(m_vumo->vumo_id(), m_vumo->client_id(), outcome.oldShopCategorys,
                                     form.shopCategorys);
    return ok;
}

bool VumoBasisInfo::CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
{
    if (!m_vumo)
        return false;
    const editor::BasisForm form = collect();
    editor::BasisOutcome outcome;
    const bool ok = editor::CheckAndStoreBasis(form, options(true), copy, nullptr, outcome);
    errors << outcome.messages;
    markFailures(outcome.failed);
    return ok;
}

} // namespace Quorvia::vumo
