#pragma once
// A listing with its extension fields; the record behind vumo_data (extension fields go to
// vumo_ext, vumo_attribute, cubage and skus live only in memory).
#include "entity/IEntity.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

namespace Quorvia::vumo::entity {

class VumoSkuEntity;
class VumoImgEntity;
class VumoDataExtEntity;

class VumoDataEntity : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(QString client_id READ client_id WRITE set_client_id)
    Q_PROPERTY(qint64 vumo_id READ vumo_id WRITE set_vumo_id)
    Q_PROPERTY(qint64 spu_id READ spu_id WRITE set_spu_id)
    Q_PROPERTY(qint64 cid READ cid WRITE set_cid)
    Q_PROPERTY(qint64 brand_id READ brand_id WRITE set_brand_id)
    Q_PROPERTY(QString shop_categorys READ shop_categorys WRITE set_shop_categorys)
    Q_PROPERTY(QString title READ title WRITE set_title)
    Q_PROPERTY(QString upc_code READ upc_code WRITE set_upc_code)
    Q_PROPERTY(int vumo_status READ vumo_status WRITE set_vumo_status)
    Q_PROPERTY(QString item_num READ item_num WRITE set_item_num)
    Q_PROPERTY(qint64 length READ length WRITE set_length)
    Q_PROPERTY(qint64 wide READ wide WRITE set_wide)
    Q_PROPERTY(qint64 high READ high WRITE set_high)
    Q_PROPERTY(double weight READ weight WRITE set_weight)
    Q_PROPERTY(qint64 cost_price READ cost_price WRITE set_cost_price)
    Q_PROPERTY(qint64 market_price READ market_price WRITE set_market_price)
    Q_PROPERTY(qint64 yv_price READ yv_price WRITE set_yv_price)
    Q_PROPERTY(qint64 min_yvprice READ min_yvprice WRITE set_min_yvprice)
    Q_PROPERTY(qint64 max_yvprice READ max_yvprice WRITE set_max_yvprice)
    Q_PROPERTY(QString desc READ desc WRITE set_desc)
    Q_PROPERTY(QString logo READ logo WRITE set_logo)
    Q_PROPERTY(qint64 stock_num READ stock_num WRITE set_stock_num)
    Q_PROPERTY(QString property_alias READ property_alias WRITE set_property_alias)
    Q_PROPERTY(QString attributes READ attributes WRITE set_attributes)
    Q_PROPERTY(QString input_pids READ input_pids WRITE set_input_pids)
    Q_PROPERTY(QString input_strs READ input_strs WRITE set_input_strs)
    Q_PROPERTY(QString vumo_attribute READ vumo_attribute WRITE set_vumo_attribute)
    Q_PROPERTY(QDateTime created READ created WRITE set_created)
    Q_PROPERTY(QDateTime modified READ modified WRITE set_modified)
    Q_PROPERTY(QString outer_id READ outer_id WRITE set_outer_id)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(qint64 transport_id READ transport_id WRITE set_transport_id)
    Q_PROPERTY(QDateTime online_time READ online_time WRITE set_online_time)
    Q_PROPERTY(QDateTime offline_time READ offline_time WRITE set_offline_time)
    Q_PROPERTY(QString cubage READ cubage WRITE set_cubage)
    Q_PROPERTY(QString template_name READ template_name WRITE set_template_name)
    Q_PROPERTY(QString ad_content READ ad_content WRITE set_ad_content)
    Q_PROPERTY(bool is_pay_first READ is_pay_first WRITE set_is_pay_first)
    Q_PROPERTY(bool is_shelf_life READ is_shelf_life WRITE set_is_shelf_life)
    Q_PROPERTY(bool is_imported READ is_imported WRITE set_is_imported)
    Q_PROPERTY(bool is_can_vat READ is_can_vat WRITE set_is_can_vat)
    Q_PROPERTY(bool is_special_wet READ is_special_wet WRITE set_is_special_wet)
    Q_PROPERTY(bool is_appliances_card READ is_appliances_card WRITE set_is_appliances_card)
    Q_PROPERTY(bool is_health_product READ is_health_product WRITE set_is_health_product)
    Q_PROPERTY(bool is_serial_no READ is_serial_no WRITE set_is_serial_no)
    Q_PROPERTY(int shelf_life_days READ shelf_life_days WRITE set_shelf_life_days)
    Q_PROPERTY(int vumo_big_small_model READ vumo_big_small_model WRITE set_vumo_big_small_model)
    Q_PROPERTY(int vumo_pack_type READ vumo_pack_type WRITE set_vumo_pack_type)
    Q_PROPERTY(QString producter READ producter WRITE set_producter)
    Q_PROPERTY(QString wrap READ wrap WRITE set_wrap)
    Q_PROPERTY(QString pack_listing READ pack_listing WRITE set_pack_listing)
    Q_PROPERTY(QString service READ service WRITE set_service)
    Q_PROPERTY(QVariant skus READ skus WRITE set_skus)
    Q_PROPERTY(QString error_msg READ error_msg WRITE set_error_msg)
    Q_PROPERTY(int upload_status READ upload_status WRITE set_upload_status)
    Q_PROPERTY(bool is_vumoinfo_complete READ is_vumoinfo_complete WRITE set_is_vumoinfo_complete)

public:
    explicit VumoDataEntity(QObject* parent = nullptr);
    ~VumoDataEntity() override;

    QVariant ConvertValue(const QString& name, const QVariant& raw) const override;
    bool SetApiValue(const QString& name, const QVariant& raw) override;

    // The listing owns its SKU and image records and deletes them with itself.
    QList<VumoSkuEntity*>& Skus() { return m_skuList; }
    const QList<VumoSkuEntity*>& Skus() const { return m_skuList; }
    void AddSku(VumoSkuEntity* sku);
    void ClearSkus();

    // Images grouped by colour; colour 0 holds the listing's own pictures.
    QMap<qint64, QList<VumoImgEntity*>>& Images() { return m_images; }
    const QMap<qint64, QList<VumoImgEntity*>>& Images() const { return m_images; }
    void AddImage(VumoImgEntity* image);
    void ClearImages();

    // Set when the pictures are already on the marketplace (the main-picture check is skipped).
    bool ImagesOnline() const { return m_imagesOnline; }
    void SetImagesOnline(bool online) { m_imagesOnline = online; }

    // The vumo_ext record of this listing, and back.
    void FillExt(VumoDataExtEntity& ext) const;
    void ApplyExt(const VumoDataExtEntity& ext);

    QString client_id() const { return m_client_id; }
    void set_client_id(const QString& value) { m_client_id = value; }
    qint64 vumo_id() const { return m_vumo_id; }
    void set_vumo_id(qint64 value) { m_vumo_id = value; }
    qint64 spu_id() const { return m_spu_id; }
    void set_spu_id(qint64 value) { m_spu_id = value; }
    qint64 cid() const { return m_cid; }
    void set_cid(qint64 value) { m_cid = value; }
    qint64 brand_id() const { return m_brand_id; }
    void set_brand_id(qint64 value) { m_brand_id = value; }
    QString shop_categorys() const { return m_shop_categorys; }
    void set_shop_categorys(const QString& value) { m_shop_categorys = value; }
    QString title() const { return m_title; }
    void set_title(const QString& value) { m_title = value; }
    QString upc_code() const { return m_upc_code; }
    void set_upc_code(const QString& value) { m_upc_code = value; }
    int vumo_status() const { return m_vumo_status; }
    void set_vumo_status(int value) { m_vumo_status = value; }
    QString item_num() const { return m_item_num; }
    void set_item_num(const QString& value) { m_item_num = value; }
    qint64 length() const { return m_length; }
    void set_length(qint64 value) { m_length = value; }
    qint64 wide() const { return m_wide; }
    void set_wide(qint64 value) { m_wide = value; }
    qint64 high() const { return m_high; }
    void set_high(qint64 value) { m_high = value; }
    double weight() const { return m_weight; }
    void set_weight(double value) { m_weight = value; }
    qint64 cost_price() const { return m_cost_price; }
    void set_cost_price(qint64 value) { m_cost_price = value; }
    qint64 market_price() const { return m_market_price; }
    void set_market_price(qint64 value) { m_market_price = value; }
    qint64 yv_price() const { return m_yv_price; }
    void set_yv_price(qint64 value) { m_yv_price = value; }
    qint64 min_yvprice() const { return m_min_yvprice; }
    void set_min_yvprice(qint64 value) { m_min_yvprice = value; }
    qint64 max_yvprice() const { return m_max_yvprice; }
    void set_max_yvprice(qint64 value) { m_max_yvprice = value; }
    QString desc() const { return m_desc; }
    void set_desc(const QString& value) { m_desc = value; }
    QString logo() const { return m_logo; }
    void set_logo(const QString& value) { m_logo = value; }
    qint64 stock_num() const { return m_stock_num; }
    void set_stock_num(qint64 value) { m_stock_num = value; }
    QString property_alias() const { return m_property_alias; }
    void set_property_alias(const QString& value) { m_property_alias = value; }
    QString attributes() const { return m_attributes; }
    void set_attributes(const QString& value) { m_attributes = value; }
    QString input_pids() const { return m_input_pids; }
    void set_input_pids(const QString& value) { m_input_pids = value; }
    QString input_strs() const { return m_input_strs; }
    void set_input_strs(const QString& value) { m_input_strs = value; }
    QString vumo_attribute() const { return m_vumo_attribute; }
    void set_vumo_attribute(const QString& value) { m_vumo_attribute = value; }
    QDateTime created() const { return m_created; }
    void set_created(const QDateTime& value) { m_created = value; }
    QDateTime modified() const { return m_modified; }
    void set_modified(const QDateTime& value) { m_modified = value; }
    QString outer_id() const { return m_outer_id; }
    void set_outer_id(const QString& value) { m_outer_id = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    qint64 transport_id() const { return m_transport_id; }
    void set_transport_id(qint64 value) { m_transport_id = value; }
    QDateTime online_time() const { return m_online_time; }
    void set_online_time(const QDateTime& value) { m_online_time = value; }
    QDateTime offline_time() const { return m_offline_time; }
    void set_offline_time(const QDateTime& value) { m_offline_time = value; }
    QString cubage() const { return m_cubage; }
    void set_cubage(const QString& value) { m_cubage = value; }
    QString template_name() const { return m_template_name; }
    void set_template_name(const QString& value) { m_template_name = value; }
    QString ad_content() const { return m_ad_content; }
    void set_ad_content(const QString& value) { m_ad_content = value; }
    bool is_pay_first() const { return m_is_pay_first; }
    void set_is_pay_first(bool value) { m_is_pay_first = value; }
    bool is_shelf_life() const { return m_is_shelf_life; }
    void set_is_shelf_life(bool value) { m_is_shelf_life = value; }
    bool is_imported() const { return m_is_imported; }
    void set_is_imported(bool value) { m_is_imported = value; }
    bool is_can_vat() const { return m_is_can_vat; }
    void set_is_can_vat(bool value) { m_is_can_vat = value; }
    bool is_special_wet() const { return m_is_special_wet; }
    void set_is_special_wet(bool value) { m_is_special_wet = value; }
    bool is_appliances_card() const { return m_is_appliances_card; }
    void set_is_appliances_card(bool value) { m_is_appliances_card = value; }
    bool is_health_product() const { return m_is_health_product; }
    void set_is_health_product(bool value) { m_is_health_product = value; }
    bool is_serial_no() const { return m_is_serial_no; }
    void set_is_serial_no(bool value) { m_is_serial_no = value; }
    int shelf_life_days() const { return m_shelf_life_days; }
    void set_shelf_life_days(int value) { m_shelf_life_days = value; }
    int vumo_big_small_model() const { return m_vumo_big_small_model; }
    void set_vumo_big_small_model(int value) { m_vumo_big_small_model = value; }
    int vumo_pack_type() const { return m_vumo_pack_type; }
    void set_vumo_pack_type(int value) { m_vumo_pack_type = value; }
    QString producter() const { return m_producter; }
    void set_producter(const QString& value) { m_producter = value; }
    QString wrap() const { return m_wrap; }
    void set_wrap(const QString& value) { m_wrap = value; }
    QString pack_listing() const { return m_pack_listing; }
    void set_pack_listing(const QString& value) { m_pack_listing = value; }
    QString service() const { return m_service; }
    void set_service(const QString& value) { m_service = value; }
    QVariant skus() const { return m_skus; }
    void set_skus(const QVariant& value) { m_skus = value; }
    QString error_msg() const { return m_error_msg; }
    void set_error_msg(const QString& value) { m_error_msg = value; }
    int upload_status() const { return m_upload_status; }
    void set_upload_status(int value) { m_upload_status = value; }
    bool is_vumoinfo_complete() const { return m_is_vumoinfo_complete; }
    void set_is_vumoinfo_complete(bool value) { m_is_vumoinfo_complete = value; }

private:
    QList<VumoSkuEntity*> m_skuList;
    QMap<qint64, QList<VumoImgEntity*>> m_images;
    bool m_imagesOnline = false;
    QString m_client_id;
    qint64 m_vumo_id = 0;
    qint64 m_spu_id = 0;
    qint64 m_cid = 0;
    qint64 m_brand_id = 0;
    QString m_shop_categorys;
    QString m_title;
    QString m_upc_code;
    int m_vumo_status = -1;
    QString m_item_num;
    qint64 m_length = 0;
    qint64 m_wide = 0;
    qint64 m_high = 0;
    double m_weight = 0.0;
    qint64 m_cost_price = 0;
    qint64 m_market_price = 0;
    qint64 m_yv_price = 0;
    qint64 m_min_yvprice = 0;
    qint64 m_max_yvprice = 0;
    QString m_desc;
    QString m_logo;
    qint64 m_stock_num = 0;
    QString m_property_alias;
    QString m_attributes;
    QString m_input_pids;
    QString m_input_strs;
    QString m_vumo_attribute;
    QDateTime m_created;
    QDateTime m_modified;
    QString m_outer_id;
    int m_status = -1;
    qint64 m_transport_id = 0;
    QDateTime m_online_time;
    QDateTime m_offline_time;
    QString m_cubage;
    QString m_template_name;
    QString m_ad_content;
    bool m_is_pay_first = false;
    bool m_is_shelf_life = false;
    bool m_is_imported = false;
    bool m_is_can_vat = false;
    bool m_is_special_wet = false;
    bool m_is_appliances_card = false;
    bool m_is_health_product = false;
    bool m_is_serial_no = false;
    int m_shelf_life_days = 0;
    int m_vumo_big_small_model = 0;
    int m_vumo_pack_type = 0;
    QString m_producter;
    QString m_wrap;
    QString m_pack_listing;
    QString m_service;
    QVariant m_skus;
    QString m_error_msg;
    int m_upload_status = -1;
    bool m_is_vumoinfo_complete = false;
};

} // namespace Quorvia::vumo::entity
