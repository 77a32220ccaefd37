#include "editor/EditCheckbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace Quorvia::vumo {

EditCheckbox::EditCheckbox(int attr, qint64 vid, const QString& name, QWidget* parent)
    : QWidget(parent)
    , m_attr(attr)
    , m_vid(vid)
    , m_check(new QCheckBox(name, this))
    , m_alias(new QLineEdit(this))
{
    setFixedWidth(kWidth);
    for (QWidget* w : {static_cast<QWidget*>(m_check), static_cast<QWidget*>(m_alias)}) {
        w->setProperty("attr", attr);
        w->setProperty("vid", vid);
    }
    m_check->setToolTip(name);
    m_alias->setPlaceholderText(name);
    m_alias->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 2);
    layout->setSpacing(1);
    layout->addWidget(m_check);
    layout->addWidget(m_alias);
    connect(m_check, &QCheckBox::toggled, m_alias, &QLineEdit::setEnabled);
}

void EditCheckbox::SetState(bool ticked, const QString& alias)
{
    const QSignalBlocker checkBlock(m_check);
    const QSignalBlocker aliasBlock(m_alias);
    m_check->setChecked(ticked);
    m_alias->setEnabled(ticked);
    if (m_alias->text() != alias)
        m_alias->setText(alias);
}

} // namespace Quorvia::vumo
