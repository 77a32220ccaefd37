#pragma once
// The demo seller in a temporary home with both stores reached through VumoDBMgr: the category
// store filled with the seeds' marketplace categories, attributes and values, the listing store
// with the seeds' shop categories.
#include "support/ListingFixture.h"
#include "support/TempHome.h"

#include "SeedCatalogue.h"
#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VenderShopCategoryEntity.h"
#include "entity/VumoCategoryAttributeEntity.h"
#include "entity/VumoCategoryEntity.h"

#include <memory>

namespace VumoTest {

class PickerStoreFixture
{
public:
    // `fill` false leaves both stores empty.
    explicit PickerStoreFixture(bool fill = true)
        : seed(Quorvia::marketplace::MakeSeedCatalogue(QStringLiteral("empty")))
    {
        using namespace Quorvia::vumo::entity;
        home.writeLogin();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
        cats = Quorvia::vumo::database::VumoDBMgr::instance()->GetCategoryDb();
        listings = Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb();
        valid = cats->CheckDatabase() && listings->CheckDatabase();
        if (!fill || !valid)
            return;
        QList<VenderShopCategoryEntity*> categories;
        for (const auto& c : seed.categories) {
            auto* e = new VenderShopCategoryEntity;
            e->set_id(c.id);
            e->set_fid(c.fid);
            e->set_name(c.name);
            e->set_lev(c.lev);
            e->set_is_parent(c.isParent);
            e->set_index_id(c.indexId);
            e->set_status(c.status);
            categories << e;
        }
        QList<VumoCategoryEntity*> attributes;
        for (const auto& a : seed.attributes) {
            auto* e = new VumoCategoryEntity;
            e->set_aid(a.aid);
            e->set_cid(a.cid);
            e->set_name(a.name);
            e->set_is_sale_prop(a.isSaleProp);
            e->set_index_id(a.indexId);
            e->set_status(a.status);
            e->set_input_type(a.inputType);
            e->set_is_req(a.isReq);
            e->set_group_id(int(a.groupId));
            e->set_features(a.features);
            attributes << e;
        }
        QList<VumoCategoryAttributeEntity*> values;
        for (const auto& v : seed.attrValues) {
            auto* e = new VumoCategoryAttributeEntity;
            e->set_aid(v.aid);
            e->set_vid(v.vid);
            e->set_name(v.name);
            e->set_status(v.status);
            e->set_index_id(v.indexId);
            values << e;
        }
        QList<SellerCatsEntity*> shop;
        for (const auto& s : seed.shopCategories)
            shop << makeShopCategory(s.cid, s.parentId, s.name, s.indexId);
        valid = cats->ReplaceVenderShopCategories(categories) && cats->SaveCategoryAttributes(attributes)
            && cats->SaveAttributeValues(values) && listings->ReplaceSellerCategories(shop);
        qDeleteAll(categories);
        qDeleteAll(attributes);
        qDeleteAll(values);
        qDeleteAll(shop);
    }
    ~PickerStoreFixture()
    {
        cats.reset();
        listings.reset();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
    }

    // The seed's category with this name under a parent of that name; 0 when there is none.
    qint64 categoryId(const QString& parent, const QString& name) const
    {
        for (const auto& c : seed.categories) {
            if (c.name != name)
                continue;
            for (const auto& p : seed.categories) {
                if (p.id == c.fid && p.name == parent)
                    return c.id;
            }
        }
        return 0;
    }
    // The attribute of a category by name, and the identifier of one of its values by name.
    qint64 attributeId(qint64 cid, const QString& name) const
    {
        for (const auto& a : seed.attributes) {
            if (a.cid == cid && a.name == name)
                return a.aid;
        }
        return 0;
    }
    qint64 valueId(qint64 aid, const QString& name) const
    {
        for (const auto& v : seed.attrValues) {
            if (v.aid == aid && v.name == name)
                return v.vid;
        }
        return 0;
    }

    // Attributes of made-up categories: `values` values each, named after the attribute with
    // their position ("尺码1", ...), vid aid * 100 + position, stored last position first so a
    // reader must order them itself.
    struct AttributeRow
    {
        qint64 aid;
        qint64 cid;
        QString name;
        int sale; // is_sale_prop
        int values;
    };
    bool storeAttributes(const QList<AttributeRow>& rows) const
    {
        using namespace Quorvia::vumo::entity;
        QList<VumoCategoryEntity*> attrs;
        QList<VumoCategoryAttributeEntity*> values;
        for (const AttributeRow& row : rows) {
            auto* a = new VumoCategoryEntity;
            a->set_aid(row.aid);
            a->set_cid(row.cid);
            a->set_name(row.name);
            a->set_is_sale_prop(row.sale);
            a->set_index_id(int(row.aid));
            a->set_status(1);
            attrs << a;
            for (int i = row.values; i >= 1; --i) {
                auto* v = new VumoCategoryAttributeEntity;
                v->set_aid(row.aid);
                v->set_vid(row.aid * 100 + i);
                v->set_name(row.name + QString::number(i));
                v->set_index_id(i);
                v->set_status(1);
                values << v;
            }
        }
        const bool ok = cats->SaveCategoryAttributes(attrs) && cats->SaveAttributeValues(values);
        qDeleteAll(attrs);
        qDeleteAll(values);
        return ok;
    }

    TempHome home;
    Quorvia::marketplace::SeedCatalogue seed;
    std::shared_ptr<Quorvia::vumo::database::CategoryDbInterface> cats;
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> listings;
    bool valid = false;
};

} // namespace VumoTest
