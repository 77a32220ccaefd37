#pragma once
// Extension texts of a listing (table vumo_ext).
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

class VumoDataExtEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(QString client_id READ client_id WRITE set_client_id)
    Q_PROPERTY(qint64 vumo_id READ vumo_id WRITE set_vumo_id)
    Q_PROPERTY(QString producter READ producter WRITE set_producter)
    Q_PROPERTY(QString wrap READ wrap WRITE set_wrap)
    Q_PROPERTY(QString pack_listing READ pack_listing WRITE set_pack_listing)
    Q_PROPERTY(QString service READ service WRITE set_service)

public:
    explicit VumoDataExtEntity(QObject* parent = nullptr);
    ~VumoDataExtEntity() override;

    QString client_id() const { return m_client_id; }
    void set_client_id(const QString& value) { m_client_id = value; }
    qint64 vumo_id() const { return m_vumo_id; }
    void set_vumo_id(qint64 value) { m_vumo_id = value; }
    QString producter() const { return m_producter; }
    void set_producter(const QString& value) { m_producter = value; }
    QString wrap() const { return m_wrap; }
    void set_wrap(const QString& value) { m_wrap = value; }
    QString pack_listing() const { return m_pack_listing; }
    void set_pack_listing(const QString& value) { m_pack_listing = value; }
    QString service() const { return m_service; }
    void set_service(const QString& value) { m_service = value; }

private:
    QString m_client_id;
    qint64 m_vumo_id = 0;
    QString m_producter;
    QString m_wrap;
    QString m_pack_listing;
    QString m_service;
};

} // namespace Quorvia::vumo::entity
