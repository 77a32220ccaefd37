#pragma once
// The description page of the listing editor: the host's HTML editor over the listing's
// description. Loading is not a change; a description the rules refuse is not stored.
#include "editor/VumoEditInterface.h"

class HtmlEditor;

namespace Quorvia::vumo {

class VumoHtmlEditor : public VumoEditInterface
{
    Q_OBJECT
public:
    explicit VumoHtmlEditor(QWidget* parent = nullptr);

    void LoadVumo(entity::VumoDataEntity* vumo) override;
    bool CheckAndSave(QStringList& errors, editor::VumoEditSave& save) override;
    bool CheckAndCollect(QStringList& errors, entity::VumoDataEntity& copy) override;

    void SetFocus();
    HtmlEditor* Editor() const { return m_editor; }

private:
    bool check(QStringList& errors, entity::VumoDataEntity& target);

    HtmlEditor* m_editor = nullptr;
    entity::VumoDataEntity* m_vumo = nullptr;
};

} // namespace Quorvia::vumo
