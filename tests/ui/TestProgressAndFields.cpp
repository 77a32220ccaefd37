// The progress frame (formats, cancel, finish, opening the result), the date-time field that
// stays empty until picked, and the delegate without focus frame.
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/hostservices/AppShareHelp.h"
#include "ui/BaseDialog.h"
#include "ui/MsgBox.h"
#include "ui/NoFocusTableViewDelegate.h"
#include "ui/QueryDateTimeEdit.h"
#include "ui/VaProgressFrame.h"

#include <QCalendarWidget>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Quorvia::core::ui;

class TestProgressAndFields : public QObject
{
    Q_OBJECT

    QList<QUrl> opened;
    QStringList messages;

public slots:
    // Stands in for the desktop's file opener (QDesktopServices' handler for "file").
    void openUrl(const QUrl& url) { opened << url; }

private slots:
    void init()
    {
        opened.clear();
        messages.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        SetMsgBoxHook([this](MsgBox& box) {
            messages << box.Text();
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        SetMsgBoxHook({});
    }

    void progressTextFormats()
    {
        VaProgressFrame frame;
        QCOMPARE(frame.ButtonText(), QStringLiteral("取消"));
        frame.SetRange(0, 10);
        frame.SetValue(3);
        frame.SetTextFormat(QStringLiteral("完成删除第%v个%1，共%m个%1"), QStringLiteral("商品"));
        QCOMPARE(frame.ProgressText(), QStringLiteral("完成删除第3个商品，共10个商品"));
        frame.SetValue(7);
        QCOMPARE(frame.ProgressText(), QStringLiteral("完成删除第7个商品，共10个商品"));
        frame.SetTextFormat(QStringLiteral("已完成删除%1%p%"), QStringLiteral("商品"));
        QCOMPARE(frame.ProgressText(), QStringLiteral("已完成删除商品70%"));
        frame.SetLabelText(QStringLiteral("正在删除"));
        QCOMPARE(frame.LabelText(), QStringLiteral("正在删除"));
    }

    void cancelIsSignalledOnce()
    {
        VaProgressFrame frame;
        QSignalSpy cancel(&frame, &VaProgressFrame::CancelSignal);
        QVERIFY(!frame.IsCanceled());
        QTest::mouseClick(frame.CancelButton(), Qt::LeftButton);
        QVERIFY(frame.IsCanceled());
        QCOMPARE(cancel.count(), 1);
        frame.OnButtonClicked();
        QCOMPARE(cancel.count(), 1);
    }

    void finishWithAndWithoutResultFile()
    {
        BaseDialog<VaProgressFrame> dialog;
        VaProgressFrame* frame = dialog.content();
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("Quorvia工作台"));
        frame->SetTitle(QStringLiteral("导出商品"));
        QCOMPARE(dialog.Title()->Title(), QStringLiteral("导出商品"));
        dialog.show();
        QVERIFY(!frame->OpenFileButton()->isVisible());

        frame->Finish();
        QCOMPARE(frame->ButtonText(), QStringLiteral("确定"));
        QVERIFY(!frame->OpenFileButton()->isVisible());
        QVERIFY(!frame->OpenFolderButton()->isVisible());

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("导出.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.close();
        frame->Finish(file);
        QVERIFY(frame->OpenFileButton()->isVisible());
        QVERIFY(frame->OpenFolderButton()->isVisible());
        QCOMPARE(frame->OpenFileButton()->text(), QStringLiteral("打开文件"));
        QCOMPARE(frame->OpenFolderButton()->text(), QStringLiteral("打开所在文件夹"));

        QTest::mouseClick(frame->OpenFileButton(), Qt::LeftButton);
        QTest::mouseClick(frame->OpenFolderButton(), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(file), QUrl::fromLocalFile(dir.path())}));
        QVERIFY(messages.isEmpty());

        // "确定" after the finish closes the dialog; it never reports a cancel.
        QSignalSpy cancel(frame, &VaProgressFrame::CancelSignal);
        QTest::mouseClick(frame->CancelButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(cancel.count(), 0);
    }

    // Closing the window before the end (title bar button, Escape) cancels once and keeps it
    // open; when the work has ended it closes by itself.
    void closingBeforeTheEndCancelsAndWaits()
    {
        BaseDialog<VaProgressFrame> dialog;
        VaProgressFrame* frame = dialog.content();
        QSignalSpy cancel(frame, &VaProgressFrame::CancelSignal);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(cancel.count(), 1);
        QVERIFY(frame->IsCanceled());
        QVERIFY(frame->IsCloseRequested());
        QVERIFY(!frame->CancelButton()->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QCOMPARE(cancel.count(), 1);

        frame->Finish();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        // Finished first: the title bar button closes at once, without a cancel.
        BaseDialog<VaProgressFrame> done;
        QSignalSpy noCancel(done.content(), &VaProgressFrame::CancelSignal);
        done.show();
        done.content()->Finish();
        QVERIFY(done.isVisible()); // the seller reads the summary first
        QTest::mouseClick(done.findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
        QVERIFY(!done.isVisible());
        QCOMPARE(noCancel.count(), 0);
    }

    void openingAMissingOrRefusedFileSaysSo()
    {
        VaProgressFrame frame;
        frame.Finish(
            QDir::temp().filePath(QStringLiteral("no-such-file-%1.csv").arg(QCoreApplication::applicationPid())));
        frame.OnOpenFile();
        QVERIFY(opened.isEmpty());
        QCOMPARE(messages, QStringList({QStringLiteral("打开失败!")}));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.close();
        // A handler Qt cannot call makes openUrl() fail, as a desktop without an opener does.
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "refuse");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No such method")));
        frame.Finish(file);
        frame.OnOpenFolder();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.last(), QStringLiteral("打开失败!"));
    }

    void dateTimeFieldIsEmptyUntilPicked()
    {
        // Inside a styled frame, as in the dialogs.
        QFrame frame;
        frame.setObjectName(QStringLiteral("styled"));
        frame.setStyleSheet(QStringLiteral("QFrame#styled { background: #F4F6FA; }"));
        QueryDateTimeEdit edit(&frame);
        edit.resize(200, 26);
        frame.resize(220, 40);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QVERIFY(edit.IsEmpty());
        QVERIFY(edit.DisplayedText().isEmpty());
        QCOMPARE(edit.minimumDate(), QDate(2004, 1, 1));
        QVERIFY(qAbs(edit.dateTime().secsTo(QDateTime::currentDateTime())) < 60);

        // Nothing of the value is painted: a different value looks the same.
        edit.clearFocus();
        const QImage blank = edit.grab().toImage();
        edit.setDateTime(QDateTime(QDate(2011, 11, 11), QTime(11, 11, 11)));
        QCOMPARE(edit.grab().toImage(), blank);

        emit edit.calendarWidget()->clicked(QDate(2020, 5, 6));
        QVERIFY(!edit.IsEmpty());
        QVERIFY(edit.DisplayedText().startsWith(QStringLiteral("2020-05-06")));
        QVERIFY(edit.grab().toImage() != blank);

        // Dates before the minimum are not taken.
        edit.setDate(QDate(2001, 2, 3));
        QCOMPARE(edit.date(), QDate(2004, 1, 1));

        edit.SetEmpty(true);
        QVERIFY(edit.DisplayedText().isEmpty());
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_Up);
        QVERIFY(!edit.IsEmpty());
    }

    void typedDateIsTakenAndPickedDayGetsItsTime()
    {
        QueryDateTimeEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setFocus();
        const QTime before = edit.time();
        // The first digit typed into the blank field counts like the others.
        QTest::keyClicks(&edit, QStringLiteral("2024-05-01"));
        QVERIFY(!edit.IsEmpty());
        QCOMPARE(edit.date(), QDate(2024, 5, 1));
        QCOMPARE(edit.time(), before); // no pick time: the time is left alone

        // Typed over the whole selected text: a new value from the year on.
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&edit, QStringLiteral("2023-04-02 09:08:07"));
        QCOMPARE(edit.dateTime(), QDateTime(QDate(2023, 4, 2), QTime(9, 8, 7)));

        edit.SetEmpty(true);
        edit.SetPickTime(QTime(23, 59, 59));
        emit edit.calendarWidget()->clicked(QDate(2024, 6, 2));
        QCOMPARE(edit.dateTime(), QDateTime(QDate(2024, 6, 2), QTime(23, 59, 59)));

        const QLocale chinese(QLocale::Chinese, QLocale::China);
        edit.setLocale(chinese);
        QCOMPARE(edit.calendarWidget()->locale(), chinese);
    }

    void resetFollowsTheServerTime()
    {
        VumoTest::TempHome home;
        QTemporaryDir noServices;
        const bool wasSet = qEnvironmentVariableIsSet("QUORVIA_SERVICE_DIR");
        const QByteArray previous = qgetenv("QUORVIA_SERVICE_DIR");
        qputenv("QUORVIA_SERVICE_DIR", noServices.path().toLocal8Bit());
        Quorvia::utils::AppShareHelp::instance()->Reload();
        const auto restore = qScopeGuard([wasSet, &previous] {
            if (!wasSet)
                qunsetenv("QUORVIA_SERVICE_DIR");
            else
                qputenv("QUORVIA_SERVICE_DIR", previous);
            Quorvia::utils::AppShareHelp::instance()->Reload();
        });

        QueryDateTimeEdit edit;
        emit edit.calendarWidget()->clicked(QDate(2010, 1, 1));
        edit.Reset(-1, -2);
        // Without the service the server time is the local time.
        const QDateTime max = edit.maximumDateTime();
        QVERIFY(qAbs(max.secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(edit.dateTime(), max.addMonths(-1).addDays(-2));
        QVERIFY(edit.IsEmpty());
    }

    void delegatePaintsNoFocusFrame()
    {
        QStandardItemModel model(1, 1);
        model.setData(model.index(0, 0), QStringLiteral("单元格"));
        // The style outlives the view that uses it.
        std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
        QVERIFY(windows);
        QTableView view;
        view.setStyle(windows.get());
        view.setModel(&model);

        auto paint = [&](QAbstractItemDelegate& delegate, bool focus) {
            QImage image(120, 30, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.initFrom(&view);
            option.widget = &view;
            option.rect = QRect(0, 0, 120, 30);
            option.state = QStyle::State_Enabled | QStyle::State_Active;
            if (focus)
                option.state |= QStyle::State_HasFocus;
            delegate.paint(&painter, option, model.index(0, 0));
            return image;
        };
        QStyledItemDelegate base;
        NoFocusTableViewDelegate noFocus;
        // The base delegate does draw a focus frame in this style...
        QVERIFY(paint(base, true) != paint(base, false));
        // ...ours does not, and otherwise paints the same.
        QCOMPARE(paint(noFocus, true), paint(noFocus, false));
        QCOMPARE(paint(noFocus, false), paint(base, false));
    }
};

VUMO_TEST_CLASS(TestProgressAndFields)
#include "TestProgressAndFields.moc"
