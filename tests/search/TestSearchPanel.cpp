// The advanced-search panel inside the listing page: the tool-bar toggle swaps it with the quick
// bar, and its search loads the search results.
#include "plugin/ListingPage.h"
#include "support/TestMain.h"

#include "plugin/AdvanceSearchWidget.h"
#include "plugin/VumoSearch.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Quorvia::vumo;

class TestSearchPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<VumoTest::Page> page;
    VumoMainWidget* widget = nullptr;

    AdvanceSearchWidget* panel() const
    {
        return widget->findChild<AdvanceSearchWidget*>(QStringLiteral("VumoAdvanceSearchPanel"));
    }
    VumoSearch* quickBar() const { return widget->findChild<VumoSearch*>(); }
    QToolButton* toggle() const { return widget->CommandButton(VumoMainWidget::CommandToggleSearch); }

private slots:
    void init()
    {
        page = std::make_unique<VumoTest::Page>(QList<QPair<QString, int>>{{"a", 2014}, {"b", 2014}});
        widget = page->widget.get();
        QVERIFY(page->ready());
        page->answerBoxes(QMessageBox::Ok);
    }
    void cleanup() { page.reset(); }

    void toggleSwapsPanelAndQuickBar()
    {
        QVERIFY(panel());
        QVERIFY(quickBar());
        // The page opens with the panel shown, and the button says what a click does next.
        QVERIFY(panel()->isVisible());
        QVERIFY(!quickBar()->isVisible());

        QTest::mouseClick(toggle(), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QVERIFY(quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("展开搜索栏"));

        QTest::mouseClick(toggle(), Qt::LeftButton);
        QVERIFY(panel()->isVisible());
        QVERIFY(!quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("收起搜索栏"));

        // "关闭" on the panel collapses it like the toggle.
        QTest::mouseClick(panel()->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
        QVERIFY(!panel()->isVisible());
        QVERIFY(quickBar()->isVisible());
        QCOMPARE(toggle()->text(), QStringLiteral("展开搜索栏"));
    }

    void panelSearchLoadsTheResults()
    {
        AdvanceSearchWidget* form = panel();
        QVERIFY(form && form->isVisible());
        form->findChild<QLineEdit*>(QStringLiteral("VumoNameEdit"))->setText(QStringLiteral("保温杯 a"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("SearchBtn")), Qt::LeftButton);
        QVERIFY(page->questions.isEmpty());
        QCOMPARE(widget->SearchText(), QStringLiteral("where title like '%保温杯 a%'  escape '/' AND (%1)"));
        QCOMPARE(widget->CurrentClass(), int(VumoClassSearch));
        VumoTableViewModel* model = widget->TableView()->VumoModel();
        QCOMPARE(model->rowCount(), 1);
        // The panel stays open for the next search.
        QVERIFY(form->isVisible());

        // A refused entry leaves the results as they were.
        QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("VumoStockEdit1")), QStringLiteral("3.5"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("SearchBtn")), Qt::LeftButton);
        QCOMPARE(page->questions, QStringList({QStringLiteral("请输入正确的库存")}));
        QCOMPARE(widget->SearchText(), QStringLiteral("where title like '%保温杯 a%'  escape '/' AND (%1)"));
        QCOMPARE(model->rowCount(), 1);
    }
};

VUMO_TEST_CLASS(TestSearchPanel)
#include "TestSearchPanel.moc"
