// The simulator over real HTTP: the envelope, the listing operations read through the
// plug-in's own request classes, pictures, faults and restarts.
#include "support/MarketplaceFixture.h"
#include "support/TempHome.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include "core/MarketGateway.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/UserInfo.h"
#include "quorvia/LoginFile.h"
#include "request/PopSellerCatsGet.h"
#include "request/PopVumoAdd.h"
#include "request/PopVumoDelete.h"
#include "request/PopVumoGet.h"
#include "request/PopVumoImgUpload.h"
#include "request/PopVumoPropimgAdd.h"
#include "request/PopVumoPropimgsSearch.h"
#include "request/PopVumoSkuDelete.h"
#include "request/PopVumoUpdate.h"
#include "request/PopVumosSearch.h"
#include "sync/VumoDownloadRules.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Quorvia::vumo::request;
using Quorvia::marketplace::MarketGateway;
using Quorvia::marketplace::ParamMap;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

struct Raw
{
    int status = 0;
    QByteArray body;
    bool failed = false;
};

// One exchange with the simulator, outside the plug-in's transport.
Raw Exchange(const QString& url, const QByteArray& body, bool post, int timeoutMs = 20000)
{
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply* reply = post ? manager.post(request, body) : manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    Raw raw;
    raw.failed = !reply->isFinished() || reply->error() != QNetworkReply::NoError;
    raw.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    raw.body = reply->readAll();
    reply->abort();
    reply->deleteLater();
    return raw;
}

ParamMap Envelope(const QByteArray& method, const QByteArray& json, const QByteArray& secret = "demo-app-secret")
{
    ParamMap p;
    p.insert("method", method);
    p.insert("app_key", "demo-app-key");
    p.insert("access_token", "demo-access-token");
    p.insert("timestamp", QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss").toLatin1());
    p.insert("v", "2.0");
    p.insert("orvane_param_json", json);
    p.insert("sign", MarketGateway::Sign(p, secret));
    return p;
}

QByteArray Body(const ParamMap& p)
{
    QByteArray body;
    for (auto it = p.cbegin(); it != p.cend(); ++it)
        body += it.key() + '=' + it.value().toPercentEncoding() + '&';
    body.chop(1);
    return body;
}

QJsonObject Json(const QByteArray& body)
{
    return QJsonDocument::fromJson(body).object();
}

QByteArray PngBytes(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
}

// Adds one SKU with its sale attribute, outer id, price in cents and stock.
void addSku(VumoDataEntity& vumo, const QString& attributes, const QString& outerId, qint64 yvPrice, int stock = 0)
{
    auto* sku = new VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_outer_id(outerId);
    sku->set_yv_price(yvPrice);
    sku->set_stock_num(stock);
    vumo.AddSku(sku);
}

} // namespace

class MarketplaceTest : public QObject
{
    Q_OBJECT

    VumoTest::TempHome* m_home = nullptr;
    VumoTest::MarketplaceFixture m_market;

    QJsonObject Call(const QByteArray& method, const QByteArray& json)
    {
        return Json(Exchange(m_market.url("/routerjson"), Body(Envelope(method, json)), true).body);
    }
    QJsonObject Control(const QJsonObject& command)
    {
        return Json(Exchange(m_market.url("/__control"), QJsonDocument(command).toJson(), true).body);
    }

private slots:
    void initTestCase()
    {
        m_home = new VumoTest::TempHome;
        const Quorvia::marketplace::SeedCatalogue catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(45);
        QVERIFY2(m_market.start(*m_home, &catalogue), qPrintable(m_market.error()));
        Quorvia::vumo::UserInfo::instance()->SetLogin(VumoTest::DemoLogin().Record());
    }

    void cleanupTestCase()
    {
        m_market.stop();
        delete m_home;
        Quorvia::vumo::UserInfo::instance()->SetLogin({});
    }

    void init() { Control({{"reset", true}}); }

    void loginFileIsTheOwnersOnly()
    {
        Quorvia::login::LoginData login;
        QString error;
        QVERIFY2(Quorvia::login::ReadLogin(m_home->filePath("config/login.ini"), login, &error), qPrintable(error));
        QCOMPARE(login.appSecret, QByteArray("demo-app-secret"));
        // It holds the token and the secret: the owner's eyes only.
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(m_home->filePath("config/login.ini")) & others, QFileDevice::Permissions());
    }

    void envelopeIsChecked()
    {
        const QString url = m_market.url("/routerjson");
        const QByteArray json = R"({"vumo_id":"1000000001"})";
        QVERIFY(Json(Exchange(url, Body(Envelope("orvane.vumo.get", json)), true).body).contains("vumo_get_response"));

        auto codeOf = [&](const ParamMap& p) {
            return Json(Exchange(url, Body(p), true).body).value("error_response").toObject().value("code").toString();
        };
        // One member changed, then signed again with the seller's secret.
        auto changed = [&](const QByteArray& key, const QByteArray& value) {
            ParamMap p = Envelope("orvane.vumo.get", json);
            p.insert(key, value);
            p.insert("sign", MarketGateway::Sign(p, "demo-app-secret"));
            return p;
        };
        ParamMap p = Envelope("orvane.vumo.get", json);
        p.insert("orvane_param_json", R"({"vumo_id":"1000000002"})"); // changed after signing
        QCOMPARE(codeOf(p), QStringLiteral("14"));
        QCOMPARE(codeOf(Envelope("orvane.vumo.get", json, "other-secret")), QStringLiteral("14"));
        QCOMPARE(codeOf(changed("app_key", "stranger")), QStringLiteral("12"));
        QCOMPARE(codeOf(changed("access_token", "stolen")), QStringLiteral("13"));
        for (const char* name : {"method", "timestamp", "v", "sign", "app_key", "access_token"}) {
            p = Envelope("orvane.vumo.get", json);
            p.remove(name);
            if (qstrcmp(name, "sign") != 0)
                p.insert("sign", MarketGateway::Sign(p, "demo-app-secret"));
            QCOMPARE(codeOf(p), QStringLiteral("11"));
        }
        QCOMPARE(codeOf(Envelope("orvane.vumo.nothing", "{}")), QStringLiteral("15"));
        QCOMPARE(codeOf(Envelope("orvane.vumo.get", "{not json")), QStringLiteral("16"));
        const QJsonObject error = Json(Exchange(url, Body(Envelope("orvane.vumo.get", "[1]", "x")), true).body)
                                      .value("error_response")
                                      .toObject();
        QVERIFY(!error.value("zh_desc").toString().isEmpty());

        // The statistics call is signed with the server's fixed secret, and needs "platform".
        p = Envelope("quorvia.log.statistics",
                     R"({"assistId":"a","logStatistics":[{"categoryId":1,"operationId":2,"times":3}]})");
        p.insert("platform", "pc");
        p.insert("sign", MarketGateway::Sign(p, MarketGateway::kServerSecret));
        QVERIFY(
            Json(Exchange(m_market.url("/platform"), Body(p), true).body).contains("quorvia_log_statistics_response"));
        p.insert("sign", MarketGateway::Sign(p, "demo-app-secret"));
        QCOMPARE(codeOf(p), QStringLiteral("14"));
        QCOMPARE(m_market.server().State().value("statistics").toArray().size(), 1);
    }

    void searchPagesWithTotal()
    {
        PopVumosSearch search;
        search.SetPageSize(20);
        QList<qint64> ids;
        for (int page = 1; page <= 5 && !search.IsFinished(); ++page) {
            search.SetPage(page);
            QVERIFY2(search.SyncRequest(20000), qPrintable(search.errorMessage));
            QCOMPARE(search.GetTotal(), 45);
            ids += search.GetValidIds();
        }
        QVERIFY(search.IsFinished());
        QCOMPARE(ids.size(), 45);
        QCOMPARE(ids.first(), 1000000001);
        QCOMPARE(QSet<qint64>(ids.begin(), ids.end()).size(), 45);

        // Filters: status code, title, price range in whole currency units, category.
        PopVumosSearch filtered;
        filtered.SetVumoStatus(2);
        QVERIFY(filtered.SyncRequest(20000));
        QCOMPARE(filtered.GetTotal(), 9); // every fifth
        filtered.SetVumoStatus(0);
        filtered.SetTitle(QStringLiteral("连衣裙4"));
        QVERIFY(filtered.SyncRequest(20000));
        QCOMPARE(filtered.GetValidIds(),
                 QList<qint64>({1000000004, 1000000040, 1000000041, 1000000042, 1000000043, 1000000044, 1000000045}));
        filtered.SetTitle(QString());
        filtered.SetStartPrice(20);
        filtered.SetEndPrice(22);
        QVERIFY(filtered.SyncRequest(20000));
        QCOMPARE(filtered.GetValidIds(), QList<qint64>({1000000010, 1000000011, 1000000012}));
    }

    void getAnswersEveryMember()
    {
        PopVumoGet get;
        get.SetVumoId(1000000003);
        QVERIFY2(get.SyncRequest(20000), qPrintable(get.errorMessage));
        const QVariantMap answer = get.GetVumo();
        // Members a seeded listing has no value for may be left out.
        const QSet<QString> optional = {
            "upc_code", "transport_id", "online_time", "offline_time", "producter",
            "wrap",     "pack_listing", "service",     "creator",      "vumo_big_small_model"};
        for (const QString& field : get.GetFields())
            QVERIFY2(answer.contains(field) || optional.contains(field) || field.startsWith(QLatin1String("is_")),
                     qPrintable(field));
        VumoDataEntity vumo;
        Quorvia::vumo::ReadVumoAnswer(answer, vumo);
        // Stored without the host (its port changes between starts); answered with it.
        QCOMPARE(vumo.logo(), m_market.baseUrl() + "/imgzone/n0/seed/1000000003.png");
        QCOMPARE(vumo.desc(),
                 QStringLiteral("<p>描述3</p><img src=\"%1/imgzone/n0/seed/1000000003.png\">").arg(m_market.baseUrl()));

        get.SetVumoId(404);
        QVERIFY(!get.SyncRequest(20000));
        QCOMPARE(get.errorCode, QStringLiteral("11200004"));
    }

    void addThenGetThenUpdateSkus()
    {
        QTemporaryDir dir;
        const QString logo = WriteFile(dir, "main.png", PngBytes(800, 800, Qt::red));
        QVERIFY(!logo.isEmpty());

        VumoDataEntity vumo;
        vumo.set_cid(1102);
        vumo.set_title(QStringLiteral("新款半身裙 \"A\"/B"));
        vumo.set_yv_price(5990);
        vumo.set_market_price(8800);
        vumo.set_attributes(QStringLiteral("5001:60001"));
        vumo.set_input_pids(QStringLiteral("6001"));
        vumo.set_input_strs(QStringLiteral("王{DouHao}五"));
        vumo.set_desc(QStringLiteral("<p>好</p>\n"));
        vumo.set_logo(logo);
        addSku(vumo, QStringLiteral("5002:60002"), QStringLiteral("NEW-1"), 5990, 3);
        addSku(vumo, QStringLiteral("5002:60003"), QString(), 6990, 3);
        PopVumoAdd add;
        add.SetVumo(&vumo);
        add.SetUploadMode(IPopVumoUpload::UploadOnSale);
        QVERIFY2(add.SyncRequest(180000), qPrintable(add.errorMessage));
        const QVariantMap added = add.GetResponse().toMap();
        const qint64 id = added.value("vumo_id").toLongLong();
        QVERIFY(id >= 1000000000);
        const QVariantList skus = added.value("skus").toList();
        QCOMPARE(skus.size(), 2);
        QCOMPARE(skus.at(0).toMap().value("attribute").toString(), QStringLiteral("5002:60002"));
        QVERIFY(skus.at(1).toMap().value("sku_id").toLongLong() > 0);

        PopVumoGet get;
        get.SetVumoId(id);
        QVERIFY(get.SyncRequest(20000));
        VumoDataEntity back;
        Quorvia::vumo::ReadVumoAnswer(get.GetVumo(), back);
        QCOMPARE(back.title(), vumo.title());
        QCOMPARE(back.vumo_status(), 8); // "onsale"
        QCOMPARE(back.yv_price(), 5990);
        QCOMPARE(back.stock_num(), 6);
        QCOMPARE(back.desc(), vumo.desc());
        QCOMPARE(back.input_strs(), QStringLiteral("王{DouHao}五"));
        QCOMPARE(back.Skus().size(), 2);
        QCOMPARE(back.Skus().at(0)->outer_id(), QStringLiteral("NEW-1"));
        QCOMPARE(back.Skus().at(1)->outer_id(), QString()); // the blank placeholder is no id
        QVERIFY(back.logo().startsWith(m_market.baseUrl() + "/imgzone/n0/"));
        QCOMPARE(QImage::fromData(Exchange(back.logo(), {}, false).body).width(), 800);

        // Update: one SKU changes price and outer id, one is new; the others stay.
        const qint64 firstSku = back.Skus().at(0)->sku_id();
        VumoDataEntity change;
        change.set_vumo_id(id);
        change.set_title(QStringLiteral("改名半身裙"));
        addSku(change, QStringLiteral("5002:60002"), QStringLiteral("NEW-1B"), 4990, 1);
        addSku(change, QStringLiteral("5002:60004"), QStringLiteral("NEW-3"), 1000, 1);
        PopVumoUpdate update;
        update.SetVumo(&change);
        update.SetUploadMode(IPopVumoUpload::UploadOffSale);
        QVERIFY2(update.SyncRequest(180000), qPrintable(update.errorMessage));
        QCOMPARE(update.GetResponse().toMap().value("skus").toList().size(), 3);
        QVERIFY(get.SyncRequest(20000));
        VumoDataEntity updated;
        Quorvia::vumo::ReadVumoAnswer(get.GetVumo(), updated);
        QCOMPARE(updated.title(), QStringLiteral("改名半身裙"));
        QCOMPARE(updated.vumo_status(), 2); // "offsale" of a listing that was on sale
        QCOMPARE(updated.Skus().size(), 3);
        QCOMPARE(updated.Skus().at(0)->sku_id(), firstSku);
        QCOMPARE(updated.Skus().at(0)->yv_price(), 4990);
        QCOMPARE(updated.Skus().at(0)->outer_id(), QStringLiteral("NEW-1B"));
        QCOMPARE(updated.stock_num(), 1 + 3 + 1);

        // SKU deletion, twice: the second is the "already gone" code the plug-in accepts.
        PopVumoSkuDelete skuDelete;
        skuDelete.SetSkuId(firstSku);
        QVERIFY(skuDelete.SyncRequest(20000));
        QVERIFY(skuDelete.errorCode.isEmpty());
        QVERIFY(skuDelete.SyncRequest(20000));
        QCOMPARE(skuDelete.errorCode, QStringLiteral("11200025"));

        // Listing deletion: gone listings answer 11200014, unknown ones 11200004.
        PopVumoDelete remove;
        remove.SetVumoId(id);
        QVERIFY(remove.SyncRequest(20000));
        QVERIFY(remove.errorCode.isEmpty());
        QVERIFY(remove.SyncRequest(20000));
        QCOMPARE(remove.errorCode, QStringLiteral("11200014"));
        remove.SetVumoId(1999999999);
        QVERIFY(remove.SyncRequest(20000));
        QCOMPARE(remove.errorCode, QStringLiteral("11200004"));
        QVERIFY(!get.SyncRequest(20000));
        QCOMPARE(get.errorCode, QStringLiteral("11200014"));
        // A deleted listing's outer ids are free again, and search reports it as deleted.
        PopVumosSearch search;
        search.SetTitle(QStringLiteral("改名半身裙"));
        QVERIFY(search.SyncRequest(20000));
        QCOMPARE(search.GetDeletedIds(), QList<qint64>({id}));
    }

    // An update changes what it sends and nothing else: the free-text attributes of a listing
    // the plug-in never uploaded survive an update of its item number.
    void partialUpdateKeepsWhatItDidNotSend()
    {
        const auto get = [this] {
            return Call(
                       "orvane.vumo.get",
                       R"({"vumo_id":"1000000020","fields":"item_num,attributes,vumo_attribute,cubage,brand_id,skus"})")
                .value("vumo_get_response")
                .toObject()
                .value("vumo")
                .toObject();
        };
        const QJsonObject before = get();
        QCOMPARE(before.value("vumo_attribute").toString(), QStringLiteral("5001:60001^6001:0,张三,李四"));

        QVERIFY(Call("orvane.vumo.update", R"({"vumo_id":"1000000020","item_num":"NEW-20"})")
                    .contains("vumo_update_response"));
        QJsonObject after = get();
        QCOMPARE(after.value("item_num").toString(), QStringLiteral("NEW-20"));
        for (const char* kept : {"attributes", "vumo_attribute", "cubage", "brand_id", "skus"})
            QVERIFY2(after.value(QLatin1String(kept)) == before.value(QLatin1String(kept)), kept);

        // New choices keep the stored free texts; new free texts replace them.
        QVERIFY(Call("orvane.vumo.update", R"({"vumo_id":"1000000020","attributes":"5001:69001"})")
                    .contains("vumo_update_response"));
        QCOMPARE(get().value("vumo_attribute").toString(), QStringLiteral("5001:69001^6001:0,张三,李四"));
        QVERIFY(Call("orvane.vumo.update", R"({"vumo_id":"1000000020","input_pids":"6001","input_strs":"王五"})")
                    .contains("vumo_update_response"));
        after = get();
        QCOMPARE(after.value("vumo_attribute").toString(), QStringLiteral("5001:69001^6001:0,王五"));
        QCOMPARE(after.value("attributes").toString(), QStringLiteral("5001:69001"));
    }

    void outerIdOfAnotherListingIsRefused()
    {
        const int before = m_market.server().Store().Listings().size();
        VumoDataEntity vumo;
        vumo.set_cid(1101);
        vumo.set_title(QStringLiteral("重复编号"));
        addSku(vumo, QStringLiteral("5002:60002"), QStringLiteral("OUT-7"), 100);
        PopVumoAdd add;
        add.SetVumo(&vumo);
        QVERIFY(!add.SyncRequest(20000));
        QCOMPARE(add.errorCode, QStringLiteral("11200033"));
        QVERIFY(add.errorMessage.contains(QStringLiteral("OUT-7")));
        QCOMPARE(m_market.server().Store().Listings().size(), before);

        // The listing that owns the id may keep it; a stranger may not take it by update.
        VumoDataEntity own;
        own.set_vumo_id(1000000007);
        own.set_title(QStringLiteral("测试连衣裙7"));
        addSku(own, QStringLiteral("5002:60002"), QStringLiteral("OUT-7"), 1700);
        PopVumoUpdate update;
        update.SetVumo(&own);
        QVERIFY2(update.SyncRequest(20000), qPrintable(update.errorMessage));
        own.set_vumo_id(1000000008);
        QVERIFY(!update.SyncRequest(20000));
        QCOMPARE(update.errorCode, QStringLiteral("11200033"));
        PopVumoGet get;
        get.SetVumoId(1000000008);
        QVERIFY(get.SyncRequest(20000));
        QCOMPARE(get.GetVumo().value("title").toString(), QStringLiteral("测试连衣裙8")); // untouched
    }

    void picturesAndVariants()
    {
        QTemporaryDir dir;
        const QByteArray png = PngBytes(800, 600, Qt::blue);
        const QString path = WriteFile(dir, "p.png", png);
        QVERIFY(!path.isEmpty());

        PopVumoImgUpload upload;
        QVERIFY(upload.SetImagePath(path));
        QVERIFY2(upload.SyncRequest(300000), qPrintable(upload.errorMessage));
        const QString url = upload.GetImageUrl();
        QVERIFY2(url.startsWith(m_market.baseUrl() + "/imgzone/n0/"), qPrintable(url));
        QCOMPARE(Exchange(url, {}, false).body, png);
        QCOMPARE(QImage::fromData(Exchange(QString(url).replace("/n0/", "/n2/"), {}, false).body).width(), 350);
        QCOMPARE(QImage::fromData(Exchange(QString(url).replace("/n0/", "/n5/"), {}, false).body).size(),
                 QSize(160, 120));
        QCOMPARE(Exchange(QString(url).replace("/n0/", "/n7/"), {}, false).status, 404);
        QCOMPARE(Exchange(m_market.url("/imgzone/n0/../../etc/passwd"), {}, false).status, 404);

        // Not a picture: a clear platform error, nothing stored.
        QCOMPARE(Call("kelvaris.imgzone.picture.upload", R"({"image_data":"aGVsbG8="})")
                     .value("error_response")
                     .toObject()
                     .value("code")
                     .toString(),
                 QStringLiteral("11200051"));

        // Property pictures: multipart add, then search reads them with "/n5" addresses.
        PopVumoPropimgAdd propAdd;
        propAdd.SetVumoId(1000000002);
        propAdd.SetAttributeValueId(60002);
        propAdd.SetIsMainPic(true);
        QVERIFY2(propAdd.SyncPostFile(path, 300000), qPrintable(propAdd.errorMessage));
        const qint64 imageId = propAdd.GetResponse().toMap().value("image_id").toLongLong();
        QVERIFY(imageId > 0);
        PopVumoPropimgsSearch search;
        search.SetVumoId(1000000002);
        search.SetPage(1);
        search.SetPageSize(10);
        QVERIFY2(search.SyncRequest(180000), qPrintable(search.errorMessage));
        QVERIFY(search.IsFinished());
        const QList<Quorvia::vumo::entity::VumoImgEntity*> images = search.TakeImages();
        QCOMPARE(images.size(), 2);
        QCOMPARE(images.at(1)->color_id(), 60002);
        QCOMPARE(images.at(1)->img_id(), imageId);
        QVERIFY(images.at(1)->is_main());
        qDeleteAll(images);

        const QByteArray removal = QStringLiteral(
                                       R"({"vumo_id":"1000000002","attribute_value_id":"60002","image_id":"%1"})")
                                       .arg(imageId)
                                       .toUtf8();
        QVERIFY(Call("orvane.vumo.propimg.delete", removal).contains("vumo_propimg_delete_response"));
        QCOMPARE(
            Call("orvane.vumo.propimg.delete", removal).value("error_response").toObject().value("code").toString(),
            QStringLiteral("11200050"));
    }

    void faultsOnRequest()
    {
        PopVumoGet get;
        get.SetVumoId(1000000001);

        Control({{"method", "orvane.vumo.get"},
                 {"mode", "error"},
                 {"code", "777"},
                 {"zh_desc", QStringLiteral("测试故障")},
                 {"count", 1}});
        QVERIFY(!get.SyncRequest(20000));
        QCOMPARE(get.errorCode, QStringLiteral("777"));
        QCOMPARE(get.errorMessage, QStringLiteral("测试故障"));
        QVERIFY(get.SyncRequest(20000)); // the count ran out

        Control({{"method", "orvane.vumo.get"}, {"mode", "garbage"}});
        QVERIFY(!get.SyncRequest(20000));
        QVERIFY(get.errorMessage.contains("Bad Gateway"));
        // Other methods are not affected.
        PopSellerCatsGet shop;
        QVERIFY(shop.SyncRequest(20000));

        Control({{"method", "*"}, {"mode", "drop"}});
        QVERIFY(!shop.SyncRequest(20000));
        QCOMPARE(shop.errorMessage.isEmpty(), false);

        Control({{"reset", true}});
        QVERIFY(get.SyncRequest(20000));
        Control({{"fail_rate", 1.0}});
        QVERIFY(!get.SyncRequest(20000));
        QCOMPARE(get.errorCode, QStringLiteral("50"));
        Control({{"fail_rate", 0.0}});
        QVERIFY(get.SyncRequest(20000));

        QVERIFY(!Control({{"method", "orvane.vumo.get"}, {"mode", "explode"}}).value("ok").toBool());
        QVERIFY(!Control({{"action", "change_category"}, {"cid", 42}, {"name", "x"}}).value("ok").toBool());
        QCOMPARE(Exchange(m_market.url("/__control"), "not json", true).status, 400);
    }

    void pagesTemplatesAndTracking()
    {
        const Raw page = Exchange(m_market.url("/item/1000000001.html"), {}, false);
        QCOMPARE(page.status, 200);
        QVERIFY(QString::fromUtf8(page.body).contains(QStringLiteral("测试连衣裙1")));
        QCOMPARE(Exchange(m_market.url("/item/1999999999.html"), {}, false).status, 404);

        QVERIFY(VumoTest::WriteBytes(m_home->filePath("marketplace-templates/BookImportTemplate.xls"),
                                     "\xD0\xCF\x11\xE0 book"));
        QCOMPARE(Exchange(m_market.url("/templates/BookImportTemplate.xls"), {}, false).body,
                 QByteArray("\xD0\xCF\x11\xE0 book"));
        QCOMPARE(Exchange(m_market.url("/templates/DescFormat.xls"), {}, false).status, 404);
        QCOMPARE(Exchange(m_market.url("/templates/..%2Fconfig%2Flogin.ini"), {}, false).status, 404);
    }

    // Last: restarts the server.
    void stateSurvivesRestart()
    {
        VumoDataEntity vumo;
        vumo.set_cid(2101);
        vumo.set_title(QStringLiteral("重启之前"));
        vumo.set_outer_id(QStringLiteral("BOOK-1"));
        vumo.set_yv_price(3500);
        vumo.set_stock_num(4);
        PopVumoAdd add;
        add.SetVumo(&vumo);
        QVERIFY2(add.SyncRequest(20000), qPrintable(add.errorMessage));
        const qint64 id = add.GetResponse().toMap().value("vumo_id").toLongLong();
        const QString pictureUrl = m_market.baseUrl() + "/imgzone/"
            + Call("kelvaris.imgzone.picture.upload",
                   "{\"image_data\":\"" + PngBytes(10, 10, Qt::green).toBase64() + "\"}")
                  .value("kelvaris_imgzone_picture_upload_responce")
                  .toObject()
                  .value("picture_url")
                  .toString();
        Control({{"action", "change_category"}, {"cid", 2101}, {"name", QStringLiteral("当代小说")}});
        const qint64 version = m_market.server().Store().CategoryVersion();

        QVERIFY2(m_market.restart(), qPrintable(m_market.error()));
        PopVumoGet get;
        get.SetVumoId(id);
        QVERIFY2(get.SyncRequest(20000), qPrintable(get.errorMessage));
        VumoDataEntity back;
        Quorvia::vumo::ReadVumoAnswer(get.GetVumo(), back);
        QCOMPARE(back.title(), QStringLiteral("重启之前"));
        QCOMPARE(back.outer_id(), QStringLiteral("BOOK-1"));
        QCOMPARE(back.Skus().size(), 1); // the default SKU
        QCOMPARE(back.Skus().first()->stock_num(), 4);
        QCOMPARE(QImage::fromData(Exchange(pictureUrl, {}, false).body).width(), 10);
        QCOMPARE(m_market.server().Store().CategoryVersion(), version);
        // New numbers never repeat old ones.
        PopVumoAdd second;
        vumo.set_outer_id(QStringLiteral("BOOK-2"));
        second.SetVumo(&vumo);
        QVERIFY(second.SyncRequest(20000));
        QVERIFY(second.GetResponse().toMap().value("vumo_id").toLongLong() > id);
        // The outer id of the first is still taken.
        vumo.set_outer_id(QStringLiteral("BOOK-1"));
        QVERIFY(!add.SyncRequest(20000));
        QCOMPARE(add.errorCode, QStringLiteral("11200033"));
    }
};

VUMO_TEST_CLASS(MarketplaceTest)
#include "MarketplaceTest.moc"
