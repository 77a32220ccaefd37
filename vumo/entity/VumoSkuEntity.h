#pragma once
// One SKU of a listing (table vumo_sku). Empty attributes stand for the default SKU.
#include "entity/IEntity.h"

#include <QDateTime>
#include <QString>

namespace Quorvia::vumo::entity {

class VumoSkuEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(QString client_id READ client_id WRITE set_client_id)
    Q_PROPERTY(qint64 vumo_id READ vumo_id WRITE set_vumo_id)
    Q_PROPERTY(qint64 sku_id READ sku_id WRITE set_sku_id)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(QString attributes READ attributes WRITE set_attributes)
    Q_PROPERTY(qint64 stock_num READ stock_num WRITE set_stock_num)
    Q_PROPERTY(qint64 yv_price READ yv_price WRITE set_yv_price)
    Q_PROPERTY(qint64 cost_price READ cost_price WRITE set_cost_price)
    Q_PROPERTY(qint64 market_price READ market_price WRITE set_market_price)
    Q_PROPERTY(QString outer_id READ outer_id WRITE set_outer_id)
    Q_PROPERTY(QDateTime created READ created WRITE set_created)
    Q_PROPERTY(QDateTime modified READ modified WRITE set_modified)

public:
    explicit VumoSkuEntity(QObject* parent = nullptr);
    ~VumoSkuEntity() override;

    QVariant ConvertValue(const QString& name, const QVariant& raw) const override;

    QString client_id() const { return m_client_id; }
    void set_client_id(const QString& value) { m_client_id = value; }
    qint64 vumo_id() const { return m_vumo_id; }
    void set_vumo_id(qint64 value) { m_vumo_id = value; }
    qint64 sku_id() const { return m_sku_id; }
    void set_sku_id(qint64 value) { m_sku_id = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    QString attributes() const { return m_attributes; }
    void set_attributes(const QString& value) { m_attributes = value; }
    qint64 stock_num() const { return m_stock_num; }
    void set_stock_num(qint64 value) { m_stock_num = value; }
    qint64 yv_price() const { return m_yv_price; }
    void set_yv_price(qint64 value) { m_yv_price = value; }
    qint64 cost_price() const { return m_cost_price; }
    void set_cost_price(qint64 value) { m_cost_price = value; }
    qint64 market_price() const { return m_market_price; }
    void set_market_price(qint64 value) { m_market_price = value; }
    QString outer_id() const { return m_outer_id; }
    void set_outer_id(const QString& value) { m_outer_id = value; }
    QDateTime created() const { return m_created; }
    void set_created(const QDateTime& value) { m_created = value; }
    QDateTime modified() const { return m_modified; }
    void set_modified(const QDateTime& value) { m_modified = value; }

    // "颜色:大红^尺码:XL": the sale attributes as the product-page preview shows them. Not a
    // column, so not a property; only the editor's preview fills it.
    QString DisplayText() const { return m_displayText; }
    void SetDisplayText(const QString& text) { m_displayText = text; }

private:
    QString m_client_id;
    qint64 m_vumo_id = 0;
    qint64 m_sku_id = 0;
    int m_status = 2;
    QString m_attributes;
    qint64 m_stock_num = 0;
    qint64 m_yv_price = 0;
    qint64 m_cost_price = 0;
    qint64 m_market_price = 0;
    QString m_outer_id;
    QDateTime m_created;
    QDateTime m_modified;
    QString m_displayText;
};

} // namespace Quorvia::vumo::entity
