#pragma once
// The box of logistics flags on the basic page. Only collects and shows: which flags a stock
// mode offers, what is stored and what is refused are core rules (VumoBasisRules), so tests
// reach them without a widget.
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
    // A warranty card or serial number only means something for 3C goods; say so at once.
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
