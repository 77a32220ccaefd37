#pragma once
// One attribute of a marketplace leaf category (table vumo_category).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class VumoCategoryEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(qint64 aid READ aid WRITE set_aid)
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(qint64 cid READ cid WRITE set_cid)
    Q_PROPERTY(int is_key_prop READ is_key_prop WRITE set_is_key_prop)
    Q_PROPERTY(int is_sale_prop READ is_sale_prop WRITE set_is_sale_prop)
    Q_PROPERTY(qint64 index_id READ index_id WRITE set_index_id)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(int att_type READ att_type WRITE set_att_type)
    Q_PROPERTY(int input_type READ input_type WRITE set_input_type)
    Q_PROPERTY(int is_req READ is_req WRITE set_is_req)
    Q_PROPERTY(int is_fet READ is_fet WRITE set_is_fet)
    Q_PROPERTY(int is_nav READ is_nav WRITE set_is_nav)
    Q_PROPERTY(int group_id READ group_id WRITE set_group_id)
    Q_PROPERTY(QString features READ features WRITE set_features)

public:
    explicit VumoCategoryEntity(QObject* parent = nullptr);
    ~VumoCategoryEntity() override;

    qint64 aid() const { return m_aid; }
    void set_aid(qint64 value) { m_aid = value; }
    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    qint64 cid() const { return m_cid; }
    void set_cid(qint64 value) { m_cid = value; }
    int is_key_prop() const { return m_is_key_prop; }
    void set_is_key_prop(int value) { m_is_key_prop = value; }
    int is_sale_prop() const { return m_is_sale_prop; }
    void set_is_sale_prop(int value) { m_is_sale_prop = value; }
    qint64 index_id() const { return m_index_id; }
    void set_index_id(qint64 value) { m_index_id = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    int att_type() const { return m_att_type; }
    void set_att_type(int value) { m_att_type = value; }
    int input_type() const { return m_input_type; }
    void set_input_type(int value) { m_input_type = value; }
    int is_req() const { return m_is_req; }
    void set_is_req(int value) { m_is_req = value; }
    int is_fet() const { return m_is_fet; }
    void set_is_fet(int value) { m_is_fet = value; }
    int is_nav() const { return m_is_nav; }
    void set_is_nav(int value) { m_is_nav = value; }
    int group_id() const { return m_group_id; }
    void set_group_id(int value) { m_group_id = value; }
    QString features() const { return m_features; }
    void set_features(const QString& value) { m_features = value; }

private:
    qint64 m_aid = 0;
    QString m_name;
    qint64 m_cid = 0;
    int m_is_key_prop = 0;
    int m_is_sale_prop = 0;
    qint64 m_index_id = 0;
    int m_status = 0;
    int m_att_type = 0;
    int m_input_type = 0;
    int m_is_req = 0;
    int m_is_fet = 0;
    int m_is_nav = 0;
    int m_group_id = 0;
    QString m_features;
};

} // namespace Quorvia::vumo::entity
