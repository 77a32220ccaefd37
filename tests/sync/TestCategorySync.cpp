// The category download: the package reader's checks, both download roads against the
// simulator (what a reply may change, a full refresh, a cancel, shop categories, the same end
// state), the command line, and the page's automatic and manual update.
#include "support/CliRun.h"
#include "support/ListingFixture.h"
#include "support/MarketplaceFixture.h"
#include "support/SqlFile.h"
#include "support/TestMain.h"

#include "database/CategoryDbInterface.h"
#include "database/VumoDBMgr.h"
#include "database/VumoDbInterface.h"
#include "entity/SellerCatsEntity.h"
#include "entity/VenderShopCategoryEntity.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "quorvia/DatabaseManage.h"
#include "sync/CategoryPackage.h"
#include "sync/CatsDownloadThread.h"
#include "sync/CatsDownloadThreadByQBR.h"
#include "sync/VumoSyncCommands.h"
#include "ui/MsgBox.h"
#include "ui/VaProgressFrame.h"
#include "utils/SellerPaths.h"
#include "utils/VumoIni.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>

using namespace Quorvia::vumo;
using Quorvia::utils::VumoIni;
using Quorvia::utils::VumoWorkerOutcome;
using Quorvia::vumo::sync::CatsDownloadThread;
using Quorvia::vumo::sync::CatsDownloadThreadByQBR;
using Quorvia::vumo::sync::CatsSyncWorker;

namespace {

const QString kUid = QStringLiteral("demo_seller");
constexpr qint64 kVender = 10001;
constexpr qint64 kLeaf = 10001;      // a clothing leaf of the demo seed, with a brand
constexpr qint64 kOtherLeaf = 10002; // another one

VumoWorkerOutcome Run(CatsSyncWorker& worker)
{
    worker.Start();
    if (!QTest::qWaitFor([&] { return worker.isFinished(); }, 120000))
        worker.Stop();
    worker.wait();
    QCoreApplication::sendPostedEvents();
    return worker.Outcome();
}

VumoWorkerOutcome RunPackage(bool full)
{
    CatsDownloadThread thread(kUid, kVender);
    thread.SetFullRefresh(full);
    return Run(thread);
}

QByteArray Record(qint64 cid, const QByteArray& extraSections = QByteArray())
{
    return QStringLiteral(R"({"category":{"id":%1,"fid":0,"name":"新类目","lev":1,"is_parent":0,"status":1}})")
               .arg(cid)
               .toUtf8()
        + extraSections;
}

} // namespace

class TestCategorySync : public QObject
{
    Q_OBJECT

private:
    // Every row of the four category tables, sorted, one line each.
    QString Dump() const
    {
        VumoTest::SqlFile file(
            Quorvia::database::DatabaseFilePath(kUid, Quorvia::utils::PluginDisplayName(), QStringLiteral("Category")));
        QStringList rows;
        const QStringList tables = {
            "vender_shop_category:id,index_id,fid,name,is_parent,status,lev",
            "vumo_category:aid,name,cid,is_key_prop,is_sale_prop,index_id,status,att_type,input_type,is_req,is_fet,"
            "is_nav,group_id,features",
            "vumo_category_attribute:aid,vid,name,status,index_id,features",
            "vumo_attribute_groups:group_id,cid,name,status,index_id"};
        for (const QString& t : tables) {
            const QString columns = t.section(QLatin1Char(':'), 1);
            const QString joined = QStringLiteral("quote(")
                + QString(columns).replace(QLatin1Char(','), ")||','||quote(") + QLatin1Char(')');
            for (const QVariant& v : file.column(
                     QStringLiteral("SELECT %1 FROM %2 ORDER BY 1").arg(joined, t.section(QLatin1Char(':'), 0, 0))))
                rows << v.toString();
        }
        return rows.join(QLatin1Char('\n'));
    }
    int Count(const QString& sql) const
    {
        VumoTest::SqlFile file(
            Quorvia::database::DatabaseFilePath(kUid, Quorvia::utils::PluginDisplayName(), QStringLiteral("Category")));
        return file.column(sql).value(0).toInt();
    }
    void Control(const QJsonObject& command)
    {
        bool ok = false;
        const QJsonObject answer = m_market.server().Control(command, &ok);
        QVERIFY2(ok, qPrintable(answer.value("error").toString()));
    }
    QStringList ShopCategoryNames() const
    {
        QList<entity::SellerCatsEntity*> list;
        QMap<qint64, entity::SellerCatsEntity*> map;
        database::VumoDBMgr::instance()->GetVumoDb()->GetSellerCategories(list, map);
        QStringList names;
        for (auto* c : list)
            names << c->name();
        qDeleteAll(list);
        names.sort();
        return names;
    }

    std::unique_ptr<VumoTest::ListingFixture> m_listings;
    VumoTest::MarketplaceFixture m_market;
    QString m_baseline; // the store after a full download of the demo seed

private slots:
    void initTestCase()
    {
        m_listings = std::make_unique<VumoTest::ListingFixture>();
        QVERIFY2(m_listings->isValid(), qPrintable(m_listings->errorText()));
        QVERIFY2(m_market.start(m_listings->home()), qPrintable(m_market.error()));
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
        QVERIFY(database::VumoDBMgr::instance()->GetCategoryDb()->CheckDatabase());
        const VumoWorkerOutcome outcome = RunPackage(true);
        QVERIFY2(outcome.succeeded == 1, qPrintable(outcome.lastError));
        m_baseline = Dump();
        QVERIFY(m_baseline.count(QLatin1Char('\n')) > 1000);
        QVERIFY(Count(QStringLiteral("SELECT count(*) FROM vumo_category_attribute")) > 1000);
    }
    void cleanup()
    {
        Control({{"reset", true}});
        VumoIni::SetCatsVersion(kUid, 1);
        Quorvia::core::ui::SetMsgBoxHook({});
    }

    void packageChecks_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("records"); // -1: refused
        QTest::addColumn<QString>("error");
        const QByteArray typed = Record(2,
                                        "\r"
                                        R"({"attributes":[{"aid":21,"is_req":"2","index_id":3}]})"
                                        "\r"
                                        R"({"vender_att_values":[{"aid":21,"vid":2101,"name":"自营"}]})");
        QTest::newRow("version only") << QByteArray("7") << 0 << QString();
        QTest::newRow("version, closing line feed") << QByteArray("7\n") << 0 << QString();
        QTest::newRow("numbers as text, seller values") << "7\n" + Record(1) + '\t' + typed + '\t' << 2 << QString();
        QTest::newRow("html") << QByteArray("<html><body>502 Bad Gateway {\"vumo\":") << -1 << "类目数据解析错误";
        QTest::newRow("negative version") << QByteArray("-3") << -1 << "类目数据解析错误";
        QTest::newRow("three parts") << "7\n" + Record(1) + "\n" + Record(2) << -1 << "类目数据解析错误";
        QTest::newRow("six sections") << "7\n" + Record(1, QByteArray("\r{\"groups\":[]}").repeated(5)) << -1
                                      << "类目数据解析错误";
        QTest::newRow("text for a number") << "7\n" + Record(1, R"(\r{"attributes":[{"aid":5,"is_req":"yes"}]})") << -1
                                           << "类目数据解析错误:第1条记录 attributes[0].is_req";
        QTest::newRow("fraction") << "7\n" + Record(1, R"(\r{"att_values":[{"aid":5,"vid":1.5}]})") << -1
                                  << "类目数据解析错误:第1条记录 att_values[0].vid";
        QTest::newRow("number for a text") << QByteArray("7\n{\"category\":{\"id\":1,\"name\":3}}") << -1
                                           << "类目数据解析错误:第1条记录 category.name";
        QTest::newRow("unknown section") << "7\n" + Record(1, "\r{\"other\":[]}") << -1
                                         << "类目数据解析错误:第1条记录 第2段没有可识别的键";
        QTest::newRow("no category") << QByteArray("7\n{\"groups\":[]}") << -1
                                     << "类目数据解析错误:第1条记录 缺少category";
        QTest::newRow("other category's attribute") << "7\n" + Record(1, R"(\r{"attributes":[{"aid":5,"cid":2}]})")
                                                    << -1 << "类目数据解析错误:第1条记录 attributes.cid=2";
    }
    void packageChecks()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, records);
        QFETCH(QString, error);
        body.replace("\\r", "\r");
        sync::CategoryPackage package;
        QString readError;
        QCOMPARE(sync::ReadCategoryPackage(body, package, readError), records >= 0);
        QCOMPARE(readError, error);
        if (records < 0)
            return;
        QCOMPARE(package.version, 7);
        QCOMPARE(package.records.size(), records);
        if (records == 2) {
            const database::CategoryRecordRows& second = package.records.at(1);
            QCOMPARE(second.attributes.value(0).is_req, 2);
            QCOMPARE(second.attributes.value(0).cid, 2); // the record's category
            QCOMPARE(second.values.value(0).vid, 2101);
        }
    }

    // Mutated packages: no crash, and a refusal always says why.
    void packageFuzz()
    {
        const QByteArray good = "7\n"
            + Record(1,
                     "\r"
                     R"({"attributes":[{"aid":5,"name":"品牌","is_req":1}]})")
            + '\t'
            + Record(2,
                     "\r"
                     R"({"att_values":[{"aid":5,"vid":51,"name":"甲"}]})");
        const char noise[] = {'\t', '\r', '\n', '{', '}', '"', ':', ',', '[', ']', '0', '-', 'x', '\0'};
        QRandomGenerator random(20240611u);
        for (int i = 0; i < 3000; ++i) {
            QByteArray body = good;
            for (int edits = random.bounded(1, 6); edits > 0; --edits) {
                const int at = random.bounded(body.size() + 1);
                switch (random.bounded(3)) {
                case 0:
                    body.insert(at, noise[random.bounded(int(sizeof noise))]);
                    break;
                case 1:
                    body.remove(at, random.bounded(1, 4));
                    break;
                default:
                    body.truncate(at);
                }
            }
            sync::CategoryPackage package;
            QString error;
            if (!sync::ReadCategoryPackage(body, package, error))
                QVERIFY2(error.startsWith(QStringLiteral("类目数据")), body.constData());
        }
    }

    // What a reply may change: the tables only with a whole good package, the version only
    // once all it stands for is stored.
    void replyChangesNothingUnlessWhole_data()
    {
        QTest::addColumn<QJsonObject>("control");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("version");
        const QString good = QString::fromUtf8(Record(777001));
        QTest::newRow("version only") << QJsonObject{{"package", "5"}} << QString() << qint64(5);
        QTest::newRow("gateway error with 200")
            << QJsonObject{{"package", R"({"error_response":{"code":"50","zh_desc":"x"}})"}} << "类目数据请求失败"
            << qint64(1);
        QTest::newRow("garbage") << QJsonObject{{"method", "quorvia.incr.category.get"}, {"mode", "garbage"}}
                                 << "类目数据解析错误" << qint64(1);
        QTest::newRow("wrong type after a good record")
            << QJsonObject{{"package", QString("9\n" + good + "\t" + R"({"category":{"id":777002,"lev":"x"}})")}}
            << "类目数据解析错误:第2条记录 category.lev" << qint64(1);
    }
    void replyChangesNothingUnlessWhole()
    {
        QFETCH(QJsonObject, control);
        QFETCH(QString, error);
        QFETCH(qint64, version);
        Control(control);
        const VumoWorkerOutcome outcome = RunPackage(false);
        QCOMPARE(outcome.lastError, error);
        QCOMPARE(outcome.succeeded, error.isEmpty() ? 1 : 0);
        QCOMPARE(VumoIni::CatsVersion(kUid), version);
        QVERIFY(Dump() == m_baseline);
    }

    void fullRefreshAsksForVersionZeroAndReplacesAtOnce()
    {
        entity::VenderShopCategoryEntity stale;
        stale.set_id(999999);
        stale.set_name(QStringLiteral("旧类目"));
        stale.set_status(1);
        QVERIFY(database::VumoDBMgr::instance()->GetCategoryDb()->SaveVenderShopCategory(stale));
        const QString before = Dump();
        // A package that breaks at its last record leaves everything, the stale row too.
        Control({{"package", QString::fromUtf8("9\n" + Record(5) + "\t{}")}});
        VumoWorkerOutcome outcome = RunPackage(true);
        QVERIFY(outcome.lastError.startsWith(QStringLiteral("类目数据解析错误:")));
        QCOMPARE(m_market.server().State().value("last_package_version").toInt(), 0);
        QVERIFY(Dump() == before);
        QCOMPARE(VumoIni::CatsVersion(kUid), 1);

        Control({{"reset", true}});
        outcome = RunPackage(true);
        QVERIFY2(outcome.succeeded == 1, qPrintable(outcome.lastError));
        QVERIFY(Dump() == m_baseline);
    }

    void cancelDuringTransferLeavesStoreAndVersion()
    {
        Control({{"package_trickle", QJsonObject{{"chunk", 8192}, {"interval_ms", 20}}}});
        CatsDownloadThread thread(kUid, kVender);
        thread.SetFullRefresh(true);
        QList<int> seen;
        connect(&thread, &CatsSyncWorker::SetValue, this, [&](int v) {
            seen << v;
            if (v > 1 && v < 20)
                thread.Stop();
        });
        const VumoWorkerOutcome outcome = Run(thread);
        QVERIFY(outcome.cancelled);
        QCOMPARE(outcome.succeeded, 0);
        // Progress came from the bytes as they arrived.
        QVERIFY(std::any_of(seen.cbegin(), seen.cend(), [](int v) { return v > 1 && v < 20; }));
        QCOMPARE(VumoIni::CatsVersion(kUid), 1);
        QVERIFY(Dump() == m_baseline);
    }

    // A cancel after the package is read, between two records of its write: the full
    // refresh's emptied tables and its first record go back, and the version stays.
    void cancelDuringWriteLeavesStoreAndVersion()
    {
        Control({{"package", QString::fromUtf8("9\n" + Record(5) + '\t' + Record(6))}});
        CatsDownloadThread thread(kUid, kVender);
        thread.SetFullRefresh(true);
        // Reading ends at 50%; direct, so the cancel lands before the next record is written.
        connect(
            &thread, &CatsSyncWorker::SetValue, &thread,
            [&](int v) {
                if (v > 50)
                    thread.Stop();
            },
            Qt::DirectConnection);
        const VumoWorkerOutcome outcome = Run(thread);
        QVERIFY(outcome.cancelled);
        QCOMPARE(outcome.succeeded, 0);
        QCOMPARE(VumoIni::CatsVersion(kUid), 1);
        QVERIFY(Dump() == m_baseline);
    }

    void shopCategoriesReplacedInOneOperation()
    {
        auto* old = VumoTest::makeShopCategory(1, 0, QStringLiteral("旧分类"), 1);
        QVERIFY(database::VumoDBMgr::instance()->GetVumoDb()->ReplaceSellerCategories({old}));
        delete old;
        Control({{"method", "orvane.sellercats.get"}, {"mode", "error"}, {"zh_desc", "店铺分类暂不可用"}});
        VumoWorkerOutcome outcome = RunPackage(false);
        QCOMPARE(outcome.lastError, QStringLiteral("店铺分类暂不可用"));
        QCOMPARE(ShopCategoryNames(), QStringList{QStringLiteral("旧分类")});

        Control({{"reset", true}});
        outcome = RunPackage(false);
        QVERIFY2(outcome.succeeded == 1, qPrintable(outcome.lastError));
        QStringList expected;
        for (const QJsonValue& c : m_market.server().Store().ShopCategories())
            expected << c.toObject().value("name").toString();
        expected.sort();
        QCOMPARE(ShopCategoryNames(), expected);
    }

    void commandLineExitCodes()
    {
        const QString cli = QStringLiteral(VUMO_CLI);
        VumoTest::CliRun run = VumoTest::RunCli(cli, m_listings->home().path(), {"--help"});
        QVERIFY(run.out.contains("categories update [--full] [--by-api]"));
        Control({{"method", "quorvia.incr.category.get"}, {"mode", "garbage"}});
        run = VumoTest::RunCli(cli, m_listings->home().path(), {"categories", "update"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("类目数据更新失败，原因：类目数据解析错误，请稍后重试！"), run.err.constData());
        Control({{"reset", true}});
        run = VumoTest::RunCli(cli, m_listings->home().path(), {"categories", "update", "--full"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.contains("进度100%"));
        QVERIFY(Dump() == m_baseline);
    }

    // The page: at most one automatic update per server day; a manual one while it runs is
    // refused; a manual one through the real progress window.
    void pageUpdates()
    {
        const QDateTime now = Quorvia::utils::AppShareHelp::instance()->GetServerTime();
        QVERIFY(VumoIni::SetCategoryUpdateTime(kUid, now));
        {
            VumoMainWidget page;
            QVERIFY(!page.SyncCommands()->IsAutomaticRunning());
            QVERIFY(!page.findChild<QProgressBar*>(QStringLiteral("VumoCatsProgressBar")));
        }
        QVERIFY(VumoIni::SetCategoryUpdateTime(kUid, now.addDays(-1)));
        Control({{"package_trickle", QJsonObject{{"chunk", 64}, {"interval_ms", 50}}}});
        QStringList boxes;
        Quorvia::core::ui::SetMsgBoxHook([&](Quorvia::core::ui::MsgBox& box) {
            boxes << box.Text();
            return QMessageBox::Ok;
        });
        {
            VumoMainWidget page;
            QVERIFY(page.SyncCommands()->IsAutomaticRunning());
            auto* bar = page.findChild<QProgressBar*>(QStringLiteral("VumoCatsProgressBar"));
            QVERIFY(bar && bar->width() == 260);
            QVERIFY(!page.CommandButton(VumoMainWidget::CommandCatsDownload)->isEnabled());
            page.OnFullCatsDownload();
            QCOMPARE(boxes, QStringList{QStringLiteral("正在进行自动更新类目，请稍后再手动更新！")});
            QTRY_VERIFY_WITH_TIMEOUT(!page.SyncCommands()->IsAutomaticRunning(), 60000);
            QVERIFY(page.findChild<QLabel*>(QStringLiteral("VumoStatusLabel"))
                        ->text()
                        .startsWith(QStringLiteral("类目同步已完成，最新一次同步时间")));
            QVERIFY(page.CommandButton(VumoMainWidget::CommandCatsDownload)->isEnabled());
        }
        QCOMPARE(VumoIni::CategoryUpdateTime(kUid).date(), now.date());
        Control({{"reset", true}});
        const int calls =
            m_market.server().State().value("call_counts").toObject().value("quorvia.incr.category.get").toInt();
        QVERIFY(Quorvia::vumo::database::VumoDBMgr::instance()->GetVumoDb()->ClearSellerCategories());
        VumoMainWidget page;
        QVERIFY(!page.SyncCommands()->IsAutomaticRunning());
        const auto shopNodes = [&page] {
            return page.Classification()->findItems(QStringLiteral("新品推荐("),
                                                    Qt::MatchStartsWith | Qt::MatchRecursive);
        };
        QVERIFY(shopNodes().isEmpty());

        QString summary;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* frame = modal ? modal->findChild<Quorvia::core::ui::VaProgressFrame*>() : nullptr;
            if (frame && frame->IsFinished() && summary.isEmpty()) {
                summary = frame->LabelText();
                QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
            }
        });
        closer.start(20);
        VumoIni::SetCategoryUpdateTime(kUid, QDateTime());
        QVERIFY(page.Commands().Run(VumoCommand::PartCatsDownload));
        QCOMPARE(summary, QStringLiteral("类目数据更新完成！"));
        QCOMPARE(m_market.server().State().value("call_counts").toObject().value("quorvia.incr.category.get").toInt(),
                 calls + 1);
        QVERIFY(VumoIni::CategoryUpdateTime(kUid).isValid());
        // The tree shows the shop categories the update brought, under both classes that have them.
        QCOMPARE(shopNodes().size(), 2);
    }

    // Last: it changes the store. Deletions and attribute changes reach it by package, and
    // the API road, call by call, leaves the very same tables.
    void changesArriveAndBothRoadsAgree()
    {
        Control({{"action", "delete_category"}, {"cid", kOtherLeaf}});
        QJsonArray attributes = m_market.server().Store().Categories().value(kLeaf).attributes;
        const qint64 removedAid = attributes.last().toObject().value("aid").toInteger();
        attributes.removeLast();
        QJsonObject first = attributes.first().toObject();
        first.insert("is_req", 1 - first.value("is_req").toInt());
        attributes.replace(0, first);
        attributes.append(QJsonObject{{"aid", kLeaf * 100 + 77}, {"cid", kLeaf}, {"name", "新属性"}, {"status", 1}});
        Control({{"action", "set_attributes"}, {"cid", kLeaf}, {"attributes", attributes}});

        VumoWorkerOutcome outcome = RunPackage(false);
        QVERIFY2(outcome.succeeded == 1, qPrintable(outcome.lastError));
        QCOMPARE(VumoIni::CatsVersion(kUid), m_market.server().Store().CategoryVersion());
        QCOMPARE(Count(QStringLiteral("SELECT count(*) FROM vender_shop_category WHERE id=%1").arg(kOtherLeaf)), 0);
        QCOMPARE(Count(QStringLiteral("SELECT count(*) FROM vumo_category WHERE cid=%1").arg(kOtherLeaf)), 0);
        QCOMPARE(Count(QStringLiteral("SELECT count(*) FROM vumo_category_attribute WHERE aid=%1").arg(removedAid)), 0);
        QCOMPARE(Count(QStringLiteral("SELECT count(*) FROM vumo_category WHERE aid=%1").arg(kLeaf * 100 + 77)), 1);
        // The seller's own brand sits with the brand's values, where the attribute picker reads them.
        QCOMPARE(Count(QStringLiteral("SELECT count(*) FROM vumo_category a JOIN vumo_category_attribute b ON "
                                      "a.aid=b.aid WHERE a.cid=%1 AND a.name='品牌' AND b.features LIKE 'vender:%'")
                           .arg(kLeaf)),
                 1);
        const QString byPackage = Dump();

        CatsDownloadThreadByQBR byApi(kUid, kVender);
        outcome = Run(byApi);
        QVERIFY2(outcome.succeeded == 1, qPrintable(outcome.lastError));
        QVERIFY(Dump() == byPackage);
    }
};

VUMO_TEST_CLASS(TestCategorySync)
#include "TestCategorySync.moc"
