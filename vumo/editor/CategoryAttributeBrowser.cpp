#include "editor/CategoryAttributeBrowser.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "propertybrowser/QtProperty.h"
#include "propertybrowser/QtTreePropertyBrowser.h"

#include <QVBoxLayout>

namespace Quorvia::vumo {

using editor::AttributeField;
using propertybrowser::QtPropertyManager;
using propertybrowser::QtTreePropertyBrowser;

CategoryAttributeBrowser::CategoryAttributeBrowser(QWidget* parent,
                                                   std::shared_ptr<database::CategoryDbInterface> store)
    : QWidget(parent)
    , m_store(std::move(store))
{
    m_manager = new QtPropertyManager(this);
    m_browser = new QtTreePropertyBrowser(this);
    m_browser->setObjectName(QStringLiteral("m_AttrBrowser"));
    m_browser->setManager(m_manager);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    connect(m_manager, &QtPropertyManager::valueChanged, this, &CategoryAttributeBrowser::propertyFrameColorChanged);
}

CategoryAttributeBrowser::~CategoryAttributeBrowser() = default;

void CategoryAttributeBrowser::load(qint64 cid, const QString& attributes, const QString& inputPids,
                                    const QString& inputStrs)
{
    m_loading = true;
    m_fieldOf.clear();
    m_manager->clear();
    if (!m_store)
        m_store = database::VumoDBMgr::instance()->GetCategoryDb();
    m_form = editor::LoadAttributeForm(*m_store, cid, attributes, inputPids, inputStrs);
    const QIcon requiredMark(QStringLiteral(":/images/xinghao.png"));
    for (int i = 0; i < m_form.fields.size(); ++i) {
        const AttributeField& f = m_form.fields.at(i);
        QStringList names;
        for (const database::CategoryAttributeValue& v : f.values)
            names << v.name;
        QtProperty* p = nullptr;
        switch (f.kind) {
        case AttributeField::Single:
            p = m_manager->addProperty(QtProperty::Enum, f.name);
            p->setNames(QStringList{QString()} + names); // entry 0: nothing chosen
            p->setEnumIndex(f.choice + 1);
            break;
        case AttributeField::Multi: {
            p = m_manager->addProperty(QtProperty::Flag, f.name);
            p->setNames(names);
            QList<int> flags;
            for (int v = 0; v < f.flags.size(); ++v) {
                if (f.flags.at(v))
                    flags << v;
            }
            p->setFlags(flags);
            break;
        }
        case AttributeField::Text:
            p = m_manager->addProperty(QtProperty::String, f.name);
            p->setAttribute(QStringLiteral("regExp"), QRegularExpression(QString::fromLatin1(editor::kFreeTextRule)));
            p->setText(f.text);
            break;
        }
        if (f.required)
            p->setIcon(requiredMark);
        m_fieldOf.insert(p, i);
    }
    m_loading = false;
}

bool CategoryAttributeBrowser::check()
{
    const QList<int> missing = editor::MissingRequired(m_form);
    for (auto it = m_fieldOf.cbegin(); it != m_fieldOf.cend(); ++it)
        it.key()->setInvalid(missing.contains(it.value()));
    return missing.isEmpty();
}

void CategoryAttributeBrowser::get(QString& attributes, QString& inputPids, QString& inputStrs, qint64& brandVid,
                                   qint64& brandAid) const
{
    const editor::AttributeStrings s = editor::BuildAttributeStrings(m_form);
    attributes = s.attributes;
    inputPids = s.inputPids;
    inputStrs = s.inputStrs;
    brandVid = s.brandVid;
    brandAid = s.brandAid;
}

CategoryAttributeBrowser::QtProperty* CategoryAttributeBrowser::PropertyOf(qint64 aid) const
{
    for (auto it = m_fieldOf.cbegin(); it != m_fieldOf.cend(); ++it) {
        if (m_form.fields.at(it.value()).aid == aid)
            return it.key();
    }
    return nullptr;
}

void CategoryAttributeBrowser::propertyFrameColorChanged(QtProperty* property, QVariant value)
{
    const auto it = m_fieldOf.constFind(property);
    if (it == m_fieldOf.cend())
        return;
    AttributeField& f = m_form.fields[it.value()];
    switch (f.kind) {
    case AttributeField::Single:
        f.choice = value.toInt() - 1;
        break;
    case AttributeField::Multi: {
        f.flags.fill(false);
        for (int v : value.value<QList<int>>()) {
            if (v >= 0 && v < f.flags.size())
                f.flags[v] = true;
        }
        break;
    }
    case AttributeField::Text:
        f.text = value.toString();
        break;
    }
    if (f.hasValue())
        property->setInvalid(false);
    if (!m_loading)
        emit ValueChangedSignal();
}

} // namespace Quorvia::vumo
