#pragma once
// One row of the listing table: the columns of the table query, in its order.
#include <QDateTime>
#include <QMetaType>
#include <QString>

struct VUMO_LIST_STRUCT
{
    QString client_id;
    qint64 vumo_id = 0;
    qint64 cid = 0;
    QString title;
    int vumo_status = -1;
    QString item_num;
    qint64 cost_price = 0;
    qint64 market_price = 0;
    qint64 yv_price = 0;
    qint64 stock_num = 0;
    QDateTime modified;
    qint64 min_yvprice = 0;
    qint64 max_yvprice = 0;
    QString template_name;
    QString shop_categorys;
    bool is_vumoinfo_complete = false;
    QString ad_content;
    int upload_status = -1;
    QString error_msg;
    // Tick state of the table; never stored.
    bool checked = false;
};

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

// The row record of a full listing record (the tick flag cleared).
VUMO_LIST_STRUCT VumoListStructFromEntity(const Quorvia::vumo::entity::VumoDataEntity& record);

// Every member is relocatable: the row list grows by moving memory, not element by element.
Q_DECLARE_TYPEINFO(VUMO_LIST_STRUCT, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(VUMO_LIST_STRUCT)
