#include "editor/SpecialAttrWidget.h"

#include "entity/VumoDataEntity.h"
#include "ui/MsgBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace Quorvia::vumo {

namespace {

QCheckBox* MakeCheck(QWidget* parent, const char* objectName, const QString& text)
{
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QString::fromLatin1(objectName));
    return check;
}

QComboBox* MakeCombo(QWidget* parent, const char* objectName, const QList<QPair<QString, int>>& choices)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    for (const auto& choice : choices)
        combo->addItem(choice.first, choice.second);
    return combo;
}

// Shows the item holding `value`; a value no item holds (an old or foreign store) shows the first.
void SelectData(QComboBox* combo, int value)
{
    const int at = combo->findData(value);
    combo->setCurrentIndex(at >= 0 ? at : 0);
}

} // namespace

SpecialAttrWidget::SpecialAttrWidget(int stockMode, QWidget* parent)
    : QGroupBox(QStringLiteral("功能设置"), parent)
{
    setObjectName(QStringLiteral("m_pSpecialAttr"));
    m_pis_can_vatCheck = MakeCheck(this, "m_pis_can_vatCheck", QStringLiteral("可开增值税发票"));
    m_pis_pay_firstCheck = MakeCheck(this, "m_pis_pay_firstCheck", QStringLiteral("先款后货"));
    m_pis_special_wetCheck = MakeCheck(this, "m_pis_special_wetCheck", QStringLiteral("特殊湿度"));
    m_pis_shelf_lifeCheck = MakeCheck(this, "m_pis_shelf_lifeCheck", QStringLiteral("保质期管理"));
    m_pshelf_life_daysEdit = new QLineEdit(this);
    m_pshelf_life_daysEdit->setObjectName(QStringLiteral("m_pshelf_life_daysEdit"));
    m_pshelf_life_daysEdit->setProperty("basisField", true);
    m_pshelf_life_daysEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString::fromLatin1(editor::kShelfLifeDaysRule)), m_pshelf_life_daysEdit));
    m_pshelf_life_daysEdit->setMaximumWidth(80);
    m_pshelf_life_daysEdit->setEnabled(false);
    m_pis_importedCheck = MakeCheck(this, "m_pis_importedCheck", QStringLiteral("进口商品"));
    m_pis_health_productCheck = MakeCheck(this, "m_pis_health_productCheck", QStringLiteral("保健品"));
    m_pis_appliances_cardCheck = MakeCheck(this, "m_pis_appliances_cardCheck", QStringLiteral("家电三包卡"));
    m_pis_serial_noCheck = MakeCheck(this, "m_pis_serial_noCheck", QStringLiteral("序列号管理"));
    m_pvumo_big_small_modelCombo = MakeCombo(this, "m_pvumo_big_small_modelCombo", editor::BigSmallModelChoices());
    m_pvumo_pack_typeCombo = MakeCombo(this, "m_pvumo_pack_typeCombo", editor::PackTypeChoices());

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(16);
    grid->addWidget(m_pis_can_vatCheck, 0, 0);
    grid->addWidget(m_pis_pay_firstCheck, 0, 1);
    grid->addWidget(m_pis_special_wetCheck, 0, 2);
    auto* shelf = new QHBoxLayout;
    shelf->addWidget(m_pis_shelf_lifeCheck);
    shelf->addWidget(m_pshelf_life_daysEdit);
    auto* dayLabel = new QLabel(QStringLiteral("天"), this);
    shelf->addWidget(dayLabel);
    shelf->addStretch();
    grid->addLayout(shelf, 1, 0, 1, 2);
    grid->addWidget(m_pis_importedCheck, 1, 2);
    grid->addWidget(m_pis_health_productCheck, 2, 0);
    grid->addWidget(m_pis_appliances_cardCheck, 2, 1);
    grid->addWidget(m_pis_serial_noCheck, 2, 2);
    auto* modelLabel = new QLabel(QStringLiteral("商品件型："), this);
    auto* packLabel = new QLabel(QStringLiteral("商品包装："), this);
    auto* combos = new QHBoxLayout;
    combos->addWidget(modelLabel);
    combos->addWidget(m_pvumo_big_small_modelCombo);
    combos->addSpacing(16);
    combos->addWidget(packLabel);
    combos->addWidget(m_pvumo_pack_typeCombo);
    combos->addStretch();
    grid->addLayout(combos, 3, 0, 1, 3);
    grid->setColumnStretch(3, 1);

    const bool payFirstAndWet = editor::ShowsPayFirstAndWet(stockMode);
    const bool details = editor::ShowsLogisticsDetails(stockMode);
    m_pis_pay_firstCheck->setVisible(payFirstAndWet);
    m_pis_special_wetCheck->setVisible(payFirstAndWet);
    for (QWidget* w : {static_cast<QWidget*>(m_pis_shelf_lifeCheck), static_cast<QWidget*>(m_pshelf_life_daysEdit),
                       static_cast<QWidget*>(dayLabel), static_cast<QWidget*>(m_pis_importedCheck),
                       static_cast<QWidget*>(m_pis_health_productCheck),
                       static_cast<QWidget*>(m_pis_appliances_cardCheck), static_cast<QWidget*>(m_pis_serial_noCheck),
                       static_cast<QWidget*>(modelLabel), static_cast<QWidget*>(m_pvumo_big_small_modelCombo),
                       static_cast<QWidget*>(packLabel), static_cast<QWidget*>(m_pvumo_pack_typeCombo)})
        w->setVisible(details);

    connect(m_pis_shelf_lifeCheck, &QCheckBox::toggled, this, &SpecialAttrWidget::onShelfLifeToggled);
    connect(m_pis_appliances_cardCheck, &QCheckBox::clicked, this, &SpecialAttrWidget::on3CTicked);
    connect(m_pis_serial_noCheck, &QCheckBox::clicked, this, &SpecialAttrWidget::on3CTicked);
    for (QCheckBox* check : findChildren<QCheckBox*>())
        connect(check, &QCheckBox::toggled, this, [this] {
            if (!m_loading)
                emit ChangedSignal();
        });
    connect(m_pshelf_life_daysEdit, &QLineEdit::textEdited, this, [this] {
        m_pshelf_life_daysEdit->setStyleSheet(QStringLiteral("border-color:#CBCBCB"));
        emit ChangedSignal();
    });
    for (QComboBox* combo : {m_pvumo_big_small_modelCombo, m_pvumo_pack_typeCombo})
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo] {
            combo->setStyleSheet(QString());
            emit ChangedSignal();
        });
}

void SpecialAttrWidget::LoadVumo(const entity::VumoDataEntity& vumo)
{
    m_loading = true;
    m_pis_can_vatCheck->setChecked(vumo.is_can_vat());
    m_pis_pay_firstCheck->setChecked(vumo.is_pay_first());
    m_pis_special_wetCheck->setChecked(vumo.is_special_wet());
    m_pis_shelf_lifeCheck->setChecked(vumo.is_shelf_life());
    m_pshelf_life_daysEdit->setText(vumo.shelf_life_days() > 0 ? QString::number(vumo.shelf_life_days()) : QString());
    onShelfLifeToggled(vumo.is_shelf_life());
    m_pis_importedCheck->setChecked(vumo.is_imported());
    m_pis_health_productCheck->setChecked(vumo.is_health_product());
    m_pis_appliances_cardCheck->setChecked(vumo.is_appliances_card());
    m_pis_serial_noCheck->setChecked(vumo.is_serial_no());
    SelectData(m_pvumo_big_small_modelCombo, vumo.vumo_big_small_model());
    SelectData(m_pvumo_pack_typeCombo, vumo.vumo_pack_type());
    m_pshelf_life_daysEdit->setStyleSheet(QString());
    m_pvumo_pack_typeCombo->setStyleSheet(QString());
    m_loading = false;
}

editor::SpecialAttrForm SpecialAttrWidget::Form() const
{
    editor::SpecialAttrForm form;
    form.canVat = m_pis_can_vatCheck->isChecked();
    form.payFirst = m_pis_pay_firstCheck->isChecked();
    form.specialWet = m_pis_special_wetCheck->isChecked();
    form.shelfLife = m_pis_shelf_lifeCheck->isChecked();
    form.shelfLifeDays = m_pshelf_life_daysEdit->text();
    form.imported = m_pis_importedCheck->isChecked();
    form.healthProduct = m_pis_health_productCheck->isChecked();
    form.appliancesCard = m_pis_appliances_cardCheck->isChecked();
    form.serialNo = m_pis_serial_noCheck->isChecked();
    form.bigSmallModel = m_pvumo_big_small_modelCombo->currentData().toInt();
    form.packType = m_pvumo_pack_typeCombo->currentData().toInt();
    return form;
}

void SpecialAttrWidget::onShelfLifeToggled(bool ticked)
{
    m_pshelf_life_daysEdit->setEnabled(ticked);
}

void SpecialAttrWidget::on3CTicked(bool ticked)
{
    if (ticked)
        Quorvia::core::ui::ShowMsgBox(this, QStringLiteral("仅3C类商品适用!"));
}

} // namespace Quorvia::vumo
