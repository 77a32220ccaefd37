#pragma once
// The seller's own shop categories; the list is "shopCats". The call takes no parameters.
#include "request/PopCategoryListGet.h"

namespace Quorvia::vumo::request {

class PopSellerCatsGet final : public PopCategoryListGet
{
    Q_OBJECT

public:
    explicit PopSellerCatsGet(QObject* parent = nullptr);
};

} // namespace Quorvia::vumo::request
