#pragma once
// "基本信息": title, advertising words, prices, stock, weight and size, item number, UPC,
// category with its attributes, shop categories, main picture, package listing, service and
// the logistics flags.
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

namespace Quorvia::vumo {

class VumoBasisInfo : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoBasisInfo(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoBasisInfo() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;
    bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy) override;

signals:
    void YvCatsChangedSignal(qint64 cid);
    void VumoImageChange(QString path);
    void sigVumoSellerCatChanged(qint64 vumoId, QString strClientId, QString strSrcSellerCats,
                                 QString strDstSellerCats);

private:
    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
};

} // namespace Quorvia::vumo
