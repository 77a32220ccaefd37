#include "plugin/VumoSearch.h"

#include "editor/CatsBrowserDlg.h"
#include "network/utils/WSLogStatisticsSingleton.h"
#include "plugin/VumoCommandRules.h"
#include "plugin/VumoSearchStatement.h"
#include "ui/MsgBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace Quorvia::vumo {

QLocale SearchFormLocale()
{
    return QLocale(QLocale::Chinese, QLocale::China);
}

void FillSearchStatusCombo(QComboBox* combo)
{
    combo->addItem(QStringLiteral("请选择"), int(SearchStatusNone));
    combo->addItem(QStringLiteral("在售商品"), int(SearchStatusOnSale));
    combo->addItem(QStringLiteral("待售商品"), int(SearchStatusForSale));
    combo->addItem(QStringLiteral("本地仓库商品"), int(SearchStatusLocal));
}

VumoSearch::VumoSearch(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("VumoSearch"));
    setWindowTitle(QStringLiteral("AdvanceSearch4Vumo"));
    setLocale(SearchFormLocale());

    m_vumoId = new QLineEdit(this);
    m_vumoId->setObjectName(QStringLiteral("lineEdit_VumoId"));
    // No validator: it would drop the keys it refuses and search for another number.
    m_vumoName = new QLineEdit(this);
    m_vumoName->setObjectName(QStringLiteral("lineEdit_VumoName"));
    m_vumoName->setMaxLength(kSearchTitleMaxLength);
    m_itemNum = new QLineEdit(this);
    m_itemNum->setObjectName(QStringLiteral("lineEdit_ItemNum"));
    m_itemNum->setMaxLength(kSearchItemNumMaxLength);
    m_category = new QLineEdit(this);
    m_category->setObjectName(QStringLiteral("lineEdit_Category"));
    m_category->setReadOnly(true);
    m_selectCategoryBtn = new QPushButton(QStringLiteral("选择"), this);
    m_selectCategoryBtn->setObjectName(QStringLiteral("m_SelectCategoryBtn"));
    m_status = new QComboBox(this);
    m_status->setObjectName(QStringLiteral("comboBox_ListingStatus"));
    FillSearchStatusCombo(m_status);
    m_searchBtn = new QPushButton(QStringLiteral("查询"), this);
    m_searchBtn->setObjectName(QStringLiteral("m_SearchBtn"));
    m_clearBtn = new QPushButton(QStringLiteral("清空"), this);
    m_clearBtn->setObjectName(QStringLiteral("ClearBtn"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(new QLabel(QStringLiteral("商品编号"), this));
    layout->addWidget(m_vumoId);
    layout->addWidget(new QLabel(QStringLiteral("商品名称"), this));
    layout->addWidget(m_vumoName);
    layout->addWidget(new QLabel(QStringLiteral("商品货号"), this));
    layout->addWidget(m_itemNum);
    layout->addWidget(new QLabel(QStringLiteral("Yv分类"), this));
    layout->addWidget(m_category);
    layout->addWidget(m_selectCategoryBtn);
    layout->addWidget(new QLabel(QStringLiteral("商品状态"), this));
    layout->addWidget(m_status);
    layout->addWidget(m_searchBtn);
    layout->addWidget(m_clearBtn);
    layout->addStretch(1);

    connect(m_searchBtn, &QPushButton::clicked, this, &VumoSearch::OnSearchBtnClicked);
    connect(m_clearBtn, &QPushButton::clicked, this, &VumoSearch::ClearControl);
    connect(m_selectCategoryBtn, &QPushButton::clicked, this, &VumoSearch::OnSelectCategory);
    for (QLineEdit* edit : {m_vumoId, m_vumoName, m_itemNum})
        connect(edit, &QLineEdit::returnPressed, this, &VumoSearch::OnSearchBtnClicked);
}

QuickSearchFields VumoSearch::Fields() const
{
    QuickSearchFields fields;
    fields.vumoId = m_vumoId->text().trimmed();
    fields.title = m_vumoName->text();
    fields.itemNum = m_itemNum->text();
    fields.cid = m_category->property("cid").toLongLong();
    fields.status = m_status->currentData().toInt();
    return fields;
}

void VumoSearch::SetCategory(qint64 cid, const QString& name)
{
    m_category->setProperty("cid", cid);
    m_category->setText(name);
}

void VumoSearch::OnSearchBtnClicked()
{
    const QuickSearchFields fields = Fields();
    const QString refusal = QuickSearchCheck(fields);
    if (!refusal.isEmpty()) {
        Quorvia::core::ui::ShowMsgBox(this, refusal);
        return;
    }
    Quorvia::utils::WSLogStatisticsSingleton::instance()->AddStatistics(kSearchUsageCategory, kQuickSearchUsageEvent);
    const QString statement = QuickSearchStatement(fields);
    if (statement.isEmpty())
        return;
    emit SearchVumoSignal(statement);
}

void VumoSearch::ClearControl()
{
    m_vumoId->clear();
    m_vumoName->clear();
    m_itemNum->clear();
    SetCategory(0, QString());
    m_status->setCurrentIndex(0);
    emit ClearSearchSignal();
}

void VumoSearch::OnSelectCategory()
{
    qint64 cid = m_category->property("cid").toLongLong();
    QString name;
    if (CatsBrowserDlg::Pick(this, cid, name))
        SetCategory(cid, name);
}

} // namespace Quorvia::vumo
