#include "plugin/AdvanceSearchWidget.h"

#include "editor/CatsBrowserDlg.h"
#include "editor/SellerCategoryDlg.h"
#include "network/utils/WSLogStatisticsSingleton.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoCommandRules.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoSearchStatement.h"
#include "ui/MsgBox.h"
#include "ui/QueryDateTimeEdit.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Quorvia::core::ui::QueryDateTimeEdit;

namespace Quorvia::vumo {

namespace {

QLineEdit* MakeEdit(const char* objectName, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

QPushButton* MakeButton(const QString& text, const char* objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

// Beside a read-only field: the field and its "选择" and clear buttons in one row.
QWidget* PickerRow(QLineEdit* edit, QPushButton* select, QPushButton* clear, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    // Compact buttons, so that the field keeps most of the column.
    for (QPushButton* button : {select, clear}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
        layout->addWidget(button);
    }
    return row;
}

QWidget* RangeRow(QWidget* from, QWidget* to, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(from, 1);
    layout->addWidget(new QLabel(QStringLiteral("-"), row));
    layout->addWidget(to, 1);
    return row;
}

} // namespace

AdvanceSearchWidget::AdvanceSearchWidget(QWidget* parent, int stockMode)
    : QWidget(parent)
    , m_stockMode(stockMode >= 0 ? stockMode : UserInfo::instance()->GetStockMode())
{
    setObjectName(QStringLiteral("AdvanceSearchWidget"));
    setWindowTitle(QStringLiteral("高级搜索"));
    setLocale(SearchFormLocale());

    m_vumoName = MakeEdit("VumoNameEdit", this);
    m_vumoName->setMaxLength(kSearchTitleMaxLength);
    // The number fields have no validators: a validator drops the keys it refuses ("3.5"
    // became 35), so the typed text is checked on search and refused with a message instead.
    m_vumoId = MakeEdit("VumoIdEdit", this);
    m_itemNum = MakeEdit("ItemNumEdit", this);
    m_itemNum->setMaxLength(kSearchItemNumMaxLength);
    m_skuId = MakeEdit("SKUIDEdit", this);

    m_yvCategory = MakeEdit("YvCategoryEdit", this);
    m_yvCategory->setReadOnly(true);
    m_selectYvCategoryBtn = MakeButton(QStringLiteral("选择"), "SelectYvCategoryBtn", this);
    auto* clearYvCategoryBtn = MakeButton(QStringLiteral("清除"), "ClearYvCategoryBtn", this);
    m_shopCategory = MakeEdit("ShopCategoryEdit", this);
    m_shopCategory->setReadOnly(true);
    m_selectShopCategoryBtn = MakeButton(QStringLiteral("选择"), "SelectShopCategoryBtn", this);
    auto* clearShopCategoryBtn = MakeButton(QStringLiteral("清除"), "ClearShopCategoryBtn", this);

    m_state = new QComboBox(this);
    m_state->setObjectName(QStringLiteral("VumoStateComb"));
    FillSearchStatusCombo(m_state);

    m_onlineTime1 = new QueryDateTimeEdit(this);
    m_onlineTime1->setObjectName(QStringLiteral("OnLineTime1"));
    m_onlineTime2 = new QueryDateTimeEdit(this);
    m_onlineTime2->setObjectName(QStringLiteral("OnLineTime2"));
    // A picked day covers the whole day: from its first second to its last.
    m_onlineTime1->SetPickTime(QTime(0, 0, 0));
    m_onlineTime2->SetPickTime(QTime(23, 59, 59));

    m_price1 = MakeEdit("YvPriceEdit1", this);
    m_price2 = MakeEdit("YvPriceEdit2", this);
    m_stock1 = MakeEdit("VumoStockEdit1", this);
    m_stock2 = MakeEdit("VumoStockEdit2", this);

    auto* searchBtn = MakeButton(QStringLiteral("查询"), "SearchBtn", this);
    auto* clearBtn = MakeButton(QStringLiteral("清空"), "ClearBtn", this);
    auto* cancelBtn = MakeButton(QStringLiteral("关闭"), "CancelBtn", this);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* field, int column) {
        auto* text = new QLabel(label, this);
        grid->addWidget(text, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
        return text;
    };
    addRow(QStringLiteral("商品名称"), m_vumoName, 0);
    addRow(QStringLiteral("商品编号"), m_vumoId, 1);
    ++row;
    addRow(QStringLiteral("商品货号"), m_itemNum, 0);
    addRow(QStringLiteral("SKU编号"), m_skuId, 1);
    ++row;
    addRow(QStringLiteral("Yv分类"), PickerRow(m_yvCategory, m_selectYvCategoryBtn, clearYvCategoryBtn, this), 0);
    addRow(QStringLiteral("店内分类"), PickerRow(m_shopCategory, m_selectShopCategoryBtn, clearShopCategoryBtn, this),
           1);
    ++row;
    addRow(QStringLiteral("商品状态"), m_state, 0);
    addRow(QStringLiteral("上架时间"), RangeRow(m_onlineTime1, m_onlineTime2, this), 1);
    ++row;
    addRow(QStringLiteral("Yv价"), RangeRow(m_price1, m_price2, this), 0);
    QWidget* stockRange = RangeRow(m_stock1, m_stock2, this);
    m_stockLabel = addRow(QStringLiteral("商品库存"), stockRange, 1);
    if (m_stockMode == 1) {
        m_stockLabel->hide();
        stockRange->hide();
    }

    // Both halves of the form share the width alike.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(1, 240);
    grid->setColumnMinimumWidth(3, 240);

    // The buttons stand in a column beside the fields rather than in a row of their own: in the
    // main widget the panel sits above the table, and every row it takes is a row of listings
    // less.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(searchBtn);
    buttons->addWidget(clearBtn);
    buttons->addWidget(cancelBtn);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);
    layout->addLayout(grid, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(searchBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnSearch);
    connect(clearBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnClear);
    connect(cancelBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnClose);
    connect(m_selectYvCategoryBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnSelectYvCategory);
    connect(m_selectShopCategoryBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnSelectShopCategory);
    connect(clearYvCategoryBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnClearYvCategory);
    connect(clearShopCategoryBtn, &QPushButton::clicked, this, &AdvanceSearchWidget::OnClearShopCategory);
}

AdvanceSearchFields AdvanceSearchWidget::Fields() const
{
    AdvanceSearchFields f;
    f.title = m_vumoName->text();
    f.vumoId = m_vumoId->text().trimmed();
    f.itemNum = m_itemNum->text();
    f.cid = m_yvCategory->property("cid").toLongLong();
    f.shopCategorys = m_shopCategory->property("shop_categorys").toString();
    f.skuId = m_skuId->text().trimmed();
    f.status = m_state->currentData().toInt();
    if (!m_onlineTime1->IsEmpty())
        f.onlineFrom = m_onlineTime1->dateTime();
    if (!m_onlineTime2->IsEmpty())
        f.onlineTo = m_onlineTime2->dateTime();
    f.priceFrom = m_price1->text();
    f.priceTo = m_price2->text();
    f.stockMode = m_stockMode;
    if (m_stockMode != 1) {
        f.stockFrom = m_stock1->text();
        f.stockTo = m_stock2->text();
    }
    return f;
}

void AdvanceSearchWidget::SetYvCategory(qint64 cid, const QString& name)
{
    m_yvCategory->setProperty("cid", cid);
    m_yvCategory->setText(name);
}

void AdvanceSearchWidget::SetShopCategory(const QString& shopCategorys, const QString& name)
{
    m_shopCategory->setProperty("shop_categorys", shopCategorys);
    m_shopCategory->setText(name);
}

void AdvanceSearchWidget::OnSearch()
{
    const AdvanceSearchFields fields = Fields();
    const QString refusal = AdvanceSearchCheck(fields);
    if (!refusal.isEmpty()) {
        Quorvia::core::ui::ShowMsgBox(this, refusal);
        return;
    }
    Quorvia::utils::WSLogStatisticsSingleton::instance()->AddStatistics(kSearchUsageCategory, kAdvanceSearchUsageEvent);
    emit AdvanceSearchSignal(AdvanceSearchCondition(fields));
    // The dialog closes after a search; the panel stays open for the next one.
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->accept();
}

void AdvanceSearchWidget::OnClose()
{
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->accept();
    else
        emit CloseSignal();
}

void AdvanceSearchWidget::OnClear()
{
    for (QLineEdit* edit : {m_vumoName, m_vumoId, m_itemNum, m_skuId, m_price1, m_price2, m_stock1, m_stock2})
        edit->clear();
    OnClearYvCategory();
    OnClearShopCategory();
    m_state->setCurrentIndex(0);
    m_onlineTime1->SetEmpty(true);
    m_onlineTime2->SetEmpty(true);
}

void AdvanceSearchWidget::OnSelectYvCategory()
{
    qint64 cid = m_yvCategory->property("cid").toLongLong();
    QString name;
    if (CatsBrowserDlg::Pick(this, cid, name))
        SetYvCategory(cid, name);
}

void AdvanceSearchWidget::OnSelectShopCategory()
{
    // The search looks for the chosen "%1-%2" pairs; the names are what the field shows.
    QString text = m_shopCategory->property("shop_categorys").toString();
    if (SellerCategoryDlg::Pick(this, text))
        SetShopCategory(text.section(QLatin1Char('|'), 0, 0), text.section(QLatin1Char('|'), 1));
}

void AdvanceSearchWidget::OnClearYvCategory()
{
    SetYvCategory(0, QString());
}

void AdvanceSearchWidget::OnClearShopCategory()
{
    SetShopCategory(QString(), QString());
}

} // namespace Quorvia::vumo
