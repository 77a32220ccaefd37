#pragma once
// A temporary home with a logged-in demo seller and a listing store filled with the demo
// listings of VumoDemoStore. The store file sits where the workbench keeps it
// (users/<uid>/databases/商品管理/Vumo.db) and VumoDBMgr opens it through the host's database
// service, so code that reaches the store through the manager (the main widget, the tree) sees it. The column settings
// follow the same seller.
#include "support/TempHome.h"

#include "database/VumoDemoStore.h"
#include "entity/SellerCatsEntity.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace Quorvia::vumo::database {
class VumoDbInterface;
} // namespace Quorvia::vumo::database

namespace VumoTest {

// One shop category; a top one (parent 0) is marked as a parent. The caller owns it.
inline Quorvia::vumo::entity::SellerCatsEntity* makeShopCategory(qint64 cid, qint64 parent, const QString& name,
                                                                 int index)
{
    auto* c = new Quorvia::vumo::entity::SellerCatsEntity;
    c->set_cid(cid);
    c->set_parent_id(parent);
    c->set_name(name);
    c->set_index_id(index);
    c->set_is_parent(parent == 0);
    return c;
}

// The current seller's saved column layout as "column,width,visible" entries (visible: 1 or 0),
// written and read through the workbench's settings.
bool WriteColumnLayout(const QStringList& entries);
QStringList ReadColumnLayout();

class ListingFixture
{
public:
    // Writes the login, sets UserInfo's stockMode and shopType from it, opens and checks the
    // store, and fills `count` demo listings (0 for an empty store).
    explicit ListingFixture(int count = 0, const DemoLogin& login = DemoLogin());
    ~ListingFixture();

    ListingFixture(const ListingFixture&) = delete;
    ListingFixture& operator=(const ListingFixture&) = delete;

    bool isValid() const { return m_valid; }
    QString errorText() const { return m_error; }

    // Adds the demo listings 0 .. count-1 (rewriting those already there).
    bool fill(int count);
    const Quorvia::vumo::database::VumoDemoSummary& summary() const { return m_summary; }

    Quorvia::vumo::database::VumoDbInterface* store() const;
    const TempHome& home() const { return m_home; }

    // The table query the main widget runs, with an optional condition ("WHERE ...").
    static QString TableQuery(const QString& condition = QString());

private:
    TempHome m_home;
    QString m_dbPath;
    QString m_previousUser;
    Quorvia::vumo::database::VumoDemoSummary m_summary;
    QString m_error;
    bool m_valid = false;
};

} // namespace VumoTest
