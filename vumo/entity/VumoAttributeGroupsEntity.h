#pragma once
// A group of category attributes (table vumo_attribute_groups).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class VumoAttributeGroupsEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(int group_id READ group_id WRITE set_group_id)
    Q_PROPERTY(qint64 cid READ cid WRITE set_cid)
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(qint64 index_id READ index_id WRITE set_index_id)

public:
    explicit VumoAttributeGroupsEntity(QObject* parent = nullptr);
    ~VumoAttributeGroupsEntity() override;

    int group_id() const { return m_group_id; }
    void set_group_id(int value) { m_group_id = value; }
    qint64 cid() const { return m_cid; }
    void set_cid(qint64 value) { m_cid = value; }
    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    qint64 index_id() const { return m_index_id; }
    void set_index_id(qint64 value) { m_index_id = value; }

private:
    int m_group_id = 0;
    qint64 m_cid = 0;
    QString m_name;
    int m_status = 0;
    qint64 m_index_id = 0;
};

} // namespace Quorvia::vumo::entity
