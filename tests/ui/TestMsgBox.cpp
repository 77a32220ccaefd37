// The message box: Chinese button texts, the answer of each button through the real modal
// loop and through the test hook, and the answer when the box is closed without a button.
#include "support/TestMain.h"

#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
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

} // namespace

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SetMsgBoxHook({}); }

    void buttonTexts()
    {
        MsgBox box;
        box.SetButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.Button(QMessageBox::Yes)->text(), QStringLiteral("是"));
        QCOMPARE(box.Button(QMessageBox::No)->text(), QStringLiteral("否"));
        QCOMPARE(box.Button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        QVERIFY(!box.Button(QMessageBox::Ok));
        // Setting the buttons again replaces them.
        box.SetButtons(QMessageBox::Ok);
        QVERIFY(box.Button(QMessageBox::Ok));
        QVERIFY(!box.Button(QMessageBox::Yes));
        QCOMPARE(box.findChildren<QPushButton*>().size(), 1);
    }

    void yesThroughTheModalLoop()
    {
        QString shownText;
        QString dialogTitle;
        whenBoxShows([&](MsgBox* box) {
            shownText = box->Text();
            dialogTitle = box->window()->windowTitle();
            QCOMPARE(box->Button(QMessageBox::Yes)->text(), QStringLiteral("是"));
            QCOMPARE(box->Button(QMessageBox::No)->text(), QStringLiteral("否"));
            QTest::mouseClick(box->Button(QMessageBox::Yes), Qt::LeftButton);
        });
        const int answer = ShowMsgBox(nullptr, QStringLiteral("确定要删除吗？"), MsgBox::Question,
                                      QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answer, 16384);
        QCOMPARE(shownText, QStringLiteral("确定要删除吗？"));
        QCOMPARE(dialogTitle, QStringLiteral("Quorvia工作台"));
    }

    void noAndOkThroughTheModalLoop()
    {
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

    // The box grows to show all of its text, wrapped, and stays on the screen: the delete
    // confirmation of for-sale listings and a text of 500 characters, shown through the real
    // modal loop.
    void longTextsShowWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("delete confirmation") << QStringLiteral(
            "您确认要删除选中的商品吗？\n注意：选中的待售商品将从商家后台删除，同时Quorvia工作台将其放入本地回收站！");
        QString longText;
        for (int i = 0; longText.size() < 500; ++i)
            longText += (i % 7 == 6) ? QStringLiteral("Quorvia ") : QStringLiteral("商品信息有误，");
        longText.truncate(500);
        QTest::newRow("500 characters") << longText;
    }
    void longTextsShowWhole()
    {
        QFETCH(QString, text);
        // Measured while the box shows, checked after it has been answered.
        struct Seen
        {
            QString text;
            bool wordWrap = false;
            int height = 0;
            int neededHeight = 0;
            int width = 0;
            QStringList clippedBy; // the label's parents that cut part of it off
            QRect window;
            QRect screen;
        } seen;
        whenBoxShows([&](MsgBox* box) {
            auto* label = box->findChild<QLabel*>(QStringLiteral("msgbox_text"));
            if (label) {
                QWidget* window = box->window();
                seen.text = label->text();
                seen.wordWrap = label->wordWrap();
                seen.height = label->height();
                seen.neededHeight = label->heightForWidth(label->width());
                seen.width = label->width();
                for (QWidget* w = label->parentWidget(); w; w = w->parentWidget()) {
                    if (!w->rect().contains(QRect(label->mapTo(w, QPoint(0, 0)), label->size())))
                        seen.clippedBy << w->objectName();
                    if (w == window)
                        break;
                }
                seen.window = window->frameGeometry();
                seen.screen = window->screen()->availableGeometry();
            }
            QTest::mouseClick(box->Button(QMessageBox::Ok), Qt::LeftButton);
        });
        QCOMPARE(ShowMsgBox(nullptr, text), int(QMessageBox::Ok));
        QCOMPARE(seen.text, text);
        QVERIFY(seen.wordWrap);
        // The label is as high as its text needs at its width, and no parent cuts it off.
        QVERIFY2(seen.height >= seen.neededHeight,
                 qPrintable(QStringLiteral("%1 < %2").arg(seen.height).arg(seen.neededHeight)));
        QVERIFY2(seen.clippedBy.isEmpty(), qPrintable(seen.clippedBy.join(QLatin1Char(','))));
        // Wrapped into a box that stays on the screen.
        QVERIFY(seen.width < seen.screen.width());
        QVERIFY(seen.screen.contains(seen.window));
    }

    // A text taller than the screen allows (a server's error page, say) scrolls inside a box
    // that stays on the screen.
    void textBeyondTheScreenScrolls()
    {
        const QString text = QStringLiteral("服务器返回：")
            + QString(20000, QLatin1Char('x')).replace(QLatin1String("xxxx"), QLatin1String("abc "));
        QRect window;
        QRect screen;
        bool scrolls = false;
        QString shown;
        whenBoxShows([&](MsgBox* box) {
            window = box->window()->frameGeometry();
            screen = box->window()->screen()->availableGeometry();
            if (auto* scroll = box->findChild<QScrollArea*>())
                scrolls = scroll->verticalScrollBar()->maximum() > 0;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("msgbox_text")))
                shown = label->text();
            QTest::mouseClick(box->Button(QMessageBox::Ok), Qt::LeftButton);
        });
        QCOMPARE(ShowMsgBox(nullptr, text), int(QMessageBox::Ok));
        QCOMPARE(shown, text);
        QVERIFY(scrolls);
        QVERIFY(screen.contains(window));
    }

    void hookAnswersWithoutAUser()
    {
        QStringList seen;
        QList<int> icons;
        SetMsgBoxHook([&](MsgBox& box) -> QMessageBox::StandardButton {
            seen << box.Text();
            icons << int(box.IconKind());
            return QMessageBox::Yes;
        });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("一"), MsgBox::Question, QMessageBox::Yes | QMessageBox::No),
                 16384);
        // A button the box does not have gives the escape answer.
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("二"), MsgBox::Question, QMessageBox::Ok), 1024);
        QCOMPARE(seen, QStringList({QStringLiteral("一"), QStringLiteral("二")}));
        QCOMPARE(icons, QList<int>({int(MsgBox::Question), int(MsgBox::Question)}));
    }

    void responsesEmitTheirSignals()
    {
        BaseDialog<MsgBox> dialog;
        MsgBox* box = dialog.content();
        box->SetButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
        QSignalSpy yes(box, &MsgBox::SignalYes);
        QSignalSpy no(box, &MsgBox::SignalNo);
        QSignalSpy ok(box, &MsgBox::SignalOk);
        QSignalSpy cancel(box, &MsgBox::SignalCancel);

        QTest::mouseClick(box->Button(QMessageBox::No), Qt::LeftButton);
        QCOMPARE(no.count(), 1);
        QCOMPARE(box->Result(), QMessageBox::No);
        QCOMPARE(dialog.result(), int(QMessageBox::No));
        box->ResponseYes();
        box->ResponseOk();
        box->ResponseCancel();
        QCOMPARE(yes.count(), 1);
        QCOMPARE(ok.count(), 1);
        QCOMPARE(cancel.count(), 1);
        QCOMPARE(no.count(), 1);
        QCOMPARE(box->Result(), QMessageBox::Cancel);
    }
};

VUMO_TEST_CLASS(TestMsgBox)
#include "TestMsgBox.moc"
