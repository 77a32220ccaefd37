// The SKU page as a seller uses it: ticking values fills and merges the table, the header fills
// the prices still missing, and a save hands the SKUs to the listing.
#include "support/TestMain.h"

#include "PickerStoreFixture.h"
#include "editor/EditCheckbox.h"
#include "editor/SkuEditDelegate.h"
#include "editor/SkuEditTableHeaderView.h"
#include "editor/SkuTableWidget.h"
#include "editor/VumoSkuPage.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "support/MessageCollector.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QValidator>

#include <memory>

using namespace Quorvia::vumo;

namespace {

// Category 10: "颜色" with 3 values (vids 101..), "尺码" with 15 (vids 201..); category 11: three
// sale attributes.
bool StoreCategory(const VumoTest::PickerStoreFixture& store)
{
    return store.storeAttributes({{1, 10, QStringLiteral("颜色"), 1, 3},
                                  {2, 10, QStringLiteral("尺码"), 1, 15},
                                  {3, 11, QStringLiteral("甲"), 1, 1},
                                  {4, 11, QStringLiteral("乙"), 1, 1},
                                  {5, 11, QStringLiteral("丙"), 1, 1}});
}

// With $QUORVIA_SCREENSHOT_DIR set, what the page shows is written there as PNG.
void Shot(QWidget* w, const QString& name)
{
    const QString dir = qEnvironmentVariable("QUORVIA_SCREENSHOT_DIR");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

class TestSkuPage : public QObject
{
    Q_OBJECT

private slots:
    void tickFillSave()
    {
        VumoTest::PickerStoreFixture store(false);
        QVERIFY(store.valid && StoreCategory(store));
        editor::VumoEditContext context;
        context.uid = QStringLiteral("demo_seller");
        context.categories = store.cats;
        VumoSkuPage page(context);
        page.resize(1000, 600);
        page.show();
        QSignalSpy colours(&page, &VumoSkuPage::ColorAttributeChangedSignal);
        QSignalSpy changed(&page, &VumoSkuPage::VumoChangedSignal);

        entity::VumoDataEntity vumo;
        vumo.set_client_id(QStringLiteral("c1"));
        vumo.set_cid(10);
        vumo.set_market_price(100000);
        vumo.set_yv_price(1500);
        page.LoadVumo(&vumo);
        QCOMPARE(colours.size(), 1);
        QCOMPARE(colours.at(0).at(1).toBool(), true);
        QVERIFY(page.Notice()->isHidden());

        // 15 sizes: the 14th waits behind "更多".
        QCOMPARE(page.Values(1).size(), 15);
        QVERIFY(page.Values(1).at(13)->isHidden());
        QList<QPushButton*> more = page.findChildren<QPushButton*>(QStringLiteral("skueditmorebtn"));
        QCOMPARE(more.size(), 2);
        QPushButton* sizeMore = more.at(0)->isHidden() ? more.at(1) : more.at(0);
        QVERIFY(!sizeMore->isHidden());
        sizeMore->click();
        QCOMPARE(sizeMore->text(), QStringLiteral("收起"));
        QVERIFY(!page.Values(1).at(13)->isHidden());

        page.Values(0).at(0)->CheckBox()->setChecked(true);
        page.Values(0).at(1)->CheckBox()->setChecked(true);
        QCOMPARE(colours.size(), 3);
        QCOMPARE(colours.last().at(1).toBool(), false);
        QCOMPARE(colours.last().at(0).value<QList<SKU_ATT_VALUE_TYPE>>().size(), 2);
        page.Values(1).at(0)->CheckBox()->setChecked(true);
        page.Values(1).at(1)->CheckBox()->setChecked(true);

        SkuTableWidget* table = page.Table();
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->rowSpan(0, table->AttributeColumn(0)), 2);
        QCOMPARE(table->rowSpan(2, table->AttributeColumn(0)), 2);
        QCOMPARE(table->item(2, table->AttributeColumn(0))->text(), QStringLiteral("颜色2"));
        QCOMPARE(table->item(3, table->AttributeColumn(1))->data(Qt::UserRole).toLongLong(), 202);
        QVERIFY(changed.size() >= 4);

        // A forbidden alias is refused and the edit shows the alias in force again.
        {
            VumoTest::MessageCollector boxes;
            QLineEdit* alias = page.Values(0).at(0)->AliasEdit();
            alias->setText(QStringLiteral("红|黑"));
            emit alias->editingFinished();
            QTRY_COMPARE(boxes.texts(), QStringList{editor::AliasForbiddenMessage()});
            QCOMPARE(alias->text(), QString());
        }

        // Cell editors keep their input rules: two decimals, no "|" in a seller code.
        for (const auto& [column, text] : {std::pair<int, QString>{table->PriceColumn(), QStringLiteral("1.234")},
                                           std::pair<int, QString>{table->StockColumn(), QStringLiteral("01")},
                                           std::pair<int, QString>{table->OuterIdColumn(), QStringLiteral("A|B")}}) {
            std::unique_ptr<QWidget> cellEditor(table->Delegate()->createEditor(
                table->viewport(), QStyleOptionViewItem(), table->model()->index(0, column)));
            auto* edit = qobject_cast<QLineEdit*>(cellEditor.get());
            QVERIFY(edit && edit->validator());
            QString typed = text;
            int pos = 0;
            QCOMPARE(edit->validator()->validate(typed, pos), QValidator::Invalid);
        }

        table->item(1, table->PriceColumn())->setText(QStringLiteral("20"));
        SkuEditTableHeaderView* header = table->Header();
        header->PriceEdit()->setText(QStringLiteral("15"));
        header->OnApplyYvValueNoValue();
        header->StockEdit()->setText(QStringLiteral("3"));
        header->OnApplyStockAllRow();
        QCOMPARE(table->item(0, table->PriceColumn())->text(), QStringLiteral("15"));
        QCOMPARE(table->item(1, table->PriceColumn())->text(), QStringLiteral("20"));
        QCOMPARE(table->item(3, table->StockColumn())->text(), QStringLiteral("3"));

        // The apply button of a stock cell: its menu copies the stock to the rows of the colour.
        table->item(0, table->StockColumn())->setText(QStringLiteral("7"));
        const QRect button = SkuEditDelegate::ApplyButtonRect(
            table->visualRect(table->model()->index(0, table->StockColumn())));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, button.center());
        auto* menu = table->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(menu);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("应用到同一颜色"));
        menu->actions().at(0)->trigger();
        menu->close();
        QCOMPARE(table->item(1, table->StockColumn())->text(), QStringLiteral("7"));
        QCOMPARE(table->item(2, table->StockColumn())->text(), QStringLiteral("3"));

        Shot(&page, QStringLiteral("sku_page_1000x600"));
        page.resize(1280, 800);
        Shot(&page, QStringLiteral("sku_page_1280x800"));

        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY2(page.CheckAndSave(errors, save), qPrintable(errors.join(QLatin1Char('\n'))));
        QCOMPARE(vumo.Skus().size(), 4);
        QCOMPARE(vumo.Skus().at(1)->yv_price(), 2000);
        QCOMPARE(vumo.Skus().at(1)->attributes(), QStringLiteral("1:101^2:202"));
        QCOMPARE(vumo.min_yvprice(), 1500);
        QCOMPARE(vumo.max_yvprice(), 2000);
        QCOMPARE(vumo.stock_num(), 20);
        QVERIFY(save.removedSkuIds.isEmpty());
    }

    // Without controls the stored SKUs stay as they are; moved to another category they go.
    void storedSkusWithoutControls()
    {
        VumoTest::PickerStoreFixture store(false);
        QVERIFY(store.valid && StoreCategory(store));
        editor::VumoEditContext context;
        context.categories = store.cats;
        VumoSkuPage page(context);
        entity::VumoDataEntity vumo;
        vumo.set_vumo_id(55);
        vumo.set_cid(11);
        auto* sku = new entity::VumoSkuEntity;
        sku->set_sku_id(900);
        sku->set_attributes(QStringLiteral("3:301^4:401^5:501"));
        vumo.AddSku(sku);
        QTest::ignoreMessage(QtWarningMsg, "商品55的类别:11销售属性大于2个");
        page.LoadVumo(&vumo);
        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY(page.CheckAndSave(errors, save));
        QCOMPARE(vumo.Skus().size(), 1);
        QVERIFY(save.removedSkuIds.isEmpty());

        page.OnYvCatsChanged(10);
        QVERIFY(page.CheckAndSave(errors, save));
        QVERIFY(vumo.Skus().isEmpty());
        QCOMPARE(save.removedSkuIds, QList<qint64>{900});
    }

    void withoutCategory()
    {
        VumoTest::PickerStoreFixture store(false);
        QVERIFY(store.valid);
        editor::VumoEditContext context;
        context.categories = store.cats;
        VumoSkuPage page(context);
        entity::VumoDataEntity vumo;
        page.LoadVumo(&vumo);
        QVERIFY(page.Notice()->text().contains(QStringLiteral("Yv分类")));
        QVERIFY(!page.Table()->isVisibleTo(&page));
        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY(page.CheckAndSave(errors, save));
        QVERIFY(errors.isEmpty());
    }
};

VUMO_TEST_CLASS(TestSkuPage)
#include "TestSkuPage.moc"
