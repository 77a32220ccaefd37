#include "plugin/SettingsFrame.h"

#include "plugin/TableInfo.h"
#include "plugin/UserInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Quorvia::vumo {

namespace {
constexpr int kColumnRole = Qt::UserRole;
}

SettingsFrame::SettingsFrame(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("SettingsFrame"));
    setWindowTitle(QStringLiteral("设置"));

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(QStringLiteral("勾选要在商品列表中显示的列，用“上移”“下移”调整列的顺序："), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* body = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ColumnList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    body->addWidget(m_list, 1);

    auto* side = new QVBoxLayout;
    m_upButton = new QPushButton(QStringLiteral("上移"), this);
    m_upButton->setObjectName(QStringLiteral("MoveUpBtn"));
    m_downButton = new QPushButton(QStringLiteral("下移"), this);
    m_downButton->setObjectName(QStringLiteral("MoveDownBtn"));
    m_defaultButton = new QPushButton(QStringLiteral("恢复默认"), this);
    m_defaultButton->setObjectName(QStringLiteral("DefaultBtn"));
    side->addWidget(m_upButton);
    side->addWidget(m_downButton);
    side->addSpacing(12);
    side->addWidget(m_defaultButton);
    side->addStretch(1);
    body->addLayout(side);
    layout->addLayout(body, 1);

    m_messageLabel = new QLabel(this);
    m_messageLabel->setObjectName(QStringLiteral("SettingsMessageLabel"));
    m_messageLabel->setStyleSheet(QStringLiteral("color: #FF0000;"));
    layout->addWidget(m_messageLabel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_okButton = new QPushButton(QStringLiteral("确定"), this);
    m_okButton->setObjectName(QStringLiteral("OkBtn"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("取消"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);

    connect(m_upButton, &QPushButton::clicked, this, &SettingsFrame::OnMoveUpClicked);
    connect(m_downButton, &QPushButton::clicked, this, &SettingsFrame::OnMoveDownClicked);
    connect(m_defaultButton, &QPushButton::clicked, this, &SettingsFrame::OnDefaultClicked);
    connect(m_okButton, &QPushButton::clicked, this, &SettingsFrame::OnOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &SettingsFrame::OnCancelClicked);
    connect(m_list, &QListWidget::itemChanged, this, &SettingsFrame::OnItemChanged);
    connect(m_list, &QListWidget::currentRowChanged, this, &SettingsFrame::OnCurrentRowChanged);

    setMinimumSize(360, 420);
    Reload();
}

SettingsFrame::~SettingsFrame() = default;

void SettingsFrame::Reload()
{
    SetColumnSettings(
        VumoColumnSettings::Load(TableInfo::instance()->GetColumnMap(), UserInfo::instance()->GetStockMode()));
}

void SettingsFrame::SetColumnSettings(const VumoColumnSettings& settings)
{
    m_settings = settings;
    m_messageLabel->clear();
    fillList(0);
}

void SettingsFrame::fillList(int currentRow)
{
    m_filling = true;
    m_list->clear();
    for (const VumoColumnChoice& choice : m_settings.Choices()) {
        auto* item = new QListWidgetItem(choice.title, m_list);
        item->setData(kColumnRole, choice.column);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(choice.visible ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    if (m_list->count() > 0)
        m_list->setCurrentRow(qBound(0, currentRow, m_list->count() - 1));
    updateButtons();
}

void SettingsFrame::updateButtons()
{
    const int row = m_list->currentRow();
    m_upButton->setEnabled(row > 0);
    m_downButton->setEnabled(row >= 0 && row < m_list->count() - 1);
}

void SettingsFrame::OnMoveUpClicked()
{
    const int row = m_list->currentRow();
    if (m_settings.MoveUp(row))
        fillList(row - 1);
}

void SettingsFrame::OnMoveDownClicked()
{
    const int row = m_list->currentRow();
    if (m_settings.MoveDown(row))
        fillList(row + 1);
}

void SettingsFrame::OnDefaultClicked()
{
    m_settings = VumoColumnSettings::Defaults(TableInfo::instance()->GetColumnMap(),
                                              UserInfo::instance()->GetStockMode());
    m_messageLabel->clear();
    fillList(0);
}

void SettingsFrame::OnOkClicked()
{
    if (!m_settings.HasVisibleChoice()) {
        m_messageLabel->setText(QStringLiteral("请至少选择一列显示！"));
        return;
    }
    if (!m_settings.Save()) {
        m_messageLabel->setText(QStringLiteral("保存列设置失败！"));
        return;
    }
    m_messageLabel->clear();
    emit AcceptedSignal();
}

void SettingsFrame::OnCancelClicked()
{
    emit RejectedSignal();
}

void SettingsFrame::OnItemChanged(QListWidgetItem* item)
{
    if (m_filling || !item)
        return;
    m_settings.SetChoiceVisible(m_list->row(item), item->checkState() == Qt::Checked);
    m_messageLabel->clear();
}

void SettingsFrame::OnCurrentRowChanged(int row)
{
    Q_UNUSED(row)
    updateButtons();
}

} // namespace Quorvia::vumo
