// The listing page. Its rules without widgets (menus per class, delete texts and counting, paste,
// clipboard text, listing address) and the store and marketplace steps behind them; then the page
// as a seller uses it, as wiring: tool bar and menus to their commands, class switches, delete
// through the real modal loops (the online one against a test gateway), paste, copy of listing
// numbers, opening the listing page and restoring from the recycle bin.
#include "AddressBook.h"
#include "ListingPage.h"
#include "SellerDriver.h"
#include "support/ListingFixture.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include "entity/VumoSkuEntity.h"
#include "plugin/SettingsFrame.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoClassLayout.h"
#include "plugin/VumoCommandRules.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoDeleteThread.h"
#include "plugin/VumoHeaderView.h"
#include "plugin/VumoListingCommands.h"
#include "plugin/VumoTableRules.h"
#include "ui/VaProgressFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <memory>

using Quorvia::core::ui::MsgBox;
using Quorvia::vumo::VumoMainWidget;
using namespace Quorvia::vumo;
using VumoTest::Page;
using VumoTest::SellerDriver;
using VumoTest::SharedStore;
using VumoTest::TestServer;

namespace {

QStringList texts(const VumoMenu& menu)
{
    QStringList out;
    for (const VumoMenuEntry& e : menu)
        out << (e.IsSeparator() ? QStringLiteral("-") : e.text);
    return out;
}

const VumoMenuEntry* find(const VumoMenu& menu, const QString& text)
{
    for (const VumoMenuEntry& e : menu) {
        if (e.text == text)
            return &e;
    }
    return nullptr;
}

VUMO_LIST_STRUCT rowOf(const QString& clientId, qint64 vumoId)
{
    VUMO_LIST_STRUCT row;
    row.client_id = clientId;
    row.vumo_id = vumoId;
    return row;
}

void setStockMode(int stockMode)
{
    Quorvia::core::plugin::LoginRecord record;
    record.stockMode = stockMode;
    UserInfo::instance()->SetLogin(record);
}

QAction* actionOf(const QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Picks an entry as a click does. Its command runs once the menu has returned: here, with the
// next pass of the event loop.
void trigger(QAction* action)
{
    QVERIFY(action);
    action->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// A right-click on a point of the table's viewport, as the window system delivers it.
void rightClick(QTableView* view, const QPoint& pos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
}

// An open-API gateway on its own thread whose delete call stalls until the test releases it
// (or 15 s pass), then answers that the listing was deleted; it answers even while the GUI
// thread is blocked.
class StallingGateway
{
public:
    ~StallingGateway()
    {
        m_release.release(100);
        if (m_thread) {
            m_thread->quit();
            m_thread->wait();
        }
    }
    bool start()
    {
        m_thread.reset(QThread::create([this] {
            VumoTest::TestServer server;
            if (server.listen()) {
                m_port = server.port();
                server.setHandler([this](const VumoTest::HttpRequestSeen&, QTcpSocket* socket) {
                    ++m_arrived;
                    m_release.tryAcquire(1, 15000);
                    m_answered = true; // only the first listing is ever sent
                    VumoTest::TestServer::respond(socket, 200, R"({"vumo_delete_response":{"vumo_id":"1000000001"}})",
                                                  {"Content-Type: application/json"});
                    socket->flush();
                });
            }
            m_ready.release();
            QEventLoop loop;
            loop.exec();
        }));
        m_thread->start();
        m_ready.acquire();
        return m_port != 0;
    }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    int arrived() const { return m_arrived; }
    bool answered() const { return m_answered; }
    void release() { m_release.release(); }

private:
    std::unique_ptr<QThread> m_thread;
    QSemaphore m_ready;
    QSemaphore m_release;
    std::atomic<quint16> m_port{0};
    std::atomic<int> m_arrived{0};
    std::atomic<bool> m_answered{false};
};

} // namespace

class TestMainWidget : public QObject
{
    Q_OBJECT

public slots:
    void handleUrl(const QUrl& url) { m_openedUrls << url; }

private slots:
    void initTestCase()
    {
        qputenv("QUORVIA_SERVICE_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
    }
    void cleanup() { setStockMode(-1); }

    void contextMenuPerClass_data()
    {
        QTest::addColumn<int>("vumoClass");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("templates") << 1 << QStringList{"创建新品", "复制商品", "粘贴商品"};
        QTest::newRow("on sale") << 2 << QStringList{"上传", "-", "浏览商品", "复制商品", "复制商品编号"};
        QTest::newRow("for sale") << 3
                                  << QStringList{"删除待售商品", "上传", "-", "浏览商品", "复制商品", "复制商品编号"};
        QTest::newRow("local") << 4 << QStringList{"上传", "-", "复制商品", "粘贴商品"};
        QTest::newRow("recycle") << 5 << QStringList{"还原至本地仓库"};
        QTest::newRow("search") << 6 << QStringList{"上传", "-", "复制商品", "复制商品编号"};
    }
    void contextMenuPerClass()
    {
        QFETCH(int, vumoClass);
        QFETCH(QStringList, tail);
        const VumoMenu menu = VumoContextMenu(vumoClass, true, false);
        QCOMPARE(texts(menu), QStringList({"勾选", "取消勾选", "全选", "-", "本地删除"}) + tail);
        QCOMPARE(find(menu, "本地删除")->data.toBool(), true);
        if (const VumoMenuEntry* online = find(menu, "删除待售商品")) {
            QCOMPARE(online->command, VumoCommand::DeleteVumo);
            QCOMPARE(online->data.toBool(), false);
        }
    }

    void contextMenuOffRowsAndPasteState()
    {
        QCOMPARE(texts(VumoContextMenu(1, false, false)), QStringList({"新建模板", "粘贴商品"}));
        QCOMPARE(texts(VumoContextMenu(4, false, false)), QStringList({"新建商品", "粘贴商品"}));
        for (int c : {2, 3, 5, 6, -1})
            QVERIFY2(VumoContextMenu(c, false, false).isEmpty(), qPrintable(QString::number(c)));
        QCOMPARE(find(VumoContextMenu(4, false, true), "粘贴商品")->enabled, false);
        QCOMPARE(find(VumoContextMenu(1, true, true), "粘贴商品")->enabled, false);
        QCOMPARE(find(VumoContextMenu(1, true, false), "粘贴商品")->enabled, true);
    }

    void templateMenuShowsTenAndMore()
    {
        QList<QPair<QString, QString>> templates;
        for (int i = 0; i < 10; ++i)
            templates << qMakePair(QStringLiteral("模板%1").arg(i), QStringLiteral("c%1").arg(i));
        VumoMenu menu = VumoNewVumoMenu(templates);
        QCOMPARE(menu.size(), 13); // two commands, a separator, ten templates
        QVERIFY(!find(menu, "更多模板"));
        QCOMPARE(menu.at(12).data.toString(), QStringLiteral("c9"));
        QCOMPARE(menu.at(12).command, VumoCommand::TemplateToNewVumo);

        templates << qMakePair(QStringLiteral("模板10"), QStringLiteral("c10"))
                  << qMakePair(QStringLiteral("模板11"), QStringLiteral("c11"));
        menu = VumoNewVumoMenu(templates);
        int templateEntries = 0;
        for (const VumoMenuEntry& e : menu)
            templateEntries += e.command == VumoCommand::TemplateToNewVumo ? 1 : 0;
        QCOMPARE(templateEntries, 10);
        QCOMPARE(texts(menu).mid(13), QStringList({"-", "更多模板"}));
        QCOMPARE(menu.last().command, VumoCommand::MoreTemplate);

        QCOMPARE(texts(VumoNewVumoMenu({})), QStringList({"新建新品", "新建模板", "-"}));
    }

    // A command is enabled exactly when it has a handler and its rule allows it; each is
    // declared once, and a disabled one never runs.
    void commandTableDeclaresOnceAndEnablesByHandlerAndRule()
    {
        VumoCommandTable table;
        QList<QVariant> ran;
        bool allowed = false;
        QVERIFY(table.Declare({VumoCommand::BatchEdit,
                               QStringLiteral("批量修改"),
                               {},
                               QStringLiteral("批量修改商品信息"),
                               [&ran](const QVariant& data) { ran << data; },
                               [&allowed] { return allowed; }}));
        QVERIFY(table.Declare({VumoCommand::QuickImport, QStringLiteral("商品导入"), {}, {}, {}, {}}));
        QVERIFY(table.Declare({VumoCommand::CopyVumo,
                               QStringLiteral("复制商品"),
                               {},
                               {},
                               [&ran](const QVariant&) { ran << QStringLiteral("copy"); },
                               {}}));
        // Declared twice, or not a command: refused, the first declaration stays.
        QVERIFY(!table.Declare({VumoCommand::CopyVumo, QStringLiteral("again"), {}, {}, {}, {}}));
        QVERIFY(!table.Declare({VumoCommand::None, QStringLiteral("x"), {}, {}, [](const QVariant&) {}, {}}));
        QVERIFY(!table.Declare({VumoCommand::Count, QStringLiteral("x"), {}, {}, [](const QVariant&) {}, {}}));
        QCOMPARE(table.Find(VumoCommand::CopyVumo)->text, QStringLiteral("复制商品"));

        QVERIFY(!table.IsEnabled(VumoCommand::BatchEdit)); // the rule says no
        QVERIFY(!table.Run(VumoCommand::BatchEdit, 3));
        allowed = true;
        QVERIFY(table.Run(VumoCommand::BatchEdit, 3));
        QVERIFY(!table.IsEnabled(VumoCommand::QuickImport)); // no handler: not built
        QVERIFY(!table.Run(VumoCommand::QuickImport));
        QVERIFY(!table.Run(VumoCommand::DeleteVumo)); // never declared
        QVERIFY(table.Run(VumoCommand::CopyVumo));
        QCOMPARE(ran, QList<QVariant>({3, QStringLiteral("copy")}));

        QCOMPARE(table.ToolTip(VumoCommand::BatchEdit), QStringLiteral("批量修改商品信息"));
        QCOMPARE(table.ToolTip(VumoCommand::CopyVumo), QStringLiteral("复制商品"));
        QCOMPARE(table.ToolTip(VumoCommand::QuickImport), VumoNotAvailableTip());
        const QList<VumoCommand> missing = table.Undeclared();
        QCOMPARE(missing.size(), int(VumoCommand::Count) - 1 - 3);
        QVERIFY(missing.contains(VumoCommand::DeleteVumo) && !missing.contains(VumoCommand::CopyVumo));
    }

    void deletePlansPerClass()
    {
        const VumoDeletePlan templates = VumoDeletePlanFor(1, true);
        QCOMPARE(templates.question, QStringLiteral("您确认要删除选中的模板吗？\n注意：选中的模板将彻底删除！"));
        QVERIFY(templates.Permanent());
        QCOMPARE(templates.TargetClass(), -1);

        const VumoDeletePlan onSale = VumoDeletePlanFor(2, false); // on-sale listings never go online
        QCOMPARE(onSale.kind, VumoDeleteKind::RecycleBin);
        QVERIFY(onSale.question.endsWith(QStringLiteral("仅将其放入本地回收站，后台商品不受影响！")));
        QCOMPARE(onSale.TargetClass(), 5);

        QCOMPARE(VumoDeletePlanFor(3, true).kind, VumoDeleteKind::RecycleBin);
        const VumoDeletePlan online = VumoDeletePlanFor(3, false);
        QVERIFY(online.Online());
        QCOMPARE(online.TargetClass(), 5);
        QCOMPARE(online.question,
                 QStringLiteral("您确认要删除选中的商品吗？\n注意：选中的待售商品将从商家后台删除，同时Quorvia工作台将"
                                "其放入本地回收站！"));
        QCOMPARE(VumoDeletePlanFor(4, true).question,
                 QStringLiteral("您确认要删除选中的商品吗？\n注意：选中的商品Quorvia工作台将其放入本地回收站！"));
        QVERIFY(VumoDeletePlanFor(5, true).Permanent());
        QCOMPARE(VumoDeletePlanFor(5, true).question,
                 QStringLiteral("您确认要删除选中的商品吗？\n注意：选中的商品将彻底删除！"));

        const VumoDeletePlan search = VumoDeletePlanFor(6, true);
        QVERIFY(!search.Deletes());
        QCOMPARE(search.question, QStringLiteral("您确认要删除选中的商品吗？"));

        QCOMPARE(VumoDeleteSummary(QStringLiteral("商品"), false, 3, 2, 1),
                 QStringLiteral("已完成删除商品，共完成3个，其中成功2个，失败1个"));
        QCOMPARE(VumoDeleteSummary(QStringLiteral("模板"), true, 1, 1, 0),
                 QStringLiteral("删除模板已取消，共完成1个，其中成功1个，失败0个"));
    }

    void pasteClipboardAndAddress()
    {
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(VumoPasteAllowed(c), c == 1 || c == 4);
        QCOMPARE(VumoPasteStatus(3), -1);

        QCOMPARE(VumoIdsClipboardText({1000000001, 0, 42, -1}), QStringLiteral("1000000001\n42"));
        QVERIFY(VumoIdsClipboardText({}).isEmpty());

        QCOMPARE(VumoListingPageUrl(QStringLiteral("http://item.example/%1.html"), 123),
                 QStringLiteral("http://item.example/123.html"));
        QVERIFY(VumoListingPageUrl(QStringLiteral("http://item.example/%1.html"), 0).isEmpty());
        QVERIFY(VumoListingPageUrl(QStringLiteral("http://item.example/"), 5).isEmpty());
    }

    void pasteSavesAnIndependentCopy()
    {
        SharedStore shared;
        QVERIFY(shared.add(QStringLiteral("src"), 5001, 8));
        const QDateTime now(QDate(2025, 1, 2), QTime(3, 4));
        Quorvia::vumo::entity::VumoDataEntity copy;
        QString message;
        QVERIFY(!PasteVumoCopy(*shared.store, QStringLiteral("src"), 2, now, QStringLiteral("new1"), copy, message));
        QCOMPARE(message, QStringLiteral("粘贴：当前分类不能进行粘贴操作！"));
        QVERIFY(
            !PasteVumoCopy(*shared.store, QStringLiteral("missing"), 4, now, QStringLiteral("new1"), copy, message));
        QCOMPARE(message, QStringLiteral("粘贴：获取商品信息失败"));

        Quorvia::vumo::entity::VumoDataEntity local;
        QVERIFY(PasteVumoCopy(*shared.store, QStringLiteral("src"), 4, now, QStringLiteral("new1"), local, message));
        QCOMPARE(shared.statusOf(QStringLiteral("new1")), 2014);
        QCOMPARE(shared.fixture.scalar("SELECT vumo_id FROM vumo_data WHERE client_id='new1'").toLongLong(), 0);
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_sku WHERE client_id='new1'").toInt(), 2);
        // The copy's SKUs do not point at the original's marketplace SKUs.
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_sku WHERE client_id='new1' AND sku_id>0").toInt(), 0);
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_sku WHERE client_id='src' AND sku_id>0").toInt(), 2);
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_image WHERE client_id='new1'").toInt(), 3);
        QCOMPARE(shared.statusOf(QStringLiteral("src")), 8);

        Quorvia::vumo::entity::VumoDataEntity tmpl;
        QVERIFY(PasteVumoCopy(*shared.store, QStringLiteral("src"), 1, now, QStringLiteral("new2"), tmpl, message));
        QCOMPARE(shared.fixture.scalar("SELECT template_name FROM vumo_data WHERE client_id='new2'").toString(),
                 QStringLiteral("模板2501020304"));
        QCOMPARE(shared.statusOf(QStringLiteral("new2")), 2013);

        QList<QPair<QString, QString>> list;
        QVERIFY(FillTemplateList(*shared.store, list));
        QCOMPARE(list, (QList<QPair<QString, QString>>{{QStringLiteral("模板2501020304"), QStringLiteral("new2")}}));
    }

    void restoreAndFirstSku()
    {
        SharedStore shared;
        QVERIFY(shared.add(QStringLiteral("bin"), 7001, 2015));
        QVERIFY(shared.add(QStringLiteral("live"), 7002, 8));
        QCOMPARE(FirstSkuIdOf(*shared.store, QStringLiteral("live")) / 10, 7002);
        QCOMPARE(FirstSkuIdOf(*shared.store, QStringLiteral("none")), 0);

        QVERIFY(!RestoreVumoFromRecycleBin(*shared.store, QStringLiteral("live"))); // not in the bin
        QCOMPARE(shared.statusOf(QStringLiteral("live")), 8);
        QVERIFY(RestoreVumoFromRecycleBin(*shared.store, QStringLiteral("bin")));
        QCOMPARE(shared.statusOf(QStringLiteral("bin")), 2014);
        QCOMPARE(shared.fixture.scalar("SELECT vumo_id FROM vumo_data WHERE client_id='bin'").toLongLong(), 0);
        QCOMPARE(FirstSkuIdOf(*shared.store, QStringLiteral("bin")), 0);
        QVERIFY(!RestoreVumoFromRecycleBin(*shared.store, QString()));

        // A shop-category change moves the counts of the listing's own class, whatever node is
        // on show: found by client id, else by marketplace number; unknown listings move nothing.
        QCOMPARE(StoredClassOf(*shared.store, QStringLiteral("live"), 0), int(VumoClassOnSale));
        QCOMPARE(StoredClassOf(*shared.store, QString(), 7002), int(VumoClassOnSale));
        QCOMPARE(StoredClassOf(*shared.store, QStringLiteral("bin"), 0), int(VumoClassLocal));
        QCOMPARE(StoredClassOf(*shared.store, QStringLiteral("gone"), 0), int(VumoClassNone));
    }

    // A worker destroyed while it runs stops and waits before its rows and plan go.
    void deleteThreadDestroyedWhileRunning()
    {
        SharedStore shared;
        // The rows and plan are the thread's own copies: nothing else keeps them alive.
        const auto manyRows = [] {
            QList<VUMO_LIST_STRUCT> rows;
            for (int i = 0; i < 3000; ++i)
                rows << rowOf(QStringLiteral("none%1").arg(i), i + 1);
            return rows;
        };
        QLoggingCategory::setFilterRules(QStringLiteral("vumo.warning=false")); // no such listings: one line each
        const auto restore = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        for (int round = 0; round < 5; ++round) {
            auto thread = std::make_unique<VumoDeleteThread>(VumoDeletePlanFor(5, true), manyRows());
            QVERIFY(thread->Start());
            QTest::qWait(2);
            thread.reset();
        }
    }

    void deleteThreadLocalKinds()
    {
        SharedStore shared;
        QVERIFY(shared.add(QStringLiteral("a"), 1, 2014));
        QVERIFY(shared.add(QStringLiteral("b"), 2, 2014));
        int deletedSignals = 0;
        const auto run = [&deletedSignals](int vumoClass, const QList<VUMO_LIST_STRUCT>& rows) {
            VumoDeleteThread thread(VumoDeletePlanFor(vumoClass, true), rows);
            QSignalSpy deleted(&thread, &VumoDeleteThread::OneVumoDeletedSignal);
            thread.start();
            thread.wait(30000);
            deletedSignals = int(deleted.count());
            return thread.Outcome();
        };
        QCOMPARE(run(4, {rowOf("a", 1), rowOf("b", 2)}).succeeded, 2);
        QCOMPARE(deletedSignals, 2);
        QCOMPARE(shared.statusOf("a"), 2015);
        QCOMPARE(shared.statusOf("b"), 2015);
        QCOMPARE(run(5, {rowOf("a", 1)}).succeeded, 1);
        QCOMPARE(shared.statusOf("a"), -1); // gone, with its SKUs
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_sku WHERE client_id='a'").toInt(), 0);
        // Search results: nothing is touched.
        QCOMPARE(run(6, {rowOf("b", 2)}).done, 0);
        QCOMPARE(shared.statusOf("b"), 2015);
    }

    void deleteThreadOnlineCountsFailuresAndGoesOn()
    {
        SharedStore shared;
        for (int i = 1; i <= 4; ++i)
            QVERIFY(shared.add(QStringLiteral("f%1").arg(i), 9000 + i, 1));
        TestServer server;
        QVERIFY(server.listen());
        server.setHandler([](const VumoTest::HttpRequestSeen& request, QTcpSocket* socket) {
            const QByteArray json = VumoTest::FormField(request.body, "orvane_param_json");
            QByteArray answer;
            if (json.contains("9002")) // refused by the marketplace
                answer = R"({"error_response":{"code":"66","zh_desc":"系统繁忙"}})";
            else if (json.contains("9003")) // already gone: counts as deleted
                answer = R"({"error_response":{"code":"11200004","zh_desc":"商品不存在"}})";
            else
                answer = R"({"vumo_delete_response":{"vumo_id":")" + json.mid(json.indexOf("90"), 4) + R"("}})";
            TestServer::respond(socket, 200, answer);
        });
        QList<VUMO_LIST_STRUCT> rows;
        rows << rowOf(QStringLiteral("f5"), 0); // no marketplace number: never sent
        for (int i = 1; i <= 4; ++i)
            rows << rowOf(QStringLiteral("f%1").arg(i), 9000 + i);

        // The gateway comes from the address book of the data root.
        VumoTest::AddressBookAt book(server.url(QString()));
        QVERIFY2(book.ok(), qPrintable(book.error()));
        VumoDeleteThread thread(VumoDeletePlanFor(3, false), rows);
        QCOMPARE(thread.Total(), 5);
        QSignalSpy progress(&thread, &VumoDeleteThread::ProgressSignal);
        QSignalSpy deleted(&thread, &VumoDeleteThread::OneVumoDeletedSignal);
        QVERIFY(thread.Start());
        // The server answers on this thread: keep its event loop running while waiting.
        QTRY_VERIFY_WITH_TIMEOUT(thread.isFinished(), 60000);
        QCOMPARE(server.requests().size(), 4);
        QCOMPARE(thread.Done(), 5);
        QCOMPARE(thread.Succeeded(), 3);
        QCOMPARE(thread.Failed(), 2);
        QVERIFY(!thread.Cancelled());
        QCOMPARE(thread.LastError(), QStringLiteral("系统繁忙")); // the marketplace's words for f2
        QCOMPARE(progress.count(), 5);
        QCOMPARE(progress.last().at(0).toInt(), 5);
        QCOMPARE(progress.last().at(1).toInt(), 5);
        QCOMPARE(deleted.count(), 3);
        QCOMPARE(shared.statusOf("f1"), 2015);
        QCOMPARE(shared.statusOf("f2"), 1); // still for sale online, so it stays in its class
        QCOMPARE(shared.statusOf("f3"), 2015);
        QCOMPARE(shared.statusOf("f4"), 2015);
    }

    // Each button shows its command of the table (a click runs it: TestSearchPanel); only built
    // commands are enabled, and every command the page knows is declared (a missed one would be
    // silently disabled).
    void toolBarFollowsTheCommandTable()
    {
        Page page;
        QVERIFY(page.ready());
        VumoMainWidget& widget = *page.widget;
        QVERIFY(widget.Commands().Undeclared().isEmpty());
        const QList<int> built = {VumoMainWidget::CommandNewVumo,      VumoMainWidget::CommandCatsDownload,
                                  VumoMainWidget::CommandDownloadVumo, VumoMainWidget::CommandUploadVumo,
                                  VumoMainWidget::CommandAdvanceSearch,
                                  VumoMainWidget::CommandDeleteVumo,   VumoMainWidget::CommandSettings,
                                  VumoMainWidget::CommandToggleSearch};
        for (int i = 0; i < VumoMainWidget::CommandCount; ++i) {
            QToolButton* button = widget.CommandButton(VumoMainWidget::Command(i));
            QVERIFY(button);
            QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->text()));
            QCOMPARE(button->isEnabled(), built.contains(i));
            if (!built.contains(i))
                QCOMPARE(button->toolTip(), VumoNotAvailableTip());
        }
    }

    // The menus come from the rules with the login's stock mode, an entry runs its command with
    // its own data once the menu has returned, and an unbuilt one is disabled.
    void menusRunTheirCommands()
    {
        setStockMode(1);
        QList<QPair<QString, int>> listings;
        for (int i = 0; i < 12; ++i)
            listings << qMakePair(QStringLiteral("t%1").arg(i, 2, 10, QLatin1Char('0')), 2013);
        listings << qMakePair(QStringLiteral("for"), 1);
        Page page(listings);
        QVERIFY(page.ready());
        VumoMainWidget& widget = *page.widget;

        QMenu* batch = widget.CommandMenu(VumoMainWidget::CommandBatchEdit);
        QCOMPARE(batch->actions().size(), VumoBatchEditMenu(1).size());
        QAction* price = actionOf(batch, QStringLiteral("导入Yv价"));
        QVERIFY(!price->isEnabled());

        // The new-listing menu is rebuilt from the store's templates when it opens.
        widget.OnShowNewVumoMenu();
        QMenu* newMenu = widget.CommandMenu(VumoMainWidget::CommandNewVumo);
        QCOMPARE(newMenu->actions().size(), 15); // two commands, separator, ten templates, separator, more
        trigger(actionOf(newMenu, QStringLiteral("更多模板")));
        QCOMPARE(widget.CurrentClass(), 1);
        QCOMPARE(page.rows(), 12);

        page.switchTo(3);
        page.selectRows({0});
        std::unique_ptr<QMenu> menu(widget.CreateContextMenu(page.rowPoint(0)));
        QVERIFY(actionOf(menu.get(), QStringLiteral("上传"))->isEnabled());
        trigger(actionOf(menu.get(), QStringLiteral("勾选")));
        QCOMPARE(page.model()->CheckedCount(), 1);
        // Below the rows of an online class the rules offer nothing: no menu at all.
        QVERIFY(!widget.CreateContextMenu(QPoint(20, widget.TableView()->viewport()->height() - 5)));
    }

    void classSwitchSetsTabsColumnsAndButtons()
    {
        Page page({{"a", 8}, {"b", 2014}});
        QVERIFY(page.ready());
        VumoMainWidget& widget = *page.widget;
        auto* bar = widget.findChild<QTabBar*>(QStringLiteral("vumo_tabbar"));
        QCOMPARE(widget.CurrentClass(), 4);
        QCOMPARE(bar->count(), 2);
        QCOMPARE(page.rows(), 1);
        QVERIFY(widget.TableView()->isColumnHidden(ColumnVumoId));

        page.switchTo(2);
        QCOMPARE(bar->count(), 3);
        QVERIFY(!widget.TableView()->isColumnHidden(ColumnVumoId));
        bar->setCurrentIndex(1); // changed and not uploaded: the on-sale listing was uploaded
        QCOMPARE(page.rows(), 0);
        bar->setCurrentIndex(0);
        QCOMPARE(page.rows(), 1);

        page.switchTo(6);
        QVERIFY(!widget.CommandButton(VumoMainWidget::CommandDeleteVumo)->isEnabled());
        QCOMPARE(page.rows(), 0); // no search yet
        page.switchTo(5);
        QVERIFY(widget.CommandButton(VumoMainWidget::CommandDeleteVumo)->isEnabled());
    }

    // The seller's way through the context menu: right-click, "本地删除", answer the box by
    // its button inside its own event loop, then click and tick rows. The command must not run
    // inside the menu's handler, or the menu is destroyed under it while the box is open.
    void contextMenuDeleteThroughTheRealLoops()
    {
        Page page({{"a", 2014}, {"b", 2014}, {"c", 2014}});
        QVERIFY(page.ready());
        QCOMPARE(page.rows(), 3);
        VumoTableView* view = page.widget->TableView();
        auto* frozen = view->findChild<QTableView*>(QStringLiteral("vumo_frozen_tableview"));
        QVERIFY(frozen);
        const auto clickAndTickRows = [&] {
            for (int row = 0; row < page.rows(); ++row) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, page.rowPoint(row));
                const QRect check = frozen->visualRect(page.model()->index(row, 0));
                QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, check.center());
                QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, check.center());
                QCoreApplication::processEvents();
            }
        };

        {
            SellerDriver seller;
            seller.menuEntry = QStringLiteral("本地删除");
            seller.answer = QMessageBox::No;
            page.selectRows({0});
            rightClick(view, page.rowPoint(0));
            QVERIFY(QTest::qWaitFor([&] { return seller.asked.size() == 1; }, 10000));
            QTest::qWait(50); // the flow unwinds after the answer
            QCOMPARE(seller.menuClicks, 1);
            QVERIFY(seller.asked.first().endsWith(QStringLiteral("将其放入本地回收站！")));
        }
        clickAndTickRows();
        QCOMPARE(page.rows(), 3);
        QCOMPARE(page.count(4), 3);

        {
            SellerDriver seller;
            seller.menuEntry = QStringLiteral("本地删除");
            seller.answer = QMessageBox::Yes;
            page.selectRows({1});
            rightClick(view, page.rowPoint(1));
            QVERIFY(QTest::qWaitFor([&] { return !seller.progressText.isEmpty(); }, 10000));
            QVERIFY(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 10000));
            QCOMPARE(seller.progressText, QStringLiteral("已完成删除商品，共完成1个，其中成功1个，失败0个"));
        }
        clickAndTickRows();
        QCOMPARE(page.rows(), 2);
        QCOMPARE(page.count(4), 2);
        QCOMPARE(page.count(5), 1);
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data WHERE vumo_status=2015").toInt(), 1);
    }

    // Templates deleted for good leave the workbench's template list, so the new-listing menu
    // does not offer them any more.
    void deletingTemplatesEmptiesTheTemplateList()
    {
        Page page({{"t1", 2013}, {"t2", 2013}});
        QVERIFY(page.ready());
        page.switchTo(1);
        auto& templates = Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo();
        QVERIFY(FillTemplateList(*page.store, templates));
        QCOMPARE(templates.size(), 2);
        SellerDriver seller;
        seller.answer = QMessageBox::Yes;
        page.selectRows({0});
        page.widget->OnMenuDeleteVumo(true);
        QCOMPARE(seller.progressText, QStringLiteral("已完成删除模板，共完成1个，其中成功1个，失败0个"));
        QCOMPARE(page.rows(), 1);
        QVERIFY(templates.isEmpty());
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data").toInt(), 1);
    }

    // The online delete end to end: the gateway from the data root's address book, the real
    // modal progress loop, and the seller closing the window while the call hangs. The window
    // cancels, stays up until the call has ended (the GUI thread keeps running meanwhile), and
    // the listing whose call finished has left the table and its count.
    void closingTheProgressWindowDuringAStalledDelete()
    {
        Page page({{"f1", 1}, {"f2", 2}});
        QVERIFY(page.ready());
        UserInfo::instance()->SetLogin(VumoTest::DemoLogin().Record());
        StallingGateway gateway;
        QVERIFY(gateway.start());
        VumoTest::AddressBookAt book(gateway.baseUrl());
        QVERIFY2(book.ok(), qPrintable(book.error()));
        page.switchTo(3);
        QCOMPARE(page.rows(), 2);
        page.widget->TableView()->sortByColumn(ColumnVumoId, Qt::AscendingOrder);
        page.selectRows({0, 1});
        page.answerBoxes(QMessageBox::Yes);

        bool closed = false;
        bool stayedOpen = true;
        int ticksWhileStalled = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* frame = modal ? modal->findChild<Quorvia::core::ui::VaProgressFrame*>() : nullptr;
            if (!closed) {
                if (frame && gateway.arrived() == 1) {
                    closed = true;
                    QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
                }
                return;
            }
            if (gateway.answered())
                return;
            ++ticksWhileStalled;
            stayedOpen = stayedOpen && frame && modal->isVisible() && frame->IsCanceled();
            if (ticksWhileStalled == 3)
                gateway.release();
        });
        ticker.start(10);
        std::unique_ptr<QMenu> menu(page.widget->CreateContextMenu(page.rowPoint(0)));
        trigger(actionOf(menu.get(), QStringLiteral("删除待售商品")));
        ticker.stop();

        QVERIFY(closed);
        QVERIFY2(ticksWhileStalled >= 3, "the GUI thread stopped while the worker finished");
        QVERIFY(stayedOpen);
        QVERIFY(!QApplication::activeModalWidget()); // it closed by itself once the worker ended
        // The call under way finished; the next listing was never sent.
        QCOMPARE(gateway.arrived(), 1);
        QCOMPARE(page.statusOf("f1"), 2015);
        QCOMPARE(page.statusOf("f2"), 2);
        QCOMPARE(page.rows(), 1);
        QCOMPARE(page.count(3), 1);
        QCOMPARE(page.count(5), 1);
    }

    // Copy and paste, copy of listing numbers, opening the listing page and restoring from the
    // recycle bin reach the table, the tree and the desktop; the rules and store steps behind
    // them are tested above.
    void rowCommandsReachTableTreeAndDesktop()
    {
        Page page({{"a", 8}, {"b", 8}, {"c", 520}, {"bin", 2015}});
        QVERIFY(page.ready());
        page.switchTo(2);
        page.widget->TableView()->sortByColumn(ColumnVumoId, Qt::AscendingOrder);
        page.selectRows({0, 1, 2});
        page.widget->OnMenuCopyVumoIdToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1000000001\n1000000002\n1000000003"));
        page.widget->OnMenuCopyVumo();

        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "handleUrl");
        m_openedUrls.clear();
        page.selectRows({1});
        page.widget->OnMenuOpenVumoUrl();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(m_openedUrls.size(), 1);
        // The address book's listing address with the listing's first SKU number (makeListing: id*10+1).
        QVERIFY2(m_openedUrls.first().toString().endsWith(QStringLiteral("/item/10000000021.html")),
                 qPrintable(m_openedUrls.first().toString()));

        page.answerBoxes(QMessageBox::Ok);
        page.widget->OnMenuPasteVumo();
        QCOMPARE(page.questions, QStringList({QStringLiteral("粘贴：当前分类不能进行粘贴操作！")}));
        page.switchTo(4);
        page.widget->OnMenuPasteVumo();
        QCOMPARE(page.questions.size(), 1); // no message on success
        QCOMPARE(page.rows(), 3);
        QCOMPARE(page.count(4), 3);

        page.switchTo(5);
        page.selectRows({0});
        std::unique_ptr<QMenu> menu(page.widget->CreateContextMenu(page.rowPoint(0)));
        trigger(actionOf(menu.get(), QStringLiteral("还原至本地仓库")));
        QCOMPARE(page.rows(), 0);
        QCOMPARE(page.count(4), 4);
        QCOMPARE(page.statusOf("bin"), 2014);
    }

    void statusMessages()
    {
        Page page;
        VumoMainWidget& widget = *page.widget;
        auto* status = widget.findChild<QLabel*>(QStringLiteral("VumoStatusLabel"));
        auto* error = widget.findChild<QLabel*>(QStringLiteral("VumoErrorLabel"));
        QVERIFY(status && error);
        widget.OnShowStatusMsg(QStringLiteral("已保存"), 0);
        QCOMPARE(status->text(), QStringLiteral("已保存"));
        // Listing text may hold markup; it must be shown, not interpreted.
        widget.OnShowStatusMsg(QStringLiteral("价格<b>无效</b>"), 1);
        QCOMPARE(error->text(), QStringLiteral("<font color=#FF0000>价格&lt;b&gt;无效&lt;/b&gt;</font>"));
        widget.OnShowStatusMsg(QStringLiteral("x"), 2); // index 2 clears only with an empty text
        QVERIFY(!status->text().isEmpty());
        widget.OnShowStatusMsg(QString(), 2);
        QVERIFY(status->text().isEmpty() && error->text().isEmpty());
    }

    // "确定" in the settings keeps the column order and widths the seller changed in the table
    // since the layout was last saved.
    void settingsKeepTheColumnsChangedInTheTable()
    {
        Page page({{"a", 8}});
        QVERIFY(page.ready());
        QHeaderView* header = page.widget->TableView()->VumoHeader();
        page.widget->hide(); // saves the layout
        page.widget->show();
        QVERIFY(!header->isSectionHidden(VumoColCostPrice) && !header->isSectionHidden(VumoColItemNum));
        header->moveSection(header->visualIndex(VumoColCostPrice), 5);
        const int width = header->sectionSize(VumoColItemNum) + 57;
        header->resizeSection(VumoColItemNum, width);

        bool answered = false;
        auto* timer = new QTimer(page.widget.get());
        connect(timer, &QTimer::timeout, timer, [timer, &answered] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* frame = dialog ? dialog->findChild<SettingsFrame*>() : nullptr;
            if (!frame)
                return;
            answered = true;
            timer->stop();
            frame->findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        });
        timer->start(20);
        page.widget->CommandButton(VumoMainWidget::CommandSettings)->click();
        delete timer;
        QVERIFY(answered);
        QCOMPARE(header->visualIndex(VumoColCostPrice), 5);
        QCOMPARE(header->sectionSize(VumoColItemNum), width);
    }

private:
    QList<QUrl> m_openedUrls;
};

VUMO_TEST_CLASS(TestMainWidget)
#include "TestMainWidget.moc"
