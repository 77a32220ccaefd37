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
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QString(VumoTableQuery() + QStringLiteral(" WHERE vumo_status=2014")));

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

    void quickBarRefusesAWrongNumber()
    {
        VumoSearch bar;
        QSignalSpy sent(&bar, &VumoSearch::SearchVumoSignal);
        QLineEdit* id = field(bar, "lineEdit_VumoId");
        // The field keeps what was typed; the search refuses it instead of looking for another number.
        QTest::keyClicks(id, QStringLiteral("12ab34567890123"));
        QCOMPARE(id->text(), QStringLiteral("12ab34567890123"));
        QTest::mouseClick(field<QPushButton>(bar, "m_SearchBtn"), Qt::LeftButton);
        QCOMPARE(messages, QStringList({QStringLiteral("请输入10位数字的商品编号")}));
        QCOMPARE(sent.count(), 0);

        id->clear();
        QTest::keyClicks(id, QStringLiteral("1234567890"));
        QTest::mouseClick(field<QPushButton>(bar, "m_SearchBtn"), Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QString(VumoTableQuery() + QStringLiteral(" WHERE vumo_id=1234567890 ")));
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

    // Typed key by key into the form, then "查询": what is not a number is refused with a
    // message and nothing is searched.
    void advancedRefusesWhatIsNotANumber_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString price = QStringLiteral("请输入正确的价格");
        const QString stock = QStringLiteral("请输入正确的库存");
        QTest::newRow("stock with a decimal") << "VumoStockEdit1"
                                              << "3.5" << stock;
        QTest::newRow("stock too long") << "VumoStockEdit2"
                                        << "1234567890" << stock;
        QTest::newRow("stock negative") << "VumoStockEdit2"
                                        << "-1" << stock;
        QTest::newRow("price with letters and a sign") << "YvPriceEdit2"
                                                       << "-5abc100" << price;
        QTest::newRow("price three decimals") << "YvPriceEdit1"
                                              << "12.345" << price;
        QTest::newRow("price lone dot") << "YvPriceEdit1"
                                        << "." << price;
        QTest::newRow("price ten integer digits") << "YvPriceEdit1"
                                                  << "1234567890" << price;
        QTest::newRow("sku with letters") << "SKUIDEdit"
                                          << "x99" << QStringLiteral("请输入10位数字的SKU编号");
        QTest::newRow("listing number too short") << "VumoIdEdit"
                                                  << "123456789" << QStringLiteral("请输入10位数字的商品编号");
    }
    void advancedRefusesWhatIsNotANumber()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        AdvanceSearchWidget adv(nullptr, 0);
        QSignalSpy sent(&adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        QLineEdit* edit = adv.findChild<QLineEdit*>(fieldName);
        QVERIFY(edit);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), typed);
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(messages, QStringList({message}));
        QCOMPARE(sent.count(), 0);
    }

    void advancedTakesTypedNumbers()
    {
        AdvanceSearchWidget adv(nullptr, 0);
        QSignalSpy sent(&adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        QTest::keyClicks(field(adv, "YvPriceEdit1"), QStringLiteral("0.5"));
        QTest::keyClicks(field(adv, "YvPriceEdit2"), QStringLiteral("12."));
        QTest::keyClicks(field(adv, "VumoStockEdit1"), QStringLiteral("35"));
        QTest::keyClicks(field(adv, "SKUIDEdit"), QStringLiteral("2000000002"));
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QVERIFY(messages.isEmpty());
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QStringLiteral("where client_id in (select client_id from vumo_sku where sku_id=2000000002) AND "
                                "(client_id in (select client_id from vumo_sku where yv_price >= 50 AND yv_price <= "
                                "1200)  OR ( yv_price >= 50 AND yv_price <= 1200)) AND stock_num >= 35 AND (%1)"));
        QCOMPARE(field(adv, "VumoNameEdit")->maxLength(), 45);
        QCOMPARE(field(adv, "ItemNumEdit")->maxLength(), 50);
        QVERIFY(field<QComboBox>(adv, "VumoStateComb"));
        QVERIFY(field<QPushButton>(adv, "CancelBtn"));
    }

    // Typed dates count like picked ones, and a day covers all of it: the start field begins at
    // 00:00:00, the end field ends at 23:59:59.
    void onlineTimesCoverWholeDays_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("with the shown separators") << "2024-05-01"
                                                   << "2024-05-31";
        QTest::newRow("short with slashes") << "2024/5/1"
                                            << "2024/5/31";
        QTest::newRow("digits only") << "20240501"
                                     << "20240531";
    }
    void onlineTimesCoverWholeDays()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const QString expected = QStringLiteral(
            "where (online_time >= '2024-05-01T00:00:00' AND online_time <= '2024-05-31T23:59:59') AND "
            "(vumo_status=8 OR vumo_status=520) AND (%1)");

        AdvanceSearchWidget adv(nullptr, 0);
        adv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&adv));
        QSignalSpy sent(&adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        auto* t1 = field<QueryDateTimeEdit>(adv, "OnLineTime1");
        auto* t2 = field<QueryDateTimeEdit>(adv, "OnLineTime2");
        // As a seller does: click into the blank field and type.
        QTest::mouseClick(t1->findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClicks(t1, from);
        QTest::mouseClick(t2->findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClicks(t2, to);
        QCOMPARE(t1->DisplayedText(), QStringLiteral("2024-05-01 00:00:00"));
        QCOMPARE(t2->DisplayedText(), QStringLiteral("2024-05-31 23:59:59"));
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QVERIFY(messages.isEmpty());
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(), expected);

        // Picked in the calendars: the same whole days.
        QTest::mouseClick(field<QPushButton>(adv, "ClearBtn"), Qt::LeftButton);
        emit t1->calendarWidget()->clicked(QDate(2024, 5, 1));
        emit t2->calendarWidget()->clicked(QDate(2024, 5, 31));
        QTest::mouseClick(field<QPushButton>(adv, "SearchBtn"), Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(), expected);
    }

    void typedTimeIsKept()
    {
        AdvanceSearchWidget adv(nullptr, 0);
        adv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&adv));
        auto* t2 = field<QueryDateTimeEdit>(adv, "OnLineTime2");
        QTest::mouseClick(t2->findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClicks(t2, QStringLiteral("2024-12-1 8:30:15"));
        QCOMPARE(t2->DisplayedText(), QStringLiteral("2024-12-01 08:30:15"));
        QCOMPARE(adv.Fields().onlineTo, QDateTime(QDate(2024, 12, 1), QTime(8, 30, 15)));
        QVERIFY(!adv.Fields().onlineFrom.isValid());
    }

    void formsUseTheChineseLocale()
    {
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        VumoSearch bar;
        AdvanceSearchWidget adv(nullptr, 0);
        QCOMPARE(bar.locale(), chinese);
        QCOMPARE(adv.locale(), chinese);
        auto* t1 = field<QueryDateTimeEdit>(adv, "OnLineTime1");
        QCOMPARE(t1->locale(), chinese);
        // The calendar pop-up is a window of its own and would otherwise keep the default locale.
        QCOMPARE(t1->calendarWidget()->locale(), chinese);
        QCOMPARE(field<QueryDateTimeEdit>(adv, "OnLineTime2")->calendarWidget()->locale(), chinese);
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
