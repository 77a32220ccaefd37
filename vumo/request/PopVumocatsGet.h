#pragma once
// The marketplace categories the seller may use; the list is "item_cats".
#include "request/PopCategoryListGet.h"

namespace Quorvia::vumo::request {

class PopVumocatsGet final : public PopCategoryListGet
{
    Q_OBJECT

public:
    explicit PopVumocatsGet(QObject* parent = nullptr);

protected:
    QString FailureText() const override;
};

} // namespace Quorvia::vumo::request
