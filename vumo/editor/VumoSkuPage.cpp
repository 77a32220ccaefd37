#include "editor/VumoSkuPage.h"

#include "database/VumoDBMgr.h"
#include "editor/EditCheckbox.h"
#include "editor/SkuEditDelegate.h"
#include "editor/SkuEditTableHeaderView.h"
#include "editor/SkuTableWidget.h"
#include "entity/VumoDataEntity.h"
#include "ui/MsgBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace Quorvia::vumo {

using editor::SkuField;
using editor::SkuGrid;

namespace {
constexpr int kVisibleValues = 13;
constexpr int kValuesPerLine = 7;
} // namespace

VumoSkuPage::VumoSkuPage(const editor::VumoEditContext& context, QWidget* parent)
    : VumoEditInterface(parent)
    , m_context(context)
    , m_notice(new QLabel(this))
    , m_content(new QWidget(this))
    , m_valueArea(new QScrollArea)
    , m_table(new SkuTableWidget)
{
    qRegisterMetaType<QList<SKU_ATT_VALUE_TYPE>>();
    m_notice->setTextFormat(Qt::RichText);
    m_notice->setOpenExternalLinks(true);
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->hide();

    auto* values = new QWidget;
    m_valueLayout = new QVBoxLayout(values);
    m_valueLayout->setContentsMargins(4, 4, 4, 4);
    m_valueLayout->addStretch();
    m_valueArea->setWidget(values);
    m_valueArea->setWidgetResizable(true);
    m_valueArea->setFrameShape(QFrame::NoFrame);

    // Short windows: the seller moves the split between the values and the table.
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->addWidget(m_valueArea);
    m_splitter->addWidget(m_table);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    auto* contentLayout = new QVBoxLayout(m_content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(m_splitter);
    m_content->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_notice);
    layout->addWidget(m_content, 1);

    connect(m_table, &QTableWidget::itemChanged, this, &VumoSkuPage::OnSkuViewChange);
    SkuEditDelegate* delegate = m_table->Delegate();
    connect(delegate, &SkuEditDelegate::ApplyColor, this, &VumoSkuPage::OnApplySameColor);
    connect(delegate, &SkuEditDelegate::ApplySize, this, &VumoSkuPage::OnApplySameSize);
    connect(delegate, &SkuEditDelegate::ChangeCursor, this, &VumoSkuPage::OnChangeCursor);
    SkuEditTableHeaderView* header = m_table->Header();
    connect(header, &SkuEditTableHeaderView::ModifyYvValue, this, &VumoSkuPage::OnModifyYvValue);
    connect(header, &SkuEditTableHeaderView::ModifyStock, this, &VumoSkuPage::OnModifyStock);
}

VumoSkuPage::~VumoSkuPage() = default;

void VumoSkuPage::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
    m_loaded = vumo != nullptr;
    m_categoryChanged = false;
    showCategory(vumo ? vumo->cid() : 0, true);
    emitColours(true);
}

void VumoSkuPage::OnYvCatsChanged(qint64 cid)
{
    if (!m_loaded || cid == m_cid)
        return;
    // Back in the listing's own category its stored SKUs come back.
    m_categoryChanged = cid != m_vumo->cid();
    showCategory(cid, !m_categoryChanged);
    emitColours(false);
}

void VumoSkuPage::showCategory(qint64 cid, bool fromListing)
{
    clearValues();
    m_cid = cid;
    const QMap<qint64, editor::StoredSku> stored = fromListing && m_vumo ? SkuGrid::StoredSkus(m_vumo->Skus())
                                                                         : m_grid.Stored();

    std::shared_ptr<database::CategoryDbInterface> store = m_context.categories;
    if (!store)
        store = database::VumoDBMgr::instance()->GetCategoryDb();
    editor::SaleAttributes sale;
    sale.outcome = editor::SaleAttributes::ReadFailed;
    if (store)
        sale = editor::LoadSaleAttributes(*store, cid, m_vumo ? m_vumo->vumo_id() : 0);

    m_grid = SkuGrid(sale.attributes);
    if (sale.outcome == editor::SaleAttributes::Ok && fromListing && m_vumo)
        m_grid.Load(m_vumo->Skus(), m_vumo->property_alias());
    else
        m_grid.AdoptStored(stored);

    switch (sale.outcome) {
    case editor::SaleAttributes::NoCategory:
        m_notice->setText(QStringLiteral("请在“<font color=#1f497d>基本信息</font>”中，选择“<font "
                                         "color=#1f497d>Yv分类</font>”后，再“添加SKU属性”"));
        break;
    case editor::SaleAttributes::NoneDefined:
        m_notice->setText(
            QStringLiteral("请先设置类目销售属性!<a href=\"%1\">点此登录设置</a>").arg(m_context.backOfficeLink));
        break;
    default:
        m_notice->clear();
        break;
    }
    const bool ok = sale.outcome == editor::SaleAttributes::Ok;
    m_notice->setVisible(!m_notice->text().isEmpty());
    m_content->setVisible(ok);
    QStringList names;
    for (const editor::SkuAttribute& attribute : m_grid.Attributes())
        names << attribute.name;
    m_table->SetupColumns(names, m_context.stockMode == 1);
    m_values.resize(m_grid.AttributeCount());
    m_moreButtons.resize(m_grid.AttributeCount());
    m_expanded.fill(false, m_grid.AttributeCount());
    for (int attr = 0; attr < m_grid.AttributeCount(); ++attr)
        buildValueRow(attr);
    refreshValues();
    refreshTable();
    fitValueArea();
}

void VumoSkuPage::fitValueArea()
{
    // The values take what they need, but at most half of the page: the table stays usable in
    // short windows, and the rest of the values scroll.
    const int total = qMax(m_splitter->height(), height() - 20);
    const int wanted = m_valueArea->widget()->sizeHint().height() + 4;
    const int values = qMin(wanted, qMax(total / 2, 80));
    m_splitter->setSizes({values, qMax(total - values, 120)});
}

void VumoSkuPage::clearValues()
{
    qDeleteAll(m_valueRows);
    m_valueRows.clear();
    m_values.clear();
    m_moreButtons.clear();
    m_expanded.clear();
}

void VumoSkuPage::buildValueRow(int attr)
{
    const editor::SkuAttribute& attribute = m_grid.Attributes().at(attr);
    // Every widget is made with its parent: a parentless widget shown would become a window.
    auto* row = new QWidget(m_valueArea->widget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(attribute.name + QStringLiteral("："), row);
    label->setFixedWidth(80);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(label, 0, Qt::AlignTop);
    auto* boxes = new QWidget(row);
    boxes->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* grid = new QGridLayout(boxes);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int i = 0; i < attribute.values.size(); ++i) {
        const editor::SkuValue& value = attribute.values.at(i);
        auto* box = new EditCheckbox(attr, value.vid, value.name, boxes);
        if (i >= kVisibleValues)
            box->hide();
        connect(box->CheckBox(), &QCheckBox::stateChanged, this, &VumoSkuPage::OnCheckBoxStateChanged);
        connect(box->AliasEdit(), &QLineEdit::editingFinished, this, &VumoSkuPage::OnAliasChanged);
        grid->addWidget(box, i / kValuesPerLine, i % kValuesPerLine);
        m_values[attr] << box;
    }
    layout->addWidget(boxes, 0, Qt::AlignTop);
    layout->addStretch();
    auto* more = new QPushButton(QStringLiteral("更多"), row);
    more->setObjectName(QStringLiteral("skueditmorebtn"));
    more->setHidden(attribute.values.size() <= kVisibleValues);
    connect(more, &QPushButton::clicked, this, attr == 0 ? &VumoSkuPage::OnMoreColor : &VumoSkuPage::OnMoreSize);
    layout->addWidget(more, 0, Qt::AlignTop);
    m_moreButtons[attr] = more;
    m_valueLayout->insertWidget(m_valueLayout->count() - 1, row);
    row->show();
    m_valueRows << row;
}

void VumoSkuPage::toggleMore(int attr)
{
    if (attr < 0 || attr >= m_values.size())
        return;
    m_expanded[attr] = !m_expanded.at(attr);
    for (int i = kVisibleValues; i < m_values.at(attr).size(); ++i)
        m_values.at(attr).at(i)->setVisible(m_expanded.at(attr));
    m_moreButtons.at(attr)->setText(m_expanded.at(attr) ? QStringLiteral("收起") : QStringLiteral("更多"));
    fitValueArea();
}

void VumoSkuPage::OnMoreColor()
{
    toggleMore(0);
}

void VumoSkuPage::OnMoreSize()
{
    toggleMore(1);
}

void VumoSkuPage::refreshValues()
{
    for (int attr = 0; attr < m_values.size(); ++attr) {
        for (EditCheckbox* box : m_values.at(attr))
            box->SetState(m_grid.IsTicked(attr, box->Vid()), m_grid.Alias(attr, box->Vid()));
    }
}

void VumoSkuPage::refreshTable()
{
    const QSignalBlocker blocker(m_table);
    m_table->clearSpans();
    m_table->setRowCount(m_grid.RowCount());
    const auto fixed = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignCenter);
        return item;
    };
    for (int r = 0; r < m_grid.RowCount(); ++r) {
        const editor::SkuRow& row = m_grid.Rows().at(r);
        m_table->setItem(r, 0, fixed(row.skuId > 0 ? QString::number(row.skuId) : QString()));
        for (int attr = 0; attr < m_grid.AttributeCount(); ++attr) {
            QTableWidgetItem* cell = fixed(m_grid.DisplayText(attr, row.vids.at(attr)));
            cell->setData(Qt::UserRole, row.vids.at(attr));
            m_table->setItem(r, m_table->AttributeColumn(attr), cell);
        }
        m_table->setItem(r, m_table->StockColumn(), new QTableWidgetItem(row.stock));
        m_table->setItem(r, m_table->PriceColumn(), new QTableWidgetItem(row.price));
        m_table->setItem(r, m_table->OuterIdColumn(), new QTableWidgetItem(row.outerId));
        const int span = m_grid.FirstValueSpan(r);
        if (span > 1)
            m_table->setSpan(r, m_table->AttributeColumn(0), span, 1);
    }
}

void VumoSkuPage::refreshFields()
{
    const QSignalBlocker blocker(m_table);
    for (int r = 0; r < m_grid.RowCount() && r < m_table->rowCount(); ++r) {
        m_table->item(r, m_table->StockColumn())->setText(m_grid.Field(r, SkuField::Stock));
        m_table->item(r, m_table->PriceColumn())->setText(m_grid.Field(r, SkuField::Price));
        m_table->item(r, m_table->OuterIdColumn())->setText(m_grid.Field(r, SkuField::OuterId));
    }
    m_table->viewport()->update();
}

void VumoSkuPage::emitColours(bool isInit)
{
    emit ColorAttributeChangedSignal(m_grid.ColourValues(), isInit);
}

SkuField VumoSkuPage::fieldOf(int column) const
{
    if (column == m_table->StockColumn())
        return SkuField::Stock;
    if (column == m_table->PriceColumn())
        return SkuField::Price;
    return SkuField::OuterId;
}

void VumoSkuPage::showLater(const QString& text)
{
    // Not from inside the check box's or the edit's signal: the box's event loop would run
    // while they are still busy (and the edit would end its editing a second time).
    QTimer::singleShot(0, this, [this, text] { core::ui::ShowMsgBox(this, text); });
}

void VumoSkuPage::OnCheckBoxStateChanged(int state)
{
    auto* box = qobject_cast<QCheckBox*>(sender());
    if (!box)
        return;
    const int attr = box->property("attr").toInt();
    const qint64 vid = box->property("vid").toLongLong();
    const SkuGrid::TickResult result = m_grid.SetTicked(attr, vid, state == Qt::Checked);
    if (result == SkuGrid::TickResult::TooManyRows) {
        refreshValues();
        showLater(QStringLiteral("提示：SKU最多只能添加100个！"));
        return;
    }
    refreshValues();
    if (result == SkuGrid::TickResult::Unchanged)
        return;
    refreshTable();
    if (m_grid.Attributes().at(attr).IsColour())
        emitColours(false);
    emit VumoChangedSignal();
}

void VumoSkuPage::OnAliasChanged()
{
    auto* edit = qobject_cast<QLineEdit*>(sender());
    if (!edit)
        return;
    const int attr = edit->property("attr").toInt();
    const qint64 vid = edit->property("vid").toLongLong();
    const SkuGrid::AliasResult result = m_grid.SetAlias(attr, vid, edit->text());
    // A refused alias gives way to the one in force.
    edit->setText(m_grid.Alias(attr, vid));
    if (result == SkuGrid::AliasResult::ForbiddenChar) {
        showLater(editor::AliasForbiddenMessage());
        return;
    }
    if (result == SkuGrid::AliasResult::Taken) {
        showLater(QStringLiteral("别名已经存在"));
        return;
    }
    if (result != SkuGrid::AliasResult::Done)
        return;
    refreshTable();
    if (m_grid.Attributes().at(attr).IsColour())
        emitColours(false);
    emit VumoChangedSignal();
}

void VumoSkuPage::OnSkuViewChange(QTableWidgetItem* item)
{
    if (!item)
        return;
    const int column = item->column();
    if (column != m_table->StockColumn() && column != m_table->PriceColumn() && column != m_table->OuterIdColumn())
        return;
    m_grid.SetField(item->row(), fieldOf(column), item->text());
    emit VumoChangedSignal();
}

void VumoSkuPage::OnModifyYvValue(QString strText, int type)
{
    m_grid.ApplyToRows(SkuField::Price, strText, type == 1);
    refreshFields();
    emit VumoChangedSignal();
}

void VumoSkuPage::OnModifyStock(QString strText, int type)
{
    m_grid.ApplyToRows(SkuField::Stock, strText, type == 1);
    refreshFields();
    emit VumoChangedSignal();
}

void VumoSkuPage::OnApplySameColor(int row, int column)
{
    m_grid.ApplySameValue(row, 0, fieldOf(column));
    refreshFields();
    emit VumoChangedSignal();
}

void VumoSkuPage::OnApplySameSize(int row, int column)
{
    if (m_grid.AttributeCount() < 2)
        return;
    m_grid.ApplySameValue(row, 1, fieldOf(column));
    refreshFields();
    emit VumoChangedSignal();
}

void VumoSkuPage::OnChangeCursor(Qt::CursorShape shape)
{
    m_table->viewport()->setCursor(shape);
}

bool VumoSkuPage::collect(QStringList& errors, entity::VumoDataEntity& target, bool withDisplayText,
                          editor::VumoEditSave* save)
{
    const bool stockKept = m_context.stockMode != 1;
    const editor::SkuCheckResult checked = editor::CheckSkuRows(m_grid, target.market_price(), stockKept);
    errors << checked.errors;
    if (!checked.ok())
        return false;
    if (save && !checked.records.isEmpty()) {
        const QString range = editor::PriceRangeMessage(target.yv_price(), checked.minPrice, checked.maxPrice);
        if (!range.isEmpty()) {
            errors << range;
            return false;
        }
    }
    editor::WriteSkus(m_grid, checked, stockKept, withDisplayText, target);
    if (save) {
        for (qint64 id : m_grid.RemovedSkuIds()) {
            if (!save->removedSkuIds.contains(id))
                save->removedSkuIds << id;
        }
    }
    return true;
}

bool VumoSkuPage::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    // Without the category's sale attributes the stored SKUs stay as they are, unless the
    // seller moved the listing to another category.
    if (!m_loaded || !m_vumo || (m_grid.AttributeCount() == 0 && !m_categoryChanged))
        return true;
    return collect(errors, *m_vumo, false, &save);
}

bool VumoSkuPage::CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
{
    if (!m_loaded || !m_vumo || (m_grid.AttributeCount() == 0 && !m_categoryChanged))
        return true;
    return collect(errors, copy, true, nullptr);
}

} // namespace Quorvia::vumo
