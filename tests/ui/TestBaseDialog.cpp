// The frameless dialog: edge hit-testing, resizing within the size limits, moving by the title
// bar, and maximise/restore from the button and from a title double-click.
#include "support/TestMain.h"

#include "ui/BaseDialog.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace Quorvia::core::ui;

namespace {

class Content : public QLabel
{
public:
    explicit Content(QWidget* parent)
        : QLabel(QStringLiteral("内容"), parent)
    {
        setWindowTitle(QStringLiteral("测试窗口"));
    }
};

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& local, const QPoint& global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses at `local` of the dialog, drags by `delta`, releases.
void dragBorder(QWidget* dialog, const QPoint& local, const QPoint& delta)
{
    const QPoint global = dialog->mapToGlobal(local);
    sendMouse(dialog, QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton);
    sendMouse(dialog, QEvent::MouseMove, local + delta, global + delta, Qt::NoButton, Qt::LeftButton);
    sendMouse(dialog, QEvent::MouseButtonRelease, local + delta, global + delta, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void edgesUnderThePointer()
    {
        const QSize size(400, 300);
        QCOMPARE(DialogEdgesAt(QPoint(200, 150), size, 5), Qt::Edges());
        QCOMPARE(DialogEdgesAt(QPoint(0, 150), size, 5), Qt::Edges(Qt::LeftEdge));
        QCOMPARE(DialogEdgesAt(QPoint(399, 150), size, 5), Qt::Edges(Qt::RightEdge));
        QCOMPARE(DialogEdgesAt(QPoint(200, 297), size, 5), Qt::Edges(Qt::BottomEdge));
        QCOMPARE(DialogEdgesAt(QPoint(2, 2), size, 5), Qt::LeftEdge | Qt::TopEdge);
        QCOMPARE(DialogEdgesAt(QPoint(398, 298), size, 5), Qt::RightEdge | Qt::BottomEdge);
        QCOMPARE(DialogEdgesAt(QPoint(398, 1), size, 5), Qt::RightEdge | Qt::TopEdge);
        QCOMPARE(DialogEdgesAt(QPoint(5, 5), size, 5), Qt::Edges());
        QCOMPARE(DialogEdgesAt(QPoint(-1, 5), size, 5), Qt::Edges());
    }

    void resizeKeepsTheLimitsAndTheOppositeEdges_data()
    {
        QTest::addColumn<int>("edges");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("expected");
        const int l = Qt::LeftEdge, r = Qt::RightEdge, t = Qt::TopEdge, b = Qt::BottomEdge;
        // start (100,100 400x300), minimum 200x150, maximum 600x450
        QTest::newRow("right grows") << r << QPoint(50, 0) << QRect(100, 100, 450, 300);
        QTest::newRow("right beyond maximum") << r << QPoint(500, 0) << QRect(100, 100, 600, 300);
        QTest::newRow("left shrinks, right stays") << l << QPoint(150, 0) << QRect(250, 100, 250, 300);
        QTest::newRow("left below minimum") << l << QPoint(350, 0) << QRect(300, 100, 200, 300);
        QTest::newRow("left grows beyond maximum") << l << QPoint(-400, 0) << QRect(-100, 100, 600, 300);
        QTest::newRow("top below minimum") << t << QPoint(0, 200) << QRect(100, 250, 400, 150);
        QTest::newRow("bottom-right corner") << (r | b) << QPoint(-300, 500) << QRect(100, 100, 200, 450);
        QTest::newRow("top-left corner") << (l | t) << QPoint(-20, -30) << QRect(80, 70, 420, 330);
        QTest::newRow("no edge") << 0 << QPoint(40, 40) << QRect(100, 100, 400, 300);
    }
    void resizeKeepsTheLimitsAndTheOppositeEdges()
    {
        QFETCH(int, edges);
        QFETCH(QPoint, delta);
        QFETCH(QRect, expected);
        QCOMPARE(
            DialogResizedGeometry(QRect(100, 100, 400, 300), Qt::Edges(edges), delta, QSize(200, 150), QSize(600, 450)),
            expected);
    }

    void draggingTheBorderResizesTheWindow()
    {
        BaseDialog<Content> dialog;
        dialog.setMinimumSize(300, 200);
        dialog.setMaximumSize(600, 500);
        dialog.setGeometry(50, 50, 400, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QRect before = dialog.geometry();

        dragBorder(&dialog, QPoint(399, 299), QPoint(80, 40));
        QTRY_COMPARE(dialog.size(), QSize(480, 340));
        QCOMPARE(dialog.geometry().topLeft(), before.topLeft());
        QCOMPARE(dialog.ResizingEdges(), Qt::Edges());

        // Far beyond the maximum, then far below the minimum from the left edge.
        dragBorder(&dialog, QPoint(479, 339), QPoint(900, 900));
        QTRY_COMPARE(dialog.size(), QSize(600, 500));
        const int right = dialog.geometry().right();
        dragBorder(&dialog, QPoint(1, 250), QPoint(550, 0));
        QTRY_COMPARE(dialog.width(), 300);
        QCOMPARE(dialog.geometry().right(), right);
    }

    void draggingTheTitleMovesTheWindow()
    {
        BaseDialog<Content> dialog;
        dialog.setGeometry(100, 120, 400, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BaseDialogTitle* title = dialog.Title();
        QCOMPARE(title->Title(), QStringLiteral("测试窗口"));
        const QPoint start = dialog.pos();
        const QPoint local(60, 10);
        const QPoint global = title->mapToGlobal(local);
        sendMouse(title, QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(dialog.IsMoving());
        sendMouse(title, QEvent::MouseMove, local + QPoint(30, 25), global + QPoint(30, 25), Qt::NoButton,
                  Qt::LeftButton);
        sendMouse(title, QEvent::MouseButtonRelease, local + QPoint(30, 25), global + QPoint(30, 25), Qt::LeftButton,
                  Qt::NoButton);
        QVERIFY(!dialog.IsMoving());
        QTRY_COMPARE(dialog.pos(), start + QPoint(30, 25));
        QCOMPARE(dialog.size(), QSize(400, 300));
    }

    void maximiseAndRestoreFromButtonAndTitle()
    {
        BaseDialog<Content> dialog;
        dialog.setGeometry(100, 100, 400, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BaseDialogTitle* title = dialog.Title();
        QCOMPARE(title->MiniBtn()->toolTip(), QStringLiteral("最小化"));
        QCOMPARE(title->MaxBtn()->toolTip(), QStringLiteral("最大化"));
        QCOMPARE(title->CloseBtn()->toolTip(), QStringLiteral("关闭"));

        QTest::mouseClick(title->MaxBtn(), Qt::LeftButton);
        QTRY_VERIFY(dialog.isMaximized());
        QCOMPARE(title->MaxBtn()->toolTip(), QStringLiteral("还原"));
        const QString restoreStyle = title->MaxBtn()->styleSheet();

        QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        QTRY_VERIFY(!dialog.isMaximized());
        QCOMPARE(title->MaxBtn()->toolTip(), QStringLiteral("最大化"));
        QVERIFY(title->MaxBtn()->styleSheet() != restoreStyle);

        QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        QTRY_VERIFY(dialog.isMaximized());

        // A maximised window is not resized from its border.
        const QSize maximised = dialog.size();
        dragBorder(&dialog, QPoint(1, 100), QPoint(100, 0));
        QCOMPARE(dialog.size(), maximised);
    }

    void fixedSizeDialogIgnoresTheDoubleClick()
    {
        BaseDialog<Content> dialog;
        dialog.Title()->SetMaximizable(false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseDClick(dialog.Title(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        QVERIFY(!dialog.isMaximized());
        QVERIFY(dialog.Title()->MaxBtn()->isHidden());
    }

    void contentTitleIsTheWindowTitle()
    {
        BaseDialog<Content> dialog;
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(dialog.content()->parent(), &dialog);
        dialog.content()->setWindowTitle(QStringLiteral("新标题"));
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("新标题"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("新标题"));
    }

    void closeButtonClosesTheDialog()
    {
        BaseDialog<Content> dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.Title()->CloseBtn(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

VUMO_TEST_CLASS(TestBaseDialog)
#include "TestBaseDialog.moc"
