// The two search forms: object names, validators, what they send, the refusal messages, the
// hidden stock fields, and the unavailable category buttons.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/AdvanceSearchWidget.h"
#include "plugin/VumoSearch.h"
#include "plugin/VumoSearchStatement.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "ui/QueryDateTimeEdit.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Quorvia::vumo;
using Quorvia::core::ui::BaseDialog;
using Quorvia::core::ui::MsgBox;
using Quorvia::core::ui::QueryDateTimeEdit;

namespace {

template <class T = QLineEdit>
T* field(QWidget& form, const char* name)
{
    T* w = form.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qWarning("missing %s", name);
    return w;
}

void choose(QComboBox* combo, int value)
{
    combo->setCurrentIndex(combo->findData(value));
}

} // namespace

class TestSearchForms : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::TempHome> home;
    QStringList messages;

private slots:
    void initTestCase() { home = std::make_unique<VumoTest::TempHome>(); }
    void cleanupTestCase() { home.reset(); }
    void init()
    {
        messages.clear();
        Quorvia::core::ui::SetMsgBoxHook([this](MsgBox& box) {
            messages << box.Text();
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        Quorvia::core::ui::SetMsgBoxHook({});
        VumoSearch::SetCategoryPicker({});
        VumoSearch::SetShopCategoryPicker({});
    }

    void quickBarSendsTheStatement()
    {
        VumoSearch bar;
        QCOMPARE(bar.windowTitle(), QStringLiteral("AdvanceSearch4Vumo"));
        QSignalSpy sent(&bar, &VumoSearch::SearchVumoSignal);
        QSignalSpy cleared(&bar, &VumoSearch::ClearSearchSignal);
        auto* search = field<QPushButton>(bar, "m_SearchBtn");
        QVERIFY(search);

        // Nothing filled: nothing is sent.
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(sent.count(), 0);

        auto* combo = field<QComboBox>(bar, "comboBox_ListingStatus");
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->itemText(0), QStringLiteral("请选择"));
        QCOMPARE(combo->itemData(0).toInt(), -1);
        choose(combo, SearchStatusLocal);
        QCOMPARE(combo->currentText(), QStringLiteral("本地仓库商品"));
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(), QString(VumoTableQuery() + QStringLiteral(" WHERE vumo_status=2014")));

        field(bar, "lineEdit_VumoName")->setText(QStringLiteral("杯_"));
        bar.SetCategory(655, QStringLiteral("保温杯"));
        QCOMPARE(field(bar, "lineEdit_Category")->property("cid").toLongLong(), qint64(655));
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QString(VumoTableQuery()
                         + QStringLiteral(" WHERE title like '%杯/_%' escape '/' AND cid=655 AND vumo_status=2014")));

        QTest::mouseClick(field<QPushButton>(bar, "ClearBtn"), Qt::LeftButton);
        QCOMPARE(cleared.count(), 1);
        QVERIFY(field(bar, "lineEdit_VumoName")->text().isEmpty());
        QVERIFY(field(bar, "lineEdit_Category")->text().isEmpty());
        QCOMPARE(combo->currentIndex(), 0);
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(sent.count(), 0);
    }

    void quickBarValidators()
    {
        VumoSearch bar;
        QLineEdit* id = field(bar, "lineEdit_VumoId");
        QTest::keyClicks(id, QStringLiteral("12ab34567890123"));
        QCOMPARE(id->text(), QStringLiteral("1234567890"));
        QCOMPARE(field(bar, "lineEdit_VumoName")->maxLength(), 45);
        QCOMPARE(field(bar, "lineEdit_ItemNum")->maxLength(), 50);
        QVERIFY(field(bar, "lineEdit_Category")->isReadOnly());
    }

    void categoryButtonsNeedAPicker()
    {
        {
            VumoSearch bar;
            AdvanceSearchWidget adv(nullptr, 0);
            QVERIFY(!field<QPushButton>(bar, "m_SelectCategoryBtn")->isEnabled());
            QVERIFY(!field<QPushButton>(adv, "SelectYvCategoryBtn")->isEnabled());
            QVERIFY(!field<QPushButton>(adv, "SelectShopCategoryBtn")->isEnabled());
        }
        VumoSearch::SetCategoryPicker([](QWidget*, qint64& cid, QString& name) {
            cid = 77;
            name = QStringLiteral("水杯");
            return true;
        });
        VumoSearch::SetShopCategoryPicker([](QWidget*, QString& cats, QString& name) {
            cats = QStringLiteral("5-6");
            name = QStringLiteral("夏季");
            return true;
        });
        AdvanceSearchWidget adv(nullptr, 0);
        QVERIFY(field<QPushButton>(adv, "SelectYvCategoryBtn")->isEnabled());
        QTest::mouseClick(field<QPushButton>(adv, "SelectYvCategoryBtn"), Qt::LeftButton);
        QTest::mouseClick(field<QPushButton>(adv, "SelectShopCategoryBtn"), Qt::LeftButton);
        QCOMPARE(adv.Fields().cid, qint64(77));
        QCOMPARE(adv.Fields().shopCategorys, QStringLiteral("5-6"));
        QCOMPARE(field(adv, "YvCategoryEdit")->text(), QStringLiteral("水杯"));
        QTest::mouseClick(field<QPushButton>(adv, "ClearYvCategoryBtn"), Qt::LeftButton);
        QTest::mouseClick(field<QPushButton>(adv, "ClearShopCategoryBtn"), Qt::LeftButton);
        QCOMPARE(adv.Fields().cid, qint64(0));
        QVERIFY(adv.Fields().shopCategorys.isEmpty());
    }

    void advancedFormSendsAndCloses()
    {
        BaseDialog<AdvanceSearchWidget> dialog(nullptr, 0);
        AdvanceSearchWidget* adv = dialog.content();
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("高级搜索"));
        QSignalSpy sent(adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        dialog.show();

        // Empty date fields take no part.
        QVERIFY(field<QueryDateTimeEdit>(*adv, "OnLineTime1")->IsEmpty());
        field(*adv, "YvPriceEdit1")->setText(QStringLiteral("10"));
        field(*adv, "YvPriceEdit2")->setText(QStringLiteral("20"));
        QTest::mouseClick(field<QPushButton>(*adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        const QString condition = sent.takeFirst().at(0).toString();
        QVERIFY(condition.startsWith(QStringLiteral("where (client_id in (select client_id from vumo_sku where "
                                                    "yv_price >= 1000 AND yv_price <= 2000)")));
        QVERIFY(condition.endsWith(QStringLiteral("AND (%1)")));
        QVERIFY(!condition.contains(QStringLiteral("online_time")));
        QVERIFY(!dialog.isVisible());
        QVERIFY(messages.isEmpty());
    }

    void advancedFormRefusesInvertedRanges()
    {
        AdvanceSearchWidget adv(nullptr, 0);
        QSignalSpy sent(&adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        auto* t1 = field<QueryDateTimeEdit>(adv, "OnLineTime1");
        auto* t2 = field<QueryDateTimeEdit>(adv, "OnLineTime2");
        emit t1->calendarWidget()->clicked(QDate(2024, 5, 2));
        emit t2->calendarWidget()->clicked(QDate(2024, 5, 1));
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(messages, QStringList({QStringLiteral("终止时间需大于开始时间")}));

        t2->SetEmpty(true);
        field(adv, "VumoStockEdit1")->setText(QStringLiteral("5"));
        field(adv, "VumoStockEdit2")->setText(QStringLiteral("3"));
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(messages.last(), QStringLiteral("终止库存需大于开始库存"));
        QCOMPARE(sent.count(), 0);

        QTest::mouseClick(field<QPushButton>(adv, "ClearBtn"), Qt::LeftButton);
        QVERIFY(field(adv, "VumoStockEdit1")->text().isEmpty());
        QVERIFY(t1->IsEmpty());
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(), QStringLiteral("where (%1)"));
    }

    void advancedValidators()
    {
        AdvanceSearchWidget adv(nullptr, 0);
        QLineEdit* price = field(adv, "YvPriceEdit1");
        QTest::keyClicks(price, QStringLiteral("12.345"));
        QCOMPARE(price->text(), QStringLiteral("12.34"));
        price->clear();
        QTest::keyClicks(price, QStringLiteral("01"));
        QCOMPARE(price->text(), QStringLiteral("0"));
        QLineEdit* stock = field(adv, "VumoStockEdit2");
        QTest::keyClicks(stock, QStringLiteral("1234567890"));
        QCOMPARE(stock->text(), QStringLiteral("123456789"));
        QLineEdit* sku = field(adv, "SKUIDEdit");
        QTest::keyClicks(sku, QStringLiteral("x99"));
        QCOMPARE(sku->text(), QStringLiteral("99"));
        QCOMPARE(field(adv, "VumoNameEdit")->maxLength(), 45);
        QCOMPARE(field(adv, "ItemNumEdit")->maxLength(), 50);
        QVERIFY(field<QComboBox>(adv, "VumoStateComb"));
        QVERIFY(field<QPushButton>(adv, "CancelBtn"));
    }

    void stockModeOneHidesTheStock()
    {
        AdvanceSearchWidget adv(nullptr, 1);
        adv.show();
        QVERIFY(!field(adv, "VumoStockEdit1")->isVisible());
        QVERIFY(!field(adv, "VumoStockEdit2")->isVisible());
        QVERIFY(field(adv, "YvPriceEdit1")->isVisible());
        field(adv, "VumoStockEdit1")->setText(QStringLiteral("9"));
        field(adv, "VumoStockEdit2")->setText(QStringLiteral("3"));
        QSignalSpy sent(&adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(), QStringLiteral("where (%1)"));
        QVERIFY(messages.isEmpty());

        AdvanceSearchWidget managed(nullptr, 0);
        managed.show();
        QVERIFY(field(managed, "VumoStockEdit1")->isVisible());
    }
};

VUMO_TEST_CLASS(TestSearchForms)
#include "TestSearchForms.moc"
