#pragma once
// A pair of SKUs whose comments are carried over (table synccomment).
#include "entity/IEntity.h"

#include <QDateTime>

namespace Quorvia::vumo::entity {

class RedSyncCommentEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(qint64 new_skuid READ new_skuid WRITE set_new_skuid)
    Q_PROPERTY(qint64 ori_skuid READ ori_skuid WRITE set_ori_skuid)
    Q_PROPERTY(QDateTime last_req_date READ last_req_date WRITE set_last_req_date)
    Q_PROPERTY(QDateTime create_date READ create_date WRITE set_create_date)

public:
    explicit RedSyncCommentEntity(QObject* parent = nullptr);
    ~RedSyncCommentEntity() override;

    qint64 new_skuid() const { return m_new_skuid; }
    void set_new_skuid(qint64 value) { m_new_skuid = value; }
    qint64 ori_skuid() const { return m_ori_skuid; }
    void set_ori_skuid(qint64 value) { m_ori_skuid = value; }
    QDateTime last_req_date() const { return m_last_req_date; }
    void set_last_req_date(const QDateTime& value) { m_last_req_date = value; }
    QDateTime create_date() const { return m_create_date; }
    void set_create_date(const QDateTime& value) { m_create_date = value; }

private:
    qint64 m_new_skuid = 0;
    qint64 m_ori_skuid = 0;
    QDateTime m_last_req_date;
    QDateTime m_create_date;
};

} // namespace Quorvia::vumo::entity
