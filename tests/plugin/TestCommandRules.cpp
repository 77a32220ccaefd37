// The listing page's rules without widgets: menus per class, delete texts and counting, paste,
// clipboard text, listing address; and the store and marketplace steps behind them.
#include "AddressBook.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include "database/VumoDBMgr.h"
#include "database/VumoStoreFixture.h"
#include "entity/VumoSkuEntity.h"
#include "plugin/VumoClassLayout.h"
#include "plugin/VumoCommandRules.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoDeleteThread.h"
#include "plugin/VumoListingCommands.h"

#include <QSignalSpy>
#include <QTest>

using namespace Quorvia::vumo;
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

// A store on a temporary file that the whole plug-in reaches through VumoDBMgr.
struct SharedStore
{
    SharedStore()
    {
        store = fixture.sellerStore();
        store->CheckDatabase();
    }
    ~SharedStore()
    {
        store.reset();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
    }
    bool add(const QString& clientId, qint64 vumoId, int status)
    {
        auto record = VumoTest::makeListing(clientId, vumoId);
        record->set_vumo_status(status);
        return store->SaveVumo(*record);
    }
    int statusOf(const QString& clientId)
    {
        const QVariant v = fixture.scalar(
            QStringLiteral("SELECT vumo_status FROM vumo_data WHERE client_id='%1'").arg(clientId));
        return v.isValid() ? v.toInt() : -1;
    }

    VumoTest::StoreFixture fixture;
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> store;
};

} // namespace

class TestCommandRules : public QObject
{
    Q_OBJECT

private slots:
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
        QCOMPARE(find(VumoContextMenu(4, false, false), "新建商品")->command, VumoCommand::NewVumo);
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
        QCOMPARE(texts(menu).mid(0, 3), QStringList({"新建新品", "新建模板", "-"}));
        QCOMPARE(texts(menu).mid(13), QStringList({"-", "更多模板"}));
        QCOMPARE(menu.last().command, VumoCommand::MoreTemplate);

        QCOMPARE(texts(VumoNewVumoMenu({})), QStringList({"新建新品", "新建模板", "-"}));
        QCOMPARE(
            VumoTemplateListSql(),
            QStringLiteral("SELECT template_name,client_id FROM vumo_data WHERE (vumo_status=2013) ORDER BY modified "
                           "DESC, client_id DESC LIMIT 11"));
    }

    void batchEditMenuFollowsStockMode()
    {
        const QStringList full = texts(VumoBatchEditMenu(-1));
        QCOMPARE(full,
                 QStringList({"商品名称", "广告语", "包装清单", "售后服务", "商品描述", "店内分类", "-", "Yv价",
                              "导入Yv价", "市场价", "成本价", "尺寸及重量", "-", "库存", "导入库存", "导入图书规格参数",
                              "导入音像规格参数", "导入商品货号"}));
        const VumoMenu noStock = VumoBatchEditMenu(1);
        QCOMPARE(
            texts(noStock),
            QStringList({"商品名称", "广告语", "包装清单", "售后服务", "商品描述", "店内分类", "-", "Yv价", "导入Yv价",
                         "市场价", "成本价", "尺寸及重量", "导入图书规格参数", "导入音像规格参数", "导入商品货号"}));
        // Pages and import kinds the slots read back.
        QCOMPARE(find(noStock, "商品描述")->data.toInt(), 9);
        QCOMPARE(find(noStock, "尺寸及重量")->data.toInt(), 10);
        QCOMPARE(find(noStock, "导入商品货号")->data.toInt(), 6);
        QCOMPARE(find(VumoBatchEditMenu(0), "导入库存")->data.toInt(), 7);
        QCOMPARE(VumoImportCsvTitle(find(noStock, "导入Yv价")->data.toInt()), QStringLiteral("导入SKUYv价CSV"));
        QVERIFY(VumoImportCsvTitle(3).isEmpty());
    }

    void importAndExportMenus()
    {
        const VumoMenu import = VumoImportMenu();
        QCOMPARE(texts(import),
                 QStringList({"下载商品导入模板", "导入平台格式CSV", "-", "导入淘宝CSV", "-", "图书音像模板下载",
                              "导入图书CSV", "导入音像影视CSV"}));
        const VumoMenuEntry* sub = find(import, "图书音像模板下载");
        QCOMPARE(texts(sub->children), QStringList({"分类查询表", "详描字段格式模板", "图书导入模板", "音像导入模板"}));
        QCOMPARE(sub->children.at(0).data.toInt(), 11);
        QCOMPARE(find(import, "导入淘宝CSV")->data.toInt(), 3);
        QCOMPARE(texts(VumoExportMenu()), QStringList({"工作台商品导出", "图书商品导出", "音像影音商品导出"}));
        QCOMPARE(texts(VumoAdvanceSearchMenu()), QStringList({"高级搜索", "重复商品", "未分配店内分类的商品"}));
        QCOMPARE(texts(VumoCatsMenu()).size(), 2);
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
        QCOMPARE(templates.progressTitle, QStringLiteral("正在删除模板……"));
        QCOMPARE(templates.progressFormat, QStringLiteral("已完成删除模板%p%"));
        QCOMPARE(templates.countFormat, QStringLiteral("完成删除第%v个模板，共%m个模板"));

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
        QCOMPARE(VumoPasteStatus(1), 2013);
        QCOMPARE(VumoPasteStatus(4), 2014);
        QCOMPARE(VumoPasteStatus(3), -1);
        QCOMPARE(VumoPasteTemplateName(QDateTime(QDate(2024, 3, 5), QTime(14, 15, 16))),
                 QStringLiteral("模板2403051415"));

        const QString text = VumoIdsClipboardText({1000000001, 1000000002, 1000000003});
        QCOMPARE(text, QStringLiteral("1000000001\n1000000002\n1000000003"));
        QCOMPARE(VumoIdsClipboardText({0, 42, -1}), QStringLiteral("42"));
        QVERIFY(VumoIdsClipboardText({}).isEmpty());

        QCOMPARE(VumoListingPageUrl(QStringLiteral("http://item.example/%1.html"), 123),
                 QStringLiteral("http://item.example/123.html"));
        QVERIFY(VumoListingPageUrl(QStringLiteral("http://item.example/%1.html"), 0).isEmpty());
        QVERIFY(VumoListingPageUrl(QStringLiteral("http://item.example/"), 5).isEmpty());
        QCOMPARE(VumoTabCondition(2), QStringLiteral(" AND (upload_status=0)"));
        QCOMPARE(VumoTabCondition(3), QStringLiteral(" AND (upload_status=2)"));
        QVERIFY(VumoTabCondition(1).isEmpty());
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
    }

    void deleteThreadLocalKinds()
    {
        SharedStore shared;
        QVERIFY(shared.add(QStringLiteral("a"), 1, 2014));
        QVERIFY(shared.add(QStringLiteral("b"), 2, 2014));
        {
            VumoDeleteThread thread(VumoDeletePlanFor(4, true), {rowOf("a", 1), rowOf("b", 2)});
            QSignalSpy deleted(&thread, &VumoDeleteThread::OneVumoDeletedSignal);
            thread.start();
            QVERIFY(thread.wait(30000));
            QCOMPARE(thread.Succeeded(), 2);
            QCOMPARE(deleted.count(), 2);
        }
        QCOMPARE(shared.statusOf("a"), 2015);
        QCOMPARE(shared.statusOf("b"), 2015);
        {
            VumoDeleteThread thread(VumoDeletePlanFor(5, true), {rowOf("a", 1)});
            thread.start();
            QVERIFY(thread.wait(30000));
            QCOMPARE(thread.Succeeded(), 1);
        }
        QCOMPARE(shared.statusOf("a"), -1); // gone, with its SKUs
        QCOMPARE(shared.fixture.scalar("SELECT COUNT(*) FROM vumo_sku WHERE client_id='a'").toInt(), 0);
        {
            // Search results: nothing is touched.
            VumoDeleteThread thread(VumoDeletePlanFor(6, true), {rowOf("b", 2)});
            thread.start();
            QVERIFY(thread.wait(30000));
            QCOMPARE(thread.Done(), 0);
        }
        QCOMPARE(shared.statusOf("b"), 2015);
        {
            // Stopped before it began: nothing done, reported as cancelled.
            VumoDeleteThread thread(VumoDeletePlanFor(5, true), {rowOf("b", 2)});
            thread.Stop();
            thread.start();
            QVERIFY(thread.wait(30000));
            QVERIFY(thread.Cancelled());
            QCOMPARE(thread.Done(), 0);
        }
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
            QByteArray json;
            for (const auto& field : VumoTest::FormFields(request.body)) {
                if (field.first == "orvane_param_json")
                    json = field.second;
            }
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
};

VUMO_TEST_CLASS(TestCommandRules)
#include "TestCommandRules.moc"
