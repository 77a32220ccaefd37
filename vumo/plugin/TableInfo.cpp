#include "plugin/TableInfo.h"

namespace Quorvia::vumo {

TableInfo::TableInfo()
{
    const char* const headers[ColumnCount] = {
        "",     "模板名称", "商品编号", "商品名称", "类目编号", "修改时间", "商品状态",
        "货号", "成本价",   "市场价",   "Yv价",     "库存数",   "上传状态", "错误信息",
    };
    for (int column = 0; column < ColumnCount; ++column)
        m_columns.insert(column, QString::fromUtf8(headers[column]));
}

} // namespace Quorvia::vumo
