#pragma once
#include "request/PopVumoGet.h"

namespace Quorvia::vumo::request {

// Only the listing's attribute text.
class PopVumoGetAttribute : public PopVumoGet
{
    Q_OBJECT

public:
    using PopVumoGet::PopVumoGet;

    QStringList GetFields() const override;
    QString GetAttributes() const;
};

} // namespace Quorvia::vumo::request
