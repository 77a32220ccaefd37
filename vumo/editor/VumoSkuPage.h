#pragma once
// "销售属性": the category's sale attributes turned into SKUs.
#include "editor/SkuAttValue.h"
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

namespace Quorvia::vumo {

class VumoSkuPage : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoSkuPage(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoSkuPage() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;
    bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy) override;

signals:
    void ColorAttributeChangedSignal(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit);

public slots:
    // Another category was picked on the basic page: its sale attributes replace the table.
    void OnYvCatsChanged(qint64 cid);

private:
    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
};

} // namespace Quorvia::vumo
