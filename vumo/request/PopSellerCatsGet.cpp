#include "request/PopSellerCatsGet.h"

namespace Quorvia::vumo::request {

PopSellerCatsGet::PopSellerCatsGet(QObject* parent)
    : PopCategoryListGet({"orvane.sellercats.get", nullptr, "sellercats_get_response", "shopCats"}, parent)
{
}

} // namespace Quorvia::vumo::request
