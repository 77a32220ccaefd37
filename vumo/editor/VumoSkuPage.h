#pragma once
// "销售属性": the category's sale attributes turned into SKUs. The page shows a SkuGrid (the
// rules live there) and hands the SKU records to the listing on save.
#include "editor/SkuAttValue.h"
#include "editor/SkuRules.h"
#include "editor/VumoEditContext.h"
#include "editor/VumoEditInterface.h"

#include <QList>
#include <QVector>

class QLabel;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTableWidgetItem;
class QVBoxLayout;

namespace Quorvia::vumo {

class EditCheckbox;
class SkuTableWidget;

class VumoSkuPage : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoSkuPage(const editor::VumoEditContext& context, QWidget* parent = nullptr);
    ~VumoSkuPage() override;

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;
    bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy) override;

    // For the editor and tests: what the page shows.
    const editor::SkuGrid& Grid() const { return m_grid; }
    SkuTableWidget* Table() const { return m_table; }
    QList<EditCheckbox*> Values(int attr) const { return m_values.value(attr); }
    QLabel* Notice() const { return m_notice; }

signals:
    void ColorAttributeChangedSignal(QList<SKU_ATT_VALUE_TYPE> colorValue, bool isInit);

public slots:
    // Another category was picked on the basic page: its sale attributes replace the table.
    void OnYvCatsChanged(qint64 cid);

    void OnAliasChanged();
    void OnSkuViewChange(QTableWidgetItem* item);
    void OnCheckBoxStateChanged(int state);
    void OnModifyYvValue(QString strText, int type);
    void OnModifyStock(QString strText, int type);
    void OnApplySameColor(int row, int column);
    void OnApplySameSize(int row, int column);
    void OnChangeCursor(Qt::CursorShape shape);
    void OnMoreColor();
    void OnMoreSize();

private:
    // Reads the category's sale attributes and lays out their values; `fromListing` loads the
    // listing's stored SKUs, otherwise the stored SKUs are only kept to be reported removed.
    void showCategory(qint64 cid, bool fromListing);
    void clearValues();
    void buildValueRow(int attr);
    void toggleMore(int attr);
    void fitValueArea();
    void showLater(const QString& text);
    void refreshTable();
    void refreshFields();
    void refreshValues();
    void emitColours(bool isInit);
    editor::SkuField fieldOf(int column) const;
    bool collect(QStringList& errors, entity::VumoDataEntity& target, bool withDisplayText, editor::VumoEditSave* save);

    editor::VumoEditContext m_context;
    entity::VumoDataEntity* m_vumo = nullptr;
    bool m_loaded = false;
    qint64 m_cid = 0;
    bool m_categoryChanged = false;
    editor::SkuGrid m_grid;

    QLabel* m_notice = nullptr;
    QWidget* m_content = nullptr;
    QScrollArea* m_valueArea = nullptr;
    QSplitter* m_splitter = nullptr;
    QVBoxLayout* m_valueLayout = nullptr;
    QVector<QList<EditCheckbox*>> m_values;
    QVector<QPushButton*> m_moreButtons;
    QVector<bool> m_expanded;
    QList<QWidget*> m_valueRows;
    SkuTableWidget* m_table = nullptr;
};

} // namespace Quorvia::vumo
