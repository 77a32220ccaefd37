#pragma once
// A marketplace category the seller may list in (table vender_shop_category).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class VenderShopCategoryEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(qint64 id READ id WRITE set_id)
    Q_PROPERTY(qint64 index_id READ index_id WRITE set_index_id)
    Q_PROPERTY(qint64 fid READ fid WRITE set_fid)
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(int is_parent READ is_parent WRITE set_is_parent)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(int lev READ lev WRITE set_lev)

public:
    explicit VenderShopCategoryEntity(QObject* parent = nullptr);
    ~VenderShopCategoryEntity() override;

    qint64 id() const { return m_id; }
    void set_id(qint64 value) { m_id = value; }
    qint64 index_id() const { return m_index_id; }
    void set_index_id(qint64 value) { m_index_id = value; }
    qint64 fid() const { return m_fid; }
    void set_fid(qint64 value) { m_fid = value; }
    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    int is_parent() const { return m_is_parent; }
    void set_is_parent(int value) { m_is_parent = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    int lev() const { return m_lev; }
    void set_lev(int value) { m_lev = value; }

private:
    qint64 m_id = 0;
    qint64 m_index_id = 0;
    qint64 m_fid = 0;
    QString m_name;
    int m_is_parent = 0;
    int m_status = 0;
    int m_lev = 0;
};

} // namespace Quorvia::vumo::entity
