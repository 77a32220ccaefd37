// The count thread over a seeded store: right counts for every node, delivered through queued
// signals on the receiver's thread, read on the thread's own connection.
#include "TreeStoreFixture.h"
#include "support/TestMain.h"

#include "plugin/VumoCountThread.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

using namespace Quorvia::vumo;
using VumoTest::TreeStoreFixture;

namespace {

struct Result
{
    VUMO_CLASS node;
    int count = 0;
    QThread* deliveredOn = nullptr;
};

QVector<VumoCategoryKey> categoryNodes()
{
    return {{VUMO_CLASS::NodeTopCategory, 2, 5},
            {VUMO_CLASS::NodeSubCategory, 5, 51},
            {VUMO_CLASS::NodeSubCategory, 5, 7052},
            {VUMO_CLASS::NodeTopCategory, 2, 15},
            {VUMO_CLASS::NodeTopCategory, 2, 52}};
}

// Runs one count and collects what arrives on this (the GUI) thread.
QList<Result> runCount(VumoCountThread& thread, bool* finishedInTime = nullptr)
{
    QList<Result> results;
    QObject receiver;
    QObject::connect(&thread, qOverload<VUMO_CLASS, int, int, int>(&VumoCountThread::classificationCountSignal),
                     &receiver, [&results](VUMO_CLASS node, int, int, int count) {
                         results.append({node, count, QThread::currentThread()});
                     });
    QSignalSpy finished(&thread, &QThread::finished);
    thread.StartCount();
    // finished() comes from the count thread itself and may be in the spy before a wait starts.
    const bool ok = QTest::qWaitFor([&finished] { return !finished.isEmpty(); }, 20000);
    if (finishedInTime)
        *finishedInTime = ok;
    if (!ok)
        return {};
    // Queued results that were posted before finished() are handed out now.
    QCoreApplication::processEvents();
    return results;
}

const Result* find(const QList<Result>& results, const VUMO_CLASS& node)
{
    for (const Result& r : results) {
        if (r.node.sameNode(node))
            return &r;
    }
    return nullptr;
}

} // namespace

class TestCountThread : public QObject
{
    Q_OBJECT
private slots:
    void countsEveryNodeAndDeliversQueued()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.seedCategories());
        QVERIFY(fx.seedEveryStatus());

        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        thread.SetCategoryNodes(categoryNodes());
        QList<VUMO_CLASS> classTotals;
        QObject receiver;
        connect(&thread, qOverload<VUMO_CLASS, int>(&VumoCountThread::classificationCountSignal), &receiver,
                [&classTotals](VUMO_CLASS node, int count) {
                    QCOMPARE(node.count, count);
                    classTotals.append(node);
                });
        const QList<Result> results = runCount(thread);

        // Five classes (search results are not counted unless asked), and under 2 and 3 the
        // no-category node and five category nodes.
        QCOMPARE(results.size(), 5 + 2 * 6);
        QCOMPARE(classTotals.size(), 5);
        QCOMPARE(thread.Total(), 5 + 2 * 6);
        QCOMPARE(thread.Succeeded(), 5 + 2 * 6);
        QVERIFY(!thread.Cancelled());
        for (const Result& r : results) {
            QCOMPARE(r.deliveredOn, QThread::currentThread());
            QCOMPARE(r.count, fx.expectedCount(r.node));
        }
        QCOMPARE(find(results, VumoClassNode(3))->count, 56);
        QCOMPARE(find(results, VumoTopCategoryNode(2, 5))->count, 6);
        const Result* none = find(results, VumoNoCategoryNode(2));
        QVERIFY(none);
        QCOMPARE(none->node.nParentCid, qint64(2));
        QCOMPARE(none->node.nCid, qint64(3));
        QCOMPARE(find(results, VumoClassNode(1))->node.nParentCid, qint64(1));
        QCOMPARE(find(results, VumoClassNode(1))->node.nCid, qint64(2));
        QVERIFY(!find(results, VumoClassNode(6)));
        QVERIFY(!find(results, VumoTopCategoryNode(1, 5))); // categories only under 2 and 3

        thread.SetCountSearch(true);
        const QList<Result> withSearch = runCount(thread);
        QVERIFY(find(withSearch, VumoClassNode(6)));
        QCOMPARE(find(withSearch, VumoClassNode(6))->count, 78);
    }

    // The GUI thread holds an open write transaction with an extra listing: the count thread
    // is not blocked by it and, reading on its own connection, does not see it.
    void ownConnectionBesideAWriteTransaction()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        QVERIFY(fx.add({QStringLiteral("t1"), 2013, QString()}));
        QVERIFY(fx.add({QStringLiteral("t2"), 2013, QString()}));
        QVERIFY(fx.add({QStringLiteral("t3"), 2013, QString()}));
        for (int i = 0; i < 5; ++i)
            QVERIFY(fx.add({QStringLiteral("s%1").arg(i), 8, QString()}));

        QVERIFY(fx.store->Transaction());
        QVERIFY(fx.add({QStringLiteral("uncommitted"), 2013, QString()}));

        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        bool finished = false;
        const QList<Result> results = runCount(thread, &finished);
        QVERIFY(fx.store->Rollback());
        QVERIFY(finished);

        QCOMPARE(results.size(), 5 + 2);
        QCOMPARE(find(results, VumoClassNode(1))->count, 3);
        QCOMPARE(find(results, VumoClassNode(2))->count, 5);
        QCOMPARE(find(results, VumoNoCategoryNode(2))->count, 5);
        for (int c : {3, 4, 5})
            QCOMPARE(find(results, VumoClassNode(c))->count, 0);
    }

    // A stop asked while counting (here from the first result, on the count thread) ends the
    // run before its next query.
    void stopWhileCountingLeavesEarly()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        connect(
            &thread, qOverload<VUMO_CLASS, int, int, int>(&VumoCountThread::classificationCountSignal), &thread,
            [&thread] { thread.Stop(); }, Qt::DirectConnection);
        QCOMPARE(runCount(thread).size(), 1);
        QVERIFY(thread.Cancelled());
        QCOMPARE(thread.Done(), 1);
        QCOMPARE(thread.Total(), 5 + 2);
    }

    void stopBeforeStartIsClearedByStartCount()
    {
        TreeStoreFixture fx;
        QVERIFY(fx.valid);
        VumoCountThread thread(VumoClassStatusMap());
        thread.SetStore(fx.store);
        thread.Stop();
        QVERIFY(thread.IsStopped());
        QCOMPARE(runCount(thread).size(), 5 + 2);
        QVERIFY(!thread.IsStopped());
    }

    // A count that fails (a store without tables) reports nothing rather than zeros.
    void failingCountsReportNothing()
    {
        VumoTest::TempHome home;
        auto connection = Quorvia::vumo::database::DbConnection::OpenFile(home.filePath(QStringLiteral("empty.db")));
        QVERIFY(connection);
        const QString name = connection->baseConnectionName();
        {
            auto store = std::make_shared<Quorvia::vumo::database::VumoDb>(connection);
            VumoCountThread thread(VumoClassStatusMap());
            thread.SetStore(store);
            bool finished = false;
            QVERIFY(runCount(thread, &finished).isEmpty());
            QVERIFY(finished);
            QCOMPARE(thread.Failed(), 5 + 2);
            QCOMPARE(thread.Succeeded(), 0);
            QVERIFY(!thread.LastError().isEmpty());
        }
        connection.reset();
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};

VUMO_TEST_CLASS(TestCountThread)
#include "TestCountThread.moc"
