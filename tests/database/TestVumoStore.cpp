// Reading and writing listings: all-or-nothing saves, deletes, upload results, pictures.
#include "VumoStoreFixture.h"
#include "entity/SellerCatsEntity.h"
#include "support/ListingFixture.h"
#include "support/RecordCompare.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace VumoTest;
using Quorvia::vumo::entity::SellerCatsEntity;

namespace {

QStringList skuKeys(const VumoDataEntity& record)
{
    QStringList keys;
    for (const VumoSkuEntity* sku : record.Skus())
        keys << QStringLiteral("%1=%2").arg(sku->attributes()).arg(sku->yv_price());
    keys.sort();
    return keys;
}

QStringList imageNames(const VumoDataEntity& record, qint64 color)
{
    QStringList names;
    for (const VumoImgEntity* image : record.Images().value(color))
        names << image->name();
    return names;
}

using VumoTest::makeShopCategory;

} // namespace

class TestVumoStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<StoreFixture> f;
    VumoDb* store = nullptr;

    qint64 count(const QString& sql) const { return f->scalar(sql).toLongLong(); }

private slots:
    void init()
    {
        f = std::make_unique<StoreFixture>();
        store = f->make();
        QVERIFY(store->CheckDatabase());
    }
    void cleanup() { f.reset(); }

    void savedListingReadsBackWhole()
    {
        auto record = makeListing(QStringLiteral("c-1"), 1001);
        QString message = QStringLiteral("unset");
        QVERIFY(store->SaveVumo(*record, &message));
        QVERIFY(message.isEmpty());
        QVERIFY(record->is_vumoinfo_complete());

        VumoDataEntity read;
        QVERIFY(store->GetVumo(QStringLiteral("c-1"), read));
        QCOMPARE(DifferingProperties(read, *record), QStringList()); // the extension fields included
        QCOMPARE(skuKeys(read), skuKeys(*record));
        for (const VumoSkuEntity* sku : read.Skus())
            QCOMPARE(sku->client_id(), QStringLiteral("c-1"));
        QCOMPARE(imageNames(read, 0), QStringList({"a-c-1.jpg", "b-c-1.jpg"}));
        QCOMPARE(imageNames(read, 9), QStringList({"c-c-1.jpg"}));
        QVERIFY(read.Images().value(0).first()->is_main());

        // A second read into the same record does not pile up SKUs or pictures.
        QVERIFY(store->GetVumo(QStringLiteral("c-1"), read));
        QCOMPARE(read.Skus().size(), 2);
        QCOMPARE(read.Images().value(0).size(), 2);

        QVERIFY(!store->GetVumo(QStringLiteral("missing"), read));
    }

    void incompleteListingIsStoredWithTheFlagCleared()
    {
        auto record = makeListing(QStringLiteral("c-2"), 0);
        record->Skus().first()->set_yv_price(2500);
        QString message;
        QVERIFY(store->SaveVumo(*record, &message));
        QCOMPARE(message, QStringLiteral("销售属性Yv价必须小于或等于商品市场价"));
        QCOMPARE(f->scalar(QStringLiteral("SELECT is_vumoinfo_complete FROM vumo_data WHERE client_id='c-2'")).toInt(),
                 0);
    }

    // The completeness rule follows the stock mode the store is told, whatever the login says.
    void stockModeComesFromTheStoresOwner()
    {
        auto record = makeListing(QStringLiteral("c-3"), 0);
        record->set_stock_num(-1);
        record->set_vumo_big_small_model(2);
        record->set_vumo_pack_type(1);
        QString message;
        QVERIFY(store->SaveVumo(*record, &message));
        QCOMPARE(message, QStringLiteral("库存必须大于或等于0，且小于999999999"));

        store->SetStockMode(1);
        QVERIFY(store->SaveVumo(*record, &message));
        QVERIFY(message.isEmpty());
        QCOMPARE(f->scalar(QStringLiteral("SELECT is_vumoinfo_complete FROM vumo_data WHERE client_id='c-3'")).toInt(),
                 1);
        record->set_vumo_pack_type(6);
        QVERIFY(store->SaveDownloadedVumo(*record, nullptr, &message));
        QCOMPARE(message, QStringLiteral("商品包装无效"));

        store->SetStockMode(-1);
        record->set_vumo_pack_type(1);
        QVERIFY(store->SaveDownloadedVumo(*record, nullptr, &message));
        QCOMPARE(message, QStringLiteral("库存必须大于或等于0，且小于999999999"));
    }

    void failedSaveKeepsThePreviousListing()
    {
        auto record = makeListing(QStringLiteral("c-3"), 3003);
        QVERIFY(store->SaveVumo(*record));
        QVERIFY(f->exec(QStringLiteral("CREATE TRIGGER no_pictures BEFORE INSERT ON vumo_image "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        record->set_title(QStringLiteral("改过的标题"));
        record->ClearSkus();
        record->AddSku(makeSku(QStringLiteral("9:9"), 1500));
        QVERIFY(!store->SaveVumo(*record));

        VumoDataEntity read;
        QVERIFY(store->GetVumo(QStringLiteral("c-3"), read));
        QCOMPARE(read.title(), QStringLiteral("Tom's 保温杯 c-3"));
        QCOMPARE(read.Skus().size(), 2);
        QCOMPARE(imageNames(read, 0).size(), 2);
        QCOMPARE(imageNames(read, 9).size(), 1);

        // Inside the caller's transaction the failure undoes only the save.
        QVERIFY(store->Transaction());
        QVERIFY(store->ExecSql(QStringLiteral("UPDATE vumo_data SET item_num='A-1' WHERE client_id='c-3'")));
        QVERIFY(!store->SaveVumo(*record));
        QVERIFY(store->Commit());
        QCOMPARE(f->scalar(QStringLiteral("SELECT item_num FROM vumo_data WHERE client_id='c-3'")).toString(),
                 QStringLiteral("A-1"));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_sku WHERE client_id='c-3'")), 2);
    }

    void saveKeepsSkusMarkedDeleted()
    {
        auto record = makeListing(QStringLiteral("c-4"), 4004);
        record->Skus().last()->set_status(0);
        QVERIFY(store->SaveVumo(*record));
        // The editor holds only the live SKUs; the deletion mark must survive its save.
        VumoDataEntity edited;
        QVERIFY(store->GetVumo(QStringLiteral("c-4"), edited));
        QCOMPARE(edited.Skus().size(), 1);
        QVERIFY(store->SaveVumo(edited));
        QList<qint64> deleted;
        QVERIFY(store->GetDeletedSkuIds(QStringLiteral("c-4"), deleted));
        QCOMPARE(deleted, QList<qint64>({40042}));
        QList<qint64> live;
        QVERIFY(store->GetSkuIdsByVumoId(4004, live));
        QCOMPARE(live, QList<qint64>({40041}));

        // The default SKU (no attributes) only shows with the flag.
        QVERIFY(f->exec(QStringLiteral("INSERT INTO vumo_sku (client_id, vumo_id, sku_id, status, attributes) "
                                       "VALUES ('c-4', 4004, 40040, 2, '')")));
        QList<VumoSkuEntity*> skus;
        QVERIFY(store->GetSkus(QStringLiteral("c-4"), skus));
        QCOMPARE(skus.size(), 1);
        qDeleteAll(skus);
        skus.clear();
        QVERIFY(store->GetSkus(QStringLiteral("c-4"), skus, true));
        QCOMPARE(skus.size(), 2);
        qDeleteAll(skus);
    }

    void downloadedListingKeepsItsLocalIdentifier()
    {
        auto first = makeListing(QStringLiteral("local-A"), 5005);
        bool existed = true;
        QVERIFY(store->SaveDownloadedVumo(*first, &existed));
        QVERIFY(!existed);

        auto again = makeListing(QStringLiteral("fresh-B"), 5005);
        again->ClearSkus();
        again->AddSku(makeSku(QStringLiteral("7:7"), 1400, 50057));
        again->ClearImages();
        again->AddImage(makeImage(QStringLiteral("new.jpg"), 0, 0));
        again->set_title(QStringLiteral("新标题"));
        QVERIFY(store->SaveDownloadedVumo(*again, &existed));
        QVERIFY(existed);
        QCOMPARE(again->client_id(), QStringLiteral("local-A"));

        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_data WHERE vumo_id=5005")), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_data WHERE client_id='fresh-B'")), 0);
        VumoDataEntity read;
        QVERIFY(store->GetVumo(QStringLiteral("local-A"), read));
        QCOMPARE(read.title(), QStringLiteral("新标题"));
        QCOMPARE(skuKeys(read), QStringList({"7:7=1400"}));
        QCOMPARE(imageNames(read, 0), QStringList({"new.jpg"}));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_ext")), 1);

        QString clientId;
        int status = 0;
        QString shopCategorys;
        QVERIFY(store->FindVumoById(5005, clientId, status, shopCategorys));
        QCOMPARE(clientId, QStringLiteral("local-A"));
        QCOMPARE(status, 8);
        QVERIFY(!store->FindVumoById(9999, clientId, status, shopCategorys));

        // A local listing (same client_id, not yet on the marketplace) downloaded over: its old
        // SKUs and pictures go.
        auto local = makeListing(QStringLiteral("local-C"), 0);
        QVERIFY(store->SaveVumo(*local));
        auto online = makeListing(QStringLiteral("local-C"), 5006);
        online->ClearSkus();
        online->AddSku(makeSku(QStringLiteral("8:8"), 1500, 50068));
        online->ClearImages();
        online->AddImage(makeImage(QStringLiteral("only.jpg"), 0, 0));
        QVERIFY(store->SaveDownloadedVumo(*online, &existed));
        QVERIFY(!existed);
        QVERIFY(store->GetVumo(QStringLiteral("local-C"), read));
        QCOMPARE(skuKeys(read), QStringList({"8:8=1500"}));
        QCOMPARE(imageNames(read, 0), QStringList({"only.jpg"}));

        auto nameless = makeListing(QString(), 6006);
        QVERIFY(!store->SaveDownloadedVumo(*nameless));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_data WHERE client_id=''")), 0);
    }

    void sellerCategoriesAreReplacedWhole()
    {
        QList<SellerCatsEntity*> first = {makeShopCategory(1, 0, QStringLiteral("杯"), 0),
                                          makeShopCategory(11, 1, QStringLiteral("小杯"), 1),
                                          makeShopCategory(12, 1, QStringLiteral("大杯"), 0)};
        QVERIFY(store->ReplaceSellerCategories(first));
        qDeleteAll(first);

        QVERIFY(!store->ReplaceSellerCategories({}));
        QVERIFY(f->exec(QStringLiteral("CREATE TRIGGER no_bad BEFORE INSERT ON seller_category WHEN NEW.name='坏' "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        QList<SellerCatsEntity*> second = {makeShopCategory(2, 0, QStringLiteral("壶"), 0),
                                           makeShopCategory(21, 2, QStringLiteral("坏"), 0)};
        QVERIFY(!store->ReplaceSellerCategories(second));
        qDeleteAll(second);

        QList<SellerCatsEntity*> list;
        QMap<qint64, SellerCatsEntity*> map;
        QVERIFY(store->GetSellerCategories(list, map));
        QStringList names;
        for (const SellerCatsEntity* c : list)
            names << c->name();
        // Ordered by parent, then position.
        QCOMPARE(names, QStringList({"杯", "大杯", "小杯"}));
        QCOMPARE(map.size(), 3);
        QCOMPARE(map.value(11)->name(), QStringLiteral("小杯"));
        qDeleteAll(list);
    }

    void deleteRecycleAndRemove()
    {
        QTemporaryDir pictures;
        store->SetImageFolder(pictures.path());
        auto write = [&](const QString& name) { QVERIFY(WriteBytes(QDir(pictures.path()).filePath(name), "jpg")); };
        auto a = makeListing(QStringLiteral("del-A"), 7001);
        auto b = makeListing(QStringLiteral("del-B"), 7002);
        auto c = makeListing(QStringLiteral("del-C"), 7003);
        c->set_logo(b->logo()); // a copied listing sharing its main picture
        for (auto* r : {a.get(), b.get(), c.get()})
            QVERIFY(store->SaveVumo(*r));
        write(a->logo());
        write(b->logo());

        QVERIFY(store->RemoveVumo(*a, false));
        QCOMPARE(count(QStringLiteral("SELECT vumo_status FROM vumo_data WHERE client_id='del-A'")), 2015);
        QVERIFY(QFile::exists(QDir(pictures.path()).filePath(a->logo())));

        // A refused picture delete keeps the rows and the file.
        QVERIFY(f->exec(QStringLiteral("CREATE TRIGGER keep_pictures BEFORE DELETE ON vumo_image "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        QVERIFY(!store->RemoveVumo(*a, true));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_data WHERE client_id='del-A'")), 1);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_sku WHERE client_id='del-A'")), 2);
        QVERIFY(QFile::exists(QDir(pictures.path()).filePath(a->logo())));
        QVERIFY(f->exec(QStringLiteral("DROP TRIGGER keep_pictures")));

        QVERIFY(store->RemoveVumo(*a, true));
        for (const char* table : {"vumo_data", "vumo_ext", "vumo_sku", "vumo_image"})
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE client_id='del-A'").arg(QLatin1String(table))),
                     0);
        QVERIFY(!QFile::exists(QDir(pictures.path()).filePath(a->logo())));

        // B's picture is still C's main picture.
        QVERIFY(store->RemoveVumo(*b, true));
        QVERIFY(QFile::exists(QDir(pictures.path()).filePath(b->logo())));

        QList<VumoDataEntity*> rest = {c.get()};
        QVERIFY(store->DeleteVumos(rest));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_data")), 0);
    }

    void uploadResultBothFormsAndRestore()
    {
        auto record = makeListing(QStringLiteral("up-1"), 0);
        QVERIFY(store->SaveVumo(*record));

        record->set_vumo_id(880001);
        record->set_vumo_status(8);
        record->set_status(2);
        record->set_upload_status(1);
        QVERIFY(store->SetUploadResult(*record, true));
        QList<VUMO_LIST_STRUCT> rows;
        QVERIFY(store->QueryVumoRows(ListingFixture::TableQuery(QStringLiteral("WHERE client_id='up-1'")), rows));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().vumo_id, 880001);
        QCOMPARE(rows.first().vumo_status, 8);
        QCOMPARE(rows.first().upload_status, 1);
        record->set_upload_status(2);
        QVERIFY(store->SetUploadResult(*record, false, QStringLiteral("类目'无效")));
        QCOMPARE(f->scalar(QStringLiteral("SELECT error_msg FROM vumo_data WHERE client_id='up-1'")).toString(),
                 QStringLiteral("类目'无效"));
        QCOMPARE(count(QStringLiteral("SELECT upload_status FROM vumo_data WHERE client_id='up-1'")), 2);
        // The server's text may carry its own "%1": it is stored as sent and rewrites nothing.
        for (const QString& text : {QStringLiteral("折扣超过100%1次"), QStringLiteral("%3%2%1'%")}) {
            record->set_upload_status(3);
            QVERIFY2(store->SetUploadResult(*record, false, text), qPrintable(text));
            QCOMPARE(f->scalar(QStringLiteral("SELECT error_msg FROM vumo_data WHERE client_id='up-1'")).toString(),
                     text);
            QCOMPARE(count(QStringLiteral("SELECT upload_status FROM vumo_data WHERE client_id='up-1'")), 3);
        }

        // Restored to the local store: the SKU ids are cleared, nothing else of the SKUs.
        record->set_vumo_status(2014);
        QVERIFY(store->SetUploadResult(*record, true));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_sku WHERE client_id='up-1' AND sku_id=''")), 2);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_sku WHERE client_id='up-1'")), 2);
        QCOMPARE(count(QStringLiteral("SELECT vumo_status FROM vumo_data WHERE client_id='up-1'")), 2014);

        VumoDataEntity ghost;
        ghost.set_client_id(QStringLiteral("gone"));
        QVERIFY(!store->SetUploadResult(ghost, true));
        QVERIFY(!store->SetUploadResult(ghost, false, QStringLiteral("x")));
    }

    void picturesByConditions()
    {
        auto record = makeListing(QStringLiteral("img-1"), 0);
        QVERIFY(store->SaveVumo(*record));
        QList<VumoImgEntity*> found;
        QVERIFY(store->SelectImages(
            {{QStringLiteral("client_id"), QStringLiteral("img-1")}, {QStringLiteral("color_id"), QStringLiteral("0")}},
            found));
        QCOMPARE(found.size(), 2);
        qDeleteAll(found);
        found.clear();

        QVERIFY(store->UpdateImages({{QStringLiteral("name"), QStringLiteral("a-img-1.jpg")}},
                                    {{QStringLiteral("state"), QStringLiteral("1")}}));
        // A picture deleted here but still online comes back with its state, and a local save
        // of what was read keeps it for the upload.
        VumoDataEntity read;
        QVERIFY(store->GetVumo(QStringLiteral("img-1"), read));
        QCOMPARE(imageNames(read, 0), QStringList({"a-img-1.jpg", "b-img-1.jpg"}));
        QCOMPARE(read.Images().value(0).first()->state(), int(Quorvia::vumo::entity::ImgStateDeleted));
        QVERIFY(store->SaveVumo(read));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_image WHERE client_id='img-1' AND state=1")), 1);
        qint64 uses = -1;
        QVERIFY(store->CountPictureUses(QStringLiteral("a-img-1.jpg"), uses));
        QCOMPARE(uses, 0); // the deleted row waits for the upload, not for its file
        QVERIFY(store->CountPictureUses(QStringLiteral("b-img-1.jpg"), uses));
        QCOMPARE(uses, 1);

        // Unsafe column names and empty conditions are refused, and nothing is deleted.
        QVERIFY(!store->DeleteImages({}));
        QVERIFY(!store->DeleteImages({{QStringLiteral("1=1 or name"), QStringLiteral("x")}}));
        QVERIFY(!store->SelectImages({{QStringLiteral("name;"), QStringLiteral("x")}}, found));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_image")), 3);
        QVERIFY(store->DeleteImages({{QStringLiteral("name"), QStringLiteral("it's.jpg")}}));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_image")), 3);
        QVERIFY(store->DeleteImages({{QStringLiteral("color_id"), QStringLiteral("9")}}));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_image")), 2);

        QVERIFY(store->DeleteLocalImages(QStringLiteral("img-1")));
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM vumo_image")), 0);
    }

    void textFieldsAndQueries()
    {
        auto record = makeListing(QStringLiteral("t-1"), 0);
        QVERIFY(store->SaveVumo(*record));
        const QString html = QStringLiteral("<p class='x'>新描述</p>");
        QVERIFY(store->SetDescription(QStringLiteral("t-1"), html));
        QString text;
        QVERIFY(store->GetDescription(QStringLiteral("t-1"), text));
        QCOMPARE(text, html);
        // Writing to a listing that is not there is not a success.
        QVERIFY(!store->SetDescription(QStringLiteral("nobody"), html));
        QVERIFY(!store->SetService(QStringLiteral("nobody"), html));

        QVariant value;
        QVERIFY(store->GetVumoField(QStringLiteral("t-1"), QStringLiteral("title"), value));
        QCOMPARE(value.toString(), record->title());
        QVERIFY(!store->GetVumoField(QStringLiteral("t-1"), QStringLiteral("title FROM vumo_data; --"), value));
        qint64 n = -1;
        QVERIFY(!store->CountVumos(QStringLiteral("no_such_column=1"), n));

        QList<VumoDataEntity*> listings;
        QVERIFY(store->GetVumosByClientIds({QStringLiteral("t-1"), QStringLiteral("o'neil")}, listings));
        QCOMPARE(listings.size(), 1);
        qDeleteAll(listings);
        QList<VUMO_LIST_STRUCT> rows;
        QVERIFY(!store->QueryVumoRows(QStringLiteral("SELECT client_id FROM vumo_data"), rows));
        QVERIFY(rows.isEmpty());
    }
};

VUMO_TEST_CLASS(TestVumoStore)
#include "TestVumoStore.moc"
