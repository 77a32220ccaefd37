#pragma once
// Base of every record: a QObject whose properties are named like the table columns and like
// the keys of the marketplace's answers, so rows, records and API values map by name.
#include <QObject>
#include <QString>
#include <QVariant>

namespace Quorvia::utils::entity {

class IEntity : public QObject
{
    Q_OBJECT

public:
    explicit IEntity(QObject* parent = nullptr);
    ~IEntity() override;

    QString TypeName() const;

    // An API value turned into the stored form of property `name`. The base converts the
    // raw value to the property's type (texts to numbers, dates and flags); records override
    // it for the names whose API text needs a rule.
    virtual QVariant ConvertValue(const QString& name, const QVariant& raw) const;

    // Writes ConvertValue(name, raw) into the property; false when the record has no such
    // property (answers carry keys such as "creator" that no record stores).
    virtual bool SetApiValue(const QString& name, const QVariant& raw);

    // Copies every property except objectName from a record of the same class.
    bool CopyPropertiesFrom(const IEntity& other);

protected:
    // raw converted to the type of property `name`; unchanged when there is no such property.
    QVariant CoerceToProperty(const QString& name, const QVariant& raw) const;
};

} // namespace Quorvia::utils::entity
