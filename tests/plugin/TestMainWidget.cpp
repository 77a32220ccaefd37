// The listing page as a seller uses it: tool bar and menus, class switches, context menus, the
// delete flow per class (the online one against a test gateway), paste, copy of listing
// numbers, opening the listing page and restoring from the recycle bin.
#include "AddressBook.h"
#include "support/ListingFixture.h"
#include "support/TempHome.h"
#include "support/TestMain.h"
#include "support/TestServer.h"

#include "database/VumoDBMgr.h"
#include "database/VumoStoreFixture.h"
#include "plugin/SettingsFrame.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoClassLayout.h"
#include "plugin/VumoClassRules.h"
#include "plugin/VumoClassification.h"
#include "plugin/VumoCommandTable.h"
#include "plugin/VumoCountThread.h"
#include "plugin/VumoHeaderView.h"
#include "plugin/VumoListingCommands.h"
#include "plugin/VumoMainWidget.h"
#include "plugin/VumoTableRules.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "plugin/hostservices/AppShareHelp.h"
#include "ui/MsgBox.h"
#include "ui/VaProgressFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <atomic>
#include <memory>

using Quorvia::core::ui::MsgBox;
using Quorvia::vumo::VumoMainWidget;
using namespace Quorvia::vumo;

namespace {

void setStockMode(int stockMode)
{
    Quorvia::core::plugin::LoginRecord record;
    record.stockMode = stockMode;
    UserInfo::instance()->SetLogin(record);
}

QStringList actionTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
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

// Plays the seller through the real menus and modal loops: picks `menuEntry` in the next popup
// menu by a mouse click, answers each message box with `answer` by clicking its button, and
// closes the progress window once it shows the end. Each step runs from a fresh timer, so it
// also fires inside the nested event loops that the steps open.
class SellerDriver
{
public:
    SellerDriver() { schedule(); }
    ~SellerDriver() { m_stopped = true; }

    QString menuEntry;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QStringList asked;
    QString progressText;
    int menuClicks = 0;

private:
    void schedule()
    {
        QTimer::singleShot(15, &m_context, [this] { tick(); });
    }
    void tick()
    {
        if (m_stopped)
            return;
        schedule(); // before acting: the action may run a nested loop
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (action->text() == menuEntry && menu->isVisible()) {
                    ++menuClicks;
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                    return;
                }
            }
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = modal->findChild<MsgBox*>()) {
            if (QPushButton* button = box->Button(answer)) {
                asked << box->Text();
                QTest::mouseClick(button, Qt::LeftButton);
            }
            return;
        }
        auto* frame = modal->findChild<Quorvia::core::ui::VaProgressFrame*>();
        if (frame && frame->IsFinished()) {
            progressText = frame->LabelText();
            QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
        }
    }

    QObject m_context;
    bool m_stopped = false;
};

// A right-click on a point of the table's viewport, as the window system delivers it.
void rightClick(QTableView* view, const QPoint& pos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
}

// An open-API gateway on its own thread whose delete call stalls until the test releases it
// (or 15 s pass), then answers that the listing was deleted. Being off the GUI thread, it
// answers even while the GUI thread is blocked.
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
                server.setHandler([this](const VumoTest::HttpRequestSeen& request, QTcpSocket* socket) {
                    ++m_arrived;
                    m_release.tryAcquire(1, 15000);
                    qint64 vumoId = 0;
                    for (const auto& field : VumoTest::FormFields(request.body)) {
                        if (field.first == "orvane_param_json")
                            vumoId = QJsonDocument::fromJson(field.second)
                                         .object()
                                         .value("vumo_id")
                                         .toVariant()
                                         .toLongLong();
                    }
                    const QByteArray body =
                        QJsonDocument(
                            QJsonObject{{"vumo_delete_response", QJsonObject{{"vumo_id", QString::number(vumoId)}}}})
                            .toJson(QJsonDocument::Compact);
                    m_answered = true;
                    VumoTest::TestServer::respond(socket, 200, body, {"Content-Type: application/json"});
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

// A seller with a store reached through VumoDBMgr, and the page over it.
struct Page
{
    explicit Page(const QList<QPair<QString, int>>& listings = {})
    {
        store = fixture.sellerStore();
        Quorvia::utils::AppShareHelp::instance()->Reload();
        store->CheckDatabase();
        qint64 vumoId = 1000000001;
        for (const auto& listing : listings) {
            auto record = VumoTest::makeListing(listing.first,
                                                listing.second == 2014 || listing.second == 2013 ? 0 : vumoId++);
            record->set_vumo_status(listing.second);
            if (listing.second == 2013)
                record->set_template_name(QStringLiteral("模板") + listing.first);
            store->SaveVumo(*record);
        }
        widget = std::make_unique<VumoMainWidget>();
        widget->resize(1200, 800);
        widget->show();
    }
    ~Page()
    {
        Quorvia::core::ui::SetMsgBoxHook({});
        widget.reset();
        Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo().clear();
        store.reset();
        Quorvia::vumo::database::VumoDBMgr::instance()->Reset();
    }
    bool ready()
    {
        if (!QTest::qWaitFor([this] { return widget->IsFirstLoadDone(); }, 5000)
            || !QTest::qWaitFor([this] { return !widget->Classification()->CountThread()->isRunning(); }, 5000))
            return false;
        QCoreApplication::processEvents(); // the counts the thread posted before it ended
        return true;
    }
    void switchTo(int vumoClass)
    {
        widget->Classification()->SetCurrentClass(vumoClass);
        QCoreApplication::processEvents();
    }
    VumoTableViewModel* model() const { return widget->TableView()->VumoModel(); }
    int rows() const { return model()->rowCount(); }
    int count(int vumoClass) const { return widget->Classification()->NodeCount(VumoClassNode(vumoClass)); }
    int statusOf(const QString& clientId) const
    {
        const QVariant v = fixture.scalar(
            QStringLiteral("SELECT vumo_status FROM vumo_data WHERE client_id='%1'").arg(clientId));
        return v.isValid() ? v.toInt() : -1;
    }
    QPoint rowPoint(int row) const
    {
        QTableView* view = widget->TableView();
        return view->visualRect(view->model()->index(row, 3)).center();
    }
    void selectRows(const QList<int>& rows)
    {
        widget->TableView()->clearSelection();
        for (int r : rows)
            widget->TableView()->selectionModel()->select(widget->TableView()->model()->index(r, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Answers every message box with `answer` and keeps the texts.
    void answerBoxes(QMessageBox::StandardButton answer)
    {
        Quorvia::core::ui::SetMsgBoxHook([this, answer](MsgBox& box) {
            questions << box.Text();
            return answer;
        });
    }
    // Closes the delete progress dialog once it shows the end, keeping its last label.
    void closeProgressWhenFinished()
    {
        auto* timer = new QTimer(widget.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* frame = top->findChild<Quorvia::core::ui::VaProgressFrame*>();
                if (frame && top->isVisible() && frame->IsFinished()) {
                    progressText = frame->LabelText();
                    frame->CancelButton()->click();
                    timer->deleteLater();
                    return;
                }
            }
        });
        timer->start(20);
    }

    VumoTest::StoreFixture fixture;
    std::shared_ptr<Quorvia::vumo::database::VumoDbInterface> store;
    std::unique_ptr<VumoMainWidget> widget;
    QStringList questions;
    QString progressText;
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

    // Each button shows and runs its command of the table; only built commands are enabled, and
    // every command the page knows is declared (a missed one would be silently disabled).
    void toolBarFollowsTheCommandTable()
    {
        Page page;
        QVERIFY(page.ready());
        VumoMainWidget& widget = *page.widget;
        const VumoCommandTable& table = widget.Commands();
        QVERIFY(table.Undeclared().isEmpty());
        auto* row = widget.findChild<QWidget*>(QStringLiteral("vumomanage_toolbar"));
        QVERIFY(row);
        const QStringList expected = {"新建新品", "更新类目", "下载商品", "上传商品", "批量修改",  "高级搜索",
                                      "商品导入", "商品导出", "删除商品", "设置",     "收起搜索栏"};
        const QList<int> built = {VumoMainWidget::CommandAdvanceSearch, VumoMainWidget::CommandDeleteVumo,
                                  VumoMainWidget::CommandSettings, VumoMainWidget::CommandToggleSearch};
        QStringList texts;
        for (int i = 0; i < VumoMainWidget::CommandCount; ++i) {
            QToolButton* button = widget.CommandButton(VumoMainWidget::Command(i));
            QVERIFY(button && row->isAncestorOf(button));
            texts << button->text();
            // Our own icons render at the bar's size.
            QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->text()));
            QCOMPARE(button->isEnabled(), built.contains(i));
            if (!built.contains(i))
                QCOMPARE(button->toolTip(), QStringLiteral("此功能尚未开放"));
        }
        QCOMPARE(texts, expected);
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandDeleteVumo)->toolTip(),
                 QStringLiteral("删除商品本地数据"));
        auto* settingsBar = row->findChild<QToolBar*>(QStringLiteral("SettingsToolBar"));
        QCOMPARE(widget.CommandButton(VumoMainWidget::CommandSettings)->parentWidget(), settingsBar);
        QVERIFY(!widget.CommandMenu(VumoMainWidget::CommandDownloadVumo));

        // A click runs the command: the search toggle hides the panel and says what comes next.
        QToolButton* toggle = widget.CommandButton(VumoMainWidget::CommandToggleSearch);
        toggle->click();
        QCOMPARE(toggle->text(), QStringLiteral("展开搜索栏"));
        QCOMPARE(toggle->toolTip(), QStringLiteral("展开搜索栏"));
        toggle->click();
        QCOMPARE(toggle->text(), QStringLiteral("收起搜索栏"));
    }

    // The menus show the rules' entries, enabled by the table, and an entry runs its command with
    // its own data once the menu has returned.
    void menusShowTheRulesEntriesAndRunTheirCommands()
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
        QStringList expected;
        for (const VumoMenuEntry& e : VumoBatchEditMenu(1))
            expected << (e.IsSeparator() ? QStringLiteral("-") : e.text);
        QCOMPARE(actionTexts(batch), expected);
        QAction* price = actionOf(batch, QStringLiteral("导入Yv价"));
        QVERIFY(!price->isEnabled()); // the import is not built yet
        QCOMPARE(price->toolTip(), QStringLiteral("此功能尚未开放"));
        QVERIFY(actionOf(widget.CommandMenu(VumoMainWidget::CommandAdvanceSearch), QStringLiteral("重复商品"))
                    ->isEnabled());

        // The new-listing menu is rebuilt from the store's templates when it opens.
        widget.OnShowNewVumoMenu();
        QMenu* newMenu = widget.CommandMenu(VumoMainWidget::CommandNewVumo);
        QCOMPARE(newMenu->actions().size(), 15);         // two commands, separator, ten templates, separator, more
        QVERIFY(!newMenu->actions().at(3)->isEnabled()); // a new listing from a template: not built yet
        QAction* more = newMenu->actions().last();
        QCOMPARE(more->text(), QStringLiteral("更多模板"));
        QVERIFY(more->isEnabled());
        trigger(more);
        QCOMPARE(widget.CurrentClass(), 1);
        QCOMPARE(page.rows(), 12);

        // The context menu: a built entry acts on the selected rows, an unbuilt one is disabled.
        page.switchTo(3);
        page.selectRows({0});
        std::unique_ptr<QMenu> menu(widget.CreateContextMenu(page.rowPoint(0)));
        QVERIFY(menu);
        QCOMPARE(actionTexts(menu.get()).last(), QStringLiteral("-")); // the separator appended at the end
        QVERIFY(!actionOf(menu.get(), QStringLiteral("上传"))->isEnabled());
        trigger(actionOf(menu.get(), QStringLiteral("勾选")));
        QCOMPARE(page.model()->CheckedCount(), 1);
        // "粘贴商品" follows the copy buffer.
        page.switchTo(1);
        page.selectRows({0});
        menu.reset(widget.CreateContextMenu(page.rowPoint(0)));
        QVERIFY(!actionOf(menu.get(), QStringLiteral("粘贴商品"))->isEnabled());
        trigger(actionOf(menu.get(), QStringLiteral("复制商品")));
        menu.reset(widget.CreateContextMenu(page.rowPoint(0)));
        QVERIFY(actionOf(menu.get(), QStringLiteral("粘贴商品"))->isEnabled());
        page.switchTo(3);
        // Below the rows of an online class there is nothing to offer: no menu at all.
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
        QCOMPARE(page.rows(), 1);
        QVERIFY(!widget.TableView()->isColumnHidden(ColumnVumoId));
        QVERIFY(!widget.TableView()->isColumnHidden(ColumnError));
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

    void deleteInSearchResultsAsksButNeverDeletes()
    {
        Page page({{"a", 2014}, {"b", 8}});
        QVERIFY(page.ready());
        page.widget->OnSearchVumo(QStringLiteral("where (%1)"));
        QCOMPARE(page.widget->CurrentClass(), 6);
        QCOMPARE(page.rows(), 2);
        page.model()->setAllCheckState(2);
        page.answerBoxes(QMessageBox::Yes);
        page.widget->OnDeleteLocalVumo(); // the button is disabled here; the slot still refuses
        QCOMPARE(page.questions, QStringList({QStringLiteral("您确认要删除选中的商品吗？")}));
        QCOMPARE(page.rows(), 2);
        QCOMPARE(page.statusOf("a"), 2014);
        QCOMPARE(page.statusOf("b"), 8);
    }

    void deleteLocalStoreToRecycleBin()
    {
        Page page({{"a", 2014}, {"b", 2014}, {"c", 2014}});
        QVERIFY(page.ready());
        QCOMPARE(page.count(4), 3);
        page.model()->SetRowsCheckState({0, 2}, 2);

        page.answerBoxes(QMessageBox::No);
        page.widget->OnDeleteLocalVumo();
        QCOMPARE(page.questions.size(), 1);
        QVERIFY(page.questions.first().endsWith(QStringLiteral("将其放入本地回收站！")));
        QCOMPARE(page.rows(), 3);

        page.answerBoxes(QMessageBox::Yes);
        page.closeProgressWhenFinished();
        page.widget->CommandButton(VumoMainWidget::CommandDeleteVumo)->click();
        QCOMPARE(page.progressText, QStringLiteral("已完成删除商品，共完成2个，其中成功2个，失败0个"));
        QCOMPARE(page.rows(), 1);
        QCOMPARE(page.count(4), 1);
        QCOMPARE(page.count(5), 2);
        int inBin = 0;
        for (const char* id : {"a", "b", "c"})
            inBin += page.statusOf(QLatin1String(id)) == 2015 ? 1 : 0;
        QCOMPARE(inBin, 2);

        // Nothing ticked: nothing is asked.
        page.questions.clear();
        page.widget->OnDeleteLocalVumo();
        QVERIFY(page.questions.isEmpty());

        // From the recycle bin, templates too: for good.
        page.switchTo(5);
        page.selectRows({0, 1});
        page.closeProgressWhenFinished();
        std::unique_ptr<QMenu> menu(page.widget->CreateContextMenu(page.rowPoint(0)));
        trigger(actionOf(menu.get(), QStringLiteral("本地删除")));
        QVERIFY(page.questions.last().endsWith(QStringLiteral("\n注意：选中的商品将彻底删除！")));
        QCOMPARE(page.rows(), 0);
        QCOMPARE(page.count(5), 0);
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data").toInt(), 1);
    }

    // Templates go for good, and the template list of the new-listing menu is read afresh.
    void deleteTemplatesClearsTheTemplateList()
    {
        Page page({{"t1", 2013}, {"t2", 2013}});
        QVERIFY(page.ready());
        page.switchTo(1);
        QCOMPARE(page.rows(), 2);
        auto& templates = Quorvia::utils::AppShareHelp::instance()->GetTemplateInfo();
        QVERIFY(FillTemplateList(*page.store, templates));
        QCOMPARE(templates.size(), 2);
        page.model()->SetRowsCheckState({0}, 2);
        page.answerBoxes(QMessageBox::Yes);
        page.closeProgressWhenFinished();
        page.widget->OnDeleteLocalVumo();
        QCOMPARE(page.progressText, QStringLiteral("已完成删除模板，共完成1个，其中成功1个，失败0个"));
        QCOMPARE(page.rows(), 1);
        QCOMPARE(page.count(1), 1);
        QVERIFY(templates.isEmpty());
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data").toInt(), 1);
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

    // A listing's shop categories changed (the editor or the batch editor saved it): the
    // category nodes of the listing's own class move, whatever node is on show.
    void shopCategoryChangeMovesTheListingsOwnClass()
    {
        Page page({{"on", 8}, {"for", 1}});
        QVERIFY(page.ready());
        const QList<Quorvia::vumo::entity::SellerCatsEntity*> cats = {
            VumoTest::makeShopCategory(5, 0, QStringLiteral("夏装"), 1),
            VumoTest::makeShopCategory(15, 0, QStringLiteral("鞋"), 2)};
        QVERIFY(page.store->ReplaceSellerCategories(cats));
        qDeleteAll(cats);
        QVERIFY(page.store->ExecSql(QStringLiteral("UPDATE vumo_data SET shop_categorys='5|夏装'")));
        page.widget->Classification()->Refill();
        QVERIFY(QTest::qWaitFor([&] { return !page.widget->Classification()->CountThread()->isRunning(); }, 5000));
        QCoreApplication::processEvents();
        const auto categoryCount = [&](int vumoClass, qint64 cid) {
            return page.widget->Classification()->NodeCount(VumoTopCategoryNode(vumoClass, cid));
        };
        QCOMPARE(categoryCount(2, 5), 1);
        QCOMPARE(categoryCount(3, 5), 1);
        QCOMPARE(categoryCount(3, 15), 0);

        // On show: the for-sale class; changed: the on-sale listing (known by its client id).
        page.switchTo(3);
        QVERIFY(
            page.store->ExecSql(QStringLiteral("UPDATE vumo_data SET shop_categorys='15|鞋' WHERE client_id='on'")));
        page.widget->OnVumoSellerCatChanged(0, QStringLiteral("on"), QStringLiteral("5|夏装"), QStringLiteral("15|鞋"));
        QCOMPARE(categoryCount(2, 5), 0);
        QCOMPARE(categoryCount(2, 15), 1);
        QCOMPARE(categoryCount(3, 5), 1);
        QCOMPARE(categoryCount(3, 15), 0);

        // On show: the search results; the for-sale listing is found by its marketplace number.
        page.widget->OnSearchVumo(QStringLiteral("where (%1)"));
        QCOMPARE(page.widget->CurrentClass(), 6);
        page.widget->OnVumoSellerCatChanged(1000000002, QString(), QStringLiteral("5|夏装"), QStringLiteral("15|鞋"));
        QCOMPARE(categoryCount(3, 5), 0);
        QCOMPARE(categoryCount(3, 15), 1);
        QCOMPARE(page.count(2), 1);
        QCOMPARE(page.count(3), 1);

        // A listing the store does not know moves nothing.
        page.widget->OnVumoSellerCatChanged(0, QStringLiteral("gone"), QStringLiteral("15|鞋"),
                                            QStringLiteral("5|夏装"));
        QCOMPARE(categoryCount(2, 15), 1);
        QCOMPARE(categoryCount(3, 15), 1);
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

    void pasteOnlyIntoTemplatesAndLocalStore()
    {
        Page page({{"on", 8}, {"loc", 2014}});
        QVERIFY(page.ready());
        page.switchTo(2);
        page.selectRows({0});
        page.widget->OnMenuCopyVumo();
        QCOMPARE(page.widget->CopyBuffer().size(), 1);

        page.answerBoxes(QMessageBox::Ok);
        for (int c : {2, 3, 5, 6}) {
            page.switchTo(c);
            page.widget->OnMenuPasteVumo();
            QCOMPARE(page.questions.last(), QStringLiteral("粘贴：当前分类不能进行粘贴操作！"));
        }
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data").toInt(), 2);

        page.switchTo(4);
        const int asked = page.questions.size();
        page.widget->OnMenuPasteVumo();
        QCOMPARE(page.questions.size(), asked); // no message on success
        QCOMPARE(page.rows(), 2);
        QCOMPARE(page.count(4), 2);
        QCOMPARE(page.fixture.scalar("SELECT COUNT(*) FROM vumo_data WHERE vumo_status=2014").toInt(), 2);

        page.switchTo(1);
        page.widget->OnMenuPasteVumo();
        QCOMPARE(page.rows(), 1);
        QCOMPARE(page.count(1), 1);
        QVERIFY(page.fixture.scalar("SELECT template_name FROM vumo_data WHERE vumo_status=2013")
                    .toString()
                    .startsWith(QStringLiteral("模板")));
    }

    void copyNumbersOpenPageAndRestore()
    {
        Page page({{"a", 8}, {"b", 8}, {"c", 520}, {"bin", 2015}});
        QVERIFY(page.ready());
        page.switchTo(2);
        QCOMPARE(page.rows(), 3);
        page.widget->TableView()->sortByColumn(ColumnVumoId, Qt::AscendingOrder);
        page.selectRows({0, 1, 2});
        page.widget->OnMenuCopyVumoIdToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1000000001\n1000000002\n1000000003"));

        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "handleUrl");
        m_openedUrls.clear();
        page.selectRows({1});
        page.widget->OnMenuOpenVumoUrl();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(m_openedUrls.size(), 1);
        // The address book's listing address with the listing's first SKU number (makeListing: id*10+1).
        QVERIFY2(m_openedUrls.first().toString().endsWith(QStringLiteral("/item/10000000021.html")),
                 qPrintable(m_openedUrls.first().toString()));

        page.switchTo(5);
        QCOMPARE(page.count(5), 1);
        page.selectRows({0});
        std::unique_ptr<QMenu> menu(page.widget->CreateContextMenu(page.rowPoint(0)));
        trigger(actionOf(menu.get(), QStringLiteral("还原至本地仓库")));
        QCOMPARE(page.rows(), 0);
        QCOMPARE(page.count(5), 0);
        QCOMPARE(page.count(4), 1);
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
