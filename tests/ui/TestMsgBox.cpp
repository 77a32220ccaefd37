// The message box: Chinese button texts, the answer of each button through the real modal
// loop and through the test hook, and the answer when the box is closed without a button.
#include "support/TestMain.h"

#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
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
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Ok), QStringLiteral("确定"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Yes), QStringLiteral("是"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::No), QStringLiteral("否"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Abort), QStringLiteral("中止"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Close), QStringLiteral("关闭"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Cancel), QStringLiteral("取消"));
        QCOMPARE(MsgBox::ButtonText(QMessageBox::Help), QStringLiteral("帮助"));

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
        QVERIFY(box.findChild<QWidget*>(QStringLiteral("msgbox_btnctr")));
        QVERIFY(box.findChild<QWidget*>(QStringLiteral("msgbox_infoctr")));
        QVERIFY(box.findChild<QWidget*>(QStringLiteral("msgbox_promptctrl")));
        QVERIFY(box.findChild<QWidget*>(QStringLiteral("msgbox_promptsplitter")));
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

    void hookAnswersWithoutAUser()
    {
        QStringList seen;
        QList<int> icons;
        SetMsgBoxHook([&](MsgBox& box) -> QMessageBox::StandardButton {
            seen << box.Text();
            icons << int(box.IconKind());
            return QMessageBox::Yes;
        });
        QCOMPARE(ShowMsgBox(nullptr, QStringLiteral("一"), MsgBox::Question, QMessageBox::Yes | QMessageBox::No), 16384);
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
