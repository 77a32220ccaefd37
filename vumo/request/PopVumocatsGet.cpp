#include "request/PopVumocatsGet.h"

namespace Quorvia::vumo::request {

PopVumocatsGet::PopVumocatsGet(QObject* parent)
    : PopCategoryListGet({"orvane.vumocats.get", "", "vumo_category_search_response", "item_cats"}, parent)
{
}

QString PopVumocatsGet::FailureText() const
{
    return QStringLiteral("商家类目下载失败");
}

} // namespace Quorvia::vumo::request
