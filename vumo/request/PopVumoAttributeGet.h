#pragma once
// The attributes of one category; the list is "attributes".
#include "request/PopCategoryListGet.h"

namespace Quorvia::vumo::request {

class PopVumoAttributeGet final : public PopCategoryListGet
{
    Q_OBJECT

public:
    explicit PopVumoAttributeGet(QObject* parent = nullptr);

    void SetCid(qint64 cid) { m_cid = cid; }

protected:
    void AddParams(ParamText& params) const override;
    QString FailureText() const override;

private:
    qint64 m_cid = 0;
};

} // namespace Quorvia::vumo::request
