#include "editor/VumoHtmlEditor.h"

#include "editor/VumoDescRules.h"
#include "entity/VumoDataEntity.h"

#include <quorvia/HtmlEditor.h>

#include <QVBoxLayout>

namespace Quorvia::vumo {

VumoHtmlEditor::VumoHtmlEditor(QWidget* parent)
    : VumoEditInterface(parent)
{
    setObjectName(QStringLiteral("VumoHtmlEditor"));
    m_editor = new HtmlEditor(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_editor);
    connect(m_editor, &HtmlEditor::HtmlChangedSignal, this, &VumoEditInterface::VumoChangedSignal);
}

void VumoHtmlEditor::LoadVumo(entity::VumoDataEntity* vumo)
{
    m_vumo = vumo;
    // Showing the stored description is not an edit of the seller.
    disconnect(m_editor, &HtmlEditor::HtmlChangedSignal, this, &VumoEditInterface::VumoChangedSignal);
    m_editor->SetHtml(vumo ? vumo->desc() : QString());
    connect(m_editor, &HtmlEditor::HtmlChangedSignal, this, &VumoEditInterface::VumoChangedSignal);
}

bool VumoHtmlEditor::check(QStringList& errors, entity::VumoDataEntity& target)
{
    QString html;
    m_editor->GetHtml(html);
    const QString message = editor::DescriptionCheckMessage(html);
    if (!message.isEmpty()) {
        errors << message;
        return false;
    }
    target.set_desc(html);
    return true;
}

bool VumoHtmlEditor::CheckAndSave(QStringList& errors, editor::VumoEditSave& save)
{
    Q_UNUSED(save)
    return m_vumo && check(errors, *m_vumo);
}

bool VumoHtmlEditor::CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy)
{
    return m_vumo && check(errors, copy);
}

void VumoHtmlEditor::SetFocus()
{
    m_editor->SetFocus();
}

} // namespace Quorvia::vumo
