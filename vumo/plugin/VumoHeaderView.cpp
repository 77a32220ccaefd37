#include "plugin/VumoHeaderView.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace Quorvia::vumo {

namespace {

// The label takes the upper part of each section, the filter field the lower part.
constexpr int kLabelHeight = 30;
constexpr int kMargin = 2;

// Tick box of the header: a click moves a partly ticked box to checked (never to the middle
// state, which only the table sets).
class HeaderCheckBox final : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

} // namespace

VumoHeaderView::VumoHeaderView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    setObjectName(QStringLiteral("vumo_tableview_horheader"));
    setToolTip(QStringLiteral("可拖动"));
    setFixedHeight(HeaderHeight);
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);

    m_checkBox = new HeaderCheckBox(viewport());
    m_checkBox->setObjectName(QStringLiteral("vumo_header_checkbox"));
    m_checkBox->setTristate(true);
    m_checkBox->setToolTip(QString());
    connect(m_checkBox, &QCheckBox::clicked, this, [this] { emit CheckBoxStateChanged(m_checkBox->checkState()); });

    m_clearLabel = new QLabel(QStringLiteral("清除筛选条件"), viewport());
    m_clearLabel->setObjectName(QStringLiteral("clearfilterbutton"));
    m_clearLabel->setAlignment(Qt::AlignCenter);
    m_clearLabel->setCursor(Qt::PointingHandCursor);
    m_clearLabel->setStyleSheet(QStringLiteral("QLabel { color: #1a5fb4; text-decoration: underline; }"));
    m_clearLabel->setToolTip(QStringLiteral("清除筛选条件"));
    m_clearLabel->installEventFilter(this);

    connect(this, &QHeaderView::sectionResized, this, &VumoHeaderView::OnSectionResized);
    connect(this, &QHeaderView::sectionCountChanged, this, &VumoHeaderView::OnSectionCountChanged);
    connect(this, &QHeaderView::sectionMoved, this, &VumoHeaderView::OnSectionMove);
    connect(this, &QHeaderView::geometriesChanged, this, &VumoHeaderView::RepositionEditors);
}

VumoHeaderView::~VumoHeaderView() = default;

void VumoHeaderView::setModel(QAbstractItemModel* model)
{
    QHeaderView::setModel(model);
    rebuildEditors();
}

QSize VumoHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(HeaderHeight);
    return size;
}

void VumoHeaderView::rebuildEditors()
{
    const int sections = count();
    // Keep the fields (and their texts) of columns that still exist.
    for (auto it = m_edits.begin(); it != m_edits.end();) {
        if (it.key() >= sections) {
            delete it.value();
            it = m_edits.erase(it);
        } else {
            ++it;
        }
    }
    for (int column = 1; column < sections; ++column) {
        if (m_edits.contains(column))
            continue;
        auto* edit = new QLineEdit(viewport());
        edit->setObjectName(QStringLiteral("vumo_filter_edit_%1").arg(column));
        edit->setPlaceholderText(QStringLiteral("这里输入筛选条件，回车后显示结果列表"));
        edit->setToolTip(QStringLiteral("这里输入筛选条件，回车后显示结果列表"));
        edit->setClearButtonEnabled(false);
        connect(edit, &QLineEdit::returnPressed, this, &VumoHeaderView::OnEditReturnPressed);
        connect(edit, &QLineEdit::textChanged, this, &VumoHeaderView::OnEditTextChanged);
        m_edits.insert(column, edit);
    }
    RepositionEditors();
}

void VumoHeaderView::RepositionEditors()
{
    const int editTop = kLabelHeight + kMargin;
    const int editHeight = std::max(12, height() - editTop - kMargin);
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it) {
        QLineEdit* edit = it.value();
        const int column = it.key();
        if (column >= count() || isSectionHidden(column) || sectionSize(column) <= 2 * kMargin) {
            edit->hide();
            continue;
        }
        edit->setGeometry(sectionViewportPosition(column) + kMargin, editTop, sectionSize(column) - 2 * kMargin,
                          editHeight);
        edit->show();
    }
    const bool tickShown = count() > 0 && !isSectionHidden(0);
    if (tickShown) {
        const int x = sectionViewportPosition(0);
        const int w = sectionSize(0);
        const QSize box = m_checkBox->sizeHint();
        m_checkBox->setGeometry(x + (w - box.width()) / 2, (kLabelHeight - box.height()) / 2, box.width(),
                                box.height());
        m_clearLabel->setGeometry(x + 1, editTop, std::max(0, w - 2), editHeight);
    }
    m_checkBox->setVisible(tickShown);
    m_clearLabel->setVisible(tickShown);
}

QMap<int, QString> VumoHeaderView::FilterTexts() const
{
    QMap<int, QString> texts;
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it) {
        const QString text = it.value()->text();
        if (!text.isEmpty())
            texts.insert(it.key(), text);
    }
    return texts;
}

QString VumoHeaderView::FilterText(int column) const
{
    const QLineEdit* edit = m_edits.value(column);
    return edit ? edit->text() : QString();
}

void VumoHeaderView::SetFilterText(int column, const QString& text)
{
    if (QLineEdit* edit = m_edits.value(column)) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void VumoHeaderView::ClearFilterTexts()
{
    for (QLineEdit* edit : std::as_const(m_edits)) {
        const QSignalBlocker blocker(edit);
        edit->clear();
    }
}

QLineEdit* VumoHeaderView::FilterEdit(int column) const
{
    return m_edits.value(column);
}

void VumoHeaderView::SetCheckState(int state)
{
    const QSignalBlocker blocker(m_checkBox);
    m_checkBox->setCheckState(static_cast<Qt::CheckState>(state));
}

void VumoHeaderView::OnSectionResized(int, int, int)
{
    RepositionEditors();
}

void VumoHeaderView::OnSectionCountChanged(int, int)
{
    rebuildEditors();
}

void VumoHeaderView::OnSectionMove(int, int, int)
{
    RepositionEditors();
}

void VumoHeaderView::OnEditReturnPressed()
{
    emit FindEditTextChanged();
}

void VumoHeaderView::OnEditTextChanged(const QString& text)
{
    // Emptying a field shows its rows again at once; other texts wait for Enter.
    if (text.isEmpty())
        emit FindEditTextChanged();
}

void VumoHeaderView::OnLabelClicked()
{
    emit ClickClearFilters();
}

void VumoHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    // The section look (frame, label, sort arrow) in the upper part; the fields sit below.
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->restore();
    QRect label = rect;
    label.setHeight(std::min(rect.height(), kLabelHeight));
    QHeaderView::paintSection(painter, label, logicalIndex);
    painter->save();
    painter->setPen(palette().mid().color());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
}

void VumoHeaderView::resizeEvent(QResizeEvent* event)
{
    QHeaderView::resizeEvent(event);
    RepositionEditors();
}

void VumoHeaderView::showEvent(QShowEvent* event)
{
    QHeaderView::showEvent(event);
    RepositionEditors();
}

bool VumoHeaderView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_clearLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_clearLabel->rect().contains(mouse->position().toPoint())) {
            OnLabelClicked();
            return true;
        }
    }
    return QHeaderView::eventFilter(watched, event);
}

} // namespace Quorvia::vumo
