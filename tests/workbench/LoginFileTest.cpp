#include "support/TempHome.h"
#include "support/TestMain.h"

#include "quorvia/LoginFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
QString writeText(const VumoTest::TempHome& home, const QByteArray& text)
{
    const QString path = home.filePath(QStringLiteral("config/login.ini"));
    return VumoTest::WriteBytes(path, text) ? path : QString();
}
} // namespace

using Quorvia::login::LoginData;
using Quorvia::login::ReadLogin;

class LoginFileTest : public QObject
{
    Q_OBJECT
private slots:
    void readsEveryField()
    {
        VumoTest::TempHome home;
        VumoTest::DemoLogin demo;
        demo.shopType = 8;
        demo.stockMode = 1;
        demo.venderId = 9007199254740993LL; // past double precision
        const QString path = home.writeLogin(demo);
        QCOMPARE(Quorvia::login::LoginFilePath(), path);

        LoginData login;
        QString error;
        QString warnings;
        QVERIFY2(ReadLogin(path, login, &error, &warnings), qPrintable(error));
        QCOMPARE(login.uid, demo.uid);
        QCOMPARE(login.appSecret, demo.appSecret.toUtf8());
        QCOMPARE(login.venderId, demo.venderId);
        QCOMPARE(login.shopType, 8);
        QCOMPARE(login.stockMode, 1);
        QVERIFY(warnings.isEmpty());
    }

    void handWrittenValues()
    {
        VumoTest::TempHome home;
        const QString path = writeText(home,
                                       "[Login]\nuid = alice \nshop_name=书店, 二店\n"
                                       "vender_id=12abc\nshop_type=99999999999\n");
        LoginData login;
        QString warnings;
        QVERIFY(ReadLogin(path, login, nullptr, &warnings));
        QCOMPARE(login.uid, QStringLiteral("alice"));
        QCOMPARE(login.shopName, QStringLiteral("书店, 二店"));
        // Numbers that do not parse or do not fit keep their defaults, and the seller is told.
        QCOMPARE(login.venderId, 0);
        QCOMPARE(login.shopType, 0);
        QCOMPARE(login.stockMode, -1);
        QVERIFY(warnings.contains(QStringLiteral("vender_id=12abc")));
        QVERIFY(warnings.contains(QStringLiteral("shop_type=")));
    }

    void readingTightensALoginOthersCouldRead()
    {
        VumoTest::TempHome home;
        const QString path = writeText(home, "[Login]\nuid=alice\naccess_token=t0k\n");
        QVERIFY(QFile::setPermissions(
            path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        LoginData login;
        QVERIFY(ReadLogin(path, login));
        QCOMPARE(login.accessToken, QByteArray("t0k"));
        QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void refusedFilesNameTheFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("create");
        QTest::newRow("missing file") << QByteArray() << false;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("uid empty") << QByteArray("[Login]\nuid=\naccess_token=t\n") << true;
        QTest::newRow("uid in other group") << QByteArray("[Other]\nuid=bob\n") << true;
        QTest::newRow("uid climbs out") << QByteArray("[Login]\nuid=../../etc\n") << true;
        QTest::newRow("uid dot-dot") << QByteArray("[Login]\nuid=..\n") << true;
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe[\x01\x02=\n", 9) << true;
    }
    void refusedFilesNameTheFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, create);
        VumoTest::TempHome home;
        const QString path = create ? writeText(home, text) : home.filePath(QStringLiteral("config/login.ini"));
        LoginData login;
        login.uid = QStringLiteral("untouched");
        QString error;
        QVERIFY(!ReadLogin(path, login, &error));
        QCOMPARE(login.uid, QStringLiteral("untouched"));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(error.contains(QStringLiteral("[Login]")));
        QVERIFY(error.contains(QStringLiteral("uid=")));
    }

    void loginFileVariableWins()
    {
        VumoTest::TempHome home;
        qputenv("QUORVIA_LOGIN_FILE", "relative/other.ini");
        const QString chosen = Quorvia::login::LoginFilePath();
        qunsetenv("QUORVIA_LOGIN_FILE");
        QCOMPARE(chosen, QDir::current().absoluteFilePath(QStringLiteral("relative/other.ini")));
        QCOMPARE(Quorvia::login::LoginFilePath(), home.filePath(QStringLiteral("config/login.ini")));
    }
};

VUMO_TEST_CLASS(LoginFileTest)
#include "LoginFileTest.moc"
