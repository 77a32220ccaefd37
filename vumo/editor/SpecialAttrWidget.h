#pragma once
// "功能设置": the listing's logistics flags. A seller sees only the flags their stock mode uses
// (ShowsPayFirstAndWet, ShowsLogisticsDetails); what is stored, and checked, is decided in
// core by StoreSpecialAttrs and CheckSpecialAttrs.
#include "editor/VumoBasisRules.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class SpecialAttrWidget final : public QGroupBox
{
    Q_OBJECT
public:
    explicit SpecialAttrWidget(int stockMode, QWidget* parent = nullptr);

    void LoadVumo(const entity::VumoDataEntity& vumo);
    editor::SpecialAttrForm Form() const;

    QLineEdit* ShelfLifeDaysEdit() const { return m_pshelf_life_daysEdit; }
    QComboBox* PackTypeCombo() const { return m_pvumo_pack_typeCombo; }

signals:
    void ChangedSignal();

private:
    void onShelfLifeToggled(bool ticked);
    // Sellers tick these two for goods they do not apply to: remind them at the tick.
    void on3CTicked(bool ticked);

    bool m_loading = false;
    QCheckBox* m_pis_can_vatCheck = nullptr;
    QCheckBox* m_pis_pay_firstCheck = nullptr;
    QCheckBox* m_pis_special_wetCheck = nullptr;
    QCheckBox* m_pis_shelf_lifeCheck = nullptr;
    QLineEdit* m_pshelf_life_daysEdit = nullptr;
    QCheckBox* m_pis_importedCheck = nullptr;
    QCheckBox* m_pis_health_productCheck = nullptr;
    QCheckBox* m_pis_appliances_cardCheck = nullptr;
    QCheckBox* m_pis_serial_noCheck = nullptr;
    QComboBox* m_pvumo_big_small_modelCombo = nullptr;
    QComboBox* m_pvumo_pack_typeCombo = nullptr;
};

} // namespace Quorvia::vumo
