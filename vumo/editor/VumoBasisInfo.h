#pragma once
// "基本信息": title, advertising words, prices, stock, weight and size, item number, UPC,
// category with its attributes, shop categories, main picture, package listing, service and
// the logistics flags. The rules live in VumoBasisRules; this page shows, collects and marks.
#include "editor/CategoryPickerRules.h"
#include "editor/VumoBasisRules.h"
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QQuickWidget;
class QScrollArea;

namespace Quorvia::vumo {

class CategoryAttributeBrowser;
class SpecialAttrWidget;

class VumoBasisInfo : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoBasisInfo(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoBasisInfo() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;
    bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy) override;

    // Takes a picked file as the main picture after the picture check (the file dialog's half
    // of OnImgSelectBtnClicked); false, with the check's message shown, when it is refused.
    bool ChooseMainImage(const QString& path);
    // The main picture as the page holds it (a stored logo or a picked path) and the file shown.
    QString MainImage() const { return m_logo; }
    QString MainImageShown() const;
    qint64 CategoryId() const { return m_cid; }
    QString ShopCategorys() const { return m_shopCategorys; }

signals:
    void YvCatsChangedSignal(qint64 cid);
    void VumoImageChange(QString path);
    void sigVumoSellerCatChanged(qint64 vumoId, QString strClientId, QString strSrcSellerCats,
                                 QString strDstSellerCats);

public slots:
    void OnDiscountChanged();
    double CalculateDiscount(qint64 yvPrice, qint64 marketPrice);
    void OnSellerCatsBtnClicked();
    void OnYVCatsBtnClicked();
    void OnImgSelectBtnClicked();
    // Refills the stock field from the listing and its SKUs (the SKU page changes them).
    void InitStockNum();
    void OnTextEditChanged();
    void OnVumoTitleEditChanged(QString text);
    void OnVumoAdContentEditChanged(QString text);
    void OnTextEdited();

private:
    void buildForm();
    QLineEdit* lineEdit(const char* objectName, const char* rule = nullptr);
    void cleanLine(QLineEdit* edit, const QString& text);
    void cutLongText(QPlainTextEdit* edit);
    void restoreBorder(QWidget* field);
    void showCategory();
    void showMainImage();
    void markFailures(const QList<editor::BasisField>& failed);
    QWidget* fieldOf(editor::BasisField field) const;
    editor::BasisForm collect();
    editor::BasisStoreOptions options(bool preview) const;
    void changed();

    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
    bool m_loading = false;

    qint64 m_cid = 0;
    bool m_categoryKnown = false;
    QString m_shopCategorys;
    QString m_logo;
    bool m_logoPicked = false;

    QScrollArea* m_scroll = nullptr;
    QLineEdit* m_ptitleEdit = nullptr;
    QLineEdit* m_pAdContentEdit = nullptr;
    QLineEdit* m_pcostPriceEdit = nullptr;
    QLineEdit* m_pYVPriceEdit = nullptr;
    QLineEdit* m_pmarketPriceEdit = nullptr;
    QLineEdit* m_pdiscountEdit = nullptr;
    QLineEdit* m_pweightEdit = nullptr;
    QLineEdit* m_plengthEdit = nullptr;
    QLineEdit* m_pwideEdit = nullptr;
    QLineEdit* m_phighEdit = nullptr;
    QLabel* m_pstockNumLabel = nullptr;
    QLineEdit* m_pstockNumEdit = nullptr;
    QLineEdit* m_pitemNumEdit = nullptr;
    QLineEdit* m_pUPCEdit = nullptr;
    QLineEdit* m_pYVCategoryEdit = nullptr;
    QPushButton* m_pYVCategoryBtn = nullptr;
    QLineEdit* m_pSellerCatsEdit = nullptr;
    QPushButton* m_pSellerCatsBtn = nullptr;
    CategoryAttributeBrowser* m_pAttr = nullptr;
    SpecialAttrWidget* m_pSpecialAttr = nullptr;
    QPlainTextEdit* m_pPackListingEdit = nullptr;
    QPlainTextEdit* m_pServiceEdit = nullptr;
    QQuickWidget* m_imgView = nullptr; // "ImgView"
    QPushButton* m_pImgSelectBtn = nullptr;
    bool m_cutting = false;
};

} // namespace Quorvia::vumo
