#pragma once
// One value of a category attribute (table vumo_category_attribute).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class VumoCategoryAttributeEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(qint64 aid READ aid WRITE set_aid)
    Q_PROPERTY(qint64 vid READ vid WRITE set_vid)
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(int status READ status WRITE set_status)
    Q_PROPERTY(qint64 index_id READ index_id WRITE set_index_id)
    Q_PROPERTY(QString features READ features WRITE set_features)

public:
    explicit VumoCategoryAttributeEntity(QObject* parent = nullptr);
    ~VumoCategoryAttributeEntity() override;

    qint64 aid() const { return m_aid; }
    void set_aid(qint64 value) { m_aid = value; }
    qint64 vid() const { return m_vid; }
    void set_vid(qint64 value) { m_vid = value; }
    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    int status() const { return m_status; }
    void set_status(int value) { m_status = value; }
    qint64 index_id() const { return m_index_id; }
    void set_index_id(qint64 value) { m_index_id = value; }
    QString features() const { return m_features; }
    void set_features(const QString& value) { m_features = value; }

private:
    qint64 m_aid = 0;
    qint64 m_vid = 0;
    QString m_name;
    int m_status = 0;
    qint64 m_index_id = 0;
    QString m_features;
};

} // namespace Quorvia::vumo::entity
