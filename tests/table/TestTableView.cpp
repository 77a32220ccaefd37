// The listing table as a seller uses it: ticks and the header box, the space key, filters,
// sorting, the saved column layout with the stock rule, and the frozen leading columns.
#include "support/ListingFixture.h"
#include "support/TestMain.h"

#include "database/VumoDbInterface.h"
#include "plugin/VumoHeaderView.h"
#include "plugin/VumoTableFilterModel.h"
#include "plugin/VumoTableRules.h"
#include "plugin/VumoTableView.h"
#include "plugin/VumoTableViewModel.h"
#include "quorvia/UserConfig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Quorvia::vumo;
using quorvia::settings::CUserConfig;
using VumoTest::ListingFixture;
using VumoTest::ReadColumnLayout;
using VumoTest::WriteColumnLayout;

namespace {

constexpr int kListings = 80;

int visibleRows(const QTableView* view)
{
    int shown = 0;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        shown += view->isRowHidden(row) ? 0 : 1;
    return shown;
}

void pressEnterIn(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Clicks the check indicator of the tick cell in view row `row` of the overlay.
void clickTick(QTableView* frozen, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(frozen);
    option.rect = frozen->visualRect(frozen->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect indicator = frozen->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, frozen);
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, indicator.center());
}

} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListingFixture> fixture;
    std::unique_ptr<VumoTableView> view;
    QList<VUMO_LIST_STRUCT> rows;

    void makeView()
    {
        view = std::make_unique<VumoTableView>();
        view->resize(1100, 600);
        view->SetVumoList(rows);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }

private slots:
    void init()
    {
        fixture = std::make_unique<ListingFixture>(kListings);
        QVERIFY2(fixture->isValid(), qPrintable(fixture->errorText()));
        rows.clear();
        QVERIFY(
            fixture->store()->QueryVumoRows(ListingFixture::TableQuery(QStringLiteral("ORDER BY client_id")), rows));
        QCOMPARE(rows.size(), kListings);
    }
    void cleanup()
    {
        view.reset();
        fixture.reset();
    }

    void headerBoxTicksOnlyTheRowsInView()
    {
        makeView();
        QLineEdit* status = view->VumoHeader()->FilterEdit(VumoColStatus);
        QVERIFY(status);
        pressEnterIn(status, QStringLiteral("在售"));
        const int shown = visibleRows(view.get());
        QVERIFY(shown > 0 && shown < kListings);
        // A row out of view keeps its tick through everything below.
        VumoTableViewModel* model = view->VumoModel();
        int outOfView = -1;
        for (int row = 0; row < model->rowCount() && outOfView < 0; ++row)
            outOfView = VumoCellText(model->Rows().at(row), VumoColStatus).contains(QStringLiteral("在售")) ? -1 : row;
        QVERIFY(outOfView >= 0);
        model->SetRowsCheckState({outOfView}, Qt::Checked);
        QCheckBox* box = view->FrozenHeader()->CheckBox();
        QCOMPARE(box->checkState(), Qt::Unchecked); // no tick among the rows in view

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(model->CheckedCount(), shown + 1);
        for (const VUMO_LIST_STRUCT& r : view->GetCheckedVumos()) {
            QVERIFY(r.client_id == model->Rows().at(outOfView).client_id
                    || VumoCellText(r, VumoColStatus).contains(QStringLiteral("在售")));
        }
        // The box counts the rows in view: all of them are ticked.
        QCOMPARE(box->checkState(), Qt::Checked);
        QCOMPARE(view->VumoHeader()->CheckBox()->checkState(), Qt::Checked);

        // The second click unticks them again.
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QCOMPARE(model->CheckedCount(), 1);
        QVERIFY(model->IsChecked(outOfView));

        // Ticks in view follow the filter: one ticked row of the shown ones is partial, and
        // clearing the filter counts every row again.
        view->model()->setData(view->model()->index(0, VumoColCheck), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(box->checkState(), shown == 1 ? Qt::Checked : Qt::PartiallyChecked);
        QTest::mouseClick(view->FrozenHeader()->ClearFiltersLabel(), Qt::LeftButton);
        QCOMPARE(model->CheckedCount(), 2);
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        pressEnterIn(view->VumoHeader()->FilterEdit(VumoColTitle), QStringLiteral("没有这个词"));
        QCOMPARE(box->checkState(), Qt::Unchecked); // nothing in view
    }

    // Which rows a filter keeps is the filter model's test; here the fields, Enter, both
    // views, the clear label, and a header click that sorts under a filter.
    void filterFieldsAndHeaderSort()
    {
        makeView();
        // The title column is in the frozen block: the seller types into the overlay's field.
        QLineEdit* title = view->FrozenHeader()->FilterEdit(VumoColTitle);
        QVERIFY(title && title->isVisible());
        int expected = 0;
        for (const VUMO_LIST_STRUCT& r : rows)
            expected += r.title.contains(QStringLiteral("保温杯")) ? 1 : 0;
        QVERIFY(expected > 0 && expected < kListings);

        title->setText(QStringLiteral("保温杯"));
        QCOMPARE(visibleRows(view.get()), kListings); // nothing happens before Enter
        QTest::keyClick(title, Qt::Key_Return);
        QCOMPARE(visibleRows(view.get()), expected);
        QCOMPARE(visibleRows(view->FrozenView()), expected);
        QCOMPARE(view->FilteredOutCount(), kListings - expected);

        // Emptying a field shows its rows again, without Enter.
        QLineEdit* item = view->VumoHeader()->FilterEdit(VumoColItemNum);
        pressEnterIn(item, QStringLiteral("qv-"));
        QCOMPARE(visibleRows(view.get()), 0);
        item->clear();
        QCOMPARE(visibleRows(view.get()), expected);

        QHeaderView* header = view->VumoHeader();
        const int x = header->sectionViewportPosition(VumoColCostPrice) + header->sectionSize(VumoColCostPrice) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 10));
        QCOMPARE(view->FrozenHeader()->sortIndicatorSection(), int(VumoColCostPrice));
        const Qt::SortOrder order = header->sortIndicatorOrder();
        const auto inCostOrder = [order](const QList<VUMO_LIST_STRUCT>& list) {
            for (int i = 1; i < list.size(); ++i) {
                if (order == Qt::AscendingOrder ? list.at(i - 1).cost_price > list.at(i).cost_price
                                                : list.at(i - 1).cost_price < list.at(i).cost_price)
                    return false;
            }
            return true;
        };
        QVERIFY(inCostOrder(view->VumoModel()->Rows()));
        QCOMPARE(visibleRows(view.get()), expected); // the filter still holds
        view->SetVumoList(rows);                     // and the sort holds for the next load
        QVERIFY(inCostOrder(view->VumoModel()->Rows()));

        QLabel* clear = view->FrozenHeader()->ClearFiltersLabel();
        QVERIFY(clear->isVisible());
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(visibleRows(view.get()), kListings);
        QCOMPARE(visibleRows(view->FrozenView()), kListings);
        QVERIFY(title->text().isEmpty());
        QCOMPARE(view->FilteredOutCount(), 0);
    }

    void layoutIsRestoredAndSaved()
    {
        QVERIFY(WriteColumnLayout({"0,60,1", "3,333,1", "2,140,1", "1,0,0", "13,90,0", "11,77,1", "7,95,1"}));
        makeView();
        QHeaderView* header = view->VumoHeader();
        QCOMPARE(header->logicalIndex(0), 0);
        QCOMPARE(header->logicalIndex(1), 3);
        QCOMPARE(header->logicalIndex(3), 1);
        QCOMPARE(header->sectionSize(3), 333);
        QCOMPARE(header->sectionSize(11), 77);
        QVERIFY(view->isColumnHidden(1));
        QVERIFY(view->isColumnHidden(13));
        QVERIFY(!view->isColumnHidden(11));
        QVERIFY(view->isColumnHidden(VumoColCid)); // always

        // The class hides some more; saving keeps only the seller's own choice.
        view->SetClassHiddenColumns({VumoColVumoId, VumoColUploadStatus});
        QVERIFY(view->isColumnHidden(VumoColVumoId));
        header->moveSection(header->visualIndex(9), 4);
        header->resizeSection(5, 171);
        view->hide(); // saved when the page goes away
        const QStringList saved = ReadColumnLayout();
        QCOMPARE(saved.size(), int(VumoColCount));
        for (int visual = 0; visual < saved.size(); ++visual) {
            const int column = header->logicalIndex(visual);
            QCOMPARE(saved.at(visual).section(QLatin1Char(','), 0, 0).toInt(), column);
            QVERIFY2(saved.at(visual).endsWith(QLatin1String(",0")) == (column == 1 || column == 13),
                     qPrintable(saved.at(visual)));
        }
        QVERIFY(saved.contains(QStringLiteral("5,171,1")));
    }

    void stockColumnStaysHiddenWhenStockIsNotManaged()
    {
        VumoTest::DemoLogin login;
        login.stockMode = 1;
        fixture.reset();
        fixture = std::make_unique<ListingFixture>(0, login);
        QVERIFY(WriteColumnLayout({"11,80,1", "0,60,1"}));
        makeView();
        QVERIFY(view->isColumnHidden(VumoColStock));
        view->reInitTableHeader(QStringLiteral("vumo"), QStringLiteral("VumoColumnOrder"));
        QVERIFY(view->isColumnHidden(VumoColStock));
        view->SetClassHiddenColumns({});
        QVERIFY(view->isColumnHidden(VumoColStock));
        // Saving does not turn the rule into the seller's choice.
        view->hide();
        const QStringList stock = ReadColumnLayout().filter(QRegularExpression(QStringLiteral("^11,")));
        QCOMPARE(stock.size(), 1);
        QVERIFY2(stock.first().endsWith(QLatin1String(",1")), qPrintable(stock.first()));
    }

    void settingsChangeReloadsTheLayout()
    {
        makeView();
        QVERIFY(!view->isColumnHidden(VumoColItemNum));
        QVERIFY(WriteColumnLayout({"0,60,1", "7,50,0", "3,222,1"}));
        // Another key of the same section leaves the table alone.
        emit CUserConfig::Instance()->signalSettingsChanged(QStringLiteral("vumo"), QStringLiteral("Other"));
        QVERIFY(!view->isColumnHidden(VumoColItemNum));
        emit CUserConfig::Instance()->signalSettingsChanged(QStringLiteral("VUMO"), QStringLiteral("VumoColumnOrder"));
        QVERIFY(view->isColumnHidden(VumoColItemNum));
        QCOMPARE(view->VumoHeader()->logicalIndex(2), 3);
        QCOMPARE(view->VumoHeader()->sectionSize(3), 222);
    }

    void frozenOverlayStaysInStep()
    {
        makeView();
        QTableView* frozen = view->FrozenView();
        QHeaderView* main = view->VumoHeader();
        QHeaderView* top = view->FrozenHeader();
        QVERIFY(frozen->isVisible());
        auto shownColumns = [frozen] {
            QList<int> shown;
            for (int c = 0; c < VumoColCount; ++c) {
                if (!frozen->isColumnHidden(c))
                    shown << c;
            }
            return shown;
        };
        auto expectedWidth = [main] {
            int width = 0;
            for (int visual = 0; visual < VumoFrozenColumnCount; ++visual) {
                const int logical = main->logicalIndex(visual);
                width += main->isSectionHidden(logical) ? 0 : main->sectionSize(logical);
            }
            return width;
        };
        QCOMPARE(shownColumns(), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(frozen->width(), expectedWidth());

        // Resizing a leading column in the main header carries over.
        main->resizeSection(VumoColTitle, 310);
        QCOMPARE(top->sectionSize(VumoColTitle), 310);
        QCOMPARE(frozen->width(), expectedWidth());

        // A class that hides a leading column narrows the block.
        view->SetClassHiddenColumns({VumoColTemplateName});
        QCOMPARE(shownColumns(), (QList<int>{0, 2, 3}));
        QCOMPARE(frozen->width(), expectedWidth());

        // Moving a column into the leading four puts it into the block.
        main->moveSection(main->visualIndex(VumoColStatus), 1);
        QCOMPARE(shownColumns(), (QList<int>{0, 2, 6}));
        QCOMPARE(top->visualIndex(VumoColStatus), 1);
        QCOMPARE(frozen->width(), expectedWidth());

        // Scrolling and row heights follow.
        QScrollBar* bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum() / 2);
        QCOMPARE(frozen->verticalScrollBar()->value(), bar->value());
        view->verticalHeader()->resizeSection(3, 40);
        QCOMPARE(frozen->verticalHeader()->sectionSize(3), 40);
        QCOMPARE(frozen->rowViewportPosition(10), view->rowViewportPosition(10));

        // One selection for both.
        frozen->selectionModel()->select(frozen->model()->index(6, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(view->SelectedRows(), QList<int>{6});
    }

    void selectingAListingByClientId()
    {
        makeView();
        QSignalSpy spy(view.get(), &VumoTableView::selectionChangedSignal);
        const QString id = rows.at(42).client_id;
        QVERIFY(view->SelectClientId(id));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(view->GetSelectedVumos().size(), 1);
        QCOMPARE(view->GetSelectedVumos().first().client_id, id);
        QVERIFY(!view->SelectClientId(QStringLiteral("no-such-listing")));
        // A listing the filters hide is shown again to be selected.
        pressEnterIn(view->FrozenHeader()->FilterEdit(VumoColTitle), QStringLiteral("没有这个词"));
        QCOMPARE(visibleRows(view.get()), 0);
        QVERIFY(view->SelectClientId(id));
        QCOMPARE(visibleRows(view.get()), kListings);
        QCOMPARE(view->GetSelectedVumos().size(), 1);
        QCOMPARE(view->GetSelectedVumos().first().client_id, id);
    }

    // Under a filter a view row is not the model row: every command that reads rows from the
    // view reaches the listing the seller sees.
    void commandsReachTheListingsInView()
    {
        makeView();
        VumoTableViewModel* model = view->VumoModel();
        QLineEdit* title = view->FrozenHeader()->FilterEdit(VumoColTitle);
        pressEnterIn(title, QStringLiteral("保温杯"));
        QStringList ids; // client_ids in view order
        for (const VUMO_LIST_STRUCT& r : rows) {
            if (r.title.contains(QStringLiteral("保温杯")))
                ids << r.client_id;
        }
        QVERIFY(ids.size() >= 3);
        QVERIFY(model->RowOfClientId(ids.at(1)) != 1); // the mapping is not the identity

        // A click on a tick cell of the overlay ticks that listing.
        QTableView* frozen = view->FrozenView();
        clickTick(frozen, 0);
        QCOMPARE(view->GetCheckedVumos().size(), 1);
        QCOMPARE(view->GetCheckedVumos().first().client_id, ids.at(0));

        model->setAllCheckState(Qt::Unchecked);

        // Selection, the selected listings, the space key and the menu commands.
        view->setFocus();
        QItemSelectionModel* selection = view->selectionModel();
        selection->select(view->model()->index(1, VumoColTitle),
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        selection->setCurrentIndex(view->model()->index(2, VumoColTitle),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(view->SelectedRows(), (QList<int>{model->RowOfClientId(ids.at(1)), model->RowOfClientId(ids.at(2))}));
        QCOMPARE(view->GetSelectedVumos().first().client_id, ids.at(1));
        QTest::keyClick(view.get(), Qt::Key_Space);
        QCOMPARE(model->CheckedCount(), 2);
        QVERIFY(model->IsChecked(model->RowOfClientId(ids.at(1))) && model->IsChecked(model->RowOfClientId(ids.at(2))));
        view->onMenuUnChecked();
        QCOMPARE(model->CheckedCount(), 0);
        view->onMenuChecked();
        QCOMPARE(model->CheckedCount(), 2);
        model->setAllCheckState(Qt::Unchecked);

        // The selection stays on its listings when the filter narrows or clears; a listing that
        // leaves the view leaves the selection.
        QLineEdit* item = view->VumoHeader()->FilterEdit(VumoColItemNum);
        pressEnterIn(item, model->Rows().at(model->RowOfClientId(ids.at(2))).item_num);
        QCOMPARE(visibleRows(view.get()), 1);
        QCOMPARE(view->GetSelectedVumos().size(), 1);
        QCOMPARE(view->GetSelectedVumos().first().client_id, ids.at(2));
        QCOMPARE(view->currentIndex().row(), 0);
        QTest::mouseClick(view->FrozenHeader()->ClearFiltersLabel(), Qt::LeftButton);
        QCOMPARE(view->GetSelectedVumos().size(), 1);
        QCOMPARE(view->GetSelectedVumos().first().client_id, ids.at(2));
        QCOMPARE(view->currentIndex().row(), model->RowOfClientId(ids.at(2)));
    }
};

VUMO_TEST_CLASS(TestTableView)
#include "TestTableView.moc"
