#pragma once
// Content of the settings dialog: the listing table's columns in their order, each with a tick
// for shown or hidden, and buttons to move a column up or down or go back to the default.
// "确定" saves through CUserConfig (the table follows through signalSettingsChanged) and emits
// AcceptedSignal; "取消" emits RejectedSignal. A plain QFrame: host it in any dialog.
#include "plugin/VumoColumnSettings.h"

#include <QFrame>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace Quorvia::vumo {

class SettingsFrame : public QFrame
{
    Q_OBJECT
public:
    explicit SettingsFrame(QWidget* parent = nullptr);
    ~SettingsFrame() override;

    // Rereads the saved layout (call before showing the dialog again).
    void Reload();
    // Shows a given layout, e.g. the table's current one.
    void SetColumnSettings(const VumoColumnSettings& settings);
    VumoColumnSettings ColumnSettings() const { return m_settings; }

    QListWidget* ColumnList() const { return m_list; }

signals:
    void AcceptedSignal();
    void RejectedSignal();

public slots:
    void OnMoveUpClicked();
    void OnMoveDownClicked();
    void OnDefaultClicked();
    void OnOkClicked();
    void OnCancelClicked();

private slots:
    void OnItemChanged(QListWidgetItem* item);
    void OnCurrentRowChanged(int row);

private:
    void fillList(int currentRow);
    void updateButtons();

    VumoColumnSettings m_settings;
    QListWidget* m_list = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_downButton = nullptr;
    QPushButton* m_defaultButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QLabel* m_messageLabel = nullptr;
    bool m_filling = false;
};

} // namespace Quorvia::vumo
