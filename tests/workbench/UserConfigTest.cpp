#include "support/TempHome.h"
#include "support/TestMain.h"

#include "quorvia/UserConfig.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

using quorvia::settings::_tagColumnInfo;
using quorvia::settings::CUserConfig;

namespace {

QString layoutText(const QVector<_tagColumnInfo*>& columns)
{
    QStringList parts;
    for (const _tagColumnInfo* c : columns)
        parts << QStringLiteral("%1/%2/%3").arg(c->column).arg(c->width).arg(c->visible);
    return parts.join(QLatin1Char(' '));
}

QString readBack()
{
    const QVector<_tagColumnInfo*> columns = CUserConfig::Instance()->GetVumoColumnInfo();
    const QString text = layoutText(columns);
    qDeleteAll(columns);
    return text;
}

void writeRaw(const QString& text)
{
    QSettings ini(CUserConfig::Instance()->FilePath(), QSettings::IniFormat);
    ini.setValue(QStringLiteral("vumo/VumoColumnOrder"), text);
}

} // namespace

class UserConfigTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { CUserConfig::SetCurrentUser(QString()); }

    void layoutRoundTripsPerSeller()
    {
        VumoTest::TempHome home;
        CUserConfig::SetCurrentUser(QStringLiteral("seller_a"));
        QVERIFY(CUserConfig::Instance()->FilePath().startsWith(home.path() + QStringLiteral("/users/seller_a/")));
        QCOMPARE(readBack(), QString()); // first use

        _tagColumnInfo first{3, 250, true};
        _tagColumnInfo second{0, 30, false};
        _tagColumnInfo third{11, 80, true};
        QVERIFY(CUserConfig::Instance()->SetVumoColumnInfo({&first, nullptr, &second, &third}));
        QCOMPARE(readBack(), QStringLiteral("3/250/1 0/30/0 11/80/1"));

        CUserConfig::SetCurrentUser(QStringLiteral("seller_b"));
        QCOMPARE(readBack(), QString());
        CUserConfig::SetCurrentUser(QStringLiteral("seller_a"));
        QCOMPARE(readBack(), QStringLiteral("3/250/1 0/30/0 11/80/1"));
    }

    void damagedLayoutGivesEmpty_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("missing field") << QStringLiteral("1,100,1;2,100");
        QTest::newRow("not a number") << QStringLiteral("1,100,1;x,100,1");
        QTest::newRow("negative width") << QStringLiteral("1,-5,1");
        QTest::newRow("extra field") << QStringLiteral("1,100,1,9");
    }
    void damagedLayoutGivesEmpty()
    {
        QFETCH(QString, text);
        VumoTest::TempHome home;
        CUserConfig::SetCurrentUser(QStringLiteral("seller_a"));
        writeRaw(text);
        QCOMPARE(readBack(), QString());
    }
};

VUMO_TEST_CLASS(UserConfigTest)
#include "UserConfigTest.moc"
