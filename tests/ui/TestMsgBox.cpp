// The frameless dialog (edge hit-testing, resizing within the size limits, moving by the title
// bar, maximise/restore) and the message box in it: Chinese button texts, the answer of each
// button through the real modal loop and through the test hook, and the answer when the box is
// closed without a button.
#include "support/TestMain.h"

#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace Quorvia::core::ui;

namespace {

// Waits for the modal message dialog and hands its box to `act`.
void whenBoxShows(std::function<void(MsgBox*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = nullptr;
        for (int i = 0; i < 100 && !modal; ++i) {
            modal = QApplication::activeModalWidget();
            if (!modal)
                QTest::qWait(10);
        }
        QVERIFY(modal);
        auto* box = modal->findChild<MsgBox*>();
        QVERIFY(box);
        act(box);
    });
}

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

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetMsgBoxHook({}); }

    void edgesUnderThePointer()
    {
        const QSize size(400, 300);
        QCOMPARE(DialogEdgesAt(QPoint(200, 150), size, 5), Qt::Edges());
        QCOMPARE(DialogEdgesAt(QPoint(0, 150), size, 5), Qt::Edges(Qt::LeftEdge));
        QCOMPARE(DialogEdgesAt(QPoint(398, 298), size, 5), Qt::RightEdge | Qt::BottomEdge);
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
        QTest::newRow("right beyond maximum") << r << QPoint(500, 0) << QRect(100, 100, 600, 300);
        QTest::newRow("left shrinks, right stays") << l << QPoint(150, 0) << QRect(250, 100, 250, 300);
        QTest::newRow("left below minimum") << l << QPoint(350, 0) << QRect(300, 100, 200, 300);
        QTest::newRow("left grows beyond maximum") << l << QPoint(-400, 0) << QRect(-100, 100, 600, 300);
        QTest::newRow("bottom-right corner") << (r | b) << QPoint(-300, 500) << QRect(100, 100, 200, 450);
        QTest::newRow("top below minimum") << t << QPoint(0, 200) << QRect(100, 250, 400, 150);
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

    // The mouse reaches the rules above: a border drag resizes within the limits, a title drag
    // moves the window.
    void draggingBorderAndTitle()
    {
        BaseDialog<Content> dialog;
        dialog.setMaximumSize(600, 500);
        dialog.setGeometry(50, 50, 400, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint topLeft = dialog.pos();
        dragBorder(&dialog, QPoint(399, 299), QPoint(900, 40));
        QTRY_COMPARE(dialog.size(), QSize(600, 340));
        QCOMPARE(dialog.pos(), topLeft);
        QCOMPARE(dialog.ResizingEdges(), Qt::Edges());

        BaseDialogTitle* title = dialog.Title();
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
        QCOMPARE(dialog.size(), QSize(600, 340));
    }

    void maximiseAndRestoreFromButtonAndTitle()
    {
        BaseDialog<Content> dialog;
        dialog.setGeometry(100, 100, 400, 300);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        BaseDialogTitle* title = dialog.Title();
        QTest::mouseClick(title->MaxBtn(), Qt::LeftButton);
        QTRY_VERIFY(dialog.isMaximized());
        QCOMPARE(title->MaxBtn()->toolTip(), QStringLiteral("还原"));
        // A maximised window is not resized from its border.
        const QSize maximised = dialog.size();
        dragBorder(&dialog, QPoint(1, 100), QPoint(100, 0));
        QCOMPARE(dialog.size(), maximised);

        QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        QTRY_VERIFY(!dialog.isMaximized());
        QCOMPARE(title->MaxBtn()->toolTip(), QStringLiteral("最大化"));

        // A fixed-size dialog ignores the double-click.
        title->SetMaximizable(false);
        QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
        QVERIFY(!dialog.isMaximized());
        QVERIFY(title->MaxBtn()->isHidden());
    }

    void buttonTexts()
    {
        MsgBox box;
        box.SetButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.Button(QMessageBox::Yes)->text(), QStringLiteral("是"));
        QCOMPARE(box.Button(QMessageBox::No)->text(), QStringLiteral("否"));
        QCOMPARE(box.Button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QVERIFY(!box.Button(QMessageBox::Ok));
        box.SetButtons(QMessageBox::Ok); // replaces them
        QCOMPARE(box.findChildren<QPushButton*>().size(), 1);
    }

    void answersThroughTheModalLoop()
    {
        QString shownText;
        QString dialogTitle;
        whenBoxShows([&](MsgBox* box) {
            shownText = box->Text();
            dialogTitle = box->window()->windowTitle();
            QTest::mouseClick(box->Button(QMessageBox::Yes), Qt::LeftButton);
        });
        const int answer = ShowMsgBox(nullptr, QStringLiteral("确定要删除吗？"), MsgBox::Question,
                                      QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answer, 16384);
        QCOMPARE(shownText, QStringLiteral("确定要删除吗？"));
        QCOMPARE(dialogTitle, QStringLiteral("Quorvia工作台"));

        whenBoxShows([](MsgBox* box) { QTest::mouseClick(box->Button(QMessageBox::No), Qt::LeftButton); });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("问"), MsgBox::Question, QMessageBox::Yes | QMessageBox::No),
                 int(QMessageBox::No));

        whenBoxShows([](MsgBox* box) { QTest::mouseClick(box->Button(QMessageBox::Ok), Qt::LeftButton); });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("提示")), 1024);
    }

    void closingWithoutAButtonNeverAnswersYes()
    {
        whenBoxShows([](MsgBox* box) { box->window()->close(); });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("问"), MsgBox::Question, QMessageBox::Yes | QMessageBox::No),
                 int(QMessageBox::No));

        whenBoxShows([](MsgBox* box) { QTest::keyClick(box->window(), Qt::Key_Escape); });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("问"), MsgBox::Question,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                 int(QMessageBox::Cancel));
    }

    // The box shows all of its text, wrapped, and stays on the screen: the delete confirmation
    // of for-sale listings grows the box, a text taller than the screen (a server's error page,
    // say) scrolls inside it.
    void longTextsShowWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("delete confirmation") << QStringLiteral(
            "您确认要删除选中的商品吗？\n注意：选中的待售商品将从商家后台删除，同时Quorvia工作台将其放入本地回收站！")
                                             << false;
        QTest::newRow("beyond the screen") << QStringLiteral("服务器返回：")
                + QString(20000, QLatin1Char('x')).replace(QLatin1String("xxxx"), QLatin1String("abc "))
                                           << true;
    }
    void longTextsShowWhole()
    {
        QFETCH(QString, text);
        QFETCH(bool, scrolls);
        // Measured while the box shows, checked after it has been answered.
        QString shown;
        bool wordWrap = false;
        int height = 0;
        int neededHeight = 0;
        bool scrolled = false;
        QStringList clippedBy; // the label's parents that cut part of it off
        QRect window;
        QRect screen;
        whenBoxShows([&](MsgBox* box) {
            window = box->window()->frameGeometry();
            screen = box->window()->screen()->availableGeometry();
            if (auto* scroll = box->findChild<QScrollArea*>())
                scrolled = scroll->verticalScrollBar()->maximum() > 0;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("msgbox_text"))) {
                shown = label->text();
                wordWrap = label->wordWrap();
                height = label->height();
                neededHeight = label->heightForWidth(label->width());
                for (QWidget* w = label->parentWidget(); w; w = w->parentWidget()) {
                    if (!w->rect().contains(QRect(label->mapTo(w, QPoint(0, 0)), label->size())))
                        clippedBy << w->objectName();
                    if (w == box->window())
                        break;
                }
            }
            QTest::mouseClick(box->Button(QMessageBox::Ok), Qt::LeftButton);
        });
        QCOMPARE(ShowMsgBox(nullptr, text), int(QMessageBox::Ok));
        QCOMPARE(shown, text);
        QVERIFY(wordWrap);
        QCOMPARE(scrolled, scrolls);
        // Unless it scrolls, the label is as high as its text needs and no parent cuts it off.
        if (!scrolls) {
            QVERIFY2(height >= neededHeight, qPrintable(QStringLiteral("%1 < %2").arg(height).arg(neededHeight)));
            QVERIFY2(clippedBy.isEmpty(), qPrintable(clippedBy.join(QLatin1Char(','))));
        }
        QVERIFY(screen.contains(window));
    }
};

VUMO_TEST_CLASS(TestMsgBox)
#include "TestMsgBox.moc"
