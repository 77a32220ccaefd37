#include "plugin/VumoTableView.h"

#include "network/utils/WSLogStatisticsSingleton.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoHeaderView.h"
#include "plugin/VumoTableFilterModel.h"
#include "plugin/VumoTableRules.h"
#include "plugin/VumoTableViewModel.h"
#include "quorvia/UserConfig.h"
#include "utils/Log.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollBar>

#include <algorithm>

namespace Quorvia::vumo {

namespace {

// Usage report of the header filter.
constexpr qint64 kUsageCategory = 3008;
constexpr qint64 kUsageFilter = 3008006;

constexpr int kDefaultRowHeight = 24;

// Widths used until the seller has a saved layout.
int defaultWidth(int column)
{
    switch (column) {
    case VumoColCheck:
        return 84;
    case VumoColTemplateName:
        return 120;
    case VumoColVumoId:
        return 100;
    case VumoColTitle:
        return 260;
    case VumoColModified:
        return 140;
    case VumoColStatus:
        return 110;
    case VumoColErrorMsg:
        return 200;
    default:
        return 90;
    }
}

} // namespace

VumoTableView::VumoTableView(QWidget* parent)
    : QTableView(parent)
    , m_stockMode(UserInfo::instance()->GetStockMode())
{
    m_model = new VumoTableViewModel(this);
    m_filter = new VumoTableFilterModel(m_model, this);
    m_header = new VumoHeaderView(Qt::Horizontal, this);
    setHorizontalHeader(m_header);
    setModel(m_filter);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    m_header->setStretchLastSection(false);
    for (int column = 0; column < VumoColCount; ++column) {
        m_header->resizeSection(column, defaultWidth(column));
        m_lastWidths.insert(column, defaultWidth(column));
    }
    // No sort until the seller clicks a header: the rows keep the order of the query.
    m_header->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);

    initFrozenView();

    connect(m_model, &VumoTableViewModel::ModelCheckBoxStateChanged, this, &VumoTableView::onModelCheckBoxStateChanged);
    connect(m_model, &VumoTableViewModel::ModelReset, this, &VumoTableView::OnModelReset);
    // The header box counts the rows in view: follow every change of them.
    const auto refreshBox = [this] { onModelCheckBoxStateChanged(Qt::Unchecked); };
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, refreshBox);
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, refreshBox);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, refreshBox);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &VumoTableView::selectionChangedSignal);

    for (VumoHeaderView* header : {m_header, m_frozenHeader}) {
        connect(header, &VumoHeaderView::FindEditTextChanged, this, &VumoTableView::OnFilterChanged);
        connect(header, &VumoHeaderView::ClickClearFilters, this, &VumoTableView::OnClickClearFilters);
        connect(header, &VumoHeaderView::CheckBoxStateChanged, this, &VumoTableView::onCheckBoxStateChange);
        connect(header, &QHeaderView::sectionClicked, this, &VumoTableView::onViewHeaderClicked);
        connect(header, &QHeaderView::sortIndicatorChanged, this, &VumoTableView::syncSortIndicator);
    }
    connect(m_header, &QHeaderView::sectionResized, this, &VumoTableView::updateSectionWidth);
    connect(m_header, &QHeaderView::sectionMoved, this, [this] { syncFrozenColumns(); });
    connect(m_frozenHeader, &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        // The leading columns are resized in the overlay's header, which covers the main one.
        if (m_syncing || m_frozenHeader->isSectionHidden(logical) || newSize <= 0)
            return;
        m_header->resizeSection(logical, newSize);
    });
    connect(m_frozenHeader, &QHeaderView::sectionMoved, this, [this](int, int oldVisual, int newVisual) {
        if (m_syncing)
            return;
        m_header->moveSection(oldVisual, newVisual);
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, &VumoTableView::updateSectionHeight);

    connect(quorvia::settings::CUserConfig::Instance(), &quorvia::settings::CUserConfig::signalSettingsChanged, this,
            &VumoTableView::reInitTableHeader);

    RestoreColumnLayout();
}

VumoTableView::~VumoTableView() = default;

void VumoTableView::initFrozenView()
{
    m_frozenView = new QTableView(this);
    m_frozenView->setObjectName(QStringLiteral("vumo_frozen_tableview"));
    m_frozenHeader = new VumoHeaderView(Qt::Horizontal, m_frozenView);
    m_frozenHeader->setObjectName(QStringLiteral("vumo_frozen_horheader"));
    m_frozenView->setHorizontalHeader(m_frozenHeader);
    m_frozenView->setModel(m_filter);
    m_frozenView->setSelectionModel(selectionModel());
    m_frozenView->setFocusPolicy(Qt::NoFocus);
    m_frozenView->verticalHeader()->hide();
    m_frozenView->verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
    m_frozenView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozenView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozenView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_frozenView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_frozenView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozenView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_frozenView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_frozenView->setWordWrap(false);
    m_frozenView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_frozenView->setFrameShape(QFrame::NoFrame);
    m_frozenView->setStyleSheet(QStringLiteral("QTableView#vumo_frozen_tableview { border: none; "
                                               "border-right: 1px solid #c8c8c8; }"));
    m_frozenHeader->setStretchLastSection(false);
    m_frozenHeader->setSortIndicator(-1, Qt::AscendingOrder);
    m_frozenView->setSortingEnabled(true);

    viewport()->stackUnder(m_frozenView);

    connect(m_frozenView, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        emit customContextMenuRequested(viewport()->mapFromGlobal(m_frozenView->viewport()->mapToGlobal(pos)));
    });
    connect(m_frozenView, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
    connect(m_frozenView, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
    connect(m_frozenView->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozenView->verticalScrollBar(),
            &QAbstractSlider::setValue);

    syncFrozenColumns();
    m_frozenView->show();
}

int VumoTableView::frozenWidth() const
{
    int width = 0;
    for (int visual = 0; visual < VumoFrozenColumnCount && visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            width += m_header->sectionSize(logical);
    }
    return width;
}

void VumoTableView::syncFrozenColumns()
{
    if (!m_frozenView)
        return;
    m_syncing = true;
    // The overlay's header mirrors the main order, so visual positions match one for one.
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        const int current = m_frozenHeader->visualIndex(logical);
        if (current != visual)
            m_frozenHeader->moveSection(current, visual);
        const bool shown = visual < VumoFrozenColumnCount && !m_header->isSectionHidden(logical);
        m_frozenView->setColumnHidden(logical, !shown);
        if (shown && m_frozenHeader->sectionSize(logical) != m_header->sectionSize(logical))
            m_frozenHeader->resizeSection(logical, m_header->sectionSize(logical));
    }
    m_syncing = false;
    updateFrozenGeometry();
}

void VumoTableView::updateFrozenGeometry()
{
    if (!m_frozenView)
        return;
    const int x = frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0);
    m_frozenView->setGeometry(x, frameWidth(), frozenWidth(), viewport()->height() + m_header->height());
    m_frozenHeader->RepositionEditors();
}

void VumoTableView::updateSectionWidth(int logicalIndex, int, int newSize)
{
    if (newSize > 0)
        m_lastWidths.insert(logicalIndex, newSize);
    if (m_syncing || !m_frozenView)
        return;
    if (m_frozenHeader->visualIndex(logicalIndex) < VumoFrozenColumnCount && newSize > 0
        && m_frozenHeader->sectionSize(logicalIndex) != newSize) {
        m_syncing = true;
        m_frozenHeader->resizeSection(logicalIndex, newSize);
        m_syncing = false;
    }
    updateFrozenGeometry();
}

void VumoTableView::updateSectionHeight(int logicalIndex, int, int newSize)
{
    if (m_syncing || !m_frozenView || newSize <= 0)
        return;
    m_frozenView->verticalHeader()->resizeSection(logicalIndex, newSize);
}

void VumoTableView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

QModelIndex VumoTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // Keep the current cell out from under the overlay when moving left.
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    if (cursorAction == MoveLeft && current.isValid()
        && m_header->visualIndex(current.column()) >= VumoFrozenColumnCount) {
        const int left = visualRect(current).topLeft().x();
        const int covered = frozenWidth();
        if (left < covered)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - covered);
    }
    return current;
}

void VumoTableView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // The leading columns never scroll out of sight; only move vertically for them.
    if (index.isValid() && m_header->visualIndex(index.column()) < VumoFrozenColumnCount) {
        const int hValue = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(hValue);
        return;
    }
    QTableView::scrollTo(index, hint);
}

void VumoTableView::SetVumoList(const QList<VUMO_LIST_STRUCT>& rows)
{
    m_model->SetVumoList(rows);
}

void VumoTableView::OnModelReset()
{
    // The filter model kept its texts through the reset; take the fields as they are now.
    applyFilters();
    // The seller's sort stays: new rows come in the query's order and are sorted again.
    const int section = m_header->sortIndicatorSection();
    if (section >= 0 && section < VumoColCount && m_model->rowCount() > 1)
        m_model->sort(section, m_header->sortIndicatorOrder());
    onModelCheckBoxStateChanged(Qt::Unchecked);
}

void VumoTableView::syncSortIndicator(int logicalIndex, Qt::SortOrder order)
{
    for (VumoHeaderView* header : {m_header, m_frozenHeader}) {
        if (header->sortIndicatorSection() != logicalIndex || header->sortIndicatorOrder() != order) {
            // The model is already sorted by the header that changed.
            const QSignalBlocker blocker(header);
            header->setSortIndicator(logicalIndex, order);
            header->viewport()->update();
        }
    }
}

QList<int> VumoTableView::SelectedRows() const
{
    QList<int> rows;
    const QModelIndexList selected = selectionModel()->selectedRows();
    rows.reserve(selected.size());
    for (const QModelIndex& index : selected) {
        const int row = m_filter->SourceRow(index.row());
        if (row >= 0)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<VUMO_LIST_STRUCT> VumoTableView::GetSelectedVumos() const
{
    return m_model->GetVumosOfRows(SelectedRows());
}

QList<VUMO_LIST_STRUCT> VumoTableView::GetCheckedVumos() const
{
    return m_model->GetCheckedVumos();
}

bool VumoTableView::SelectClientId(const QString& clientId)
{
    const int row = m_model->RowOfClientId(clientId);
    if (row < 0)
        return false;
    if (m_filter->ViewRow(row) < 0)
        OnClickClearFilters();
    const QModelIndex index = m_filter->index(m_filter->ViewRow(row), VumoColTitle);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

int VumoTableView::FilteredOutCount() const
{
    return m_filter->FilteredOutCount();
}

void VumoTableView::onModelCheckBoxStateChanged(int)
{
    // Over the rows in view: a click ticks or unticks those only.
    const int state = VumoHeaderCheckState(m_filter->CheckedShownCount(), m_filter->rowCount());
    m_header->SetCheckState(state);
    m_frozenHeader->SetCheckState(state);
}

void VumoTableView::onCheckBoxStateChange(int state)
{
    // Only the rows the filters leave in view.
    m_model->SetRowsCheckState(m_filter->SourceRows(), state);
}

void VumoTableView::onViewHeaderClicked(int logicalIndex)
{
    if (logicalIndex != VumoColCheck)
        return;
    const int next = m_header->CheckBox()->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
    onCheckBoxStateChange(next);
}

void VumoTableView::onMenuChecked()
{
    m_model->SetRowsCheckState(SelectedRows(), Qt::Checked);
}

void VumoTableView::onMenuUnChecked()
{
    m_model->SetRowsCheckState(SelectedRows(), Qt::Unchecked);
}

void VumoTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const QList<int> rows = SelectedRows();
        if (!rows.isEmpty()) {
            m_model->ToggleRowsChecked(rows);
            // The base class would flip the current row's tick a second time.
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void VumoTableView::OnFilterChanged()
{
    Quorvia::utils::WSLogStatisticsSingleton::instance()->AddStatistics(kUsageCategory, kUsageFilter);
    applyFilters();
}

void VumoTableView::OnClickClearFilters()
{
    m_header->ClearFilterTexts();
    m_frozenHeader->ClearFilterTexts();
    applyFilters();
}

void VumoTableView::applyFilters()
{
    VumoFilterTexts filters;
    for (const VumoHeaderView* header : {m_header, m_frozenHeader}) {
        const QMap<int, QString> texts = header->FilterTexts();
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            filters[it.key()].append(it.value());
    }
    m_filter->SetFilters(filters);
}

void VumoTableView::SetClassHiddenColumns(const QSet<int>& columns)
{
    m_classHidden = columns;
    applyHiddenColumns();
}

void VumoTableView::applyHiddenColumns()
{
    for (int column = 0; column < VumoColCount; ++column) {
        const bool hide = m_userHidden.contains(column) || m_classHidden.contains(column)
            || m_forcedHidden.contains(column);
        if (isColumnHidden(column) != hide)
            setColumnHidden(column, hide);
    }
    syncFrozenColumns();
    m_header->RepositionEditors();
}

void VumoTableView::RestoreColumnLayout()
{
    QVector<VumoColumnEntry> saved;
    const QVector<quorvia::settings::_tagColumnInfo*> infos =
        quorvia::settings::CUserConfig::Instance()->GetVumoColumnInfo();
    for (const quorvia::settings::_tagColumnInfo* info : infos) {
        if (info)
            saved.append({info->column, info->width, info->visible});
    }
    qDeleteAll(infos);

    const VumoColumnLayoutPlan plan = VumoPlanColumnLayout(saved, m_stockMode);
    m_syncing = true;
    for (int visual = 0; visual < plan.order.size(); ++visual) {
        const int current = m_header->visualIndex(plan.order.at(visual));
        if (current != visual)
            m_header->moveSection(current, visual);
    }
    for (auto it = plan.widths.cbegin(); it != plan.widths.cend(); ++it)
        m_header->resizeSection(it.key(), it.value());
    m_syncing = false;
    m_userHidden = plan.userHidden;
    m_forcedHidden = plan.forcedHidden;
    m_layoutRestored = true;
    applyHiddenColumns();
}

bool VumoTableView::SaveColumnLayout(bool quiet)
{
    QVector<quorvia::settings::_tagColumnInfo*> infos;
    infos.reserve(m_header->count());
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        auto* info = new quorvia::settings::_tagColumnInfo;
        info->column = logical;
        // Hidden sections report no size: keep the width they had when last shown.
        info->width = m_header->isSectionHidden(logical) ? m_lastWidths.value(logical, 0)
                                                         : m_header->sectionSize(logical);
        // The class and the fixed rules hide columns for the moment only; what is kept is
        // the seller's own choice.
        info->visible = !m_userHidden.contains(logical);
        infos.append(info);
    }
    const bool saved = quorvia::settings::CUserConfig::Instance()->SetVumoColumnInfo(infos);
    qDeleteAll(infos);
    if (!saved) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "保存拖拽后订单列信息失败！"
                                    << quorvia::settings::CUserConfig::Instance()->FilePath();
        if (!quiet) {
            // Not modal: this runs while the page is being hidden, often on the way out.
            auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("提示"),
                                        QStringLiteral("保存拖拽后订单列信息失败！"), QMessageBox::Ok, window());
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        }
    }
    return saved;
}

void VumoTableView::hideEvent(QHideEvent* event)
{
    QTableView::hideEvent(event);
    if (m_layoutRestored)
        SaveColumnLayout();
}

void VumoTableView::reInitTableHeader(const QString& section, const QString& field)
{
    if (section.toLower() == QLatin1String("vumo") && field == QLatin1String("VumoColumnOrder"))
        RestoreColumnLayout();
}

} // namespace Quorvia::vumo
