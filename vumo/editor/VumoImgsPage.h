#pragma once
// "主图管理": the listing's picture sets, one for the listing and one per ticked colour.
#include "editor/ImagePageRules.h"
#include "editor/SkuAttValue.h"
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

class QComboBox;
class QLabel;
class QPushButton;
class QQuickWidget;
class QTimer;

namespace Quorvia::vumo {

class VumoImgsManager;

class VumoImgsPage : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoImgsPage(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoImgsPage() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;

    // What "本地选图" does once the files are chosen: checks them against the shown set and
    // adds those that pass. Gives how many were added.
    int AddPickedFiles(const QStringList& paths);

    VumoImgsManager* Manager() const { return m_manager; }
    const editor::PictureSets& Sets() const { return m_sets; }
    QQuickWidget* StripView() const { return m_pQmlView; }
    bool IsChanged() const { return m_changed; }

signals:
    void MainImgChangedSignal();
    void DeleteImgSignal();

public slots:
    // The ticked colours of the SKU page.
    void SetColors(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit);
    // The main picture chosen on the basic page.
    void SetLogoPath(QString logoPath);

    void OnSelectImg();
    void OnCurIndexChanged(int index);
    void OnDelImgBtnClicked(int row);
    void ShowMessage(const QString& text, int msec);
    void ClearMessage();

private:
    void buildUi();
    void rebuildColorCombo();
    void markChanged();

    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
    editor::PictureSets m_sets;
    QList<SKU_ATT_VALUE_TYPE> m_colors;
    bool m_changed = false;

    QComboBox* m_SKUColorCombo = nullptr;
    QPushButton* m_SelectImgBtn = nullptr;
    QLabel* m_TipMessage = nullptr;
    QTimer* m_tipTimer = nullptr;
    QQuickWidget* m_pQmlView = nullptr;
    VumoImgsManager* m_manager = nullptr;
};

} // namespace Quorvia::vumo
