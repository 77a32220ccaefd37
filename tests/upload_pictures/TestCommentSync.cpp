// The comment synchronisation thread against the simulator's comment server: expiry at start,
// answers, three tries, stopping, and its life inside the main widget.
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "entity/RedSyncCommentEntity.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/SyncRedCommentThread.h"

#include <QJsonObject>
#include <QLoggingCategory>
#include <QMutex>
#include <QTest>

using namespace Quorvia::vumo;
using Quorvia::vumo::entity::RedSyncCommentEntity;

namespace {

QMutex g_logMutex;
QStringList g_log;
QtMessageHandler g_previous = nullptr;

void CollectLog(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    {
        QMutexLocker locker(&g_logMutex);
        g_log << text;
    }
    if (g_previous)
        g_previous(type, context, text);
}

QStringList TakeLog()
{
    QMutexLocker locker(&g_logMutex);
    QStringList log;
    log.swap(g_log);
    return log;
}

QDateTime Now()
{
    return Quorvia::utils::AppShareHelp::instance()->GetServerTime();
}

// What a thread reported, delivered queued to the test thread (the thread emits on its own).
// Declared before the thread it watches, so the thread goes first and nothing arrives late.
struct Report : QObject
{
    struct Pair
    {
        qint64 newSkuId;
        bool ok;
        QString message;
    };
    int loaded = -1;
    QList<Pair> pairs;

    void watch(SyncRedCommentThread& thread)
    {
        connect(&thread, &SyncRedCommentThread::LoadedSignal, this, [this](int queued) { loaded = queued; });
        connect(&thread, &SyncRedCommentThread::PairFinishedSignal, this,
                [this](qint64 id, bool ok, const QString& message) {
                    pairs.append({id, ok, message});
                });
    }
    // Watches, starts, and waits until the stored pairs were read.
    bool startAndLoad(SyncRedCommentThread& thread)
    {
        watch(thread);
        return thread.Start() && waitLoaded();
    }
    // The event loop runs meanwhile: the simulator lives on this thread.
    bool waitLoaded()
    {
        return QTest::qWaitFor([this] { return loaded >= 0; }, 60000);
    }
    bool waitPairs(int count)
    {
        return QTest::qWaitFor([this, count] { return pairs.size() >= count; }, 60000);
    }
};

} // namespace

class TestCommentSync : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::ListingFixture> m_fixture;
    VumoTest::MarketplaceFixture m_market;

    Quorvia::vumo::database::VumoDbInterface& store() { return *m_fixture->store(); }

    void control(const QJsonObject& command)
    {
        bool ok = false;
        m_market.server().Control(command, &ok);
        QVERIFY(ok);
    }
    int synchroCalls()
    {
        return m_market.server().State().value("call_counts").toObject().value("quorvia.good.synchro").toInt();
    }
    // new SKU id -> "ori|last_req_date|create_date" (seconds).
    QMap<qint64, QString> storedPairs()
    {
        QList<QPair<QString, QString>> rows;
        store().QueryTextPairs(
            "SELECT new_skuid, ori_skuid || '|' || last_req_date || '|' || create_date FROM synccomment", rows);
        QMap<qint64, QString> map;
        for (const auto& row : rows)
            map.insert(row.first.toLongLong(), row.second);
        return map;
    }
    void storePair(qint64 newSku, qint64 oriSku, const QDateTime& created)
    {
        RedSyncCommentEntity record;
        record.set_new_skuid(newSku);
        record.set_ori_skuid(oriSku);
        record.set_create_date(created);
        record.set_last_req_date(created);
        QVERIFY(store().SaveSyncComment(record));
    }
    qint64 seededSku(int listing)
    {
        const auto* found = m_market.server().Store().Listing(1000000001 + listing);
        return found && !found->skus.isEmpty() ? found->skus.first().value("sku_id").toVariant().toLongLong() : 0;
    }
private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("vumo.info=true"));
        g_previous = qInstallMessageHandler(CollectLog);
        VumoTest::DemoLogin login;
        login.shopType = 8;
        m_fixture = std::make_unique<VumoTest::ListingFixture>(0, login);
        QVERIFY2(m_fixture->isValid(), qPrintable(m_fixture->errorText()));
        const auto catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(3);
        QVERIFY2(m_market.start(m_fixture->home(), &catalogue), qPrintable(m_market.error()));
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(g_previous);
        m_market.stop();
        m_fixture.reset();
    }

    void init()
    {
        control({{"reset", true}});
        QVERIFY(store().ExecSql("DELETE FROM synccomment"));
        TakeLog();
    }

    void expiredPairsGoAtStartWithoutARequest()
    {
        const QDateTime created = Now().addDays(-8);
        storePair(9001, 8001, created);
        Report report;
        SyncRedCommentThread thread;
        QVERIFY(report.startAndLoad(thread));
        QCOMPARE(report.loaded, 0);
        thread.Stop();
        thread.wait();
        QVERIFY(storedPairs().isEmpty());
        QCOMPARE(synchroCalls(), 0);
        const QString expected =
            QStringLiteral("同步闪购商品评论失败：商品新Sku编号：9001，商品旧Sku编号：8001，最后更新时间为%1，已过期")
                .arg(QDateTime::fromSecsSinceEpoch(created.toSecsSinceEpoch()).toString("yyyy-MM-dd hh:mm:ss"));
        const QStringList log = TakeLog();
        QVERIFY2(log.contains(expected), qPrintable(log.join('\n')));
    }

    void storedAndAddedPairsAreAnswered()
    {
        const qint64 ori = seededSku(0);
        const qint64 red = seededSku(1);
        QVERIFY(ori > 0 && red > 0);
        // A six-day-old pair is still worked off; it is a copy of a known SKU.
        storePair(red, ori, Now().addDays(-6));
        Report report;
        SyncRedCommentThread thread;
        report.watch(thread);
        QVERIFY(thread.Start());
        QVERIFY(report.waitPairs(1));
        QCOMPARE(report.loaded, 1);
        QCOMPARE(report.pairs.at(0).newSkuId, red);
        QVERIFY(report.pairs.at(0).ok);
        QCOMPARE(report.pairs.at(0).message,
                 QStringLiteral("闪购店铺设置成功：原始SKU编号为%1，新SKU编号为%2").arg(ori).arg(red));

        // Unknown SKUs: code 0 with good_synchro false is still a completed call.
        QVERIFY(thread.AddPair(777001, 777002));
        QVERIFY(report.waitPairs(2));
        QCOMPARE(report.pairs.at(1).newSkuId, 777001);
        QVERIFY(report.pairs.at(1).ok);
        QCOMPARE(report.pairs.at(1).message,
                 QStringLiteral("闪购店铺设置失败：原始SKU编号为777002，新SKU编号为777001"));
        thread.Stop();
        thread.wait();
        QVERIFY(storedPairs().isEmpty());
        QCOMPARE(synchroCalls(), 2);
    }

    void threeFailedCallsKeepThePair()
    {
        Report report;
        SyncRedCommentThread thread;
        QVERIFY(report.startAndLoad(thread));

        // Two failures, then an answer: the third try completes.
        control({{"method", "quorvia.good.synchro"}, {"mode", "error"}, {"count", 2}});
        QVERIFY(thread.AddPair(666001, 666002));
        QVERIFY(report.waitPairs(1));
        QVERIFY(report.pairs.at(0).ok);
        QCOMPARE(synchroCalls(), 3);
        QVERIFY(!storedPairs().contains(666001));

        // Three failures: the pair stays, with the time of its last try.
        control({{"reset", true}});
        control({{"method", "quorvia.good.synchro"}, {"mode", "error"}, {"zh_desc", "评论服务维护中"}, {"count", 5}});
        const qint64 created = Now().toSecsSinceEpoch();
        QVERIFY(thread.AddPair(555001, 555002));
        QVERIFY(report.waitPairs(2));
        QVERIFY(!report.pairs.at(1).ok);
        QVERIFY2(report.pairs.at(1).message.contains(QStringLiteral("评论服务维护中")),
                 qPrintable(report.pairs.at(1).message));
        QCOMPARE(synchroCalls(), 3);
        thread.Stop();
        thread.wait();
        const QStringList row = storedPairs().value(555001).split('|');
        QCOMPARE(row.size(), 3);
        QCOMPARE(row.at(0), QStringLiteral("555002"));
        QVERIFY(row.at(1).toLongLong() >= created);
        QVERIFY(row.at(2).toLongLong() >= created - 1);
    }

    void stopWakesAnIdleThread()
    {
        {
            Report report;
            SyncRedCommentThread thread;
            QVERIFY(report.startAndLoad(thread));
            // Give it time to fall asleep: a Stop that does not wake it then hangs wait()
            // (and the suite runs into its time limit).
            QTest::qWait(100);
            thread.Stop();
            thread.wait();
            QVERIFY(thread.isFinished());
        }
        {
            // A silent comment server: stopping abandons the call under way instead of sitting
            // out its three-minute limit.
            control({{"method", "quorvia.good.synchro"}, {"mode", "hang"}});
            Report report;
            SyncRedCommentThread thread;
            QVERIFY(report.startAndLoad(thread));
            QVERIFY(thread.AddPair(444001, 444002));
            QVERIFY(QTest::qWaitFor([this] { return synchroCalls() == 1; }, 60000));
            thread.Stop();
            QVERIFY(thread.wait(60000));
            QCOMPARE(synchroCalls(), 1);
            QVERIFY(storedPairs().contains(444001)); // kept for the next start
            control({{"reset", true}});
        }
        // Destroyed while idle and running: the destructor stops and waits.
        Report report;
        auto running = std::make_unique<SyncRedCommentThread>();
        report.watch(*running);
        QVERIFY(running->Start());
        QVERIFY(report.waitLoaded());
        QTest::qWait(100);
        running.reset();
    }

    void mainWidgetOfAShopOfType8RunsTheThread()
    {
        Report report;
        auto widget = std::make_unique<VumoMainWidget>();
        SyncRedCommentThread* thread = widget->RedCommentThread();
        QVERIFY(thread);
        QVERIFY(thread->isRunning());
        report.watch(*thread);
        widget->OnAddNewSyncRedPair(888001, 888002);
        QVERIFY(report.waitPairs(1));
        QCOMPARE(report.pairs.at(0).newSkuId, 888001);
        QVERIFY(storedPairs().isEmpty());
        // The page goes with its thread running idle.
        widget.reset();
    }
};

VUMO_TEST_CLASS(TestCommentSync)
#include "TestCommentSync.moc"
