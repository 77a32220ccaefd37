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
#include <QSignalSpy>
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
    // Runs the event loop (the simulator lives on this thread) until `count` pairs finished.
    static bool waitForPairs(QSignalSpy& spy, int count)
    {
        return QTest::qWaitFor([&] { return spy.size() >= count; }, 60000);
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
        SyncRedCommentThread thread;
        QSignalSpy loaded(&thread, &SyncRedCommentThread::LoadedSignal);
        QVERIFY(thread.Start());
        QVERIFY(loaded.wait(60000));
        QCOMPARE(loaded.first().first().toInt(), 0);
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
        // A six-day-old pair is still worked off; it and a new one are copies of known SKUs.
        storePair(red, ori, Now().addDays(-6));
        SyncRedCommentThread thread;
        QSignalSpy finished(&thread, &SyncRedCommentThread::PairFinishedSignal);
        QVERIFY(thread.Start());
        QVERIFY(waitForPairs(finished, 1));
        QCOMPARE(finished.at(0).at(0).toLongLong(), red);
        QVERIFY(finished.at(0).at(1).toBool());
        QCOMPARE(finished.at(0).at(2).toString(),
                 QStringLiteral("闪购店铺设置成功：原始SKU编号为%1，新SKU编号为%2").arg(ori).arg(red));

        // Unknown SKUs: code 0 with good_synchro false is still a completed call.
        QVERIFY(thread.AddPair(777001, 777002));
        QVERIFY(waitForPairs(finished, 2));
        QCOMPARE(finished.at(1).at(0).toLongLong(), 777001);
        QVERIFY(finished.at(1).at(1).toBool());
        QCOMPARE(finished.at(1).at(2).toString(),
                 QStringLiteral("闪购店铺设置失败：原始SKU编号为777002，新SKU编号为777001"));
        thread.Stop();
        thread.wait();
        QVERIFY(storedPairs().isEmpty());
        QCOMPARE(synchroCalls(), 2);
    }

    void threeFailedCallsKeepThePair()
    {
        SyncRedCommentThread thread;
        QSignalSpy finished(&thread, &SyncRedCommentThread::PairFinishedSignal);
        QSignalSpy loaded(&thread, &SyncRedCommentThread::LoadedSignal);
        QVERIFY(thread.Start());
        QVERIFY(loaded.wait(60000));

        // Two failures, then an answer: the third try completes.
        control({{"method", "quorvia.good.synchro"}, {"mode", "error"}, {"count", 2}});
        QVERIFY(thread.AddPair(666001, 666002));
        QVERIFY(waitForPairs(finished, 1));
        QVERIFY(finished.at(0).at(1).toBool());
        QCOMPARE(synchroCalls(), 3);
        QVERIFY(!storedPairs().contains(666001));

        // Three failures: the pair stays, with the time of its last try.
        control({{"reset", true}});
        control({{"method", "quorvia.good.synchro"}, {"mode", "error"}, {"zh_desc", "评论服务维护中"}, {"count", 5}});
        const qint64 created = Now().toSecsSinceEpoch();
        QVERIFY(thread.AddPair(555001, 555002));
        QVERIFY(waitForPairs(finished, 2));
        QVERIFY(!finished.at(1).at(1).toBool());
        QVERIFY2(finished.at(1).at(2).toString().contains(QStringLiteral("评论服务维护中")),
                 qPrintable(finished.at(1).at(2).toString()));
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
            SyncRedCommentThread thread;
            QSignalSpy loaded(&thread, &SyncRedCommentThread::LoadedSignal);
            QVERIFY(thread.Start());
            QVERIFY(loaded.wait(60000));
            thread.Stop();
            thread.wait(); // hangs (and the suite times out) when Stop does not wake it
            QVERIFY(thread.isFinished());
            // Started again, it reads the table again.
            QVERIFY(thread.Start());
            QVERIFY(loaded.wait(60000));
        }
        // Destroyed while idle and running: the destructor stops and waits.
        auto* running = new SyncRedCommentThread;
        QSignalSpy loaded(running, &SyncRedCommentThread::LoadedSignal);
        QVERIFY(running->Start());
        QVERIFY(loaded.wait(60000));
        delete running;
    }

    void mainWidgetOfAShopOfType8RunsTheThread()
    {
        auto widget = std::make_unique<VumoMainWidget>();
        SyncRedCommentThread* thread = widget->RedCommentThread();
        QVERIFY(thread);
        QVERIFY(thread->isRunning());
        QSignalSpy finished(thread, &SyncRedCommentThread::PairFinishedSignal);
        widget->OnAddNewSyncRedPair(888001, 888002);
        QVERIFY(waitForPairs(finished, 1));
        QCOMPARE(finished.at(0).at(0).toLongLong(), 888001);
        QVERIFY(storedPairs().isEmpty());
        // The page goes with its thread running idle.
        widget.reset();
    }
};

VUMO_TEST_CLASS(TestCommentSync)
#include "TestCommentSync.moc"
