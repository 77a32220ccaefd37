#pragma once
// One category of the shop's own two-level tree (table seller_category).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class SellerCatsEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(qint64 cid READ cid WRITE set_cid)
    Q_PROPERTY(qint64 parent_id READ parent_id WRITE set_parent_id)
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(bool is_parent READ is_parent WRITE set_is_parent)
    Q_PROPERTY(bool is_open READ is_open WRITE set_is_open)
    Q_PROPERTY(bool is_home_show READ is_home_show WRITE set_is_home_show)
    Q_PROPERTY(int index_id READ index_id WRITE set_index_id)

public:
    explicit SellerCatsEntity(QObject* parent = nullptr);
    ~SellerCatsEntity() override;

    qint64 cid() const { return m_cid; }
    void set_cid(qint64 value) { m_cid = value; }
    qint64 parent_id() const { return m_parent_id; }
    void set_parent_id(qint64 value) { m_parent_id = value; }
    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    bool is_parent() const { return m_is_parent; }
    void set_is_parent(bool value) { m_is_parent = value; }
    bool is_open() const { return m_is_open; }
    void set_is_open(bool value) { m_is_open = value; }
    bool is_home_show() const { return m_is_home_show; }
    void set_is_home_show(bool value) { m_is_home_show = value; }
    int index_id() const { return m_index_id; }
    void set_index_id(int value) { m_index_id = value; }

private:
    qint64 m_cid = 0;
    qint64 m_parent_id = 0;
    QString m_name;
    bool m_is_parent = false;
    bool m_is_open = false;
    bool m_is_home_show = false;
    int m_index_id = 0;
};

} // namespace Quorvia::vumo::entity
