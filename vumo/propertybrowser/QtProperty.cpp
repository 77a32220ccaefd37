#include "propertybrowser/QtProperty.h"

#include <algorithm>

namespace Quorvia::vumo::propertybrowser {

QtProperty::QtProperty(Kind kind, const QString& name, QObject* parent)
    : QObject(parent)
    , m_kind(kind)
    , m_name(name)
{
}

void QtProperty::setIcon(const QIcon& icon)
{
    m_icon = icon;
    emit propertyChanged(this);
}

void QtProperty::setInvalid(bool invalid)
{
    if (m_invalid == invalid)
        return;
    m_invalid = invalid;
    emit propertyChanged(this);
}

bool QtProperty::setText(const QString& text)
{
    if (m_kind != String)
        return false;
    if (text != m_text) {
        m_text = text;
        emit valueChanged(this, value());
    }
    return true;
}

void QtProperty::setNames(const QStringList& names)
{
    m_names = names;
    // Choices that point past the new names are dropped.
    if (m_enumIndex >= m_names.size())
        m_enumIndex = -1;
    m_flags.erase(std::remove_if(m_flags.begin(), m_flags.end(), [this](int f) { return f >= m_names.size(); }),
                  m_flags.end());
    emit propertyChanged(this);
}

bool QtProperty::setEnumIndex(int index)
{
    if (m_kind != Enum || index < -1 || index >= m_names.size())
        return false;
    if (index != m_enumIndex) {
        m_enumIndex = index;
        emit valueChanged(this, value());
    }
    return true;
}

bool QtProperty::setFlags(const QList<int>& flags)
{
    if (m_kind != Flag)
        return false;
    QList<int> sorted = flags;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (!sorted.isEmpty() && (sorted.first() < 0 || sorted.last() >= m_names.size()))
        return false;
    if (sorted != m_flags) {
        m_flags = sorted;
        emit valueChanged(this, value());
    }
    return true;
}

QVariant QtProperty::attribute(const QString& attribute) const
{
    if (attribute == QLatin1String("regExp"))
        return m_regExp;
    if (attribute == QLatin1String("enumNames") || attribute == QLatin1String("flagNames"))
        return m_names;
    return {};
}

void QtProperty::setAttribute(const QString& attribute, const QVariant& value)
{
    if (attribute == QLatin1String("regExp")) {
        m_regExp = value.toRegularExpression();
        emit propertyChanged(this);
    } else if (attribute == QLatin1String("enumNames") || attribute == QLatin1String("flagNames")) {
        setNames(value.toStringList());
    }
}

QVariant QtProperty::value() const
{
    switch (m_kind) {
    case String:
        return m_text;
    case Enum:
        return m_enumIndex;
    case Flag:
        return QVariant::fromValue(m_flags);
    }
    return {};
}

QString QtProperty::valueText() const
{
    switch (m_kind) {
    case String:
        return m_text;
    case Enum:
        return m_names.value(m_enumIndex);
    case Flag: {
        QStringList chosen;
        for (int f : m_flags)
            chosen << m_names.value(f);
        return chosen.join(QStringLiteral(", "));
    }
    }
    return {};
}

QtPropertyManager::QtPropertyManager(QObject* parent)
    : QObject(parent)
{
}

QtPropertyManager::~QtPropertyManager() = default;

QtProperty* QtPropertyManager::addProperty(QtProperty::Kind kind, const QString& name)
{
    auto* property = new QtProperty(kind, name, this);
    connect(property, &QtProperty::valueChanged, this, &QtPropertyManager::valueChanged);
    connect(property, &QtProperty::propertyChanged, this, &QtPropertyManager::propertyChanged);
    m_properties.append(property);
    emit propertyAdded(property);
    return property;
}

void QtPropertyManager::clear()
{
    const QList<QtProperty*> gone = std::exchange(m_properties, {});
    emit cleared();
    qDeleteAll(gone);
}

} // namespace Quorvia::vumo::propertybrowser
