#pragma once
// The listing table's header filters as a flat proxy between VumoTableViewModel and both views
// (the main one and the frozen overlay). The views show only the rows the filter texts keep;
// the model keeps every row. A filter change remaps the views in one layout change instead of
// hiding rows one by one, which costs the header work per row.
//
// View rows and model rows keep the same order: the proxy never sorts, sort() sorts the model.
#include "plugin/VumoTableRules.h"

#include <QAbstractProxyModel>
#include <QList>
#include <QPersistentModelIndex>
#include <QVector>

#include <utility>

namespace Quorvia::vumo {

class VumoTableViewModel;

class VumoTableFilterModel final : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit VumoTableFilterModel(VumoTableViewModel* source, QObject* parent = nullptr);
    ~VumoTableFilterModel() override;

    VumoTableViewModel* VumoModel() const { return m_source; }

    // Applies new filter texts to every row. Selected and current rows that stay shown keep
    // their state; the others drop out of the selection. Same texts: nothing happens.
    void SetFilters(const VumoFilterTexts& filters);
    VumoFilterTexts Filters() const { return m_filters; }
    bool IsFiltering() const { return m_filtering; }

    // Model row of a view row and back; -1 when out of range or filtered out.
    int SourceRow(int viewRow) const;
    int ViewRow(int sourceRow) const;
    // Model rows shown, in view order.
    QList<int> SourceRows() const { return m_shown; }
    int FilteredOutCount() const;
    // Ticked rows among those shown.
    int CheckedShownCount() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    // Sorts the model; the views follow through its layout change.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void rebuild();
    // View rows [first, last) of the model rows first..last that are shown.
    std::pair<int, int> viewRange(int sourceFirst, int sourceLast) const;

    void onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);
    void onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void onSourceLayoutAboutToBeChanged();
    void onSourceLayoutChanged();
    void onSourceRowsInserted(const QModelIndex& parent, int first, int last);
    void onSourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void onSourceRowsRemoved(const QModelIndex& parent, int first, int last);

    VumoTableViewModel* m_source = nullptr;
    VumoFilterTexts m_filters;
    bool m_filtering = false;
    // View row -> model row (ascending), and model row -> view row or -1.
    QList<int> m_shown;
    QVector<int> m_viewRowOf;
    // Across a layout change of the model: the proxy's persistent indexes and their model cells.
    QModelIndexList m_layoutProxy;
    QList<QPersistentModelIndex> m_layoutSource;
    bool m_removing = false;
};

} // namespace Quorvia::vumo
