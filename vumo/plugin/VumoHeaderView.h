#pragma once
// The listing table's tall horizontal header: each section label with a one-line filter field
// under it, a tick box over the tick column, and "清除筛选条件" in the tick column's filter
// slot. The fields follow section moves, resizes and hiding.
#include <QHeaderView>
#include <QMap>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace Quorvia::vumo {

class VumoHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 62;

    explicit VumoHeaderView(Qt::Orientation orientation, QWidget* parent = nullptr);
    ~VumoHeaderView() override;

    void setModel(QAbstractItemModel* model) override;

    // Filter text per logical column (tick column excluded); empty texts are left out.
    QMap<int, QString> FilterTexts() const;
    QString FilterText(int column) const;
    void SetFilterText(int column, const QString& text);
    // Empties every field without emitting FindEditTextChanged().
    void ClearFilterTexts();
    QLineEdit* FilterEdit(int column) const;

    QCheckBox* CheckBox() const { return m_checkBox; }
    QLabel* ClearFiltersLabel() const { return m_clearLabel; }
    // Sets the tick box without emitting CheckBoxStateChanged.
    void SetCheckState(int state);

    // Places the fields again after the sections changed. They live on the viewport, so a
    // horizontal scroll moves them with the sections.
    void RepositionEditors();

    QSize sizeHint() const override;

signals:
    void FindEditTextChanged();
    void ClickClearFilters();
    // The seller clicked the tick box: 2 checked, 0 unchecked.
    void CheckBoxStateChanged(int state);

public slots:
    void OnSectionResized(int logicalIndex, int oldSize, int newSize);
    void OnSectionCountChanged(int oldCount, int newCount);
    void OnSectionMove(int logicalIndex, int oldVisualIndex, int newVisualIndex);
    void OnEditReturnPressed();
    void OnEditTextChanged(const QString& text);
    void OnLabelClicked();

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildEditors();

    QMap<int, QLineEdit*> m_edits;
    QCheckBox* m_checkBox = nullptr;
    QLabel* m_clearLabel = nullptr;
};

} // namespace Quorvia::vumo
