#pragma once
// Two records of one kind compared property by property, so a field a test forgets to name
// cannot slip through.
#include <QMetaProperty>
#include <QObject>
#include <QStringList>
#include <QVariant>

namespace VumoTest {

// "name: <a> vs <b>" for every property (objectName and `skip` aside) that differs.
inline QStringList DifferingProperties(const QObject& a, const QObject& b, const QStringList& skip = {})
{
    QStringList differences;
    const QMetaObject* meta = a.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QString::fromLatin1(property.name());
        const QVariant x = property.read(&a);
        const QVariant y = property.read(&b);
        if (!skip.contains(name) && x != y)
            differences << QStringLiteral("%1: <%2> vs <%3>").arg(name, x.toString(), y.toString());
    }
    return differences;
}

} // namespace VumoTest
