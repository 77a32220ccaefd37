// Reading the answers of the listing operations, and which platform errors count as success.
#include "support/TestMain.h"

#include "entity/VumoImgEntity.h"
#include "network/config/NetworkConfig.h"
#include "request/PopSellerCatsGet.h"
#include "request/PopVumoAttributeGet.h"
#include "request/PopVumoAttvalueGet.h"
#include "request/PopVumoDelete.h"
#include "request/PopVumoGet.h"
#include "request/PopVumoGroupsGet.h"
#include "request/PopVumoImgUpload.h"
#include "request/PopVumoPropimgsSearch.h"
#include "request/PopVumoRedCommentSync.h"
#include "request/PopVumoSkuDelete.h"
#include "request/PopVumoSkuPriceUpdate.h"
#include "request/PopVumocatsGet.h"
#include "request/PopVumosSearch.h"

#include <QTest>

using namespace Quorvia::vumo::request;
using Quorvia::network::http::HTTP_RETURN_RESULT;
using Quorvia::network::http::HTTP_RETURN_SUCCESS;

namespace {

// The call reads `body` as a complete answer.
template <typename Call>
bool Receive(Call& call, const QByteArray& body)
{
    return call.OnResponse(HTTP_RETURN_SUCCESS, HTTP_RETURN_RESULT{200, body});
}

QByteArray PlatformError(const char* code)
{
    return QByteArray(R"({"error_response":{"code":")") + code + R"(","zh_desc":"失败"}})";
}

// What every category-list call must keep: its method and parameter text, the answer and list
// member it reads, and the failure log it leaves (empty: the generic "request failed" text).
template <typename Call>
void CheckCategoryList(Call& call, const char* method, const QByteArray& params, const QByteArray& answer,
                       const QByteArray& list, const QString& failure)
{
    QCOMPARE(call.GetMethod(), QByteArray(method));
    QCOMPARE(call.GetParamJson(), params);

    const QByteArray good = "{\"" + answer + "\":{\"" + list + "\":[{\"id\":1},\"x\",{\"id\":2}]}}";
    QVERIFY(Receive(call, good));
    QCOMPARE(call.GetItems().size(), 2);
    QCOMPARE(call.GetItems().at(1).value("id").toInt(), 2);
    call.OnPreStart();
    QVERIFY(call.GetItems().isEmpty());

    QVERIFY(Receive(call, good));
    // Another call's answer: nothing is kept from before.
    QVERIFY(!Receive(call, R"({"other_response":{"item_cats":[{"id":1}]}})"));
    QVERIFY(call.GetItems().isEmpty());
    if (failure.isEmpty())
        QVERIFY(call.errorMessage.startsWith(QLatin1String("api[") + QLatin1String(method)
                                             + QLatin1String("] request failed!")));
    else
        QCOMPARE(call.errorMessage, failure);
}

} // namespace

class AnswerTest : public QObject
{
    Q_OBJECT

private slots:
    void searchSortsIdsAndCountsPages()
    {
        PopVumosSearch search;
        search.SetPage(1);
        const QByteArray firstPage =
            R"({"vumo_info_by_info_search_response":{"total":"5","vumo_infos":[)"
            R"({"vumo_id":"1000000001","status":"VALID"},{"vumo_id":1000000002,"status":"DELETE"},)"
            R"({"vumo_id":"0","status":"VALID"},{"vumo_id":"1000000004","status":"LOCKED"}]}})";
        QVERIFY(Receive(search, firstPage));
        QCOMPARE(search.GetValidIds(), QList<qint64>({1000000001}));
        QCOMPARE(search.GetDeletedIds(), QList<qint64>({1000000002}));
        QCOMPARE(search.GetTotal(), 5);
        QCOMPARE(search.GetReceivedCount(), 4); // skipped items were still received
        QVERIFY(!search.IsFinished());

        search.SetPage(2);
        const QByteArray secondPage =
            R"({"vumo_info_by_info_search_response":{"total":5,"vumo_infos":[{"vumo_id":"1000000005","status":"VALID"}]}})";
        QVERIFY(Receive(search, secondPage));
        QCOMPARE(search.GetValidIds(), QList<qint64>({1000000005})); // this page only
        QVERIFY(search.GetDeletedIds().isEmpty());
        QVERIFY(search.IsFinished());

        // Page 1 starts counting again; an empty page ends paging even when short of total.
        search.SetPage(1);
        QVERIFY(!search.IsFinished());
        QVERIFY(Receive(search, R"({"vumo_info_by_info_search_response":{"total":"80","vumo_infos":[]}})"));
        QVERIFY(search.IsFinished());

        QVERIFY(!Receive(search, R"({"other_response":{}})"));
        QCOMPARE(search.errorMessage, QStringLiteral("查询商品信息失败"));
        QVERIFY(search.GetValidIds().isEmpty());
    }

    void getNeedsAListingObject()
    {
        PopVumoGet get;
        get.SetVumoId(1000000009);
        QVERIFY(Receive(get, R"({"vumo_get_response":{"vumo":{"title":"T","skus":[{"sku_id":1}]}}})"));
        QCOMPARE(get.GetVumo().value("title").toString(), QStringLiteral("T"));
        QCOMPARE(get.GetVumo().value("skus").toList().size(), 1);

        for (const QByteArray& body :
             {QByteArray(R"({"vumo_get_response":{"vumo":[]}})"), QByteArray(R"({"vumo_get_response":{}})")}) {
            get.errorMessage.clear();
            QVERIFY(!Receive(get, body));
            QCOMPARE(get.errorMessage, QStringLiteral("商品1000000009 不存在或已删除"));
            QVERIFY(get.GetVumo().isEmpty());
        }
        get.errorMessage.clear();
        QVERIFY(!Receive(get, PlatformError("9")));
        QCOMPARE(get.errorMessage, QStringLiteral("失败")); // the platform's text wins
    }

    void errorCodesThatCountAsSuccess()
    {
        PopVumoDelete del;
        del.SetVumoId(1000000003);
        QVERIFY(Receive(del, R"({"vumo_delete_response":{"vumo_id":"1000000003"}})"));
        QVERIFY(!Receive(del, R"({"vumo_delete_response":{"vumo_id":"1000000004"}})"));
        QCOMPARE(del.errorMessage, QStringLiteral("删除商品信息有误"));
        for (const char* gone : {"11200004", "11200014"}) {
            del.errorMessage.clear();
            QVERIFY2(Receive(del, PlatformError(gone)), gone);
            QVERIFY(del.errorMessage.isEmpty());
            QCOMPARE(del.errorCode, QString::fromLatin1(gone));
        }
        QVERIFY(!Receive(del, PlatformError("11200025")));

        PopVumoSkuDelete sku;
        QVERIFY(Receive(sku, PlatformError("11200025")));
        QVERIFY(!Receive(sku, PlatformError("11200004")));
        QVERIFY(Receive(sku, R"({"sku_delete_response":{}})"));

        PopVumoSkuPriceUpdate price;
        price.SetSkuId(42);
        QVERIFY(!Receive(price, ""));
        QCOMPARE(price.errorMessage, QStringLiteral("返回信息为空"));
    }

    void propertyImagesBecomeRecords()
    {
        PopVumoPropimgsSearch search;
        search.SetPage(1);
        const QByteArray page =
            R"({"vumo_propimgs_search_response":{"total":"4","propimgs":[)"
            R"({"img_url":"jfs/n2/a.jpg","img_id":"77","color_id":"1627207","is_main":"是","index_id":1},)"
            R"({"img_url":"http://img/n2/x/n2/b.jpg","img_id":78},"junk"]}})";
        QVERIFY(Receive(search, page));
        const QList<Quorvia::vumo::entity::VumoImgEntity*>& images = search.GetImages();
        QCOMPARE(images.size(), 2);
        QCOMPARE(images.at(0)->img_url(), QStringLiteral("jfs/n5/a.jpg"));
        QVERIFY(images.at(0)->is_main());
        QCOMPARE(images.at(1)->img_url(), QStringLiteral("http://img/n5/x/n5/b.jpg"));
        QVERIFY(!search.IsFinished());

        search.SetPage(2);
        QVERIFY(Receive(search, R"({"vumo_propimgs_search_response":{"total":"4","propimgs":[{"img_url":"c"}]}})"));
        QVERIFY(search.IsFinished());
    }

    void imageUploadNeedsCodeZeroAndAnAddress()
    {
        PopVumoImgUpload upload;
        QVERIFY(!Receive(upload, R"({"kelvaris_imgzone_picture_upload_responce":{"code":"0","picture_url":""}})"));
        QVERIFY(upload.errorMessage.startsWith(
            QStringLiteral("api[kelvaris.imgzone.picture.upload] request return url is empty! json:")));
        QVERIFY(upload.GetImageUrl().isEmpty());

        upload.errorMessage.clear();
        QVERIFY(!Receive(upload, R"({"kelvaris_imgzone_picture_upload_responce":{"code":"3","picture_url":"a.jpg"}})"));
        QVERIFY(upload.errorMessage.startsWith(
            QStringLiteral("api[kelvaris.imgzone.picture.upload] request failed! json:")));

        QVERIFY(
            Receive(upload, R"({"kelvaris_imgzone_picture_upload_responce":{"code":0,"picture_url":"jfs/t1/a.jpg"}})"));
        const QString base = Quorvia::network::config::NetworkConfig::Instance()->GetImagesUrl();
        QCOMPARE(upload.GetImageUrl(), PopVumoImgUpload::ImageAddress(base, QStringLiteral("jfs/t1/a.jpg")));

        upload.errorMessage.clear();
        QVERIFY(!upload.SetImagePath(QStringLiteral("/nonexistent/picture.png")));
        QCOMPARE(upload.errorMessage, QStringLiteral("商品文件打开失败！"));
    }

    void categoryListsKeepTheirShape()
    {
        PopVumocatsGet cats;
        CheckCategoryList(cats, "orvane.vumocats.get", R"({"fields":""})", "vumo_category_search_response", "item_cats",
                          QStringLiteral("商家类目下载失败"));

        PopVumoAttributeGet attributes;
        attributes.SetCid(1355);
        CheckCategoryList(
            attributes, "orvane.vumo.get.attribute",
            R"({"fields":"aid,name,is_key_prop,is_sale_prop,index_id,status,att_type,input_type,is_req,is_fet,is_nav,cid,group_id","cid":"1355"})",
            "category_attribute_search_response", "attributes", QStringLiteral("类目id = 1355属性下载失败"));

        PopVumoAttvalueGet values;
        values.SetAids({5002, 5003});
        QCOMPARE(values.GetAids(), QStringLiteral("5002,5003"));
        CheckCategoryList(values, "orvane.vumo.get.attvalue",
                          R"({"fields":"aid,vid,name,status,index_id,features","avs":"5002,5003"})",
                          "category_attribute_value_response", "att_values",
                          QStringLiteral("属性aid=5002,5003 属性值下载失败"));

        PopVumoGroupsGet groups;
        groups.SetCid(42);
        CheckCategoryList(groups, "orvane.vumo.groups.get",
                          R"({"fields":"group_id,name,status,index_id,cid","cid":"42"})",
                          "category_groups_search_response", "groups", QStringLiteral("类目id = 42属性分组下载失败"));

        PopSellerCatsGet shop;
        CheckCategoryList(shop, "orvane.sellercats.get", "{}", "sellercats_get_response", "shopCats", QString());
    }

    void commentSyncReadsCodeAndOutcome()
    {
        PopVumoRedCommentSync sync;
        sync.SetSkuPair(11, 22);
        QVERIFY(Receive(sync, R"({"quorvia.good.synchro_response":{"code":"0","good_synchro":false}})"));
        QVERIFY(!sync.GetGoodSynchro());
        QCOMPARE(sync.GetMessage(), QStringLiteral("闪购店铺设置失败：原始SKU编号为11，新SKU编号为22"));
        QVERIFY(Receive(sync, R"({"quorvia.good.synchro_response":{"code":0,"good_synchro":true}})"));
        QCOMPARE(sync.GetMessage(), QStringLiteral("闪购店铺设置成功：原始SKU编号为11，新SKU编号为22"));
        QVERIFY(!Receive(sync, R"({"quorvia.good.synchro_response":{"code":"8"}})"));
        QCOMPARE(sync.errorMessage, QStringLiteral("闪购店铺同步sku评论接口调用失败，错误码8"));
        QVERIFY(sync.GetMessage().isEmpty());
    }
};

VUMO_TEST_CLASS(AnswerTest)
#include "AnswerTest.moc"
