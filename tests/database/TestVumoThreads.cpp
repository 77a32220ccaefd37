// The store used from worker threads while the GUI thread reads.
#include "VumoStoreFixture.h"
#include "support/ListingFixture.h"
#include "support/TestMain.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace VumoTest;

class TestVumoThreads : public QObject
{
    Q_OBJECT
private slots:
    void workerWritesWhileGuiReads()
    {
        StoreFixture f;
        VumoDb* store = f.make();
        QVERIFY(store->CheckDatabase());

        constexpr int kBatches = 20;
        constexpr int kPerBatch = 5;
        QAtomicInt failures = 0;
        // Several workers one after the other: a thread that ended must not leave statements
        // behind that the next one trips over.
        for (int round = 0; round < 3; ++round) {
            std::unique_ptr<QThread> worker(QThread::create([&, round] {
                for (int b = 0; b < kBatches; ++b) {
                    if (!store->Transaction()) {
                        failures.ref();
                        return;
                    }
                    for (int i = 0; i < kPerBatch; ++i) {
                        const int n = (round * kBatches + b) * kPerBatch + i;
                        auto record = makeListing(QStringLiteral("w-%1").arg(n), 100000 + n);
                        if (!store->SaveDownloadedVumo(*record))
                            failures.ref();
                    }
                    if (!store->Commit())
                        failures.ref();
                }
            }));
            worker->start();
            qint64 last = round * kBatches * kPerBatch;
            int reads = 0;
            while (!worker->isFinished()) {
                qint64 n = -1;
                QVERIFY(store->CountVumos(QStringLiteral("vumo_status=8"), n));
                // A batch is one transaction of the worker: never seen half written.
                QCOMPARE(n % kPerBatch, 0);
                QVERIFY(n >= last);
                last = n;
                QList<VUMO_LIST_STRUCT> rows;
                QVERIFY(store->QueryVumoRows(ListingFixture::TableQuery(), rows));
                ++reads;
                QCoreApplication::processEvents();
            }
            worker->wait();
            QVERIFY(reads > 0);
        }
        QCOMPARE(failures.loadRelaxed(), 0);
        qint64 total = 0;
        QVERIFY(store->CountVumos(QStringLiteral("1=1"), total));
        QCOMPARE(total, 3 * kBatches * kPerBatch);

        VumoDataEntity read;
        QVERIFY(store->GetVumo(QStringLiteral("w-7"), read));
        QCOMPARE(read.Skus().size(), 2);
        QCOMPARE(read.Images().value(9).size(), 1);
    }

    // Two download-like writers beside a reader, each on its own connection. A write that
    // reads before it writes must still wait for the other writer instead of failing with
    // "database is locked": one writer saves listing by listing, the other in batches inside
    // an outer transaction, and both save some listings twice (the look-up of a known one).
    void twoWritersAndAReaderNeverFail()
    {
        StoreFixture f;
        VumoDb* store = f.make();
        QVERIFY(store->CheckDatabase());

        constexpr int kListings = 150;
        constexpr int kPerBatch = 5;
        QAtomicInt failures = 0;
        QAtomicInt writersDone = 0;
        QAtomicInt reads = 0;
        std::unique_ptr<QThread> single(QThread::create([&] {
            for (int i = 0; i < kListings; ++i) {
                auto record = makeListing(QStringLiteral("s-%1").arg(i), 300000 + i);
                if (!store->SaveDownloadedVumo(*record))
                    failures.ref();
                if (i % 3 == 0 && !store->SaveDownloadedVumo(*makeListing(QStringLiteral("s-%1").arg(i), 300000 + i)))
                    failures.ref();
            }
            writersDone.ref();
        }));
        std::unique_ptr<QThread> batched(QThread::create([&] {
            for (int b = 0; b < kListings / kPerBatch; ++b) {
                if (!store->Transaction()) {
                    failures.ref();
                    continue;
                }
                bool ok = true;
                for (int i = 0; i < kPerBatch; ++i) {
                    const int n = b * kPerBatch + i;
                    ok = store->SaveDownloadedVumo(*makeListing(QStringLiteral("t-%1").arg(n), 400000 + n)) && ok;
                    if (i == 0)
                        ok = store->SaveDownloadedVumo(*makeListing(QStringLiteral("t-%1").arg(n), 400000 + n)) && ok;
                }
                if (!ok || !store->Commit()) {
                    failures.ref();
                    store->Rollback();
                }
            }
            writersDone.ref();
        }));
        std::unique_ptr<QThread> reader(QThread::create([&] {
            while (writersDone.loadAcquire() < 2) {
                QList<VUMO_LIST_STRUCT> rows;
                if (!store->QueryVumoRows(ListingFixture::TableQuery(QStringLiteral("ORDER BY modified LIMIT 3")),
                                          rows))
                    failures.ref();
                VumoDataEntity read;
                if (!rows.isEmpty() && (!store->GetVumo(rows.first().client_id, read) || read.Skus().size() != 2))
                    failures.ref();
                reads.ref();
            }
        }));
        reader->start();
        single->start();
        batched->start();
        QVERIFY(single->wait(120000));
        QVERIFY(batched->wait(120000));
        QVERIFY(reader->wait(120000));

        QCOMPARE(failures.loadRelaxed(), 0);
        QVERIFY(reads.loadRelaxed() > 0);
        qint64 total = 0;
        QVERIFY(store->CountVumos(QStringLiteral("1=1"), total));
        QCOMPARE(total, qint64(2 * kListings));
        QCOMPARE(f.scalar(QStringLiteral("SELECT COUNT(*) FROM vumo_sku")).toLongLong(), qint64(4 * kListings));
    }

    // Every write transaction of both stores goes through SqlStore: it owns the write lock from
    // BEGIN on, so another connection cannot commit between its first read and its first write.
    void writeTransactionHoldsTheWriteLockFromItsStart()
    {
        StoreFixture f;
        VumoDb* store = f.make();
        QVERIFY(store->CheckDatabase());
        auto other = DbConnection::OpenFile(f.connection->fileName());
        QVERIFY(other);
        const QString otherName = other->baseConnectionName();
        {
            QSqlDatabase db = other->database();
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA busy_timeout=0")));
            auto otherWrites = [&q] { return q.exec(QStringLiteral("REPLACE INTO CONFIG VALUES ('k','other')")); };

            QVERIFY(store->Transaction());
            QVERIFY(!otherWrites());
            QVERIFY(store->Rollback());
            QVERIFY(otherWrites());

            Quorvia::vumo::database::SqlStore shared(f.connection);
            QVERIFY(shared.BeginTransaction());
            QVERIFY(!otherWrites());
            QVERIFY(shared.CommitTransaction());
            QVERIFY(otherWrites());

            // Inside the caller's transaction a write is nested, not a second BEGIN.
            QVERIFY(store->Transaction());
            QCOMPARE(shared.BeginWrite(), Quorvia::vumo::database::SqlStore::WriteStart::Nested);
            QVERIFY(store->SaveDownloadedVumo(*makeListing(QStringLiteral("n-1"), 500001)));
            QVERIFY(store->Rollback());
            qint64 n = -1;
            QVERIFY(store->CountVumos(QStringLiteral("1=1"), n));
            QCOMPARE(n, qint64(0));
            db.close();
        }
        other.reset();
        QSqlDatabase::removeDatabase(otherName);
    }

    // One QThread object started again as soon as it reports finished, as the count thread
    // is: each run reads on a connection of its own, while the run before may still be
    // removing its connection on the way out.
    void restartedThreadGetsAFreshConnection()
    {
        StoreFixture f;
        VumoDb* store = f.make();
        QVERIFY(store->CheckDatabase());
        QVERIFY(store->SaveDownloadedVumo(*makeListing(QStringLiteral("r-1"), 200001)));

        class Reader : public QThread
        {
        public:
            explicit Reader(VumoDb* s)
                : store(s)
            {
            }
            VumoDb* store;
            QAtomicInt failures = 0;

        protected:
            void run() override
            {
                qint64 n = -1;
                if (!store->CountVumos(QStringLiteral("1=1"), n) || n != 1)
                    failures.ref();
            }
        };
        Reader reader(store);
        for (int run = 0; run < 200; ++run) {
            QSignalSpy finished(&reader, &QThread::finished);
            reader.start();
            // finished() comes from the reader's own thread, possibly before any wait begins.
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        }
        reader.wait();
        QCOMPARE(reader.failures.loadRelaxed(), 0);
    }

    // Whoever waits for a worker may go on to end the program: by then the worker's
    // connections and prepared statements must be gone, not left to the thread's own exit.
    void workerConnectionsAreGoneWhenWaitReturns()
    {
        StoreFixture f;
        VumoDb* store = f.make();
        QVERIFY(store->CheckDatabase());
        const QStringList before = QSqlDatabase::connectionNames();
        for (int run = 0; run < 20; ++run) {
            std::unique_ptr<QThread> worker(QThread::create([store] {
                store->SaveDownloadedVumo(*makeListing(QStringLiteral("w-1"), 300001)); // prepares statements
            }));
            worker->start();
            QVERIFY(worker->wait(10000));
            QCOMPARE(QSqlDatabase::connectionNames(), before);
        }
    }

    void managerHandsOutOneStoreThatNeverIsNull()
    {
        using Quorvia::vumo::database::VumoDBMgr;
        StoreFixture f;
        // Nobody logged in: still a store, and every operation fails.
        VumoDBMgr::instance()->Reset();
        auto none = VumoDBMgr::instance()->GetVumoDb();
        QVERIFY(none);
        QVERIFY(!none->CheckDatabase());
        QVERIFY(VumoDBMgr::instance()->GetCategoryDb());
        QVERIFY(!VumoDBMgr::instance()->GetCategoryDb()->CheckDatabase());

        // Logged in: the seller's files, one store each until Reset().
        auto vumo = f.sellerStore();
        QVERIFY(vumo);
        QCOMPARE(VumoDBMgr::instance()->GetVumoDb().get(), vumo.get());
        QVERIFY(vumo->CheckDatabase());
        QVERIFY(vumo->SaveVumo(*makeListing(QStringLiteral("m1"), 0)));
        QCOMPARE(f.scalar(QStringLiteral("SELECT COUNT(*) FROM vumo_data WHERE client_id='m1'")).toInt(), 1);
        QVERIFY(VumoDBMgr::instance()->GetCategoryDb()->CheckDatabase());
        QVERIFY(QFileInfo::exists(f.home.filePath(
            QStringLiteral("users/demo_seller/databases/%1/Category.db").arg(Quorvia::utils::PluginDisplayName()))));
        vumo.reset();
        VumoDBMgr::instance()->Reset();
    }
};

VUMO_TEST_CLASS(TestVumoThreads)
#include "TestVumoThreads.moc"
