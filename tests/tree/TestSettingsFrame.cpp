// The column settings: what a saved layout becomes, the moves and ticks, and the frame's
// save through CUserConfig with the change signal the table listens for.
#include "support/ListingFixture.h"
#include "support/TempHome.h"
#include "support/TestMain.h"

#include "plugin/SettingsFrame.h"
#include "plugin/TableInfo.h"
#include "plugin/UserInfo.h"
#include "plugin/VumoColumnSettings.h"
#include "quorvia/LoginRecord.h"
#include "quorvia/UserConfig.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Quorvia::vumo;
using quorvia::settings::CUserConfig;
using VumoTest::ReadColumnLayout;
using VumoTest::WriteColumnLayout;

namespace {

VumoColumnChoice c(int column, int width, bool visible)
{
    VumoColumnChoice choice;
    choice.column = column;
    choice.width = width;
    choice.visible = visible;
    return choice;
}

QMap<int, QString> headers()
{
    return TableInfo::instance()->GetColumnMap();
}

QList<int> columnsOf(const QVector<VumoColumnChoice>& list)
{
    QList<int> columns;
    for (const VumoColumnChoice& c : list)
        columns << c.column;
    return columns;
}

void setStockMode(int stockMode)
{
    Quorvia::core::plugin::LoginRecord record;
    record.stockMode = stockMode;
    UserInfo::instance()->SetLogin(record);
}

} // namespace

class TestSettingsFrame : public QObject
{
    Q_OBJECT
    std::unique_ptr<VumoTest::TempHome> m_home;

private slots:
    void init()
    {
        m_home = std::make_unique<VumoTest::TempHome>();
        CUserConfig::SetCurrentUser(QStringLiteral("u"));
        setStockMode(-1);
    }
    void cleanup()
    {
        setStockMode(-1);
        CUserConfig::SetCurrentUser(QString());
        m_home.reset();
    }

    void fromSavedLayout()
    {
        // Tick column not first, a repeated and an unknown column, several missing ones.
        const VumoColumnSettings s = VumoColumnSettings::FromSaved({c(3, 240, true), c(0, 30, true), c(12, 80, false),
                                                                    c(3, 99, false), c(20, 50, true), c(4, 60, true),
                                                                    c(2, -5, true)},
                                                                   headers(), -1);
        QCOMPARE(columnsOf(s.Columns()), QList<int>({0, 3, 12, 4, 2, 1, 5, 6, 7, 8, 9, 10, 11, 13}));
        const QVector<VumoColumnChoice> all = s.Columns();
        QCOMPARE(all.at(1).width, 240);
        QVERIFY(all.at(1).visible);   // the first entry of 3 counts
        QVERIFY(!all.at(2).visible);  // 12 hidden by the seller
        QVERIFY(!all.at(3).visible);  // 4 always hidden
        QCOMPARE(all.at(4).width, 0); // a negative width is no width
        // Tick and category columns are not offered.
        QCOMPARE(columnsOf(s.Choices()), QList<int>({3, 12, 2, 1, 5, 6, 7, 8, 9, 10, 11, 13}));

        // With stockMode 1 the stock column is not offered either.
        QVERIFY(!columnsOf(VumoColumnSettings::Defaults(headers(), 1).Choices()).contains(11));
    }

    void saveFailureAnnouncesNothing()
    {
        // The seller's folder is a file: the settings cannot be written.
        QVERIFY(VumoTest::WriteBytes(m_home->filePath(QStringLiteral("users")), QByteArray()));
        QSignalSpy changed(CUserConfig::Instance(), &CUserConfig::signalSettingsChanged);
        QVERIFY(!VumoColumnSettings::Defaults(headers(), -1).Save());
        QCOMPARE(changed.count(), 0);

        SettingsFrame frame;
        QSignalSpy accepted(&frame, &SettingsFrame::AcceptedSignal);
        frame.findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("SettingsMessageLabel"))->text(),
                 QStringLiteral("保存列设置失败！"));
    }

    // The seller moves the title column up, hides the upload state and confirms.
    void frameSavesWhatTheSellerChose()
    {
        QVERIFY(WriteColumnLayout({"0,30,1", "2,120,1", "3,300,1", "12,90,1"}));
        SettingsFrame frame;
        QListWidget* list = frame.ColumnList();

        auto* up = frame.findChild<QPushButton*>(QStringLiteral("MoveUpBtn"));
        auto* down = frame.findChild<QPushButton*>(QStringLiteral("MoveDownBtn"));
        list->setCurrentRow(0);
        QVERIFY(!up->isEnabled());
        QVERIFY(down->isEnabled());
        list->setCurrentRow(1);
        up->click();
        QCOMPARE(list->currentRow(), 0);
        list->setCurrentRow(list->count() - 1);
        QVERIFY(!down->isEnabled());

        QListWidgetItem* upload = list->item(2);
        QCOMPARE(upload->text(), QStringLiteral("上传状态"));
        upload->setCheckState(Qt::Unchecked);

        QSignalSpy changed(CUserConfig::Instance(), &CUserConfig::signalSettingsChanged);
        QSignalSpy accepted(&frame, &SettingsFrame::AcceptedSignal);
        frame.findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(changed.count(), 1);
        const QStringList saved = ReadColumnLayout();
        QCOMPARE(saved.mid(0, 4), QStringList({"0,30,1", "3,300,1", "2,120,1", "12,90,0"}));
        QCOMPARE(saved.size(), 14);
    }

    void cancelAndEmptyChoiceSaveNothing()
    {
        QVERIFY(WriteColumnLayout({"0,30,1", "3,300,1"}));
        const QStringList before = ReadColumnLayout();
        SettingsFrame frame;
        QSignalSpy changed(CUserConfig::Instance(), &CUserConfig::signalSettingsChanged);
        QSignalSpy rejected(&frame, &SettingsFrame::RejectedSignal);
        QSignalSpy accepted(&frame, &SettingsFrame::AcceptedSignal);

        frame.ColumnList()->item(0)->setCheckState(Qt::Unchecked);
        frame.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(ReadColumnLayout(), before);

        // Every column unticked: refused with a message.
        for (int i = 0; i < frame.ColumnList()->count(); ++i)
            frame.ColumnList()->item(i)->setCheckState(Qt::Unchecked);
        frame.findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(frame.findChild<QLabel*>(QStringLiteral("SettingsMessageLabel"))->text(),
                 QStringLiteral("请至少选择一列显示！"));
        QCOMPARE(ReadColumnLayout(), before);

        // Reload shows the saved layout again; the default button goes back to 1, 2, 3 ...
        frame.Reload();
        QCOMPARE(frame.ColumnList()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(frame.ColumnList()->item(0)->text(), QStringLiteral("商品名称"));
        frame.findChild<QPushButton*>(QStringLiteral("DefaultBtn"))->click();
        QCOMPARE(frame.ColumnList()->item(0)->text(), QStringLiteral("模板名称"));
    }

    // With stockMode 1 the stock column is not offered, and its saved flag survives a save.
    void stockColumnKeptForStockMode1()
    {
        setStockMode(1);
        QVERIFY(WriteColumnLayout({"0,30,1", "11,70,1", "3,300,1"}));
        SettingsFrame frame;
        for (int i = 0; i < frame.ColumnList()->count(); ++i)
            QVERIFY(frame.ColumnList()->item(i)->text() != QStringLiteral("库存数"));
        frame.findChild<QPushButton*>(QStringLiteral("OkBtn"))->click();
        QCOMPARE(ReadColumnLayout().mid(0, 3), QStringList({"0,30,1", "11,70,1", "3,300,1"}));
    }
};

VUMO_TEST_CLASS(TestSettingsFrame)
#include "TestSettingsFrame.moc"
