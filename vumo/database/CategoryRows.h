#pragma once
// Plain rows of the four category tables, as the category download gathers them before it
// writes: far lighter than one record object per row, since a full package holds hundreds of
// thousands of attribute values. Members are named like the columns.
#include <QString>
#include <QVector>

#include <functional>

namespace Quorvia::vumo::database {

struct CategoryRow // vender_shop_category
{
    qint64 id = 0;
    qint64 index_id = 0;
    qint64 fid = 0;
    QString name;
    int is_parent = 0;
    int status = 0;
    int lev = 0;
};

struct CategoryAttributeRow // vumo_category
{
    qint64 aid = 0;
    QString name;
    qint64 cid = 0;
    int is_key_prop = 0;
    int is_sale_prop = 0;
    qint64 index_id = 0;
    int status = 0;
    int att_type = 0;
    int input_type = 0;
    int is_req = 0;
    int is_fet = 0;
    int is_nav = 0;
    qint32 group_id = 0;
    QString features;
};

struct AttributeValueRow // vumo_category_attribute
{
    qint64 aid = 0;
    qint64 vid = 0;
    QString name;
    int status = 0;
    qint64 index_id = 0;
    QString features;
};

struct AttributeGroupRow // vumo_attribute_groups
{
    qint32 group_id = 0;
    qint64 cid = 0;
    QString name;
    int status = 0;
    qint64 index_id = 0;
};

// One category with everything that belongs to it.
struct CategoryRecordRows
{
    CategoryRow category;
    QVector<CategoryAttributeRow> attributes;
    QVector<AttributeValueRow> values; // the marketplace's and the seller's own alike
    QVector<AttributeGroupRow> groups;

    // Only valid categories are kept; any other status removes the category.
    bool Removes() const { return category.status != 1; }
};

// Called after each record written with (written, total); false stops the write.
using CategoryWriteProgress = std::function<bool(int written, int total)>;

} // namespace Quorvia::vumo::database
