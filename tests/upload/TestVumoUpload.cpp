// The listing upload: its rules, the write-back into the store, the thread against the
// marketplace simulator, the dialog through the real modal loop and the command line.
#include "support/CliRun.h"
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "editor/HtmlConverter.h"
#include "sync/UploadVumoWidget.h"
#include "sync/VumoDownloadThread.h"
#include "sync/VumoUploadStore.h"
#include "sync/VumoUploadThread.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QUrl>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>

using namespace Quorvia::vumo;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

constexpr qint64 kFirst = 1000000001;
constexpr int kListings = 6;
const char* const kDuplicateText = "11200033:该商品“商家SKUID”与其他商品重复，请修改后再次上传";

VumoSkuEntity* Sku(const QString& attributes, qint64 price, const QString& outerId, qint64 skuId = 0)
{
    auto* sku = new VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_yv_price(price);
    sku->set_market_price(price + 500);
    sku->set_stock_num(7);
    sku->set_status(2);
    sku->set_outer_id(outerId);
    sku->set_sku_id(skuId);
    return sku;
}

} // namespace

// ---- rules without a store -------------------------------------------------------------------

class TestUploadRules : public QObject
{
    Q_OBJECT

private slots:
    void duplicateOuterIdIsTheCodeNotTheText()
    {
        QCOMPARE(UploadOutcomeText("11200033", "外部编号已被其他商品使用：A1"), QString::fromUtf8(kDuplicateText));
        // The message alone never carries the code.
        QCOMPARE(UploadOutcomeText("17", "错误 11200033"), QStringLiteral("错误 11200033"));
        QCOMPARE(UploadOutcomeText("", "", "删除sku信息失败"), QStringLiteral("删除sku信息失败"));
    }

    void statusPerMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("after");
        QTest::newRow("on sale, mode 1") << 1 << 2014 << 8;
        QTest::newRow("mode 2 from 8") << 2 << 8 << 2;
        QTest::newRow("mode 2 from 520") << 2 << 520 << 2;
        QTest::newRow("mode 2 from local store") << 2 << 2014 << 1;
        QTest::newRow("mode 2 for sale stays") << 2 << 4 << 4;
        QTest::newRow("mode 0 local store") << 0 << 2014 << 1;
        QTest::newRow("mode 0 on sale stays") << 0 << 8 << 8;
    }
    void statusPerMode()
    {
        QFETCH(int, mode);
        QFETCH(int, status);
        QFETCH(int, after);
        QCOMPARE(UploadedVumoStatus(mode, status), after);
    }

    void answerIsRead()
    {
        const QVariantMap answer{
            {"vumo_id", "1000000077"},
            {"modified", "2026-01-02 03:04:05"},
            {"skus",
             QVariantList{QVariantMap{{"sku_id", "55"}, {"attribute", "1:2^3:4"}, {"modified", "2026-01-02 03:04:05"}},
                          QVariantMap{{"sku_id", "0"}, {"attribute", "9:9"}}, QVariant("junk")}}};
        const UploadAnswer read = ReadUploadAnswer(answer);
        QCOMPARE(read.vumoId, qint64(1000000077));
        QCOMPARE(read.modified, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(int(read.skus.size()), 1); // no id, no SKU
        QCOMPARE(read.skus.first().skuId, qint64(55));
        const QString conflict = OnlineConflictText(read.modified, read.modified.addSecs(61));
        QVERIFY(conflict.startsWith("线上商品已被修改（下载时 2026-01-02 03:04:05，线上 2026-01-02 03:05:06）"));
    }
};

// ---- store and thread against the simulator ---------------------------------------------------

class TestVumoUpload : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::ListingFixture> m_fixture;
    VumoTest::MarketplaceFixture m_market;
    int m_serial = 0;

    database::VumoDbInterface& store() { return *m_fixture->store(); }
    static QString Uid() { return Quorvia::utils::AppShareHelp::instance()->GetUid(); }
    Quorvia::marketplace::MarketStore& market() { return m_market.server().Store(); }

    void control(const QJsonObject& command)
    {
        bool ok = false;
        m_market.server().Control(command, &ok);
        QVERIFY(ok);
    }
    int calls(const char* method)
    {
        return m_market.server().State().value("call_counts").toObject().value(QLatin1String(method)).toInt();
    }
    QString field(const QString& clientId, const QString& column)
    {
        QVariant value;
        store().GetVumoField(clientId, column, value);
        return value.toString();
    }
    // attributes -> "sku_id|status|price|stock|outer id"
    QMap<QString, QString> skus(const QString& clientId)
    {
        QList<QPair<QString, QString>> rows;
        store().QueryTextPairs(QString("SELECT attributes, ifnull(sku_id,'') || '|' || status || '|' || "
                                       "ifnull(yv_price,'') || '|' || ifnull(stock_num,'') || '|' || "
                                       "ifnull(outer_id,'') FROM vumo_sku WHERE client_id='%1'")
                                   .arg(clientId),
                               rows);
        QMap<QString, QString> map;
        for (const auto& row : rows)
            map.insert(row.first, row.second);
        return map;
    }

    // A new local listing in the local store, changed and not uploaded, with two colour SKUs.
    QString makeLocal(const QString& outerPrefix = QString())
    {
        const QString prefix = outerPrefix.isEmpty() ? QString("U%1-").arg(++m_serial) : outerPrefix;
        VumoDataEntity record;
        record.set_client_id(QString("local-%1").arg(++m_serial));
        record.set_title(QString("本地新品 %1").arg(m_serial));
        record.set_cid(1101);
        record.set_vumo_status(2014);
        record.set_status(2);
        record.set_upload_status(0);
        record.set_yv_price(1200);
        record.set_market_price(1900);
        record.set_stock_num(14);
        record.set_weight(1);
        record.AddSku(Sku("5002:101", 1200, prefix + "1"));
        record.AddSku(Sku("5002:102", 1300, prefix + "2"));
        if (!store().SaveVumo(record))
            qWarning("local listing not stored");
        return record.client_id();
    }

    // A downloaded copy of a simulator listing; returns its client id.
    QString download(qint64 vumoId)
    {
        VumoDownloadThread thread(Uid(), 1);
        thread.SetVumoIds({vumoId});
        connect(&thread, &VumoDownloadThread::OnVumoHandleFinishedSignal, this,
                [](VumoDataEntity* record) { delete record; });
        QSignalSpy stopped(&thread, &VumoDownloadThread::DownloadVumoStopSignal);
        thread.start();
        if (!stopped.wait(60000))
            qWarning("download did not stop");
        thread.wait();
        QCoreApplication::sendPostedEvents(this);
        QString clientId;
        int status = 0;
        QString cats;
        store().FindVumoById(vumoId, clientId, status, cats);
        return clientId;
    }

    // Changes the listing on the marketplace as the seller's back office would, a minute later
    // than it is now.
    void changeOnline(qint64 vumoId, const QString& title)
    {
        const Quorvia::marketplace::MarketListing* found = market().Listing(vumoId);
        QVERIFY(found);
        Quorvia::marketplace::MarketListing listing = *found;
        const QDateTime was = QDateTime::fromString(listing.vumo.value("modified").toString(), "yyyy-MM-dd hh:mm:ss");
        listing.vumo.insert("title", title);
        listing.vumo.insert("modified", Quorvia::marketplace::MarketTime(was.addSecs(60)));
        QVERIFY(market().SaveListing(listing));
    }
    QString onlineTitle(qint64 vumoId) { return market().Listing(vumoId)->vumo.value("title").toString(); }

    QMap<QString, QString> upload(const QStringList& clientIds, int mode = 0, bool overwrite = false,
                                  VumoUploadThread::PictureSync sync = {})
    {
        VumoUploadThread thread(Uid());
        thread.SetClientIds(clientIds);
        thread.SetMode(mode);
        thread.SetOverwrite(overwrite);
        thread.SetRequestTimeLimits(20000, 20000, 20000);
        thread.SetPictureSync(std::move(sync));
        QSignalSpy finished(&thread, &VumoUploadThread::UploadFinishedSignal);
        thread.Start();
        if (!finished.wait(60000))
            qWarning("upload did not finish");
        thread.wait();
        return thread.Outcomes();
    }

private slots:
    void initTestCase()
    {
        RegisterVumoClassMetaType();
        // A shop that carries comments over to copied SKUs.
        VumoTest::DemoLogin login;
        login.shopType = 8;
        m_fixture = std::make_unique<VumoTest::ListingFixture>(0, login);
        QVERIFY2(m_fixture->isValid(), qPrintable(m_fixture->errorText()));
        const auto catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(kListings);
        QVERIFY2(m_market.start(m_fixture->home(), &catalogue), qPrintable(m_market.error()));
    }

    void cleanupTestCase()
    {
        m_market.stop();
        m_fixture.reset();
    }

    void init() { control({{"reset", true}}); }

    // ---- the store alone ----

    void writeBackMatchesSkusByTheirPairsAndKeepsTheirValues()
    {
        VumoDataEntity record;
        record.set_client_id("wb-1");
        record.set_title("写回");
        record.set_vumo_status(2014);
        record.set_status(2);
        record.AddSku(Sku("5002:101^5003:7", 1500, "KEEP-1"));
        record.AddSku(Sku("", 1000, "DEFAULT"));
        QVERIFY(store().SaveVumo(record));
        UploadAnswer answer;
        answer.vumoId = 1000000999;
        answer.skus << UploadAnswerSku{901, "5003:7^5002:101", {}, QDateTime(QDate(2026, 1, 1), QTime(1, 2, 3))};
        answer.skus << UploadAnswerSku{902, "5002:102", {}, {}};
        QVERIFY(WriteUploadBack(store(), record, 1, answer));

        const QMap<QString, QString> rows = skus("wb-1");
        // Same pairs in another order: the row is updated, its price, stock and outer id stay.
        QCOMPARE(rows.value("5002:101^5003:7"), QStringLiteral("901|2|1500|7|KEEP-1"));
        QCOMPARE(rows.value("5002:102"), QStringLiteral("902|2|||"));
        // The answer has no default SKU: its row goes.
        QVERIFY(!rows.contains(""));
        QCOMPARE(int(rows.size()), 2);
        QCOMPARE(field("wb-1", "vumo_id"), QStringLiteral("1000000999"));
        QCOMPARE(field("wb-1", "vumo_status"), QStringLiteral("8"));
        QCOMPARE(field("wb-1", "upload_status"), QStringLiteral("1"));
    }

    void failedWriteBackChangesNothing()
    {
        VumoDataEntity record;
        record.set_client_id("wb-2");
        record.set_title("写回失败");
        record.set_vumo_status(2014);
        record.AddSku(Sku("5002:101", 1500, "W2"));
        QVERIFY(store().SaveVumo(record));
        QVERIFY(store().ExecSql("CREATE TRIGGER block_sku BEFORE UPDATE ON vumo_sku BEGIN "
                                "SELECT RAISE(ABORT, 'blocked'); END"));
        UploadAnswer answer;
        answer.vumoId = 1000000998;
        answer.skus << UploadAnswerSku{903, "5002:101", {}, {}};
        const bool written = WriteUploadBack(store(), record, 0, answer);
        QVERIFY(store().ExecSql("DROP TRIGGER block_sku"));
        QVERIFY(!written);
        QCOMPARE(field("wb-2", "vumo_id"), QStringLiteral("0"));
        QCOMPARE(field("wb-2", "vumo_status"), QStringLiteral("2014"));
    }

    void outcomeTextIsStoredExactly()
    {
        const QString clientId = makeLocal();
        const QString text = QStringLiteral("价格'%1'无效 %2 \"x\"");
        QVERIFY(StoreUploadOutcome(store(), clientId, UploadFailed, text));
        QCOMPARE(field(clientId, "error_msg"), text);
        QCOMPARE(field(clientId, "upload_status"), QStringLiteral("2"));
        QVERIFY(StoreUploadOutcome(store(), clientId, UploadSucceeded, UploadSuccessText()));
        QCOMPARE(field(clientId, "error_msg"), QString());
    }

    void onlyRemovedSkuRowsAreDropped()
    {
        const QString clientId = makeLocal();
        QVERIFY(store().ExecSql(QString("UPDATE vumo_sku SET status=0, sku_id=CASE attributes WHEN '5002:101' THEN 71 "
                                        "ELSE 72 END WHERE client_id='%1'")
                                    .arg(clientId)));
        QVERIFY(DropRemovedSkuRows(store(), clientId, {71}));
        const QMap<QString, QString> rows = skus(clientId);
        QCOMPARE(rows.keys(), QStringList{"5002:102"});
        QVERIFY(rows.value("5002:102").startsWith("72|0|")); // still marked deleted
    }

    // ---- the thread against the simulator ----

    void newListingIsAddedAndItsNumberStored()
    {
        const QString clientId = makeLocal();
        const int before = int(market().Listings().size());
        const auto outcomes = upload({clientId});
        QCOMPARE(outcomes.value(clientId), UploadSuccessText());
        QCOMPARE(int(market().Listings().size()), before + 1);
        const qint64 vumoId = field(clientId, "vumo_id").toLongLong();
        QVERIFY(market().Listing(vumoId));
        QCOMPARE(onlineTitle(vumoId), field(clientId, "title"));
        QCOMPARE(field(clientId, "vumo_status"), QStringLiteral("1"));
        QCOMPARE(field(clientId, "upload_status"), QStringLiteral("1"));
        for (const QString& row : skus(clientId))
            QVERIFY2(row.section('|', 0, 0).toLongLong() > 0, qPrintable(row));
        QVERIFY(StoredOnlineModified(store(), clientId).isValid());
    }

    void numberIsKeptWhenTheWriteBackFails()
    {
        const QString clientId = makeLocal();
        const int before = int(market().Listings().size());
        QVERIFY(store().ExecSql("CREATE TRIGGER block_sku2 BEFORE UPDATE ON vumo_sku BEGIN "
                                "SELECT RAISE(ABORT, 'blocked'); END"));
        const auto failed = upload({clientId});
        QVERIFY(store().ExecSql("DROP TRIGGER block_sku2"));
        QCOMPARE(failed.value(clientId), QStringLiteral("更新本地数据库失败"));
        const qint64 vumoId = field(clientId, "vumo_id").toLongLong();
        QVERIFY(vumoId > 0);
        QVERIFY(market().Listing(vumoId));
        QCOMPARE(field(clientId, "upload_status"), QStringLiteral("2"));

        // The next upload updates the listing the marketplace made; no second one appears.
        const int adds = calls("orvane.vumo.add");
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        QCOMPARE(calls("orvane.vumo.add"), adds);
        QCOMPARE(int(market().Listings().size()), before + 1);
        QCOMPARE(field(clientId, "vumo_id").toLongLong(), vumoId);
    }

    void copiedSkusAskForTheirCommentsWhenAdded()
    {
        // A copy of an online listing: its SKU rows still carry the original's ids.
        const QString clientId = makeLocal();
        QVERIFY(store().ExecSql(QString("UPDATE vumo_sku SET sku_id=CASE attributes WHEN '5002:101' THEN 7101 "
                                        "ELSE 7102 END WHERE client_id='%1'")
                                    .arg(clientId)));
        VumoUploadThread thread(Uid());
        thread.SetClientIds({clientId});
        QSignalSpy pairs(&thread, &VumoUploadThread::NeedToSyncCommentSignal);
        QSignalSpy finished(&thread, &VumoUploadThread::UploadFinishedSignal);
        thread.Start();
        QVERIFY(finished.wait(60000));
        thread.wait();
        QCOMPARE(thread.Outcomes().value(clientId), UploadSuccessText());
        const QMap<QString, QString> rows = skus(clientId);
        QMap<qint64, qint64> expected{{rows.value("5002:101").section('|', 0, 0).toLongLong(), 7101},
                                      {rows.value("5002:102").section('|', 0, 0).toLongLong(), 7102}};
        QMap<qint64, qint64> sent;
        for (const QList<QVariant>& pair : std::as_const(pairs))
            sent.insert(pair.at(0).toLongLong(), pair.at(1).toLongLong());
        QCOMPARE(sent, expected);
        QVERIFY(!sent.contains(0));
    }

    void deletedSkusGoFirstAndAFailureKeepsThemPending()
    {
        const QString clientId = makeLocal();
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        const qint64 vumoId = field(clientId, "vumo_id").toLongLong();
        const QMap<QString, QString> rows = skus(clientId);
        const qint64 gone = rows.value("5002:102").section('|', 0, 0).toLongLong();
        QVERIFY(gone > 0);
        QVERIFY(store().ExecSql(
            QString("UPDATE vumo_sku SET status=0 WHERE client_id='%1' AND attributes='5002:102'").arg(clientId)));
        QVERIFY(store().ExecSql(QString("UPDATE vumo_data SET title='改过的标题' WHERE client_id='%1'").arg(clientId)));

        // The removal fails: the listing is not sent and the deletion stays for the next time.
        control({{"method", "orvane.vumo.sku.delete"}, {"mode", "error"}, {"code", "50"}, {"count", 1}});
        const int updates = calls("orvane.vumo.update");
        const auto failed = upload({clientId});
        QCOMPARE(failed.value(clientId), QStringLiteral("服务繁忙，请稍后重试"));
        QCOMPARE(calls("orvane.vumo.update"), updates);
        QVERIFY(skus(clientId).value("5002:102").startsWith(QString::number(gone) + "|0|"));
        QCOMPARE(int(market().Listing(vumoId)->skus.size()), 2);

        // Next time the SKU goes online first, then the listing is updated.
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        QVERIFY(!skus(clientId).contains("5002:102"));
        QCOMPARE(int(market().Listing(vumoId)->skus.size()), 1);
        QCOMPARE(market().ListingOfSku(gone), qint64(0));
        QCOMPARE(onlineTitle(vumoId), QStringLiteral("改过的标题"));
    }

    void takenOffSaleFromOnSaleStoresForSale()
    {
        const QString clientId = download(kFirst);
        QVERIFY(!clientId.isEmpty());
        QCOMPARE(field(clientId, "vumo_status"), QStringLiteral("8"));
        QCOMPARE(upload({clientId}, 2).value(clientId), UploadSuccessText());
        QCOMPARE(field(clientId, "vumo_status"), QStringLiteral("2"));
        QCOMPARE(market().Listing(kFirst)->vumo.value("vumo_status").toString(), QStringLiteral("CUSTORMER_DOWN"));
    }

    void duplicateOuterIdIsExplained()
    {
        const QString clientId = download(kFirst + 1);
        control({{"method", "orvane.vumo.update"},
                 {"mode", "error"},
                 {"code", "11200033"},
                 {"zh_desc", "外部编号已被其他商品使用"},
                 {"count", 1}});
        QCOMPARE(upload({clientId}).value(clientId), QString::fromUtf8(kDuplicateText));
        QCOMPARE(field(clientId, "error_msg"), QString::fromUtf8(kDuplicateText));

        // The simulator's own refusal of a real duplicate carries the same code.
        const QString other = makeLocal("OUT-"); // "OUT-1" is a seed listing's SKU
        const QString outcome = upload({other}).value(other);
        QCOMPARE(outcome, QString::fromUtf8(kDuplicateText));
    }

    void serverTextWithPlaceholdersIsStoredExactly()
    {
        const QString clientId = makeLocal();
        const QString text = QStringLiteral("标题含'%1'与\"%2\"不可用");
        control({{"method", "orvane.vumo.add"}, {"mode", "error"}, {"code", "17"}, {"zh_desc", text}, {"count", 1}});
        QCOMPARE(upload({clientId}).value(clientId), text);
        QCOMPARE(field(clientId, "error_msg"), text);
        QCOMPARE(field(clientId, "vumo_id"), QStringLiteral("0"));
    }

    void onlineChangeIsNotOverwrittenUnlessAsked()
    {
        const qint64 vumoId = kFirst + 3;
        const QString clientId = download(vumoId);
        // The download keeps the marketplace's time of the listing.
        QVERIFY(StoredOnlineModified(store(), clientId).isValid());
        QVERIFY(store().ExecSql(
            QString("UPDATE vumo_data SET title='本地的标题', upload_status=0 WHERE client_id='%1'").arg(clientId)));
        changeOnline(vumoId, "后台改的标题");

        const int updates = calls("orvane.vumo.update");
        const auto refused = upload({clientId});
        QVERIFY2(refused.value(clientId).startsWith("线上商品已被修改（下载时 "), qPrintable(refused.value(clientId)));
        QVERIFY(refused.value(clientId).contains("覆盖线上修改"));
        QCOMPARE(calls("orvane.vumo.update"), updates);
        QCOMPARE(onlineTitle(vumoId), QStringLiteral("后台改的标题"));
        QCOMPARE(field(clientId, "title"), QStringLiteral("本地的标题"));
        QCOMPARE(field(clientId, "upload_status"), QStringLiteral("2"));

        // On request the local change goes out.
        QCOMPARE(upload({clientId}, 0, true).value(clientId), UploadSuccessText());
        QCOMPARE(onlineTitle(vumoId), QStringLiteral("本地的标题"));
        // Our own upload is not an online change: the next one needs no overwrite.
        QVERIFY(store().ExecSql(QString("UPDATE vumo_data SET title='再改一次' WHERE client_id='%1'").arg(clientId)));
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        QCOMPARE(onlineTitle(vumoId), QStringLiteral("再改一次"));
    }

    void pictureSyncFailureIsReportedAndItsTimeKept()
    {
        const QString added = makeLocal();
        QDateTime later;
        auto failing = [&later](const QString&, qint64, bool, QString& reason, QDateTime& modified) {
            reason = "图片太大";
            later = QDateTime::currentDateTime().addSecs(3600);
            modified = later;
            return false;
        };
        QCOMPARE(upload({added}, 0, false, failing).value(added), QStringLiteral("主图管理中图片上传失败：图片太大"));
        QVERIFY(field(added, "vumo_id").toLongLong() > 0);
        QCOMPARE(StoredOnlineModified(store(), added).toSecsSinceEpoch(), later.toSecsSinceEpoch());
        QCOMPARE(upload({added}, 0, false, failing).value(added), QStringLiteral("图片更新失败:图片太大"));
    }

    void stopLeavesTheRestUntouched()
    {
        const QStringList ids{makeLocal(), makeLocal(), makeLocal()};
        VumoUploadThread thread(Uid());
        thread.SetClientIds(ids);
        QSignalSpy finished(&thread, &VumoUploadThread::UploadFinishedSignal);
        connect(
            &thread, QOverload<int, qint16, VUMO_CLASS, VUMO_CLASS, const QString&>::of(&VumoUploadThread::UploadSignal),
            this, [&thread](int index, qint16 state) {
                if (index == 0 && state == UploadRunning)
                    thread.Stop();
            },
            Qt::DirectConnection);
        thread.Start();
        QVERIFY(finished.wait(60000));
        thread.wait();
        QVERIFY(thread.Cancelled());
        QCOMPARE(finished.first().at(0).toInt(), 1); // the listing under way finished
        QCOMPARE(field(ids.at(0), "upload_status"), QStringLiteral("1"));
        QCOMPARE(field(ids.at(1), "upload_status"), QStringLiteral("0"));
        QCOMPARE(field(ids.at(2), "vumo_id"), QStringLiteral("0"));
    }

    void descriptionPicturesAreUploadedOnceAndRewritten()
    {
        const QString folder = m_fixture->home().path() + "/描述图片";
        QVERIFY(QDir().mkpath(folder));
        const QString picture = folder + "/图 片.png";
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(picture));
        // The same file twice (once as a file URL with the name encoded), and a web address.
        const QString html = QString("<p>说明 %1</p><img src=\"%2\"><img src='%1'><img src=\"http://x.example/a.png\">")
                                 .arg(picture, QUrl::fromLocalFile(picture).toString(QUrl::FullyEncoded));
        const QString clientId = makeLocal();
        QVERIFY(store().SetDescription(clientId, html));

        // The image server refuses: nothing is sent and the description stays.
        control({{"method", "kelvaris.imgzone.picture.upload"}, {"mode", "error"}, {"count", 1}});
        const int adds = calls("orvane.vumo.add");
        QCOMPARE(upload({clientId}).value(clientId), QStringLiteral("商品描述中本地图片上传服务器失败！"));
        QCOMPARE(calls("orvane.vumo.add"), adds);
        QCOMPARE(field(clientId, "desc"), html);

        const int pictures = calls("kelvaris.imgzone.picture.upload");
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        QCOMPARE(calls("kelvaris.imgzone.picture.upload"), pictures + 1);
        const QString stored = field(clientId, "desc");
        QStringList sources = FindImgSources(stored);
        QCOMPARE(sources.size(), 3);
        QVERIFY2(sources.at(0).startsWith("http") && sources.at(0) == sources.at(1), qPrintable(stored));
        QCOMPARE(sources.at(2), QStringLiteral("http://x.example/a.png"));
        QVERIFY(stored.contains("<p>说明 " + picture + "</p>")); // text outside img src stays
        const qint64 vumoId = field(clientId, "vumo_id").toLongLong();
        QCOMPARE(market().Listing(vumoId)->vumo.value("desc").toString(), stored);

        // Already on the server: the next upload sends no picture.
        QCOMPARE(upload({clientId}).value(clientId), UploadSuccessText());
        QCOMPARE(calls("kelvaris.imgzone.picture.upload"), pictures + 1);
    }

    void dialogRunUpdatesThePage()
    {
        const QString good = makeLocal();
        const QString bad = makeLocal();
        // A category the marketplace does not have: this one fails whatever the order.
        QVERIFY(store().ExecSql(QString("UPDATE vumo_data SET cid=999999 WHERE client_id='%1'").arg(bad)));
        qint64 localCount = 0;
        QVERIFY(store().CountVumos("vumo_status=2014", localCount));

        VumoMainWidget page;
        page.resize(1200, 800);
        page.show();
        QTRY_VERIFY(page.IsFirstLoadDone());
        page.Classification()->SetCurrentClass(VumoClassLocal);
        VumoTableViewModel* model = page.TableView()->VumoModel();
        QTRY_VERIFY(model->RowOfClientId(good) >= 0 && model->RowOfClientId(bad) >= 0);
        QTRY_COMPARE(page.Classification()->NodeCount(VumoClassNode(VumoClassLocal)), int(localCount));
        const int forSale = page.Classification()->NodeCount(VumoClassNode(VumoClassForSale));

        // Nothing ticked: the seller is told.
        QStringList asked;
        Quorvia::core::ui::SetMsgBoxHook([&asked](Quorvia::core::ui::MsgBox& box) {
            asked << box.Text();
            return QMessageBox::Ok;
        });
        model->setAllCheckState(0);
        page.CommandButton(VumoMainWidget::CommandUploadVumo)->click();
        QTRY_COMPARE(asked, QStringList{"提示：请勾选要上传的商品！"});
        Quorvia::core::ui::SetMsgBoxHook({});

        model->SetRowsCheckState({model->RowOfClientId(good), model->RowOfClientId(bad)}, 2);
        QString opening, summary, status, badText, format;
        QColor badColor, goodColor;
        bool started = false, closed = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = modal ? modal->findChild<UploadVumoWidget*>() : nullptr;
            if (!dialog || closed)
                return;
            if (!started) {
                started = true;
                opening = dialog->SummaryLabel()->text() + '|' + dialog->StatusLabel()->text();
                dialog->UploadButton()->click();
                return;
            }
            if (dialog->IsRunning())
                return;
            summary = dialog->SummaryLabel()->text();
            status = dialog->StatusLabel()->text();
            format = dialog->ProgressBar()->text();
            QTableWidget* table = dialog->Table();
            for (int row = 0; row < table->rowCount(); ++row) {
                if (table->item(row, 3)->text() == UploadSuccessText()) {
                    goodColor = table->item(row, 1)->foreground().color();
                } else {
                    badText = table->item(row, 3)->text();
                    badColor = table->item(row, 1)->foreground().color();
                }
            }
            closed = true;
            dialog->CloseButton()->click();
        });
        driver.start(30);
        page.CommandButton(VumoMainWidget::CommandUploadVumo)->click();
        QTRY_VERIFY_WITH_TIMEOUT(closed, 60000);
        driver.stop();

        QCOMPARE(opening, QStringLiteral("您选择了2个商品准备上传|准备上传"));
        QCOMPARE(summary, QStringLiteral("上传成功1个商品，失败1个商品"));
        QCOMPARE(status, QStringLiteral("上传完成"));
        QCOMPARE(format, QStringLiteral("上传完成"));
        QCOMPARE(badText, QStringLiteral("类目不存在或不是叶子类目"));
        QCOMPARE(badColor, QColor(Qt::red));
        QVERIFY(goodColor != QColor(Qt::red));
        // The uploaded listing left the local store for the listings for sale; the failed one
        // stays, marked failed.
        QTRY_COMPARE(model->RowOfClientId(good), -1);
        QVERIFY(model->RowOfClientId(bad) >= 0);
        VUMO_LIST_STRUCT row;
        QVERIFY(model->GetVumo(model->RowOfClientId(bad), row));
        QCOMPARE(row.upload_status, 2);
        QCOMPARE(page.Classification()->NodeCount(VumoClassNode(VumoClassLocal)), int(localCount) - 1);
        QCOMPARE(page.Classification()->NodeCount(VumoClassNode(VumoClassForSale)), forSale + 1);
        QCOMPARE(field(good, "vumo_status"), QStringLiteral("1"));
    }

    void cancellingInTheDialogAsks()
    {
        const QStringList ids{makeLocal(), makeLocal(), makeLocal()};
        QList<VUMO_LIST_STRUCT> rows;
        for (const QString& id : ids) {
            VUMO_LIST_STRUCT row;
            row.client_id = id;
            row.title = id;
            rows << row;
        }
        control({{"latency_ms", 200}});
        Quorvia::core::ui::BaseDialog<UploadVumoWidget> frame(nullptr, rows);
        UploadVumoWidget* dialog = frame.content();
        frame.show();
        dialog->ListingButton()->click();
        QVERIFY(dialog->IsRunning());
        QCOMPARE(dialog->ProgressBar()->text(), QStringLiteral("正在上传第0个商品，共3个商品"));
        QTRY_COMPARE(dialog->StatusLabel()->text(), QStringLiteral("正在上传第1个商品..."));
        QCOMPARE(dialog->ProgressBar()->text(), QStringLiteral("正在上传第1个商品，共3个商品"));
        QStringList asked;
        Quorvia::core::ui::SetMsgBoxHook([&asked](Quorvia::core::ui::MsgBox& box) {
            asked << box.Text();
            return asked.size() == 1 ? QMessageBox::No : QMessageBox::Yes;
        });
        frame.reject(); // "否": the run goes on
        QVERIFY(frame.isVisible() && dialog->IsRunning());
        frame.reject();
        QTRY_VERIFY_WITH_TIMEOUT(!frame.isVisible(), 30000);
        Quorvia::core::ui::SetMsgBoxHook({});
        QCOMPARE(asked, QStringList(2, QStringLiteral("正在上传商品，您确认要取消！")));
        QVERIFY(dialog->Thread()->Cancelled());
        QCOMPARE(dialog->StatusLabel()->text(), QStringLiteral("上传被取消"));
        QCOMPARE(field(ids.last(), "upload_status"), QStringLiteral("0")); // never touched
    }

    void commandLine()
    {
        // Only what this run makes is changed; earlier cases left failed listings behind.
        QVERIFY(store().ExecSql("UPDATE vumo_data SET upload_status=1 WHERE upload_status IN (0, 2)"));
        const QString home = m_fixture->home().path();
        const QString local = makeLocal();
        VumoTest::CliRun ok = VumoTest::RunCli(VUMO_CLI, home, {"upload", "--changed", "--mode", "1"});
        QVERIFY2(ok.exitCode == 0, ok.out.constData());
        QVERIFY2(QString::fromUtf8(ok.out).contains("成功\t" + local), ok.out.constData());
        QVERIFY(QString::fromUtf8(ok.out).contains("上传完成，上传成功1个商品，失败0个商品"));
        QCOMPARE(field(local, "vumo_status"), QStringLiteral("8"));

        const qint64 vumoId = kFirst + 4;
        const QString downloaded = download(vumoId);
        QVERIFY(store().ExecSql(QString("UPDATE vumo_data SET upload_status=0 WHERE client_id='%1'").arg(downloaded)));
        changeOnline(vumoId, "后台又改了");
        VumoTest::CliRun conflict = VumoTest::RunCli(VUMO_CLI, home, {"upload", "--client-id", downloaded});
        QVERIFY2(conflict.exitCode == 1, conflict.out.constData());
        QVERIFY(QString::fromUtf8(conflict.out).contains("线上商品已被修改"));
        QVERIFY(QString::fromUtf8(conflict.out).contains("其中1个线上已被修改，未覆盖"));
        VumoTest::CliRun forced = VumoTest::RunCli(VUMO_CLI, home, {"upload", "--changed", "--overwrite"});
        QVERIFY2(forced.exitCode == 0, forced.out.constData());
        QCOMPARE(onlineTitle(vumoId), field(downloaded, "title"));

        // Ctrl-C: the listing under way finishes, the others stay changed.
        const QStringList waiting{makeLocal(), makeLocal(), makeLocal()};
        control({{"latency_ms", 300}});
        QProcess cli;
        cli.start(VUMO_CLI, {"--home", home, "upload", "--client-id", waiting.at(0), waiting.at(1), waiting.at(2)});
        QVERIFY(cli.waitForStarted());
        QByteArray progress;
        QTRY_VERIFY_WITH_TIMEOUT((progress += cli.readAllStandardError()).contains("正在上传第1个商品"), 30000);
        if (cli.state() == QProcess::Running)
            ::kill(pid_t(cli.processId()), SIGINT);
        QTRY_COMPARE_WITH_TIMEOUT(cli.state(), QProcess::NotRunning, 30000);
        control({{"latency_ms", 0}});
        const QString interrupted = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY2(cli.exitCode() == 130, qPrintable(interrupted));
        QVERIFY2(interrupted.contains("上传被取消，上传成功1个商品，失败0个商品，2个商品未上传"), qPrintable(interrupted));
        QCOMPARE(field(waiting.at(2), "upload_status"), QStringLiteral("0"));

        VumoTest::CliRun usage = VumoTest::RunCli(VUMO_CLI, home, {"upload", "--mode", "3", "--changed"});
        QCOMPARE(usage.exitCode, 2);
        VumoTest::CliRun none = VumoTest::RunCli(VUMO_CLI, home, {"upload"});
        QCOMPARE(none.exitCode, 2);
    }
};

VUMO_TEST_CLASS(TestUploadRules)
VUMO_TEST_CLASS(TestVumoUpload)
#include "TestVumoUpload.moc"
