#include "database/VumoListStruct.h"

#include "entity/VumoDataEntity.h"

VUMO_LIST_STRUCT VumoListStructFromEntity(const Quorvia::vumo::entity::VumoDataEntity& record)
{
    VUMO_LIST_STRUCT row;
    row.client_id = record.client_id();
    row.vumo_id = record.vumo_id();
    row.cid = record.cid();
    row.title = record.title();
    row.vumo_status = record.vumo_status();
    row.item_num = record.item_num();
    row.cost_price = record.cost_price();
    row.market_price = record.market_price();
    row.yv_price = record.yv_price();
    row.stock_num = record.stock_num();
    row.modified = record.modified();
    row.min_yvprice = record.min_yvprice();
    row.max_yvprice = record.max_yvprice();
    row.template_name = record.template_name();
    row.shop_categorys = record.shop_categorys();
    row.is_vumoinfo_complete = record.is_vumoinfo_complete();
    row.ad_content = record.ad_content();
    row.upload_status = record.upload_status();
    row.error_msg = record.error_msg();
    row.checked = false;
    return row;
}
