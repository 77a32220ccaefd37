#include "entity/IEntity.h"

#include "entity/PropertyValue.h"

#include <QMetaProperty>

namespace Quorvia::utils::entity {

IEntity::IEntity(QObject* parent)
    : QObject(parent)
{
}

IEntity::~IEntity() = default;

QString IEntity::TypeName() const
{
    return QString::fromLatin1(metaObject()->className());
}

QVariant IEntity::CoerceToProperty(const QString& name, const QVariant& raw) const
{
    const int index = metaObject()->indexOfProperty(name.toLatin1().constData());
    if (index < 0)
        return raw;
    return Quorvia::vumo::entity::CoerceValue(metaObject()->property(index).metaType(), raw);
}

QVariant IEntity::ConvertValue(const QString& name, const QVariant& raw) const
{
    return CoerceToProperty(name, raw);
}

bool IEntity::SetApiValue(const QString& name, const QVariant& raw)
{
    const QByteArray key = name.toLatin1();
    if (name.isEmpty() || metaObject()->indexOfProperty(key.constData()) < 0)
        return false;
    return setProperty(key.constData(), ConvertValue(name, raw));
}

bool IEntity::CopyPropertiesFrom(const IEntity& other)
{
    if (other.metaObject() != metaObject())
        return false;
    const QMetaObject* meta = metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.isWritable())
            property.write(this, property.read(&other));
    }
    return true;
}

} // namespace Quorvia::utils::entity
