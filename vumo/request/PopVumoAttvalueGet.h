#pragma once
// The values of one or more attributes (ids joined with ","); the list is "att_values".
#include "request/PopCategoryListGet.h"

namespace Quorvia::vumo::request {

class PopVumoAttvalueGet final : public PopCategoryListGet
{
    Q_OBJECT

public:
    explicit PopVumoAttvalueGet(QObject* parent = nullptr);

    void SetAids(const QList<qint64>& aids);
    QString GetAids() const { return m_aids; }

protected:
    void AddParams(ParamText& params) const override;
    QString FailureText() const override;

private:
    QString m_aids;
};

} // namespace Quorvia::vumo::request
