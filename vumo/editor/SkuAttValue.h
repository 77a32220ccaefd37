#pragma once
// One ticked sale-attribute value as the SKU page hands it to the picture page.
#include <QList>
#include <QMetaType>
#include <QString>

namespace Quorvia::vumo {

struct SKU_ATT_VALUE_TYPE
{
    qint64 aid = 0;
    qint64 vid = 0;
    QString name;   // the value's name
    QString alias;  // the seller's alias, empty when none
    QString colour; // a colour the value names ("#ff0000", "red"), empty when none

    QString DisplayText() const { return alias.isEmpty() ? name : alias; }
    bool operator==(const SKU_ATT_VALUE_TYPE& other) const
    {
        return aid == other.aid && vid == other.vid && name == other.name && alias == other.alias
            && colour == other.colour;
    }
};

} // namespace Quorvia::vumo

Q_DECLARE_METATYPE(Quorvia::vumo::SKU_ATT_VALUE_TYPE)
