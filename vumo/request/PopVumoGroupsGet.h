#pragma once
// The attribute groups of one category; the list is "groups".
#include "request/PopCategoryListGet.h"

namespace Quorvia::vumo::request {

class PopVumoGroupsGet final : public PopCategoryListGet
{
    Q_OBJECT

public:
    explicit PopVumoGroupsGet(QObject* parent = nullptr);

    void SetCid(qint64 cid) { m_cid = cid; }

protected:
    void AddParams(ParamText& params) const override;
    QString FailureText() const override;

private:
    qint64 m_cid = 0;
};

} // namespace Quorvia::vumo::request
