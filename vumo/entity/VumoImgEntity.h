#pragma once
// One picture of a listing (table vumo_image); color_id 0 is the listing's own group.
#include "entity/IEntity.h"

#include <QString>

namespace Quorvia::vumo::entity {

// Picture states, one meaning everywhere (store, editor, upload). A picture deleted here that
// the marketplace still has keeps its row in state 1 until the upload has removed it online:
// every read of a listing carries such rows and every view hides them.
enum VumoImgState : int {
    ImgStateUnchanged = 0, // the marketplace has it
    ImgStateDeleted = 1,   // deleted here, still to be removed on the marketplace
    ImgStateNew = 2,       // in the picture folder, still to be uploaded
    ImgStatePicked = 3,    // editor only: chosen from the seller's disk, not yet in the folder
};

class VumoImgEntity final : public Quorvia::utils::entity::IEntity
{
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE set_name)
    Q_PROPERTY(QString img_url READ img_url WRITE set_img_url)
    Q_PROPERTY(bool is_main READ is_main WRITE set_is_main)
    Q_PROPERTY(int state READ state WRITE set_state)
    Q_PROPERTY(qint64 index_id READ index_id WRITE set_index_id)
    Q_PROPERTY(QString client_id READ client_id WRITE set_client_id)
    Q_PROPERTY(qint64 color_id READ color_id WRITE set_color_id)
    Q_PROPERTY(qint64 img_id READ img_id WRITE set_img_id)
    Q_PROPERTY(int is_online_mainPic READ is_online_mainPic WRITE set_is_online_mainPic)

public:
    explicit VumoImgEntity(QObject* parent = nullptr);
    ~VumoImgEntity() override;

    QVariant ConvertValue(const QString& name, const QVariant& raw) const override;

    QString name() const { return m_name; }
    void set_name(const QString& value) { m_name = value; }
    QString img_url() const { return m_img_url; }
    void set_img_url(const QString& value) { m_img_url = value; }
    bool is_main() const { return m_is_main; }
    void set_is_main(bool value) { m_is_main = value; }
    int state() const { return m_state; }
    void set_state(int value) { m_state = value; }
    qint64 index_id() const { return m_index_id; }
    void set_index_id(qint64 value) { m_index_id = value; }
    QString client_id() const { return m_client_id; }
    void set_client_id(const QString& value) { m_client_id = value; }
    qint64 color_id() const { return m_color_id; }
    void set_color_id(qint64 value) { m_color_id = value; }
    qint64 img_id() const { return m_img_id; }
    void set_img_id(qint64 value) { m_img_id = value; }
    int is_online_mainPic() const { return m_is_online_mainPic; }
    void set_is_online_mainPic(int value) { m_is_online_mainPic = value; }

private:
    QString m_name;
    QString m_img_url;
    bool m_is_main = false;
    int m_state = 0;
    qint64 m_index_id = 0;
    QString m_client_id;
    qint64 m_color_id = 0;
    qint64 m_img_id = 0;
    int m_is_online_mainPic = 0;
};

} // namespace Quorvia::vumo::entity
