// The listing download against the marketplace simulator: threads, store, pictures and the
// command line.
#include "support/CliRun.h"
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "sync/VumoDownloadDlg.h"
#include "sync/VumoDownloadThread.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "utils/SellerPaths.h"

#include <QApplication>
#include <QImage>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>

using namespace Quorvia::vumo;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoImgEntity;

namespace {

constexpr int kListings = 12;
constexpr qint64 kFirst = 1000000001;
constexpr qint64 kInvalidStatus = kFirst + 2;
constexpr qint64 kPictureFolder = 1100000003; // pictures of the demo seed's listings

struct RunResult
{
    QString summary;
    QStringList messages;
    QMap<qint64, QString> failures;
    QList<qint64> overwritten;
    int stored = 0; // records handed on
};

} // namespace

class TestVumoDownload : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::ListingFixture> m_fixture;
    VumoTest::MarketplaceFixture m_market;

    Quorvia::vumo::database::VumoDbInterface& store() { return *m_fixture->store(); }
    static QString Uid() { return Quorvia::utils::AppShareHelp::instance()->GetUid(); }
    QString imageFolder() const { return Quorvia::utils::SellerImageFolder(Uid()); }
    void control(const QJsonObject& command)
    {
        bool ok = false;
        m_market.server().Control(command, &ok);
        QVERIFY(ok);
    }
    int calls(const char* method) const
    {
        return const_cast<VumoTest::MarketplaceFixture&>(m_market)
            .server()
            .State()
            .value("call_counts")
            .toObject()
            .value(QLatin1String(method))
            .toInt();
    }
    QString dump()
    {
        QList<QPair<QString, QString>> rows;
        store().QueryTextPairs("SELECT vumo_id, title || '|' || vumo_status || '|' || yv_price || '|' || attributes || "
                               "'|' || upload_status "
                               "FROM vumo_data ORDER BY vumo_id",
                               rows);
        store().QueryTextPairs("SELECT d.vumo_id, i.color_id || '|' || i.index_id || '|' || i.name || '|' || i.img_url "
                               "FROM vumo_image i JOIN vumo_data d ON d.client_id=i.client_id ORDER BY 1, 2",
                               rows);
        QString text;
        for (const auto& row : rows)
            text += row.first + ':' + row.second + '\n';
        return text;
    }

    // One run to its end; `onFirst` runs once the first listing is done (from another thread,
    // since cancelling waits for the listing under way while this thread serves the simulator).
    RunResult run(VumoDownloadThread& thread, std::function<void()> onFirst = {})
    {
        RunResult result;
        connect(&thread, &VumoDownloadThread::DownloadVumoStatusMessageSignal, this,
                [&result](const QString& text) { result.messages << text; });
        connect(&thread, &VumoDownloadThread::OnVumoHandleFinishedSignal, this, [&result](VumoDataEntity* record) {
            ++result.stored;
            delete record;
        });
        std::unique_ptr<QThread> helper;
        connect(&thread, &VumoDownloadThread::OneVumoDownloadFinished, this, [&](int completed) {
            if (completed == 1 && onFirst && !helper) {
                helper.reset(QThread::create(onFirst));
                helper->start();
            }
        });
        QSignalSpy stopped(&thread, &VumoDownloadThread::DownloadVumoStopSignal);
        thread.start();
        if (!stopped.wait(60000))
            qWarning("download did not stop");
        thread.wait();
        if (helper)
            helper->wait();
        QCoreApplication::sendPostedEvents(this);
        disconnect(&thread, nullptr, this, nullptr);
        result.summary = thread.Summary();
        result.failures = thread.Failures();
        result.overwritten = thread.Overwritten();
        return result;
    }
    RunResult runAll(int workers, const VumoDownloadCondition& condition = {})
    {
        VumoDownloadThread thread(Uid(), workers);
        thread.SetCondition(condition);
        return run(thread);
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<VumoTest::ListingFixture>(0);
        QVERIFY2(m_fixture->isValid(), qPrintable(m_fixture->errorText()));
        Quorvia::marketplace::SeedCatalogue catalogue = VumoTest::MarketplaceFixture::SmallCatalogue(kListings);
        for (Quorvia::marketplace::SeedListing& listing : catalogue.listings) {
            const qint64 id = listing.vumo.value("vumo_id").toVariant().toLongLong();
            // Pictures the image host draws; every listing's end in the same names, only their
            // folder tells them apart.
            const QString folder = "/imgzone/n0/seed/" + QString::number(kPictureFolder + id - kFirst);
            listing.images.append({id * 10, 0, folder + "/0_1.jpg", true, 1});
            listing.images.append({id * 10 + 1, 0, folder + "/0_2.jpg", false, 2});
            if (id == kInvalidStatus)
                listing.vumo.insert("vumo_status", "NO_SUCH_STATE");
        }
        QVERIFY2(m_market.start(m_fixture->home(), &catalogue), qPrintable(m_market.error()));
    }

    void cleanupTestCase()
    {
        m_market.stop();
        m_fixture.reset();
    }

    void init() { control({{"reset", true}}); }

    void oneListingByNumberNeedsNoSearch()
    {
        VumoDownloadThread thread(Uid(), 2);
        VumoDownloadCondition condition;
        condition.vumoId = kFirst;
        thread.SetCondition(condition);
        const RunResult result = run(thread);
        QCOMPARE(calls("orvane.vumos.search"), 0);
        QCOMPARE(result.stored, 1);
        QVERIFY2(result.summary.startsWith("已完成商品下载，本次共需下载1个商品"), qPrintable(result.summary));
        // Full-size pictures under names that keep listings apart.
        const QImage picture(imageFolder() + "seed_1100000003_0_1.jpg");
        QCOMPARE(picture.width(), 800);
    }

    void nothingToDownload()
    {
        VumoDownloadCondition condition;
        condition.title = "没有这样的商品";
        const RunResult result = runAll(2, condition);
        QVERIFY(result.summary.isEmpty());
        QCOMPARE(result.messages.last(), QStringLiteral("无商品需要下载"));
    }

    void oneAndFourWorkersLeaveTheSameStore()
    {
        // A blank end time is open: a start alone still finds every listing.
        VumoDownloadCondition condition;
        condition.start = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
        const RunResult one = runAll(1, condition);
        QCOMPARE(one.failures.keys(), QList<qint64>{kInvalidStatus});
        QCOMPARE(one.failures.value(kInvalidStatus), QStringLiteral("商品状态无效"));
        QCOMPARE(one.stored, kListings - 1);
        const QString afterOne = dump();
        QVERIFY(!afterOne.contains(QString::number(kInvalidStatus) + ':'));

        // Pictures already there are not fetched again.
        const QString mark = imageFolder() + "seed_1100000003_0_1.jpg";
        QVERIFY(VumoTest::WriteBytes(mark, "kept"));
        const RunResult four = runAll(4, condition);
        QCOMPARE(four.stored, kListings - 1);
        QCOMPARE(dump(), afterOne);
        QCOMPARE(VumoTest::ReadBytes(mark), QByteArray("kept"));
        QVERIFY2(four.summary.contains("本次共需下载12个商品，已完成12个，其中成功11个，失败1个！"),
                 qPrintable(four.summary));
    }

    void redownloadReplacesPicturesAndWarnsOfLocalChanges()
    {
        const qint64 id = kFirst + 5;
        VumoDataEntity local;
        local.set_client_id("local-copy");
        local.set_vumo_id(id);
        local.set_title("本地修改");
        local.set_vumo_status(8);
        local.set_upload_status(0);
        auto* stale = new VumoImgEntity;
        stale->set_color_id(999);
        stale->set_img_url("http://old/n0/stale.jpg");
        local.AddImage(stale);
        QVERIFY(store().SaveDownloadedVumo(local));

        VumoDownloadThread thread(Uid(), 1);
        thread.SetVumoIds({id});
        const RunResult result = run(thread);
        QCOMPARE(result.overwritten, QList<qint64>{id});
        QList<QPair<QString, QString>> rows;
        QVERIFY(store().QueryTextPairs(
            QString("SELECT client_id, color_id FROM vumo_image WHERE client_id='%1'").arg(local.client_id()), rows));
        QVERIFY(!rows.isEmpty());
        for (const auto& row : rows)
            QCOMPARE(row.second, QStringLiteral("0")); // the stale set is gone
    }

    void failuresAreCountedAndTheRunGoesOn_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("mode");
        QTest::newRow("listing answer") << "orvane.vumo.get"
                                        << "error";
        QTest::newRow("hung listing call") << "orvane.vumo.get"
                                           << "hang";
        QTest::newRow("picture list") << "orvane.vumo.propimgs.search"
                                      << "error";
    }
    void failuresAreCountedAndTheRunGoesOn()
    {
        QFETCH(QString, method);
        QFETCH(QString, mode);
        const qint64 id = kFirst + 7;
        QVERIFY(store().ExecSql(QString("DELETE FROM vumo_data WHERE vumo_id=%1").arg(id)));
        control({{"method", method}, {"mode", mode}, {"count", 1}});
        VumoDownloadThread thread(Uid(), 1);
        thread.SetRequestTimeLimit(1500);
        thread.SetVumoIds({id, id + 1, id + 2});
        const RunResult result = run(thread);
        QCOMPARE(result.failures.keys(), QList<qint64>{id});
        QVERIFY(!result.failures.value(id).isEmpty());
        QCOMPARE(result.stored, 2);
        // Fetched first, stored after: a failed fetch stores nothing of the listing.
        QList<QPair<QString, QString>> rows;
        QVERIFY(
            store().QueryTextPairs(QString("SELECT client_id, title FROM vumo_data WHERE vumo_id=%1").arg(id), rows));
        QVERIFY(rows.isEmpty());
    }

    void cancelAfterTheFirstListing()
    {
        control({{"latency_ms", 30}});
        VumoDownloadThread thread(Uid(), 1);
        thread.SetCondition({});
        const RunResult result = run(thread, [&thread] { thread.Cancel(); });
        QVERIFY2(result.summary.startsWith("已取消商品下载，"), qPrintable(result.summary));
        QVERIFY(result.stored < kListings - 1);
    }

    void dialogRunFillsThePage()
    {
        // Every listing arrives new: counts and rows move while the dialog runs.
        QVERIFY(store().ExecSql("DELETE FROM vumo_data"));
        VumoMainWidget page;
        page.resize(1200, 800);
        page.show();
        QTRY_VERIFY(page.IsFirstLoadDone());
        const int onSale = page.Classification()->ClassOfStatus(8);
        page.Classification()->SetCurrentClass(onSale);
        QTRY_COMPARE(page.Classification()->NodeCount(VumoClassNode(onSale)), 0);

        QString summary, format;
        bool started = false, closed = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            VumoDownloadDlg* dialog = modal ? modal->findChild<VumoDownloadDlg*>() : nullptr;
            if (!dialog || closed)
                return;
            if (!started) {
                started = true;
                dialog->NumberEdit()->setText("123456789");
                dialog->StartButton()->click();
                QCOMPARE(dialog->MessageLabel()->text(),
                         QStringLiteral("<font color=red>请确认商品编号是否正确！</font>"));
                dialog->NumberEdit()->clear();
                dialog->StartButton()->click();
            } else if (!dialog->IsRunning()) {
                summary = dialog->MessageLabel()->text();
                format = dialog->ProgressBar()->text();
                closed = true;
                dialog->CancelButton()->click(); // "关闭"
            }
        });
        driver.start(50);
        page.CommandButton(VumoMainWidget::CommandDownloadVumo)->click();
        driver.stop();
        QVERIFY(closed);
        QVERIFY2(summary.startsWith("已完成商品下载，本次共需下载12个商品，已完成12个，其中成功11个，失败1个！"),
                 qPrintable(summary));
        QCOMPARE(format, QStringLiteral("已完成12个商品下载，共12个商品，已进行100%"));
        QList<QPair<QString, QString>> rows;
        QVERIFY(store().QueryTextPairs("SELECT vumo_id, vumo_status FROM vumo_data WHERE vumo_status=8", rows));
        QVERIFY(!rows.isEmpty());
        QCOMPARE(page.Classification()->NodeCount(VumoClassNode(onSale)), rows.size());
        QCOMPARE(page.TableView()->VumoModel()->rowCount(), rows.size());
    }

    void closingDuringARunAsksThenCancels()
    {
        control({{"latency_ms", 40}});
        Quorvia::core::ui::BaseDialog<VumoDownloadDlg> frame(nullptr, 1);
        VumoDownloadDlg* dialog = frame.content();
        frame.show();
        dialog->StartButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->ProgressBar()->value() >= 1, 30000);
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
        QCOMPARE(asked, QStringList(2, QStringLiteral("正在下载商品，您确定要关闭吗？")));
        QVERIFY2(dialog->Thread()->Summary().startsWith("已取消商品下载，"), qPrintable(dialog->Thread()->Summary()));
    }

    void commandLineExitCodes()
    {
        const QString home = m_fixture->home().path();
        VumoTest::CliRun ok = VumoTest::RunCli(VUMO_CLI, home, {"download", "--id", QString::number(kFirst)});
        QVERIFY2(ok.exitCode == 0, ok.err.right(2000).constData());
        QVERIFY(QString::fromUtf8(ok.out).startsWith("已完成商品下载，"));
        VumoTest::CliRun failed = VumoTest::RunCli(
            VUMO_CLI, home, {"download", "--id", QString::number(kInvalidStatus), "--workers", "2"});
        QVERIFY2(failed.exitCode == 1, failed.err.right(2000).constData());
        QVERIFY(QString::fromUtf8(failed.out).contains("商品状态无效"));
        VumoTest::CliRun refused = VumoTest::RunCli(VUMO_CLI, home, {"download", "--id", "123456789"});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY(QString::fromUtf8(refused.err).contains("请确认商品编号是否正确！"));

        control({{"latency_ms", 300}});
        QProcess cli;
        QStringList many{"--home", home, "download", "--workers", "1", "--id"};
        for (qint64 id = kFirst; id < kFirst + kListings; ++id)
            many << QString::number(id);
        cli.start(VUMO_CLI, many);
        QVERIFY(cli.waitForStarted());
        QByteArray progress;
        QTRY_VERIFY_WITH_TIMEOUT((progress += cli.readAllStandardError()).contains("已下载0个商品，共"), 30000);
        const qint64 pid = cli.processId();
        QVERIFY(pid > 0);
        if (cli.state() == QProcess::Running)
            ::kill(pid_t(pid), SIGINT);
        QTRY_COMPARE_WITH_TIMEOUT(cli.state(), QProcess::NotRunning, 30000);
        const QByteArray summary = cli.readAllStandardOutput();
        QVERIFY2(cli.exitCode() == 130, summary.constData());
        QVERIFY(QString::fromUtf8(summary).startsWith("已取消商品下载，"));
    }
};

VUMO_TEST_CLASS(TestVumoDownload)
#include "TestVumoDownload.moc"
