#pragma once
// The listing editor: four pages in tabs, the save and preview buttons, and the save itself.
// Pages validate and fill the record; the save writes the listing with SKUs, pictures and
// extension in one transaction and removes released picture files only after the commit.
// Used below the listing table and as the content of a dialog.
#include "database/VumoListStruct.h"
#include "editor/SkuAttValue.h"
#include "editor/VumoEditContext.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class VumoBasisInfo;
class VumoEditInterface;
class VumoHtmlEditor;
class VumoImgsPage;
class VumoSkuPage;

class VumoEditerWidget : public QWidget
{
    Q_OBJECT
public:
    enum OpenMode {
        EditMode = 0,        // an existing listing or template
        NewVumoMode = 1,     // a new listing (status 2014)
        NewTemplateMode = 2, // a new template (status 2013)
        CopyMode = 3,        // a new listing from an existing one or a template
    };
    enum Tab { TabBasis = 0, TabSku = 1, TabImages = 2, TabDescription = 3 };

    VumoEditerWidget(QWidget* parent, const editor::VumoEditContext& context);
    ~VumoEditerWidget() override;

    // Sets up the record by mode and loads every page. False (logged, VumoStatusChanged) when
    // the listing cannot be read; the editor is then empty.
    bool open(const QString& clientId, int mode, bool closeAfterSave = false);
    // Empty, unchanged and disabled: nothing is selected below the table.
    void Clear();
    // Enables or disables the pages and the buttons together.
    void SetEditable(bool editable);

    bool IsChanged() const { return m_changed; }
    // Asks "提示：商品有修改是否保存？" when there are changes, saves on Yes; unchanged afterwards
    // either way. False when the seller chose to save and the save failed.
    bool SettleChanges();
    // For a dialog's close: settles the changes; false keeps the window open (a save the seller
    // asked for failed, and closing would lose the changes).
    bool CanClose();

    int Mode() const { return m_mode; }
    QString ClientId() const { return m_clientId; }
    const entity::VumoDataEntity* Vumo() const { return m_vumo.get(); }
    // The row of a listing this editor created and saved (modes 1 to 3); false when none was.
    bool CreatedRow(VUMO_LIST_STRUCT& row) const;

    QTabWidget* Tabs() const { return m_tabs; }
    VumoBasisInfo* BasisPage() const { return m_basis; }
    VumoSkuPage* SkuPage() const { return m_skuPage; }
    VumoImgsPage* ImagesPage() const { return m_imgsPage; }
    VumoHtmlEditor* DescriptionPage() const { return m_descriptionPage; }
    QPushButton* SaveButton() const { return m_saveBtn; }
    QPushButton* PreviewButton() const { return m_previewBtn; }
    QLineEdit* TemplateNameEdit() const { return m_templateNameEdit; }
    QWidget* TemplateRow() const { return m_templateRow; }

signals:
    // A listing opened in mode 0 was saved: its refreshed row.
    void SaveChangeSuccess(VUMO_LIST_STRUCT vumoStruct);
    // isTrue 1: a success, 0: a failure.
    void VumoStatusChanged(QString msg, int isTrue);
    void sigVumoSellerCatChanged(qint64 vumoId, QString strClientId, QString strSrcSellerCats,
                                 QString strDstSellerCats);

public slots:
    void onPreview();
    // True when the listing was written.
    bool OnSave();
    void OnYvCatsChanged(qint64 cid);
    void OnSkuColorChanged(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit);
    void OnLogoPathChanged(QString logoPath);
    void OnVumoChanged();
    void OnTabChanged(int index);

private:
    void loadPages();
    // "提示：商品有修改是否保存？"; true for Yes.
    bool askToSave();
    void setChanged(bool changed);
    // The failed checks, numbered below the hint, in one message box.
    void showCheckFailures(const QStringList& errors);

    editor::VumoEditContext m_context;
    QTabWidget* m_tabs = nullptr;
    VumoBasisInfo* m_basis = nullptr;
    VumoSkuPage* m_skuPage = nullptr;
    VumoImgsPage* m_imgsPage = nullptr;
    VumoHtmlEditor* m_descriptionPage = nullptr;
    QWidget* m_templateRow = nullptr;
    QLineEdit* m_templateNameEdit = nullptr;
    QPushButton* m_saveBtn = nullptr;
    QPushButton* m_previewBtn = nullptr;

    std::unique_ptr<entity::VumoDataEntity> m_vumo;
    int m_mode = EditMode;
    bool m_changed = false;
    bool m_closeAfterSave = false;
    bool m_loading = false;
    bool m_created = false; // a listing made by this editor has been saved
    QString m_clientId;
    struct PendingSellerCats
    {
        qint64 vumoId = 0;
        QString clientId;
        QString src;
        QString dst;
    };
    std::optional<PendingSellerCats> m_pendingSellerCats;
};

} // namespace Quorvia::vumo
