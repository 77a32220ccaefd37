// Picture synchronisation of an upload against the marketplace simulator: which requests go out
// in which order, what the marketplace holds afterwards and what the local rows say.
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "request/PopVumoAdd.h"
#include "request/PopVumoPropimgUpdate.h"
#include "sync/VumoImgSync.h"
#include "utils/SellerPaths.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Quorvia::vumo;
using Quorvia::marketplace::MarketImage;
using Quorvia::vumo::entity::VumoImgEntity;

namespace {

constexpr qint64 kFirst = 1000000001;
constexpr qint64 kColour = 60002; // a colour set beside the listing's own pictures

// One local picture row as the tests write and read it.
struct Pic
{
    QString name;
    qint64 imgId = 0;
    qint64 colorId = 0;
    bool isMain = false;
    int state = 0;
    int index = 0;
    int onlineMain = 0;
};

// Rows as the download leaves them for listing `id` (every picture unchanged).
QList<Pic> DownloadedRows(qint64 id)
{
    return {{"a.jpg", id * 10 + 1, 0, true, 0, 0, 1},
            {"b.jpg", id * 10 + 2, 0, false, 0, 1, 0},
            {"c.jpg", id * 10 + 3, 0, false, 0, 2, 0},
            {"d.jpg", id * 10 + 4, kColour, true, 0, 0, 1},
            {"e.jpg", id * 10 + 5, kColour, false, 0, 1, 0}};
}

QString ClientOf(qint64 vumoId)
{
    return QStringLiteral("client-%1").arg(vumoId);
}

} // namespace

class TestPictureSync : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::ListingFixture> m_fixture;
    VumoTest::MarketplaceFixture m_market;

    Quorvia::vumo::database::VumoDbInterface& store() { return *m_fixture->store(); }
    static QString Uid() { return Quorvia::utils::AppShareHelp::instance()->GetUid(); }
    static QString Folder() { return Quorvia::utils::SellerImageFolder(Uid()); }

    // A small picture of its own colour in the picture folder under `name`.
    static void WritePicture(const QString& name, Qt::GlobalColor colour)
    {
        QVERIFY(Quorvia::utils::EnsureFolder(Folder()));
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(QDir(Folder()).filePath(name), "PNG"));
    }

    void insertRows(const QString& clientId, const QList<Pic>& pics)
    {
        QList<VumoImgEntity*> rows;
        for (const Pic& p : pics) {
            auto* row = new VumoImgEntity;
            row->set_client_id(clientId);
            row->set_name(p.name);
            row->set_img_url(QString());
            row->set_img_id(p.imgId);
            row->set_color_id(p.colorId);
            row->set_is_main(p.isMain);
            row->set_state(p.state);
            row->set_index_id(p.index);
            row->set_is_online_mainPic(p.onlineMain);
            rows << row;
        }
        QVERIFY(store().InsertImages(rows));
        qDeleteAll(rows);
    }

    // name -> "img_id|is_main|state|is_online_mainPic" of the listing's rows.
    QMap<QString, QString> localRows(const QString& clientId)
    {
        QList<QPair<QString, QString>> rows;
        store().QueryTextPairs(QStringLiteral("SELECT name, img_id || '|' || is_main || '|' || state || '|' || "
                                              "is_online_mainPic FROM vumo_image WHERE client_id='%1'")
                                   .arg(clientId),
                               rows);
        QMap<QString, QString> map;
        for (const auto& row : rows)
            map.insert(row.first, row.second);
        return map;
    }

    QVector<MarketImage> online(qint64 vumoId)
    {
        const auto* listing = m_market.server().Store().Listing(vumoId);
        return listing ? listing->images : QVector<MarketImage>();
    }
    // The main picture's id of a set online; 0 when the set has none.
    qint64 onlineMain(qint64 vumoId, qint64 colorId)
    {
        for (const MarketImage& image : online(vumoId)) {
            if (image.valueId == colorId && image.isMain)
                return image.imageId;
        }
        return 0;
    }
    QList<qint64> onlineIds(qint64 vumoId, qint64 colorId)
    {
        QList<qint64> ids;
        for (const MarketImage& image : online(vumoId)) {
            if (image.valueId == colorId)
                ids << image.imageId;
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    // The picture calls the simulator received since the last reset, in order, without the
    // "orvane.vumo." prefix.
    QStringList pictureCalls()
    {
        QStringList calls;
        const QJsonArray all = m_market.server().State().value("calls").toArray();
        for (const QJsonValue& call : all) {
            const QString method = call.toObject().value("method").toString();
            if (method.contains(QLatin1String("propimg")))
                calls << method.mid(int(qstrlen("orvane.vumo.")));
        }
        return calls;
    }

    // On a worker thread, as the upload runs it (its own store connection), while this thread
    // serves the simulator.
    static bool runSync(VumoImgSync& sync, const QString& clientId, qint64 vumoId, bool isNew, QString& reason)
    {
        bool ok = false;
        std::unique_ptr<QThread> worker(QThread::create([&] { ok = sync.Sync(clientId, vumoId, isNew, reason); }));
        worker->start();
        if (!QTest::qWaitFor([&] { return worker->isFinished(); }, 120000))
            qWarning("picture sync did not finish");
        worker->wait();
        return ok;
    }

    void control(const QJsonObject& command)
    {
        bool ok = false;
        m_market.server().Control(command, &ok);
        QVERIFY(ok);
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<VumoTest::ListingFixture>(0);
        QVERIFY2(m_fixture->isValid(), qPrintable(m_fixture->errorText()));
        Quorvia::marketplace::SeedCatalogue catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(8);
        for (Quorvia::marketplace::SeedListing& listing : catalogue.listings) {
            // Online: the listing's own set A (main), B, C and a colour set D (main), E.
            const qint64 id = listing.vumo.value("vumo_id").toVariant().toLongLong();
            const QString folder = QStringLiteral("/imgzone/n0/seed/%1/").arg(id);
            listing.images.clear();
            listing.images.append({id * 10 + 1, 0, folder + "a.jpg", true, 1});
            listing.images.append({id * 10 + 2, 0, folder + "b.jpg", false, 2});
            listing.images.append({id * 10 + 3, 0, folder + "c.jpg", false, 3});
            listing.images.append({id * 10 + 4, kColour, folder + "d.jpg", true, 1});
            listing.images.append({id * 10 + 5, kColour, folder + "e.jpg", false, 2});
        }
        QVERIFY2(m_market.start(m_fixture->home(), &catalogue), qPrintable(m_market.error()));
    }

    void cleanupTestCase()
    {
        m_market.stop();
        m_fixture.reset();
    }

    void init() { control({{"reset", true}}); }

    void newListingMainPictureIsNotSentTwice()
    {
        WritePicture("new-main.png", Qt::red);
        WritePicture("new-second.png", Qt::green);
        WritePicture("new-colour.png", Qt::blue);
        entity::VumoDataEntity record;
        record.set_client_id(QStringLiteral("client-new"));
        record.set_cid(1101);
        record.set_title(QStringLiteral("新上传的裙子"));
        record.set_yv_price(5990);
        record.set_market_price(8800);
        record.set_attributes(QStringLiteral("5001:60001"));
        record.set_logo(QStringLiteral("new-main.png"));
        record.set_vumo_status(2014);
        QVERIFY(store().SaveVumo(record));

        request::PopVumoAdd add;
        add.SetVumo(&record);
        QVERIFY2(add.SyncRequest(60000), qPrintable(add.errorMessage));
        const qint64 id = add.GetResponse().toMap().value("vumo_id").toLongLong();
        QVERIFY(id > 0);
        const qint64 addedMain = onlineMain(id, 0);
        QVERIFY(addedMain > 0);
        control({{"reset", true}});

        insertRows(record.client_id(),
                   {{"new-main.png", 0, 0, true, 2, 0, 0},
                    {"new-second.png", 0, 0, false, 2, 1, 0},
                    {"new-colour.png", 0, kColour, true, 2, 0, 0}});
        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, record.client_id(), id, true, reason), qPrintable(reason));

        // Only the two pictures the add did not carry go up.
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.add", "propimg.add"}));
        QCOMPARE(onlineIds(id, 0).size(), 2);
        QCOMPARE(onlineMain(id, 0), addedMain);
        QVERIFY(onlineMain(id, kColour) > 0);
        const QMap<QString, QString> local = localRows(record.client_id());
        QCOMPARE(local.value("new-main.png"), QStringLiteral("%1|1|0|1").arg(addedMain));
        QCOMPARE(local.value("new-colour.png"), QStringLiteral("%1|1|0|1").arg(onlineMain(id, kColour)));
        QVERIFY(local.value("new-second.png").endsWith("|0|0|0"));
        QVERIFY(sync.OnlineModified().isValid());

        // A second upload has nothing left to send, not even a search.
        control({{"reset", true}});
        QVERIFY2(runSync(sync, record.client_id(), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList());
    }

    void newMainPictureIsSetBeforeTheOldOneGoes()
    {
        const qint64 id = kFirst + 1;
        WritePicture("main-2.png", Qt::yellow);
        QList<Pic> rows = DownloadedRows(id);
        // The seller picked a new main picture and deleted the old one.
        rows[0].isMain = false;
        rows[0].state = 1;
        rows << Pic{"main-2.png", 0, 0, true, 2, 3, 0};
        insertRows(ClientOf(id), rows);

        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.add", "propimg.delete"}));
        const qint64 newMain = onlineMain(id, 0);
        QCOMPARE(onlineIds(id, 0), QList<qint64>({id * 10 + 2, id * 10 + 3, newMain}));
        const QMap<QString, QString> local = localRows(ClientOf(id));
        QVERIFY(!local.contains("a.jpg"));
        QCOMPARE(local.value("main-2.png"), QStringLiteral("%1|1|0|1").arg(newMain));
        QCOMPARE(local.value("b.jpg"), QStringLiteral("%1|0|0|0").arg(id * 10 + 2));
        QVERIFY(sync.OnlineModified().isValid());
    }

    void deletedPicturesGoOnlineAndLocally()
    {
        const qint64 id = kFirst + 2;
        QList<Pic> rows = DownloadedRows(id);
        rows[2].state = 1; // c.jpg
        rows[4].state = 1; // e.jpg of the colour set
        // A row picked in the editor but never copied into the folder is not the
        // marketplace's business.
        rows << Pic{"/somewhere/else.png", 0, 0, false, 3, 5, 0};
        insertRows(ClientOf(id), rows);

        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.delete", "propimg.delete"}));
        QCOMPARE(onlineIds(id, 0), QList<qint64>({id * 10 + 1, id * 10 + 2}));
        QCOMPARE(onlineIds(id, kColour), QList<qint64>({id * 10 + 4}));
        const QMap<QString, QString> local = localRows(ClientOf(id));
        QCOMPARE(local.keys(), QStringList({"/somewhere/else.png", "a.jpg", "b.jpg", "d.jpg"}));
        QCOMPARE(local.value("/somewhere/else.png"), QStringLiteral("0|0|3|0"));
    }

    void failedUploadKeepsTheRowForTheNextUpload()
    {
        const qint64 id = kFirst + 3;
        // A file name is outside text: the quote and the escape-like "%6A" reach the store intact.
        WritePicture("it's %6A new.png", Qt::magenta);
        QList<Pic> rows = DownloadedRows(id);
        rows << Pic{"it's %6A new.png", 0, 0, false, 2, 3, 0};
        insertRows(ClientOf(id), rows);

        control({{"method", "orvane.vumo.propimg.add"},
                 {"mode", "error"},
                 {"code", "50"},
                 {"zh_desc", QStringLiteral("图片空间已满")},
                 {"count", 1}});
        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY(!runSync(sync, ClientOf(id), id, false, reason));
        QVERIFY2(reason.contains(QStringLiteral("图片空间已满")), qPrintable(reason));
        QCOMPARE(localRows(ClientOf(id)).value("it's %6A new.png"), QStringLiteral("0|0|2|0"));
        QCOMPARE(onlineIds(id, 0).size(), 3);

        // Next upload: it goes.
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(onlineIds(id, 0).size(), 4);
        const QString row = localRows(ClientOf(id)).value("it's %6A new.png");
        QVERIFY2(row.endsWith("|0|0|0") && !row.startsWith("0|"), qPrintable(row));
    }

    void deletedMainMakesTheFirstUnchangedOneMain()
    {
        const qint64 id = kFirst + 4;
        QList<Pic> rows = DownloadedRows(id);
        rows[0].state = 1; // a.jpg, still flagged main
        insertRows(ClientOf(id), rows);

        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.update", "propimg.delete"}));
        QCOMPARE(onlineMain(id, 0), id * 10 + 2);
        QCOMPARE(onlineIds(id, 0), QList<qint64>({id * 10 + 2, id * 10 + 3}));
        const QMap<QString, QString> local = localRows(ClientOf(id));
        QVERIFY(!local.contains("a.jpg"));
        QCOMPARE(local.value("b.jpg"), QStringLiteral("%1|1|0|1").arg(id * 10 + 2));
    }

    void mainChangedOnBothSidesTheSellersChoiceWins()
    {
        const qint64 id = kFirst + 5;
        // Online someone made c.jpg the main picture; here the seller chose b.jpg.
        request::PopVumoPropimgUpdate update;
        update.SetVumoId(id);
        update.SetImageId(id * 10 + 3);
        update.SetIsMainPic(true);
        QVERIFY2(update.SyncRequest(60000), qPrintable(update.errorMessage));
        control({{"reset", true}});
        QList<Pic> rows = DownloadedRows(id);
        rows[0].isMain = false; // a.jpg keeps its stale online flag
        rows[1].isMain = true;
        insertRows(ClientOf(id), rows);

        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.update"}));
        QCOMPARE(onlineMain(id, 0), id * 10 + 2);
        const QMap<QString, QString> local = localRows(ClientOf(id));
        QCOMPARE(local.value("a.jpg"), QStringLiteral("%1|0|0|0").arg(id * 10 + 1));
        QCOMPARE(local.value("b.jpg"), QStringLiteral("%1|1|0|1").arg(id * 10 + 2));
    }

    void pictureGoneOnlineIsSentAgainFromTheFolder()
    {
        const qint64 id = kFirst + 6;
        WritePicture("kept-here.png", Qt::darkRed);
        QList<Pic> rows = DownloadedRows(id);
        // An unchanged row whose picture the marketplace no longer has, file still here, and
        // one without its file; a new picture keeps the sync busy.
        rows << Pic{"kept-here.png", 424242, 0, false, 0, 3, 0} << Pic{"lost.png", 434343, 0, false, 0, 4, 0};
        WritePicture("another.png", Qt::darkGreen);
        rows << Pic{"another.png", 0, 0, false, 2, 5, 0};
        insertRows(ClientOf(id), rows);

        VumoImgSync sync(Uid());
        QString reason;
        QVERIFY2(runSync(sync, ClientOf(id), id, false, reason), qPrintable(reason));
        QCOMPARE(pictureCalls(), QStringList({"propimgs.search", "propimg.add", "propimg.add"}));
        const QMap<QString, QString> local = localRows(ClientOf(id));
        QVERIFY(!local.contains("lost.png"));
        const QString kept = local.value("kept-here.png");
        QVERIFY2(kept.endsWith("|0|0|0") && !kept.startsWith("424242|"), qPrintable(kept));
        QCOMPARE(onlineIds(id, 0).size(), 5);
    }
};

VUMO_TEST_CLASS(TestPictureSync)
#include "TestPictureSync.moc"
