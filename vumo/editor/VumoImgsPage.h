#pragma once
// "主图管理": the listing's picture sets, one for the listing and one per ticked colour.
#include "editor/SkuAttValue.h"
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

namespace Quorvia::vumo {

class VumoImgsPage : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoImgsPage(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoImgsPage() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;

    // Copy mode: every picture loaded next counts as new for the copy.
    void SetLoadedAsNew(bool asNew);

signals:
    void MainImgChangedSignal();
    void DeleteImgSignal();

public slots:
    // The ticked colours of the SKU page.
    void SetColors(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit);
    // The main picture chosen on the basic page.
    void SetLogoPath(QString logoPath);

private:
    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
    bool m_loadedAsNew = false;
};

} // namespace Quorvia::vumo
