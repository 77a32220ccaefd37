#include "editor/CatsDlgInterface.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace Quorvia::vumo {

namespace {

constexpr int kMessageMs = 3000;
constexpr int kSearchMaxLength = 50;

template <class W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

CatsDlgInterface::CatsDlgInterface(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("选择类目"));
    m_SearchLabel = Named(new QLabel(QStringLiteral("输入部分类目名称进行查找"), this), "m_SearchLabel");
    m_SearchCats = Named(new QLineEdit(this), "m_SearchCats");
    m_SearchCats->setMaxLength(kSearchMaxLength);
    m_SearchPreBtn = Named(new QPushButton(QStringLiteral("上一个"), this), "m_SearchPreBtn");
    m_SearchNextBtn = Named(new QPushButton(QStringLiteral("下一个"), this), "m_SearchNextBtn");
    m_SearchPreBtn->setEnabled(false);
    m_SearchNextBtn->setEnabled(false);
    m_SearchMessage = Named(new QLabel(this), "m_SearchMessage");
    m_SearchMessage->setMinimumHeight(m_SearchMessage->fontMetrics().height());
    auto* currentLabel = new QLabel(QStringLiteral("当前选择："), this);
    m_CurrSelectedCats = Named(new QLineEdit(this), "m_CurrSelectedCats");
    m_CurrSelectedCats->setReadOnly(true);
    m_CatsTreeWidget = Named(new QTreeWidget(this), "m_CatsTreeWidget");
    m_CatsTreeWidget->setHeaderHidden(true);
    m_OkBtn = Named(new QPushButton(QStringLiteral("确定"), this), "m_OkBtn");
    m_CancelBtn = Named(new QPushButton(QStringLiteral("取消"), this), "m_CancelBtn");
    m_OkBtn->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(m_SearchLabel, 0, 0, 1, 4);
    grid->addWidget(m_SearchCats, 1, 0, 1, 2);
    grid->addWidget(m_SearchPreBtn, 1, 2);
    grid->addWidget(m_SearchNextBtn, 1, 3);
    grid->addWidget(m_SearchMessage, 2, 0, 1, 4);
    grid->addWidget(currentLabel, 3, 0);
    grid->addWidget(m_CurrSelectedCats, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_OkBtn);
    buttons->addWidget(m_CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_CatsTreeWidget, 1);
    layout->addLayout(buttons);
    setMinimumSize(460, 480);

    m_messageTimer.setSingleShot(true);
    m_messageTimer.setInterval(kMessageMs);
    connect(&m_messageTimer, &QTimer::timeout, this, &CatsDlgInterface::ClearMessage);
    connect(m_SearchCats, &QLineEdit::textChanged, this, &CatsDlgInterface::OnTextChanged);
    connect(m_SearchNextBtn, &QPushButton::clicked, this, &CatsDlgInterface::OnSearchNextBtnClicked);
    connect(m_SearchPreBtn, &QPushButton::clicked, this, &CatsDlgInterface::OnSearchPreBtnClicked);
    connect(m_OkBtn, &QPushButton::clicked, this, &CatsDlgInterface::OnOkBtnClicked);
    connect(m_CancelBtn, &QPushButton::clicked, this, &CatsDlgInterface::OnCancelBtnClicked);
}

CatsDlgInterface::~CatsDlgInterface() = default;

void CatsDlgInterface::OnTextChanged(const QString& text)
{
    m_SearchNextBtn->setEnabled(false);
    m_SearchPreBtn->setEnabled(false);
    m_searchItems.clear();
    QStringList names;
    for (QTreeWidgetItemIterator it(m_CatsTreeWidget); *it; ++it) {
        m_searchItems << *it;
        names << (*it)->text(0);
    }
    m_walk.start(names, text);
    showMatch();
}

void CatsDlgInterface::OnSearchNextBtnClicked()
{
    m_walk.next();
    showMatch();
    if (!m_walk.hasNext())
        ShowMessage(QStringLiteral("<font color=red>已到达结尾！</font>"));
}

void CatsDlgInterface::OnSearchPreBtnClicked()
{
    m_walk.previous();
    showMatch();
    if (!m_walk.hasPrevious())
        ShowMessage(QStringLiteral("<font color=red>已到达开始位置！</font>"));
}

void CatsDlgInterface::showMatch()
{
    m_SearchNextBtn->setEnabled(m_walk.hasNext());
    m_SearchPreBtn->setEnabled(m_walk.hasPrevious());
    const int at = m_walk.current();
    if (at < 0 || at >= m_searchItems.size())
        return;
    QTreeWidgetItem* item = m_searchItems.at(at);
    m_CatsTreeWidget->setCurrentItem(item);
    m_CatsTreeWidget->scrollToItem(item);
}

void CatsDlgInterface::OnOkBtnClicked()
{
    Finish(true);
}

void CatsDlgInterface::OnCancelBtnClicked()
{
    Finish(false);
}

void CatsDlgInterface::ClearMessage()
{
    m_SearchMessage->clear();
}

void CatsDlgInterface::ShowMessage(const QString& text)
{
    m_SearchMessage->setText(text);
    m_messageTimer.start();
}

void CatsDlgInterface::Finish(bool accepted)
{
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        accepted ? dialog->accept() : dialog->reject();
}

} // namespace Quorvia::vumo
