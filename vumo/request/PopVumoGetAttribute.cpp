#include "request/PopVumoGetAttribute.h"

namespace Quorvia::vumo::request {

QStringList PopVumoGetAttribute::GetFields() const
{
    return {QStringLiteral("attributes")};
}

QString PopVumoGetAttribute::GetAttributes() const
{
    return m_vumo.value(QStringLiteral("attributes")).toString();
}

} // namespace Quorvia::vumo::request
