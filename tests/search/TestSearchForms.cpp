// The two search forms as wiring over the statement rules: what they send, that typed text is
// kept and refused with the rule's message, dates and the hidden stock.
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

void click(QWidget& form, const char* button)
{
    QTest::mouseClick(field<QPushButton>(form, button), Qt::LeftButton);
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
    void cleanup() { Quorvia::core::ui::SetMsgBoxHook({}); }

    void quickBarSendsTheStatement()
    {
        VumoSearch bar;
        QSignalSpy sent(&bar, &VumoSearch::SearchVumoSignal);
        QSignalSpy cleared(&bar, &VumoSearch::ClearSearchSignal);

        // Nothing filled: nothing is sent.
        click(bar, "m_SearchBtn");
        QCOMPARE(sent.count(), 0);

        auto* combo = field<QComboBox>(bar, "comboBox_ListingStatus");
        combo->setCurrentIndex(combo->findData(SearchStatusLocal));
        field(bar, "lineEdit_VumoName")->setText(QStringLiteral("杯_"));
        bar.SetCategory(655, QStringLiteral("保温杯"));
        click(bar, "m_SearchBtn");
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QString(VumoTableQuery()
                         + QStringLiteral(" WHERE title like '%杯/_%' escape '/' AND cid=655 AND vumo_status=2014")));

        click(bar, "ClearBtn");
        QCOMPARE(cleared.count(), 1);
        QVERIFY(field(bar, "lineEdit_Category")->text().isEmpty());
        QCOMPARE(combo->currentIndex(), 0);
        click(bar, "m_SearchBtn");
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
        click(bar, "m_SearchBtn");
        QCOMPARE(messages, QStringList({QStringLiteral("请输入10位数字的商品编号")}));
        QCOMPARE(sent.count(), 0);
    }

    void advancedFormSendsAndCloses()
    {
        BaseDialog<AdvanceSearchWidget> dialog(nullptr, 0);
        AdvanceSearchWidget* adv = dialog.content();
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("高级搜索"));
        QSignalSpy sent(adv, &AdvanceSearchWidget::AdvanceSearchSignal);
        dialog.show();

        // Typed key by key; empty date fields take no part.
        QTest::keyClicks(field(*adv, "YvPriceEdit1"), QStringLiteral("0.5"));
        QTest::keyClicks(field(*adv, "YvPriceEdit2"), QStringLiteral("12."));
        QTest::keyClicks(field(*adv, "VumoStockEdit1"), QStringLiteral("35"));
        QTest::keyClicks(field(*adv, "SKUIDEdit"), QStringLiteral("2000000002"));
        click(*adv, "SearchBtn");
        QVERIFY(messages.isEmpty());
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.takeFirst().at(0).toString(),
                 QStringLiteral("where client_id in (select client_id from vumo_sku where sku_id=2000000002) AND "
                                "(client_id in (select client_id from vumo_sku where yv_price >= 50 AND yv_price <= "
                                "1200)  OR ( yv_price >= 50 AND yv_price <= 1200)) AND stock_num >= 35 AND (%1)"));
        QVERIFY(!dialog.isVisible());
    }

    // Typed key by key into the form, then "查询": the text stays as typed and is refused.
    void advancedRefusesWhatIsNotANumber_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("stock") << "VumoStockEdit2"
                               << "-1" << QStringLiteral("请输入正确的库存");
        QTest::newRow("price") << "YvPriceEdit2"
                               << "-5abc100" << QStringLiteral("请输入正确的价格");
        QTest::newRow("sku") << "SKUIDEdit"
                             << "x99" << QStringLiteral("请输入10位数字的SKU编号");
        QTest::newRow("listing number") << "VumoIdEdit"
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
        click(adv, "SearchBtn");
        QCOMPARE(messages, QStringList({message}));
        QCOMPARE(sent.count(), 0);
    }

    // A day covers all of it, typed or picked: the start field begins at 00:00:00, the end field
    // ends at 23:59:59.
    void onlineTimesCoverWholeDays()
    {
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
        QTest::keyClicks(t1, QStringLiteral("2024/5/1"));
        QTest::mouseClick(t2->findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClicks(t2, QStringLiteral("20240531"));
        QCOMPARE(t1->DisplayedText(), QStringLiteral("2024-05-01 00:00:00"));
        QCOMPARE(t2->DisplayedText(), QStringLiteral("2024-05-31 23:59:59"));
        click(adv, "SearchBtn");
        QVERIFY(messages.isEmpty());
        QCOMPARE(sent.takeFirst().at(0).toString(), expected);

        // "清空" leaves no condition behind.
        click(adv, "ClearBtn");
        QVERIFY(t1->IsEmpty() && t2->IsEmpty());
        click(adv, "SearchBtn");
        QCOMPARE(sent.takeFirst().at(0).toString(), QStringLiteral("where (%1)"));
        emit t1->calendarWidget()->clicked(QDate(2024, 5, 1));
        emit t2->calendarWidget()->clicked(QDate(2024, 5, 31));
        click(adv, "SearchBtn");
        QCOMPARE(sent.takeFirst().at(0).toString(), expected);
    }

    void formsUseTheChineseLocale()
    {
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        VumoSearch bar;
        AdvanceSearchWidget adv(nullptr, 0);
        QCOMPARE(bar.locale(), chinese);
        // The calendar pop-up is a window of its own and would otherwise keep the default locale.
        QCOMPARE(field<QueryDateTimeEdit>(adv, "OnLineTime1")->calendarWidget()->locale(), chinese);
        QCOMPARE(field<QueryDateTimeEdit>(adv, "OnLineTime2")->calendarWidget()->locale(), chinese);
    }

    void stockModeOneHidesTheStock()
    {
        AdvanceSearchWidget adv(nullptr, 1);
        adv.show();
        QVERIFY(!field(adv, "VumoStockEdit1")->isVisible());
        QVERIFY(!field(adv, "VumoStockEdit2")->isVisible());
        QVERIFY(field(adv, "YvPriceEdit1")->isVisible());
        AdvanceSearchWidget managed(nullptr, 0);
        managed.show();
        QVERIFY(field(managed, "VumoStockEdit1")->isVisible());
    }
};

VUMO_TEST_CLASS(TestSearchForms)
#include "TestSearchForms.moc"
